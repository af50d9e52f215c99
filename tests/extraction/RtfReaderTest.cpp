#include "extraction/RtfReader.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include "extraction/Pipeline.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using namespace std::string_literals;

// The plain text of the document, or a marker that no document text can equal.
std::string plainTextOf(std::string_view rtf) {
  const std::optional<FormattedText> document = RtfReader::read(rtf);
  return document ? document->plainText() : "<rejected>";
}

std::string nested(int depth, std::string_view inner = "x") {
  return "{\\rtf1" + std::string(depth - 1, '{') + std::string(inner) + std::string(depth, '}');
}

struct TextCase {
  const char* name;
  std::string rtf;
  std::string expected;
};

void expectPlainTexts(const std::vector<TextCase>& cases) {
  for (const TextCase& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(plainTextOf(row.rtf), row.expected);
  }
}

TEST(RtfReaderRejection, RejectsExactlyNoPrefixTooDeepNestingAndBinPastTheEnd) {
  const struct {
    const char* name;
    std::string rtf;
    bool accepted;
  } rows[] = {
      {"empty input", "", false},
      {"plain text", "hello {\\rtf1 x}", false},
      {"space before the prefix", " {\\rtf1 x}", false},
      {"byte-order mark before the prefix", "\xEF\xBB\xBF{\\rtf1 x}", false},
      {"upper-case prefix", "{\\RTF1 x}", false},
      {"prefix alone", "{\\rtf", true},
      {"garbage after the prefix", "{\\rtf\x01\xFF\\\\\\'z\\'\\u\\uc\\bin\\*{{\0\\"s, true},
      {"missing closing braces", "{\\rtf1{{{\\b x", true},
      {"extra closing braces", "{\\rtf1 x}}}}", true},
      {"1000 groups deep", nested(1000), true},
      {"1001 groups deep", nested(1001), false},
      {"2000 groups deep", nested(2000), false},
      {"deep nesting after the document ends", "{\\rtf1 x}" + std::string(2000, '{'), true},
      {"\\bin past the end", "{\\rtf1\\bin999999 abc}", false},
      {"\\bin with a huge parameter", "{\\rtf1\\bin99999999999999999999 abc}", false},
      {"\\bin in a skipped group past the end", "{\\rtf1{\\*\\x\\bin10 abc}}", false},
      {"\\bin up to the end exactly", "{\\rtf1\\bin3 abc", true},
      {"\\bin with a negative parameter", "{\\rtf1\\bin-5 abc}", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(RtfReader::read(row.rtf).has_value(), row.accepted);
  }
}

TEST(RtfReaderRejection, AMillionOpeningBracesAreRejectedWithoutExhaustingTheStack) {
  const std::string rtf = "{\\rtf1" + std::string(1'000'000, '{');
  EXPECT_FALSE(RtfReader::read(rtf).has_value());
}

// Random bytes from RTF's alphabet after the prefix: whatever the reader makes of them keeps the model's
// invariants (no empty runs, no line breaks in runs, adjacent runs differ in format).
TEST(RtfReaderRejection, RandomInputKeepsTheDocumentInvariants) {
  constexpr std::string_view kAlphabet = "{}\\\\\\'*;-09 \r\nbiucfsparqltdx\xE9";
  std::uint32_t seed = 12345;
  int accepted = 0;
  for (int sample = 0; sample < 200; ++sample) {
    std::string rtf = "{\\rtf";
    for (int i = 0; i < 500; ++i) {
      seed = seed * 1664525u + 1013904223u;  // a fixed sequence, so a failure repeats
      rtf += kAlphabet[(seed >> 16) % kAlphabet.size()];
    }
    SCOPED_TRACE(rtf);
    const std::optional<FormattedText> document = RtfReader::read(rtf);
    if (!document) continue;  // a \bin past the end is the only way to be rejected here
    ++accepted;
    ASSERT_FALSE(document->paragraphs.empty());
    for (const Paragraph& paragraph : document->paragraphs) {
      for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
        EXPECT_FALSE(paragraph.runs[i].text.empty());
        EXPECT_EQ(paragraph.runs[i].text.find_first_of("\r\n"), std::string::npos);
        if (i > 0) {
          EXPECT_NE(paragraph.runs[i].format, paragraph.runs[i - 1].format);
        }
      }
    }
  }
  EXPECT_GT(accepted, 100);
}

