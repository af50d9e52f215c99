#include "extraction/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glanex {
namespace {

using namespace std::string_literals;

struct ConversionCase {
  const char* name;
  std::string input;
  std::string expected;
};

void expectConversions(const std::vector<ConversionCase>& cases, std::string (*convert)(std::string_view)) {
  for (const ConversionCase& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(convert(row.input), row.expected);
  }
}

std::string allBytes() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
  return bytes;
}

TEST(Cp1252Table, EveryByteHasACodePointAndBack) {
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    EXPECT_EQ(cp1252FromCodePoint(codePointFromCp1252(static_cast<unsigned char>(byte))), byte);
  }
  EXPECT_EQ(codePointFromCp1252(0x80), U'\u20AC');
  EXPECT_EQ(codePointFromCp1252(0x9F), U'\u0178');
  EXPECT_EQ(codePointFromCp1252(0x8D), U'\u008D');
  EXPECT_EQ(codePointFromCp1252(0xE9), U'\u00E9');
}

TEST(Cp1252Table, CodePointsWithoutAByteGiveMinusOne) {
  for (char32_t codePoint : {U'\u0080', U'\u0085', U'\u009F', U'\u0100', U'\u0430', U'\uFFFD', U'\U0001F600',
                             char32_t{0xD800}, char32_t{0x110000}}) {
    SCOPED_TRACE(static_cast<unsigned>(codePoint));
    EXPECT_EQ(cp1252FromCodePoint(codePoint), -1);
  }
}

TEST(Cp1252Utf8, AllBytesRoundTrip) {
  const std::string utf8 = cp1252ToUtf8(allBytes());
  EXPECT_EQ(displayableUtf8(utf8), utf8) << "cp1252ToUtf8 must give valid UTF-8";
  std::string back;
  EXPECT_TRUE(utf8ToCp1252(utf8, back));
  EXPECT_EQ(back, allBytes());
}

TEST(Cp1252Utf8, KnownForms) {
  EXPECT_EQ(cp1252ToUtf8("caf\xE9 \x80\x81"), "caf\xC3\xA9 \xE2\x82\xAC\xC2\x81");
  std::string out;
  EXPECT_TRUE(utf8ToCp1252("\xE2\x80\x9Cx\xE2\x80\x9D", out));
  EXPECT_EQ(out, "\x93x\x94");
}

TEST(Cp1252Utf8, CharactersWithoutFormAndInvalidBytesBecomeTheReplacement) {
  const std::vector<ConversionCase> cases = {
      {"cyrillic", "\xD0\xB0z", "#z"},
      {"outside the BMP is one character", "a\xF0\x9F\x98\x80z", "a#z"},
      {"truncated sequence, byte by byte", "\xE2\x82Z", "##Z"},
      {"encoded surrogate", "\xED\xA0\x80", "###"},
      {"truncated at the end", "a\xC3", "a#"},
  };
  for (const ConversionCase& row : cases) {
    SCOPED_TRACE(row.name);
    std::string out = "previous content";
    EXPECT_FALSE(utf8ToCp1252(row.input, out, '#'));
    EXPECT_EQ(out, row.expected);
  }
}

TEST(DecodePlainText, SingleByteInputStaysByteForByte) {
  expectConversions(
      {
          {"ASCII with tab and NUL", "a\tb\0c"s, "a\tb\0c"s},
          {"Windows-1252 accents", "caf\xE9 d\xE9j\xE0", "caf\xE9 d\xE9j\xE0"},
          {"all bytes but line breaks", allBytes().substr(14), allBytes().substr(14)},
          {"overlong slash", "\xC3\xA9\xC0\xAF", "\xC3\xA9\xC0\xAF"},
          {"overlong three-byte", "\xC3\xA9\xE0\x80\xAF", "\xC3\xA9\xE0\x80\xAF"},
          {"encoded surrogate", "\xC3\xA9\xED\xA0\x80", "\xC3\xA9\xED\xA0\x80"},
          {"above 10FFFF", "\xC3\xA9\xF4\x90\x80\x80", "\xC3\xA9\xF4\x90\x80\x80"},
          {"truncated at the end", "\xC3\xA9\xE2\x82", "\xC3\xA9\xE2\x82"},
          {"stray continuation byte", "\xC3\xA9\xA9", "\xC3\xA9\xA9"},
          {"empty", "", ""},
      },
      decodePlainText);
}

