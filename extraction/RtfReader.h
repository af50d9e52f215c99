#pragma once

#include <optional>
#include <string_view>

#include "extraction/FormattedText.h"

namespace glanex {

// Reads RTF into a formatted document. It is lenient (missing closing braces at the end are fine) and
// never crashes, hangs or recurses on any input; it rejects, so that the caller reads the bytes as plain
// text, exactly the input that does not begin with "{\rtf", nests deeper than kMaxDepth groups or has a
// \bin that runs past the end.
class RtfReader {
 public:
  static constexpr int kMaxDepth = 1000;

  // The document, or nothing when the input is rejected.
  static std::optional<FormattedText> read(std::string_view rtf);
};

}  // namespace glanex
