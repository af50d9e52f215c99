#include <cstddef>
#include <cstdint>
#include <string_view>

#include "extraction/Errors.h"
#include "extraction/MailReader.h"

// Reads any bytes as a message or a mailbox, recognised or not, so that the fuzzer need not first find
// a header block that passes for one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    glanex::MailReader::read(bytes);
  } catch (const glanex::EOutOfResources&) {
    // Parts nested past the bound: the file is refused, as it should be.
  }
  return 0;
}
