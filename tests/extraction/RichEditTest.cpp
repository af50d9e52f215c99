#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include "extraction/Errors.h"
#include "extraction/RtfReader.h"
#include "extraction/qt/QtCp1252.h"
#include "extraction/qt/TRichEdit.h"
#include "support/LinesContract.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

// The window's rich pane under the same line rules as the core buffer.
struct WidgetPane {
  static constexpr PaneKind kind = PaneKind::Rich;
  explicit WidgetPane(std::int64_t capacity) { edit.control().setCapacity(capacity); }
  TextControl& control() { return edit.control(); }
  TStrings& lines() { return edit.Lines(); }
  TRichEdit edit;
};

using WidgetPanes = ::testing::Types<WidgetPane>;
INSTANTIATE_TYPED_TEST_SUITE_P(RichEditWidget, LinesContract, WidgetPanes);

std::string allBytesButLineBreaks() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') bytes += static_cast<char>(byte);
  }
  return bytes;
}

TEST(RichEdit, EveryByteButLineBreaksSurvivesOpenThenGetLine) {
  ScratchDir folder;
  const std::string bytes = allBytesButLineBreaks();
  writeBytes(folder.file("octets.txt"), bytes + "\r\nfin");
  TRichEdit pane;
  pane.Lines().LoadFile(folder.file("octets.txt"));
  EXPECT_EQ(pane.Lines().GetLine(0), bytes);
  EXPECT_EQ(pane.Lines().GetLine(1), "fin");
}

TEST(RichEdit, NonBreakingSpaceStaysOne) {
  TRichEdit pane;
  pane.control().setDocument(
      FormattedText::fromPlainText("a\xA0"
                                   "b"));
  EXPECT_EQ(pane.Lines().GetLine(0),
            "a\xA0"
            "b");
}

TEST(RichEdit, ShowsAndSavesTheFormattingOfAnRtfFile) {
  ScratchDir folder;
  writeBytes(folder.file("f.rtf"),
             R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})"
             R"(\f0 plain {\b bold} {\i\cf1 red italic} {\f1\fs40 big}\par})");
  TRichEdit pane;
  pane.Lines().LoadFile(folder.file("f.rtf"));
  const QTextBlock block = pane.document()->firstBlock();
  QTextBlock::iterator it = block.begin();
  std::vector<QTextCharFormat> formats;
  for (; !it.atEnd(); ++it) formats.push_back(it.fragment().charFormat());
  ASSERT_GE(formats.size(), 4u);
  EXPECT_TRUE(
      std::any_of(formats.begin(), formats.end(), [](auto& f) { return f.fontWeight() == QFont::Bold; }));
  EXPECT_TRUE(std::any_of(formats.begin(), formats.end(), [](auto& f) {
    return f.fontItalic() && f.foreground().color() == QColor(255, 0, 0);
  }));

  pane.Lines().SaveFile(folder.file("copie.rtf"));
  const std::optional<FormattedText> saved = RtfReader::read(readBytes(folder.file("copie.rtf")));
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, pane.control().document());
  EXPECT_EQ(saved->paragraphs[0].text(), "plain bold red italic big");
}

TEST(RichEdit, PasteTakesRtfFirstThenPlainTextAndNothingWhenReadOnly) {
  auto* data = new QMimeData;
  data->setData("text/rtf", R"({\rtf1\ansi {\b gras} anne@ex.test\par})");
  data->setText("texte brut");
  QGuiApplication::clipboard()->setMimeData(data);
  TRichEdit pane;
  pane.PasteClipboard();
  EXPECT_EQ(pane.Lines().GetLine(0), "gras anne@ex.test");

  QGuiApplication::clipboard()->setText(QString::fromUtf8("Ren\xC3\xA9 \xE2\x82\xAC \xE2\x98\x83\nligne"));
  TRichEdit plain;
  plain.PasteClipboard();
  EXPECT_EQ(plain.Lines().GetLine(0), "Ren\xE9 \x80 ?");
  EXPECT_EQ(plain.Lines().GetLine(1), "ligne");

  TRichEdit readOnly;
  readOnly.setReadOnlyFlag(true);
  readOnly.PasteClipboard();
  EXPECT_EQ(readOnly.Lines().LineCount(), 0);
}

TEST(RichEdit, CopyOffersRtfAndPlainText) {
  TRichEdit pane;
  pane.control().setDocument(FormattedText::fromPlainText("a@x.test\r\nb\xE9@y.test\r\n"));
  pane.SelectWhole();
  pane.CopySelection();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), QString::fromUtf8("a@x.test\nb\xC3\xA9@y.test\n"));
  for (const char* type : {"text/rtf", "application/rtf"}) {
    const std::optional<FormattedText> rich = RtfReader::read(data->data(type).toStdString());
    ASSERT_TRUE(rich.has_value()) << type;
    EXPECT_EQ(rich->plainText(), "a@x.test\r\nb\xE9@y.test\r\n");
  }
}

