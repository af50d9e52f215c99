#include "support/LinesContract.h"

#include "extraction/TextPane.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

// The core buffer under the line view of each kind.
template <PaneKind Kind>
struct BufferPane {
  static constexpr PaneKind kind = Kind;
  explicit BufferPane(std::int64_t capacity) : pane(Kind, capacity) {}
  TextControl& control() { return pane.buffer(); }
  TStrings& lines() { return pane.Lines(); }
  TextPane pane;
};

using BufferPanes = ::testing::Types<BufferPane<PaneKind::Rich>, BufferPane<PaneKind::Plain>>;
INSTANTIATE_TYPED_TEST_SUITE_P(TextBuffer, LinesContract, BufferPanes);

TEST(TextBuffer, SelectionNeverSplitsALineBreak) {
  TextPane pane = TextPane::document();
  pane.buffer().setDocument(FormattedText::fromPlainText("ab\r\ncd"));
  pane.buffer().select(3, 2);
  EXPECT_EQ(pane.buffer().selectionStart(), 2);
  pane.buffer().replaceSelection("X");
  EXPECT_EQ(pane.buffer().text(), "abXd");
  EXPECT_EQ(pane.Lines().LineCount(), 1);
}

TEST(TextBuffer, CapacityCutKeepsNoHalfLineBreak) {
  TextBuffer buffer(3);
  buffer.replaceSelection("ab\r\ncd");
  EXPECT_EQ(buffer.text(), "ab");
  EXPECT_EQ(buffer.lineCount(), 1);
}

// A document that does not fit keeps what the same cut keeps of its text, in its own formats.
TEST(CapacityCut, ADocumentKeepsWhatTheCutOfItsTextKeeps) {
  FormattedText document;
  document.paragraphs = {Paragraph{{{"ab", Format().bold()}, {"c", {}}}, Alignment::Center}, Paragraph{},
                         Paragraph{{{"de", {}}}, Alignment::Right}};
  const std::string text = document.plainText();
  for (std::int64_t room = 0; room <= std::ssize(text); ++room) {
    SCOPED_TRACE(room);
    EXPECT_EQ(fittingPart(document, room).plainText(), text.substr(0, fittingLength(text, room)));
  }
  EXPECT_EQ(fittingPart(document, std::ssize(text)), document);
}

TEST(TextBuffer, LineIndexFollowsEditsInTheMiddle) {
  TextBuffer buffer;
  buffer.setDocument(FormattedText::fromPlainText("one\r\ntwo\r\nthree\r\nfour"));
  buffer.select(5, 13);  // "two\r\nthree\r\nf"
  buffer.replaceSelection("2\r\n3\r\n4\r\nF");
  ASSERT_EQ(buffer.text(), "one\r\n2\r\n3\r\n4\r\nFour");
  const char* expected[] = {"one", "2", "3", "4", "Four"};
  ASSERT_EQ(buffer.lineCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(buffer.lineText(i, 100), expected[i]) << i;
}

}  // namespace
}  // namespace glanex::test
