#include "extraction/qt/PlainTextEditControl.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

#include "extraction/Errors.h"
#include "extraction/qt/QtCp1252.h"

namespace glanex {

namespace {

QTextCharFormat toQt(const CharFormat& format) {
  QTextCharFormat result;
  if (format.bold) result.setFontWeight(QFont::Bold);
  if (format.italic) result.setFontItalic(true);
  if (format.underline) result.setFontUnderline(true);
  if (format.strikeOut) result.setFontStrikeOut(true);
  if (!format.fontName.empty()) result.setFontFamilies({toQString(format.fontName)});
  if (format.halfPoints > 0) result.setFontPointSize(format.halfPoints / 2.0);
  if (format.color) result.setForeground(QColor(static_cast<QRgb>(*format.color)));
  return result;
}

CharFormat fromQt(const QTextCharFormat& format) {
  CharFormat result;
  result.bold = format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() > QFont::Normal;
  result.italic = format.fontItalic();
  result.underline = format.fontUnderline();
  result.strikeOut = format.fontStrikeOut();
  const QStringList families = format.fontFamilies().toStringList();
  if (!families.isEmpty()) result.fontName = toCp1252(families.first());
  if (format.hasProperty(QTextFormat::FontPointSize)) {
    result.halfPoints = static_cast<int>(format.fontPointSize() * 2.0 + 0.5);
  }
  if (format.hasProperty(QTextFormat::ForegroundBrush))
    result.color = format.foreground().color().rgb() & 0xFFFFFFu;
  return result;
}

QTextBlockFormat toQt(Alignment alignment) {
  QTextBlockFormat format;
  switch (alignment) {
    case Alignment::Left:
      break;
    case Alignment::Center:
      format.setAlignment(Qt::AlignHCenter);
      break;
    case Alignment::Right:
      format.setAlignment(Qt::AlignRight);
      break;
    case Alignment::Justify:
      format.setAlignment(Qt::AlignJustify);
      break;
  }
  return format;
}

Alignment fromQt(Qt::Alignment alignment) {
  if (alignment & Qt::AlignHCenter) return Alignment::Center;
  if (alignment & Qt::AlignRight) return Alignment::Right;
  if (alignment & Qt::AlignJustify) return Alignment::Justify;
  return Alignment::Left;
}

// Puts unformatted text into the document at the cursor, LF between lines, by pieces of about
// kInsertionPiece characters: one insertion per piece, which Qt cuts into lines far faster than it takes
// them block by block, and a big source is never copied whole on its way in.
class PieceInserter {
 public:
  explicit PieceInserter(QTextCursor& cursor) : cursor_(cursor) { piece_.reserve(kInsertionPiece); }
  ~PieceInserter() {
    if (!piece_.isEmpty()) cursor_.insertText(piece_);
  }
  PieceInserter(const PieceInserter&) = delete;
  PieceInserter& operator=(const PieceInserter&) = delete;

  void append(std::string_view cp1252) {
    const qsizetype end = piece_.size();
    piece_.resize(end + std::ssize(cp1252));
    writeCharacters(cp1252, piece_.data() + end);
  }
  void lineBreak() {
    piece_ += QChar(u'\n');
    if (piece_.size() < kInsertionPiece) return;
    cursor_.insertText(piece_);
    // Keeps the buffer for the next piece.
    piece_.resize(0);
  }

 private:
  static constexpr qsizetype kInsertionPiece = 1 << 16;

  QTextCursor& cursor_;
  QString piece_;
};

void insertUnformatted(QTextCursor& cursor, const FormattedText& document) {
  PieceInserter inserter(cursor);
  for (const Paragraph& paragraph : document.paragraphs) {
    if (&paragraph != &document.paragraphs.front()) inserter.lineBreak();
    for (const TextRun& run : paragraph.runs) inserter.append(run.text);
  }
}

void insertPlainText(QTextCursor& cursor, std::string_view text) {
  PieceInserter inserter(cursor);
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find("\r\n", start);
    inserter.append(text.substr(start, end - start));
    if (end == std::string_view::npos) return;
    inserter.lineBreak();
    start = end + 2;
  }
}

}  // namespace

PlainTextEditControl::PlainTextEditControl(QPlainTextEdit& edit, std::int64_t capacity)
    : edit_(edit), capacity_(capacity) {}

