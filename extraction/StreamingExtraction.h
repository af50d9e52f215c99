#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The streaming extraction: the staged extraction's cut, filter and de-duplication rules without its
// limits (no line is cut at 4,096 characters, no working list fills up), in time linear in the input and
// memory that follows the distinct addresses rather than the input. Whenever the staged extraction
// succeeds on lines of at most 4,096 characters, both give the same list.
namespace glanex {

// Where the streaming extraction reports how far through its input it is.
class ReadProgress {
 public:
  virtual ~ReadProgress() = default;

  virtual void ReportBytesRead(std::int64_t done, std::int64_t total) = 0;
};

// The addresses of pane text (Windows-1252, lines ended by CR, LF or both): RunExtraction's list, in its
// order.
std::vector<std::string> extractAddressesUnlimited(std::string_view text, std::string_view separators);

// The addresses of the file at `path` ("-" for standard input), read as loading it into a pane reads it:
// RTF when it starts with "{\rtf" (the one case read whole), else plain text decoded as Windows-1252,
// UTF-8 or UTF-16. The file is read in blocks. `progress` may be null. Throws as RereadableInput does, and
// std::bad_alloc or std::length_error when the addresses or a stretch without separator outgrow memory.
std::vector<std::string> extractAddressesFromFile(const std::string& path, std::string_view separators,
                                                  ReadProgress* progress);

}  // namespace glanex
