#include <gtest/gtest.h>

#include "extraction/RtfReader.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

TEST(PasteClipboard, InsertsAtTheCaretReplacingTheSelection) {
  TextPane pane = TextPane::document();
  setPaneText(pane.buffer(), "abcdef");
  pane.buffer().select(2, 2);
  MemoryClipboard clipboard;
  clipboard.setPlainText("X\nY");
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "abX\r\nYef");
  EXPECT_EQ(pane.buffer().selectionStart(), 6);
}

TEST(PasteClipboard, RichPaneTakesTheRichFormAndPlainPaneThePlainForm) {
  MemoryClipboard clipboard;
  clipboard.setRtf(R"({\rtf1\ansi {\b rich} text\par})");
  clipboard.setPlainText("plain text");
  TextPane rich = TextPane::document();
  PasteClipboard(rich.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(rich.buffer().text(), "rich text\r\n");
  TextPane plain = TextPane::workingPlain();
  PasteClipboard(plain.buffer(), PaneKind::Plain, clipboard);
  EXPECT_EQ(plain.buffer().text(), "plain text");
}

TEST(PasteClipboard, FallsBackToPlainTextWhenTheRichFormIsNoRtf) {
  MemoryClipboard clipboard;
  clipboard.setRtf("not rtf at all");
  clipboard.setPlainText("plain");
  TextPane pane = TextPane::document();
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "plain");
}

TEST(PasteClipboard, DecodesUtf8PlainTextIntoWindows1252) {
  MemoryClipboard clipboard;
  clipboard.setPlainText("Ren\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  TextPane pane = TextPane::document();
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "Ren\xE9 \x80 ?");
}

TEST(PasteClipboard, ChangesNothingWhenReadOnlyOrEmptyAndCutsAtCapacity) {
  MemoryClipboard clipboard;
  TextPane pane = TextPane::workingRich();
  setPaneText(pane.buffer(), "keep");
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "keep");

  clipboard.setPlainText("more");
  pane.buffer().setReadOnly(true);
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "keep");

  pane.buffer().setReadOnly(false);
  pane.buffer().setCapacity(6);
  pane.buffer().select(4, 0);
  PasteClipboard(pane.buffer(), PaneKind::Rich, clipboard);
  EXPECT_EQ(pane.buffer().text(), "keepmo");
}

TEST(CopySelection, WholePaneGoesToTheClipboardInBothForms) {
  TextPane pane = TextPane::document();
  setPaneText(pane.buffer(), "a@x.test\r\nb\xE9@y.test\r\n");
  SelectWhole(pane.buffer());
  EXPECT_EQ(pane.buffer().selectionLength(), pane.buffer().length());
  MemoryClipboard clipboard;
  CopySelection(pane.buffer(), clipboard);
  EXPECT_EQ(clipboard.plainText(), "a@x.test\r\nb\xE9@y.test\r\n");
  ASSERT_TRUE(clipboard.rtf().has_value());
  const std::optional<FormattedText> rich = RtfReader::read(*clipboard.rtf());
  ASSERT_TRUE(rich.has_value());
  EXPECT_EQ(rich->plainText(), "a@x.test\r\nb\xE9@y.test\r\n");
}

}  // namespace
}  // namespace glanex::test