TEST(RtfReaderText, ParagraphsAndBreaks) {
  expectPlainTexts({
      {"one paragraph per \\par, plus the last", "{\\rtf1 a\\par b\\par}", "a\r\nb\r\n"},
      {"\\line and \\row end paragraphs", "{\\rtf1 a\\line b\\row c}", "a\r\nb\r\nc"},
      {"section, page and column breaks end paragraphs", "{\\rtf1 a\\sect b\\page c\\column d\\sect}",
       "a\r\nb\r\nc\r\nd\r\n"},
      {"backslash before CR or LF is \\par", "{\\rtf1 a\\\r\nb\\\nc}", "a\r\nb\r\nc"},
      {"raw CR and LF are ignored", "{\\rtf1 a\r\nb\rc\nd}", "abcd"},
      {"escaped CR and LF are dropped", "{\\rtf1 a\\'0d\\'0Ab}", "ab"},
      {"\\tab, \\cell and a raw tab", "{\\rtf1 a\\tab b\\cell c\td}", "a\tb\tc\td"},
      {"text after the document is ignored", "{\\rtf1 a}b\\par c", "a"},
      {"empty document", "{\\rtf1}", ""},
  });
}

TEST(RtfReaderText, ControlWordsSymbolsAndEscapes) {
  expectPlainTexts({
      {"one delimiter space is eaten", "{\\rtf1\\b  two}", " two"},
      {"the parameter ends at a non-digit", "{\\rtf1\\fs20x\\fi-360 y}", "xy"},
      {"a hyphen without digits is text", "{\\rtf1\\b- x}", "- x"},
      {"control symbols", "{\\rtf1 a\\~b\\-c\\_d\\\\\\{\\}\\|}",
       "a\xA0"
       "bc-d\\{}"},
      {"hex escapes in either case", "{\\rtf1 \\'e9\\'C9}", "\xE9\xC9"},
      {"a broken hex escape gives nothing", "{\\rtf1 \\'zz\\'4}", "zz4"},
      {"typographic symbols", "{\\rtf1\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
       "\x97\x96\x95\x91\x92\x93\x94"},
      {"unknown control words give nothing", "{\\rtf1 a\\foo42 b\\zzz}", "ab"},
      {"a huge parameter is clamped", "{\\rtf1\\fs999999999999999999999999 x}", "x"},
  });
}

TEST(RtfReaderText, UnicodeEscapesAndTheirFallback) {
  expectPlainTexts({
      {"\\u skips one fallback character by default", "{\\rtf1 R\\u233?dig}",
       "R\xE9"
       "dig"},
      {"a character without a Windows-1252 form keeps its fallback", "{\\rtf1 \\u937?mega}", "?mega"},
      {"negative \\u counts from 65536", "{\\rtf1 \\u-65303?\\u-4064?}", "\xE9?"},
      {"\\u above Windows-1252's range maps through the table", "{\\rtf1\\u8364?\\u8226?}", "\x80\x95"},
      {"\\uc2 skips two", "{\\rtf1\\uc2\\u233 xyz}", "\xE9z"},
      {"\\uc0 skips nothing", "{\\rtf1\\uc0\\u233 x}", "\xE9x"},
      {"\\uc is group-scoped", "{\\rtf1{\\uc2\\u233 ab}\\u233 cd}",
       "\xE9\xE9"
       "d"},
      {"an escape is one fallback character", "{\\rtf1\\u233\\'e9e}",
       "\xE9"
       "e"},
      {"a control word is one fallback character", "{\\rtf1\\u8226\\'95\\tab x}", "\x95\tx"},
      {"a group boundary ends the fallback", "{\\rtf1\\uc3\\u233 a{b}c}",
       "\xE9"
       "bc"},
      {"a huge \\u is clamped and has no form", "{\\rtf1\\u99999999999999999999?x}", "?x"},
      {"a huge \\uc skips to the group's end", "{\\rtf1{\\uc99999999999\\u233 abc}d}",
       "\xE9"
       "d"},
  });
}

