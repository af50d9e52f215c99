#pragma once

#include <string_view>

namespace glanex {

// The answer about a PDF file that the PDF helper program gives PdfReader: a first byte that says what
// came of it, then, for a readable file, the text of every page followed by the URIs of its links.
class PdfAnswer {
 public:
  static constexpr char kText = 'T';
  static constexpr char kLocked = 'P';
  static constexpr char kUnreadable = 'E';

  // Reads `bytes` with poppler and writes the answer to `out`, as far as the writes succeed.
  static void write(int out, std::string_view bytes);
};

}  // namespace glanex
