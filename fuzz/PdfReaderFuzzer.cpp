#include <cstddef>
#include <cstdint>
#include <string_view>

#include "extraction/Errors.h"
#include "extraction/PdfReader.h"

// Poppler runs in the reader's child process, outside this program's coverage: what is fuzzed here is the
// answer's path back, and that whatever the child meets (a crash, a limit) fails only this one read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    glanex::PdfReader::read(bytes);
  } catch (const glanex::GlanexError&) {
    // A file refused (a password, a bound, a child that failed), as it should be.
  }
  return 0;
}