QTextDocument& PlainTextEditControl::textDocument() const {
  return *edit_.document();
}

std::int64_t PlainTextEditControl::length() const {
  const QTextDocument& document = textDocument();
  return document.characterCount() - 1 + (document.blockCount() - 1);
}

std::int64_t PlainTextEditControl::lineCount() const {
  return textDocument().blockCount();
}

std::int64_t PlainTextEditControl::lineStart(std::int64_t line) const {
  return blockOf(line).position() + line;
}

std::int64_t PlainTextEditControl::lineLength(std::int64_t line) const {
  return blockOf(line).length() - 1;
}

std::string PlainTextEditControl::lineText(std::int64_t line, std::int64_t maxChars) const {
  // The block's own text keeps non-breaking spaces, which a plain-text export would turn into spaces.
  const QString text = blockOf(line).text();
  return toCp1252(text.left(static_cast<qsizetype>(std::min<std::int64_t>(maxChars, text.size()))));
}

QTextBlock PlainTextEditControl::blockOf(std::int64_t line) const {
  const QTextDocument& document = textDocument();
  // Lists grow at their end, where the last block is found without a search by number.
  return line == document.blockCount() - 1 ? document.lastBlock()
                                           : document.findBlockByNumber(static_cast<int>(line));
}

std::int64_t PlainTextEditControl::toCore(int documentPosition) const {
  const QTextDocument& document = textDocument();
  const int lastLine = document.blockCount() - 1;
  if (documentPosition >= document.lastBlock().position()) return documentPosition + lastLine;
  return documentPosition + document.findBlock(documentPosition).blockNumber();
}

int PlainTextEditControl::toDocument(std::int64_t corePosition) const {
  corePosition = std::clamp<std::int64_t>(corePosition, 0, length());
  const QTextDocument& document = textDocument();
  // The last line whose start lies at or before the position. Lists grow at their end, so the last line
  // is tried before the search.
  int line = document.blockCount() - 1;
  QTextBlock block = document.lastBlock();
  int start = block.position();
  if (start + line > corePosition) {
    int low = 0;
    int high = line - 1;
    while (low < high) {
      const int middle = (low + high + 1) / 2;
      if (lineStart(middle) <= corePosition) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    line = low;
    block = document.findBlockByNumber(line);
    start = block.position();
  }
  // A position on the LF of a line break moves back onto its CR, the end of the line.
  const std::int64_t offset = std::min<std::int64_t>(corePosition - (start + line), block.length() - 1);
  return start + static_cast<int>(offset);
}

std::int64_t PlainTextEditControl::selectionStart() const {
  return toCore(selection().selectionStart());
}

std::int64_t PlainTextEditControl::selectionLength() const {
  const QTextCursor cursor = selection();
  if (!cursor.hasSelection()) return 0;
  return toCore(cursor.selectionEnd()) - toCore(cursor.selectionStart());
}

void PlainTextEditControl::select(std::int64_t start, std::int64_t length) {
  QTextCursor cursor(&textDocument());
  const int anchor = toDocument(start);
  cursor.setPosition(anchor);
  cursor.setPosition(length > 0 ? toDocument(start + length) : anchor, QTextCursor::KeepAnchor);
  setSelection(cursor);
}

std::int64_t PlainTextEditControl::room() const {
  return std::max<std::int64_t>(capacity_ - (length() - selectionLength()), 0);
}

void PlainTextEditControl::replaceSelection(std::string_view text) {
  const std::size_t taken = fittingLength(text, room());
  QTextCursor cursor = selection();
  cursor.beginEditBlock();
  if (cursor.hasSelection()) cursor.removeSelectedText();
  if (taken > 0) cursor.insertText(toQString(text.substr(0, taken)));
  cursor.endEditBlock();
  setSelection(cursor);
}

void PlainTextEditControl::replaceSelectionWithDocument(const FormattedText& document) {
  const FormattedText fitting = fittingPart(document, room());
  QTextCursor cursor = selection();
  cursor.beginEditBlock();
  if (cursor.hasSelection()) cursor.removeSelectedText();
  insertDocument(cursor, fitting);
  cursor.endEditBlock();
  setSelection(cursor);
}

void PlainTextEditControl::insertDocument(QTextCursor& cursor, const FormattedText& document) {
  if (document.isUnformatted()) {
    insertUnformatted(cursor, document);
    return;
  }
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    const Paragraph& paragraph = document.paragraphs[i];
    if (i > 0) cursor.insertBlock(toQt(paragraph.alignment), QTextCharFormat());
    for (const TextRun& run : paragraph.runs) cursor.insertText(toQString(run.text), toQt(run.format));
  }
}

