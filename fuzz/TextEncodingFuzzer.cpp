#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "extraction/TextEncoding.h"

namespace {

// Every line break is CR LF: no CR without its LF, no LF without its CR.
bool breaksAreCrLf(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

bool isAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Windows-1252 text as UTF-16 with its byte-order mark; every character of the code page is in the BMP.
std::string utf16Of(std::string_view cp1252, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : cp1252) {
    const char32_t unit = glanex::codePointFromCp1252(static_cast<unsigned char>(c));
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string normalized = glanex::normalizeLineBreaks(bytes);
  FUZZ_CHECK(breaksAreCrLf(normalized));
  FUZZ_CHECK(glanex::normalizeLineBreaks(normalized) == normalized);

  // Any bytes, whatever they turn out to be (UTF-8, UTF-16 with an odd count, broken sequences).
  const std::string decoded = glanex::decodePlainText(bytes);
  FUZZ_CHECK(breaksAreCrLf(decoded));
  FUZZ_CHECK(breaksAreCrLf(glanex::decodePlainText("\xFF\xFE" + std::string(bytes))));
  FUZZ_CHECK(breaksAreCrLf(glanex::decodePlainText("\xFE\xFF" + std::string(bytes))));
  FUZZ_CHECK(breaksAreCrLf(glanex::decodePlainText("\xEF\xBB\xBF" + std::string(bytes))));
  const bool marked =
      bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (!marked && isAscii(bytes)) FUZZ_CHECK(decoded == normalized);

  // The same bytes read as Windows-1252 survive every way out and back in.
  const std::string utf8 = glanex::cp1252ToUtf8(bytes);
  FUZZ_CHECK(glanex::displayableUtf8(utf8) == utf8);
  std::string back = "left over";
  FUZZ_CHECK(glanex::utf8ToCp1252(utf8, back));
  FUZZ_CHECK(back == bytes);
  FUZZ_CHECK(glanex::decodePlainText("\xEF\xBB\xBF" + utf8) == normalized);
  FUZZ_CHECK(glanex::decodePlainText(utf16Of(bytes, false)) == normalized);
  FUZZ_CHECK(glanex::decodePlainText(utf16Of(bytes, true)) == normalized);

  // The same bytes read as UTF-8: when every character had a form, the conversion is exact.
  std::string fromUtf8;
  if (glanex::utf8ToCp1252(bytes, fromUtf8)) FUZZ_CHECK(glanex::cp1252ToUtf8(fromUtf8) == bytes);
  FUZZ_CHECK(fromUtf8.size() <= bytes.size());
  const std::string shown = glanex::displayableUtf8(bytes);
  FUZZ_CHECK(glanex::displayableUtf8(shown) == shown);
  return 0;
}
