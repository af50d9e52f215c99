#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressList.h"
#include "extraction/PosixIo.h"

// The streaming extraction: the staged extraction's cut, filter and de-duplication rules without its
// limits (no line is cut at 4,096 characters, no working list fills up), in one pass over the input, in
// time linear in it and memory that follows the distinct addresses rather than the input, on every core.
// Whenever the staged extraction succeeds on lines of at most 4,096 characters, both give the same list.
namespace glanex {

// Where the streaming extraction reports how far through its input it is.
class ReadProgress {
 public:
  virtual ~ReadProgress() = default;

  // `total` is -1 when the input's size is unknown (a pipe).
  virtual void ReportBytesRead(std::int64_t done, std::int64_t total) = 0;
};

struct StreamingSettings {
  // How many threads collect; 0 for one per core available to the process.
  std::size_t threads = 0;
  // How much is read at a time, and so about how much a thread takes at once.
  std::size_t chunkSize = kIoBlockSize;
  // The longest stretch without a line end or separator that a read input (a pipe, a device) may hold
  // at once: past it the input is refused as memory ran out, before it did, as an endless device without
  // one (/dev/zero) would make it. No text a person wrote comes near it.
  std::size_t longestStretch = std::size_t{1} << 30;
};

// The number of cores the process may run on.
std::size_t availableCores();

// The addresses of pane text (Windows-1252, lines ended by CR, LF or both): RunExtraction's list, in its
// order.
AddressList extractAddressesUnlimited(std::string_view text, std::string_view separators);

// The addresses of the file at `path` ("-" for standard input), read as loading it into a pane reads it:
// RTF when it starts with "{\rtf", a document through its format when DocumentFormats.h recognises it
// (the two cases read whole), else plain text decoded as Windows-1252, UTF-8 or UTF-16. The input is read
// once, a chunk at a time; `progress` may be null. Throws as InputStream does, EOutOfResources
// "Mémoire insuffisante" past settings.longestStretch, and std::bad_alloc or std::length_error when the
// addresses or a stretch without separator outgrow memory.
AddressList extractAddressesFromFile(const std::string& path, std::string_view separators,
                                     ReadProgress* progress, const StreamingSettings& settings = {});

// The same for the bytes of a file held in memory.
AddressList extractAddressesFromBytes(std::string_view bytes, std::string_view separators,
                                      const StreamingSettings& settings = {});

}  // namespace glanex
