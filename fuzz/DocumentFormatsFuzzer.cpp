#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "extraction/DocumentFormats.h"
#include "extraction/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::optional<std::string> text = glanex::formattedDocumentText(bytes);
    // Only a file whose start says it may be a document is ever read as one.
    if (text) FUZZ_CHECK(glanex::mayBeFormattedDocument(bytes.substr(0, glanex::kDocumentSignatureSize)));
  } catch (const glanex::EOutOfResources&) {
    // A bound was reached: the file is refused, as it should be.
  }
  return 0;
}