TEST(RtfReaderText, DestinationsWithoutDocumentText) {
  for (const char* word : {"info",
                           "stylesheet",
                           "pict",
                           "object",
                           "header",
                           "headerl",
                           "headerr",
                           "headerf",
                           "footer",
                           "footerl",
                           "footerr",
                           "footerf",
                           "footnote",
                           "fldinst",
                           "listtable",
                           "listoverridetable",
                           "rsidtbl",
                           "generator",
                           "xmlnstbl",
                           "themedata",
                           "colorschememapping",
                           "latentstyles",
                           "datastore",
                           "pgdsctbl",
                           "fonttbl",
                           "colortbl"}) {
    SCOPED_TRACE(word);
    EXPECT_EQ(plainTextOf("{\\rtf1 a{\\"s + word + " hidden\\par{\\b nested}\\tab}b}"), "ab");
  }
  expectPlainTexts({
      {"\\* destinations", "{\\rtf1 a{\\*\\unknown x{y}}b}", "ab"},
      {"\\* keeps a table skipped", "{\\rtf1 a{\\*\\fonttbl{\\f0 X;}}\\f0 b}", "ab"},
      {"a field gives its result, not its instruction",
       "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"mailto:a@b.c\"}{\\fldrslt a@b.c}}}", "a@b.c"},
      {"\\bin data is never text", "{\\rtf1 a\\bin3 x}{b}", "ab"},
  });
}

FormattedText documentOf(std::vector<Paragraph> paragraphs) {
  FormattedText document;
  document.paragraphs = std::move(paragraphs);
  return document;
}