TEST(DecodePlainText, Utf8) {
  expectConversions(
      {
          {"without mark", "caf\xC3\xA9", "caf\xE9"},
          {"euro sign", "\xE2\x82\xAC 5", "\x80 5"},
          {"with mark", "\xEF\xBB\xBFpr\xC3\xA9t", "pr\xE9t"},
          {"mark on ASCII", "\xEF\xBB\xBFxyz", "xyz"},
          {"mark alone", "\xEF\xBB\xBF", ""},
          {"no Windows-1252 form", "\xD0\xB0\xD0\xB1", "??"},
          {"outside the BMP", "a\xF0\x9F\x98\x80z", "a?z"},
          {"mark then invalid bytes", "\xEF\xBB\xBFx\xFFy\xC3", "x?y?"},
          {"line breaks", "\xC3\xA9\nx\ry", "\xE9\r\nx\r\ny"},
      },
      decodePlainText);
}

// `units` as UTF-16 behind its byte-order mark, followed by the raw bytes `tail`.
std::string utf16(bool bigEndian, std::u16string_view units, std::string_view tail = "") {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes.append(tail);
}

TEST(DecodePlainText, Utf16) {
  expectConversions(
      {
          {"little endian", utf16(false, u"pr\u00E9t \u20AC"), "pr\xE9t \x80"},
          {"big endian", utf16(true, u"pr\u00E9t \u20AC"), "pr\xE9t \x80"},
          {"mark alone", utf16(false, u""), ""},
          {"surrogate pair is one character", utf16(false, u"a\U0001F600z"), "a?z"},
          {"big endian surrogate pair", utf16(true, u"\U0001F600"), "?"},
          {"unpaired high surrogate", utf16(false, u"\xD83Dz"), "?z"},
          {"high surrogate at the end", utf16(false, u"a\xD83D"), "a?"},
          {"lone low surrogate", utf16(false, u"\xDE00z"), "?z"},
          {"trailing odd byte", utf16(false, u"a", "b"), "a?"},
          {"no Windows-1252 form", utf16(false, u"\u0430"), "?"},
          {"NUL kept", utf16(false, std::u16string_view(u"\0x", 2)), "\0x"s},
          {"line breaks", utf16(true, u"a\nb\r"), "a\r\nb\r\n"},
      },
      decodePlainText);
}

TEST(NormalizeLineBreaks, EveryBreakBecomesCrLf) {
  expectConversions(
      {
          {"CR LF", "a\r\nb", "a\r\nb"},
          {"CR", "a\rb", "a\r\nb"},
          {"LF", "a\nb", "a\r\nb"},
          {"LF CR is two breaks", "a\n\rb", "a\r\n\r\nb"},
          {"CR CR LF", "\r\r\n", "\r\n\r\n"},
          {"mixed", "1\n2\r3\r\n4\n\n", "1\r\n2\r\n3\r\n4\r\n\r\n"},
          {"break at the end", "a\r", "a\r\n"},
          {"no break", "abc", "abc"},
      },
      normalizeLineBreaks);
}

TEST(DisplayableUtf8, InvalidBytesBecomeReplacementCharacters) {
  expectConversions(
      {
          {"valid UTF-8 stays", "/tmp/\xD0\xB0-\xF0\x9F\x98\x80", "/tmp/\xD0\xB0-\xF0\x9F\x98\x80"},
          {"Windows-1252 byte", "caf\xE9.txt", "caf\xEF\xBF\xBD.txt"},
          {"truncated sequence, one per byte", "a\xE2\x82", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
          {"overlong", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      },
      displayableUtf8);
}

}  // namespace
}  // namespace glanex
