#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "FuzzCheck.h"
#include "extraction/DocumentFiles.h"
#include "extraction/RtfReader.h"
#include "extraction/RtfWriter.h"

namespace {

using glanex::FormattedText;

// Runs never hold a line break: paragraphs are the lines, and the panes count on it.
bool holdsNoLineBreak(const FormattedText& document) {
  if (document.paragraphs.empty()) return false;
  for (const auto& paragraph : document.paragraphs) {
    for (const auto& run : paragraph.runs) {
      if (run.text.find_first_of("\r\n") != std::string::npos) return false;
    }
  }
  return true;
}

// The reader rejects only what does not start as RTF, nests too deep or has a \bin running past the end;
// input with too few braces to nest that deep and no \bin at all must therefore be read.
bool mustBeRead(std::string_view rtf) {
  if (!rtf.starts_with("{\\rtf")) return false;
  std::size_t braces = 0;
  for (const char c : rtf) braces += c == '{';
  return braces <= static_cast<std::size_t>(glanex::RtfReader::kMaxDepth) &&
         rtf.find("bin") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const auto document = glanex::RtfReader::read(bytes);
  if (!bytes.starts_with("{\\rtf")) FUZZ_CHECK(!document);
  if (mustBeRead(bytes)) FUZZ_CHECK(document);
  if (document) {
    FUZZ_CHECK(holdsNoLineBreak(*document));
    // What the writer makes of a document reads back as the same document.
    std::ostringstream rtf;
    glanex::RtfWriter(rtf).write(*document);
    const auto again = glanex::RtfReader::read(rtf.str());
    FUZZ_CHECK(again && *again == *document);
  }

  // The way a pane loads any file: RTF, else plain text.
  FUZZ_CHECK(holdsNoLineBreak(glanex::documentFromBytes(bytes)));
  return 0;
}