void PlainTextEditControl::clear() {
  QTextCursor cursor(&textDocument());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  // Nothing of the old text's formatting carries over to what is typed next.
  cursor.setBlockFormat(QTextBlockFormat());
  cursor.setBlockCharFormat(QTextCharFormat());
  cursor.setCharFormat(QTextCharFormat());
  cursor.endEditBlock();
  setSelection(cursor);
  setModified(false);
}

void PlainTextEditControl::setDocument(const FormattedText& document) {
  // Refused before anything changes: the text, its undo history and the modified flag stay.
  if (document.holdsLineLongerThan(longestLoadedLine_)) throw EOutOfResources(kStreamLoadError);
  replaceWholeContent(document.paragraphs.front().alignment,
                      [&](QTextCursor& cursor) { insertDocument(cursor, document); });
}

void PlainTextEditControl::setPlainText(std::string_view text) {
  if (longestLineLength(text) > longestLoadedLine_) throw EOutOfResources(kStreamLoadError);
  replaceWholeContent(Alignment::Left, [&](QTextCursor& cursor) { insertPlainText(cursor, text); });
}

void PlainTextEditControl::replaceWholeContent(Alignment alignment,
                                               const std::function<void(QTextCursor&)>& insert) {
  QTextCursor cursor(&textDocument());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  cursor.setBlockFormat(toQt(alignment));
  cursor.setBlockCharFormat(QTextCharFormat());
  cursor.setCharFormat(QTextCharFormat());
  insert(cursor);
  cursor.endEditBlock();
  cursor.setPosition(0);
  setSelection(cursor);
}

FormattedText PlainTextEditControl::document() const {
  return documentBetween(0, textDocument().characterCount() - 1);
}

FormattedText PlainTextEditControl::selectedDocument() const {
  const QTextCursor cursor = selection();
  return documentBetween(cursor.selectionStart(), cursor.selectionEnd());
}

FormattedText PlainTextEditControl::documentBetween(int start, int end) const {
  FormattedText result;
  result.paragraphs.clear();
  for (QTextBlock block = textDocument().findBlock(start); block.isValid() && block.position() <= end;
       block = block.next()) {
    Paragraph paragraph{{}, fromQt(block.blockFormat().alignment())};
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextFragment piece = fragment.fragment();
      const int from = std::max(piece.position(), start);
      const int to = std::min(piece.position() + piece.length(), end);
      if (from >= to) continue;
      const std::string text = toCp1252(piece.text().mid(from - piece.position(), to - from));
      const CharFormat format = fromQt(piece.charFormat());
      if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
        paragraph.runs.back().text += text;
      } else {
        paragraph.runs.push_back({text, format});
      }
    }
    result.paragraphs.push_back(std::move(paragraph));
  }
  if (result.paragraphs.empty()) result.paragraphs.emplace_back();
  return result;
}

bool PlainTextEditControl::isModified() const {
  return textDocument().isModified();
}

void PlainTextEditControl::setModified(bool modified) {
  textDocument().setModified(modified);
}

bool PlainTextEditControl::isReadOnly() const {
  return edit_.isReadOnly();
}

void PlainTextEditControl::setReadOnly(bool readOnly) {
  edit_.setReadOnly(readOnly);
}

QTextCursor PlainTextEditControl::selection() const {
  return updateDepth_ > 0 ? suspendedSelection_ : edit_.textCursor();
}

void PlainTextEditControl::setSelection(const QTextCursor& cursor) {
  if (updateDepth_ > 0) {
    suspendedSelection_ = cursor;
  } else {
    edit_.setTextCursor(cursor);
  }
}

void PlainTextEditControl::beginUpdate() {
  if (updateDepth_++ > 0) return;
  suspendedSelection_ = edit_.textCursor();
  edit_.setUpdatesEnabled(false);
}

void PlainTextEditControl::endUpdate() {
  if (--updateDepth_ > 0) return;
  edit_.setTextCursor(suspendedSelection_);
  edit_.setUpdatesEnabled(true);
}

}  // namespace glanex
