#pragma once

#include <QTextBlock>
#include <QTextCursor>

#include <functional>

#include "extraction/TextControl.h"

class QPlainTextEdit;
class QTextDocument;

namespace glanex {

// The longest line, in characters, that a load puts into a window's pane. Qt lays out and paints a line
// as a whole, so the first paint of a line costs time in proportion to its length: a line this long is
// shown within about two seconds of opening it; a longer one would hold the window for longer.
inline constexpr std::int64_t kLongestLoadedLine = 2'000'000;

// The text-control adapter of a Qt plain text edit, so that the core's line rules work on what the window
// shows. Qt counts a line break as one character and the core as two (CR LF): positions are converted
// through the line a position falls in, so each conversion costs a look-up, not a scan. Every change goes
// through the document's cursor operations, so the undo history keeps it.
class PlainTextEditControl : public TextControl {
 public:
  PlainTextEditControl(QPlainTextEdit& edit, std::int64_t capacity);

  std::int64_t length() const override;
  std::int64_t lineCount() const override;
  std::int64_t lineStart(std::int64_t line) const override;
  std::int64_t lineLength(std::int64_t line) const override;
  std::string lineText(std::int64_t line, std::int64_t maxChars) const override;

  std::int64_t selectionStart() const override;
  std::int64_t selectionLength() const override;
  void select(std::int64_t start, std::int64_t length) override;
  void replaceSelection(std::string_view text) override;
  void replaceSelectionWithDocument(const FormattedText& document) override;

  void clear() override;
  // Throws EOutOfResources "Erreur au chargement du flux", changing nothing, when a line of the document
  // is longer than longestLoadedLine().
  void setDocument(const FormattedText& document) override;
  // The same refusal as setDocument.
  void setPlainText(std::string_view text) override;
  FormattedText document() const override;
  FormattedText selectedDocument() const override;

  std::int64_t capacity() const override { return capacity_; }
  void setCapacity(std::int64_t characters) override { capacity_ = characters; }
  bool isModified() const override;
  void setModified(bool modified) override;
  bool isReadOnly() const override;
  void setReadOnly(bool readOnly) override;

  void beginUpdate() override;
  void endUpdate() override;

  std::int64_t longestLoadedLine() const { return longestLoadedLine_; }
  void setLongestLoadedLine(std::int64_t characters) { longestLoadedLine_ = characters; }

 private:
  QTextDocument& textDocument() const;
  QTextBlock blockOf(std::int64_t line) const;
  // One undo step that empties the document, resets the formats and lets `insert` fill it; the caret
  // ends at the start.
  void replaceWholeContent(Alignment alignment, const std::function<void(QTextCursor&)>& insert);
  // The selection the line rules work on: the widget's own, or while repainting is suspended a copy that
  // the widget takes over at the end, so a long series of edits does not move the view line by line.
  QTextCursor selection() const;
  void setSelection(const QTextCursor& cursor);
  std::int64_t toCore(int documentPosition) const;
  int toDocument(std::int64_t corePosition) const;
  // How many more characters the pane takes when the selection is replaced.
  std::int64_t room() const;
  void insertDocument(QTextCursor& cursor, const FormattedText& document);
  FormattedText documentBetween(int start, int end) const;

  QPlainTextEdit& edit_;
  std::int64_t capacity_;
  std::int64_t longestLoadedLine_ = kLongestLoadedLine;
  int updateDepth_ = 0;
  QTextCursor suspendedSelection_;
};

}  // namespace glanex
