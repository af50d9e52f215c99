#include "extraction/RtfWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "extraction/RtfReader.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

std::string rtfOf(const FormattedText& document) {
  std::ostringstream sink;
  RtfWriter(sink).write(document);
  return sink.str();
}

FormattedText documentOf(std::vector<Paragraph> paragraphs) {
  FormattedText document;
  document.paragraphs = std::move(paragraphs);
  return document;
}

Paragraph paragraphOf(std::vector<TextRun> runs, Alignment alignment = Alignment::Left) {
  return {std::move(runs), alignment};
}

std::string everyByteButCrLf() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') bytes += static_cast<char>(byte);
  }
  return bytes;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(RtfWriter, WritesOneSevenBitDocumentWithTablesAndAParBetweenParagraphs) {
  const FormattedText document = documentOf({
      paragraphOf({{"a", Format().face("Courier New").color(0x102030)}}),
      paragraphOf({}),
      paragraphOf({{"\xE9", Format().color(0x000000)}}),
  });
  const std::string rtf = rtfOf(document);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0")) << rtf;
  EXPECT_NE(rtf.find("{\\f1\\fnil\\fcharset0 Courier New;}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("{\\colortbl;\\red16\\green32\\blue48;\\red0\\green0\\blue0;}"), std::string::npos)
      << rtf;
  EXPECT_EQ(occurrences(rtf, "\\par\r\n"), 2u) << rtf;
  EXPECT_EQ(rtf.find_first_of("\x80\xFF\t"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.back(), '\n');
}

TEST(RtfWriter, EscapesWhatRtfGivesAMeaning) {
  const struct {
    const char* name;
    std::string text;
    std::string written;
  } rows[] = {
      {"backslash and braces", "\\{}", "\\\\\\{\\}"},
      {"tab", "a\tb", "a\\tab b"},
      {"bytes above 127", "\xE9\xFF", "\\'e9\\'ff"},
      {"control bytes", std::string("\0\x1F\x7F", 3), "\\'00\\'1f\\'7f"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string rtf = rtfOf(FormattedText::fromPlainText(row.text));
    EXPECT_NE(rtf.find("{" + row.written + "}"), std::string::npos) << rtf;
  }
}

struct RoundTripCase {
  const char* name;
  FormattedText document;
};

class RtfRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTrip, ReadsBackTheSameDocument) {
  const FormattedText& document = GetParam().document;
  const std::string rtf = rtfOf(document);
  const std::optional<FormattedText> back = RtfReader::read(rtf);
  ASSERT_TRUE(back.has_value()) << rtf;
  EXPECT_EQ(back->plainText(), document.plainText()) << rtf;
  EXPECT_EQ(*back, document) << rtf;
}

// Runs are already merged, as the reader merges adjacent runs of equal format.
const RoundTripCase kRoundTripCases[] = {
    {"EmptyDocument", FormattedText()},
    {"OnlyEmptyParagraphs", FormattedText::fromPlainText("\r\n\r\n")},
    {"TrailingEmptyParagraphs", FormattedText::fromPlainText("a\r\nb\r\n\r\n")},
    {"EveryByteButCrLf", FormattedText::fromPlainText(everyByteButCrLf())},
    {"TextThatLooksLikeRtf", FormattedText::fromPlainText("\\par {\\b x} \\'e9 \\u233? ;}{\\")},
    {"TextAfterFormatWordsStartingWithDigitOrSpace",
     documentOf({paragraphOf({{"1 two", Format().bold()}, {" three", Format().size(20)}, {"4", {}}})})},
    {"EachCharacterFormat",
     documentOf({paragraphOf({{"b", Format().bold()},
                              {"i", Format().italic()},
                              {"u", Format().underline()},
                              {"s", Format().strikeOut()},
                              {"all", Format().bold().italic().underline().strikeOut()},
                              {"plain", {}}})})},
    {"FacesSizesAndColours",
     documentOf({paragraphOf({{"a", Format().face("Courier New").size(1)},
                              {"b", Format().face("Times New Roman").size(72)},
                              {"c", Format().face("Caf\xE9 ;{}\\ Sans").color(0x000000)},
                              {"d", Format().color(0xFFFFFF)},
                              {"e", Format().face("Courier New").color(0x123456)}}),
                 paragraphOf({{"f", Format().size(24).color(0x123456)}})})},
    {"Alignments",
     documentOf({paragraphOf({{"l", {}}}), paragraphOf({{"c", {}}}, Alignment::Center),
                 paragraphOf({}, Alignment::Right), paragraphOf({{"j", {}}}, Alignment::Justify),
                 paragraphOf({{"last", Format().bold()}}, Alignment::Center)})},
};

INSTANTIATE_TEST_SUITE_P(Table, RtfRoundTrip, ::testing::ValuesIn(kRoundTripCases),
                         [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(RtfWriter, SamplesReadBackUnchangedAfterWriting) {
  for (const char* sample : {"club-libreoffice.rtf", "compte-rendu-pandoc.rtf"}) {
    SCOPED_TRACE(sample);
    const std::optional<FormattedText> document = RtfReader::read(readBytes(testDataFile(sample)));
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(RtfReader::read(rtfOf(*document)), document);
  }
}

}  // namespace
}  // namespace glanex::test