TEST(RichEdit, TypedTextEntersAsWindows1252AndShiftEnterBreaksTheLine) {
  TRichEdit pane;
  QKeyEvent snowman(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xE2\x98\x83"));
  QApplication::sendEvent(&pane, &snowman);
  QKeyEvent accent(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
  QApplication::sendEvent(&pane, &accent);
  QKeyEvent shiftEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
  QApplication::sendEvent(&pane, &shiftEnter);
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(&pane, &letter);
  EXPECT_EQ(pane.Lines().LineCount(), 2);
  EXPECT_EQ(pane.Lines().GetLine(0), "?\xE9");
  EXPECT_EQ(pane.Lines().GetLine(1), "x");
}

TEST(RichEdit, AnUndoStepUndoesAWholeCommandAtOnce) {
  TRichEdit pane;
  pane.control().setDocument(FormattedText::fromPlainText("garder\r\n"));
  {
    const TRichEdit::UndoStep step(pane);
    pane.ClearText();
    for (const char* line : {"un", "deux", "trois"}) pane.Lines().AppendLine(line);
  }
  EXPECT_EQ(pane.Lines().LineCount(), 3);
  pane.undo();
  EXPECT_EQ(pane.control().document().plainText(), "garder\r\n");
}

TEST(RichEdit, APlainSourceOfManyPiecesLoadsLineForLine) {
  // Lines of every length around the pieces the text goes in by, and one longer than a piece.
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)) + "\r\n";
  text += std::string(200'000, '\xE9') + "\r\n\r\nfin";
  ScratchDir folder;
  writeBytes(folder.file("grand.txt"), text);
  TRichEdit pane;
  pane.Lines().LoadFile(folder.file("grand.txt"));
  EXPECT_EQ(pane.control().document(), FormattedText::fromPlainText(text));
  EXPECT_EQ(pane.document()->blockCount(), 3003);
}

std::string loadError(TRichEdit& pane, const std::string& path) {
  try {
    pane.Lines().LoadFile(path);
  } catch (const EOutOfResources& error) {
    return error.what();
  }
  return "no error";
}

TEST(RichEdit, ALoadWithALineBeyondTheLimitIsRefusedAndTheTextItsUndoAndFlagStay) {
  ScratchDir folder;
  TRichEdit pane;
  pane.control().setLongestLoadedLine(10);
  setPaneText(pane.control(), "avant\r\n");
  pane.Lines().AppendLine("saisie");
  pane.setModifiedFlag(true);
  const int undoSteps = pane.document()->availableUndoSteps();

  const struct {
    const char* name;
    const char* bytes;
  } tooLong[] = {
      {"long.txt", "court\r\n0123456789A\r\nfin"},
      {"dernier.txt", "court\n0123456789A"},
      // The characters of a paragraph count together, whatever their formatting.
      {"long.rtf", R"({\rtf1\ansi court\par {\b 01234}56789A\par})"},
  };
  for (const auto& file : tooLong) {
    SCOPED_TRACE(file.name);
    writeBytes(folder.file(file.name), file.bytes);
    EXPECT_EQ(loadError(pane, folder.file(file.name)), kStreamLoadError);
    EXPECT_EQ(pane.control().document().plainText(), "avant\r\nsaisie\r\n");
    EXPECT_TRUE(pane.ModifiedFlag());
    EXPECT_EQ(pane.document()->availableUndoSteps(), undoSteps);
  }

  // A line exactly at the limit loads; line breaks do not count.
  writeBytes(folder.file("juste.txt"), "0123456789\r\n0123456789\r\n");
  pane.Lines().LoadFile(folder.file("juste.txt"));
  EXPECT_EQ(pane.Lines().LineCount(), 2);
  EXPECT_EQ(pane.Lines().GetLine(1), "0123456789");
}

TEST(RichEdit, OnlyTheWindowsPanesHoldLinesToTheLimit) {
  ScratchDir folder;
  writeBytes(folder.file("limite.txt"), std::string(kLongestLoadedLine, 'x') + "\r\n");
  writeBytes(folder.file("trop.txt"), std::string(kLongestLoadedLine + 1, 'x'));
  TRichEdit pane;
  pane.Lines().LoadFile(folder.file("limite.txt"));
  EXPECT_EQ(pane.Lines().LineCount(), 1);
  EXPECT_EQ(pane.Lines().GetLine(0), std::string(kLineBufferSize, 'x'));
  EXPECT_EQ(loadError(pane, folder.file("trop.txt")), kStreamLoadError);
  EXPECT_EQ(pane.document()->firstBlock().length() - 1, kLongestLoadedLine);

  // The command line's panes have no window to hold up.
  TextPane windowless = TextPane::document();
  windowless.RichLines()->LoadFile(folder.file("trop.txt"));
  EXPECT_EQ(windowless.buffer().lineLength(0), kLongestLoadedLine + 1);
}

TEST(Cp1252Mapping, UndefinedBytesMapToTheirControlCharactersAndBack) {
  EXPECT_EQ(toQString("\x81\x8D\x8F\x90\x9D"),
            QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D));
  EXPECT_EQ(toQString("\x80\x9F"), QString::fromUtf8("\xE2\x82\xAC\xC5\xB8"));
  const std::string bytes = allBytesButLineBreaks();
  EXPECT_EQ(toCp1252(toQString(bytes)), bytes);
  EXPECT_EQ(toCp1252(QString::fromUtf8("\xF0\x9F\x98\x80!")), "?!");
}

}  // namespace
}  // namespace glanex::test
