#pragma once

#include <cstddef>
#include <string_view>

namespace glanex {

// The answer about a PDF file that the PDF module gives PdfReader: a first byte that says what came of
// it, then, for a readable file, the text of every page followed by the URIs of its links.
class PdfAnswer {
 public:
  static constexpr char kText = 'T';
  static constexpr char kLocked = 'P';
  static constexpr char kUnreadable = 'E';

  // Reads `bytes` with poppler and writes the answer to `out`, as far as the writes succeed.
  static void write(int out, std::string_view bytes);
};

}  // namespace glanex

// The module's one entry, looked up by this name once loaded: PdfAnswer::write, 0 when it returned, 1
// when it threw.
extern "C" int glanexWritePdfAnswer(int out, const char* bytes, std::size_t size);