TEST(RtfReaderFormat, RunsCarryTheFormatInForce) {
  const std::string tables =
      "{\\fonttbl{\\f0 Zero;}{\\f1\\fswiss Arial;}{\\f2 Times{\\*\\falt X};}{\\f3 Caf\\'e9 \\'3b Sans;}}"
      "{\\colortbl;\\red255\\green0\\blue0;;\\red0\\green0\\blue999;}";
  const struct {
    const char* name;
    std::string rtf;
    std::vector<TextRun> runs;
  } rows[] = {
      {"equal formats merge across groups",
       "{\\rtf1 a{\\b b}{\\b c}\\b d\\b0 e}",
       {{"a", {}}, {"bcd", Format().bold()}, {"e", {}}}},
      {"a closing brace restores the format",
       "{\\rtf1{\\i\\ul\\strike x}y}",
       {{"x", Format().italic().underline().strikeOut()}, {"y", {}}}},
      {"underline off and its variants",
       "{\\rtf1\\ul a\\ulnone b\\uldb c\\ul0 d\\ulc1 e}",
       {{"a", Format().underline()}, {"b", {}}, {"c", Format().underline()}, {"de", {}}}},
      {"\\plain resets the character format",
       "{\\rtf1" + tables + "\\b\\i\\f1\\fs30\\cf1 a\\plain b}",
       {{"a", Format().bold().italic().face("Arial").size(30).color(0xFF0000)}, {"b", {}}}},
      {"face names; the default face and unknown numbers read as the default",
       "{\\rtf1\\deff2" + tables + "\\f1 a\\f2 b\\f3 c\\f9 d}",
       {{"a", Format().face("Arial")}, {"b", {}}, {"c", Format().face("Caf\xE9 ; Sans")}, {"d", {}}}},
      {"without \\deff, f0 is the default face",
       "{\\rtf1" + tables + "\\f0 a\\f1 b}",
       {{"a", {}}, {"b", Format().face("Arial")}}},
      {"a font table without entry groups",
       "{\\rtf1{\\fonttbl\\f0 A;\\f1 B;}\\f1 x}",
       {{"x", Format().face("B")}}},
      {"a font entry without its semicolon",
       "{\\rtf1{\\fonttbl{\\f1 B}}\\f1 x}",
       {{"x", Format().face("B")}}},
      {"colours; index 0, auto entries and unknown indexes are the default",
       "{\\rtf1" + tables + "\\cf1 a\\cf2 b\\cf3 c\\cf0 d\\cf9 e}",
       {{"a", Format().color(0xFF0000)}, {"b", {}}, {"c", Format().color(0x0000FF)}, {"de", {}}}},
      {"colour 0 is the default even when the table defines it",
       "{\\rtf1{\\colortbl\\red9\\green9\\blue9;\\red1\\green2\\blue3;}\\cf0 a\\cf1 b}",
       {{"a", {}}, {"b", Format().color(0x010203)}}},
      {"sizes are clamped to int and negative ones dropped",
       "{\\rtf1\\fs99999999999 a\\fs-4 b}",
       {{"a", Format().size(INT_MAX)}, {"b", {}}}},
      {"formatting inside skipped groups does not leak", "{\\rtf1{\\*\\x\\b}{\\info\\i}x}", {{"x", {}}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<FormattedText> document = RtfReader::read(row.rtf);
    ASSERT_TRUE(document.has_value());
    ASSERT_EQ(document->paragraphs.size(), 1u);
    EXPECT_EQ(document->paragraphs[0].runs, row.runs);
  }
}

TEST(RtfReaderFormat, ParagraphsTakeTheAlignmentInForceAtTheirEnd) {
  const struct {
    const char* name;
    std::string rtf;
    FormattedText expected;
  } rows[] = {
      {"each alignment; \\pard resets it", "{\\rtf1\\qc a\\par b\\qr\\par\\pard c\\par\\qj d}",
       documentOf({{{{"a", {}}}, Alignment::Center},
                   {{{"b", {}}}, Alignment::Right},
                   {{{"c", {}}}, Alignment::Left},
                   {{{"d", {}}}, Alignment::Justify}})},
      {"alignment is group-scoped", "{\\rtf1{\\pard\\qc a\\par}b}",
       documentOf({{{{"a", {}}}, Alignment::Center}, {{{"b", {}}}, Alignment::Left}})},
      {"no empty runs", "{\\rtf1{\\b}{\\i}\\par{\\b\\par}}", documentOf({{}, {}, {}})},
      {"a document is never without a paragraph", "{\\rtf", documentOf({{}})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(RtfReader::read(row.rtf), row.expected);
  }
}

// Whether `word` stands in `text` between separators, line breaks or the ends of the text.
bool containsAsWord(const std::string& text, const std::string& word) {
  const auto isBoundary = [&](std::size_t at) {
    return at == std::string::npos || at >= text.size() || text[at] == '\r' || text[at] == '\n' ||
           kDefaultSeparators.find(text[at]) != std::string_view::npos;
  };
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    if (isBoundary(at == 0 ? std::string::npos : at - 1) && isBoundary(at + word.size())) return true;
  }
  return false;
}

std::vector<std::string> expectedAddresses(const std::string& sample) {
  std::ifstream in(testDataFile(sample + ".expected"));
  std::vector<std::string> addresses;
  for (std::string line; std::getline(in, line);) addresses.push_back(line);
  return addresses;
}

TEST(RtfReaderSamples, PlainTextHoldsEveryExpectedAddressAndTheExactLines) {
  const struct {
    const char* sample;
    std::size_t paragraphCount;
    std::vector<std::pair<std::size_t, std::string>> lines;
  } rows[] = {
      {"club-libreoffice",
       8,
       {{0,
         "Club de randonn\xE9"
         "e"},
        {1,
         "Inscriptions aupr\xE8s de L\xE9"
         "a : lea.girard@rando-exemple.test."},
        {2, "Sorties\tsorties@rando-exemple.test\t"},
        {4, "\x95\tTr\xE9sorier : tresorier@rando-exemple.test"},
        {7, ""}}},
      {"compte-rendu-pandoc",
       6,
       {{0, "Compte rendu"},
        {1,
         "R\xE9"
         "dig\xE9 par Fran\xE7ois (francois.aubert@labo-exemple.test)."},
        {3, "2.\tCopie \xE0 ?mega Lab : omega@labo-exemple.test"},
        {4, "\xAB Pour toute question : contact@labo-exemple.test \xBB"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sample);
    const std::optional<FormattedText> document =
        RtfReader::read(readBytes(testDataFile(std::string(row.sample) + ".rtf")));
    ASSERT_TRUE(document.has_value());
    ASSERT_EQ(document->paragraphs.size(), row.paragraphCount);
    for (const auto& [index, text] : row.lines) EXPECT_EQ(document->paragraphs[index].text(), text);
    const std::vector<std::string> addresses = expectedAddresses(row.sample);
    EXPECT_FALSE(addresses.empty());
    for (const std::string& address : addresses) {
      EXPECT_TRUE(containsAsWord(document->plainText(), address)) << address;
    }
  }
}

TEST(RtfReaderSamples, KeepsTheSamplesFormatting) {
  const std::optional<FormattedText> pandoc =
      RtfReader::read(readBytes(testDataFile("compte-rendu-pandoc.rtf")));
  ASSERT_TRUE(pandoc.has_value());
  EXPECT_EQ(pandoc->paragraphs[0].runs, (std::vector<TextRun>{{"Compte rendu", Format().bold().size(36)}}));
  const std::optional<FormattedText> club = RtfReader::read(readBytes(testDataFile("club-libreoffice.rtf")));
  ASSERT_TRUE(club.has_value());
  EXPECT_EQ(club->paragraphs[1].runs[3],
            (TextRun{"lea.girard@rando-exemple.test", Format().underline().color(0x000080)}));
}

}  // namespace
}  // namespace glanex::test
