#include "extraction/qt/TRichEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QTextDocument>

#include "extraction/PaneCommands.h"
#include "extraction/RtfWriter.h"
#include "extraction/qt/QtClipboard.h"
#include "extraction/qt/QtCp1252.h"

#include <sstream>

namespace glanex {

namespace {

// What the user typed, as the pane will hold it: characters without a Windows-1252 form become "?".
QString asWindows1252(const QString& text) {
  return toQString(toCp1252(text));
}

}  // namespace

TRichEdit::TRichEdit(QWidget* parent)
    : QPlainTextEdit(parent),
      // A visible pane takes whatever is loaded or pasted, so no paste is ever cut silently.
      control_(std::make_unique<PlainTextEditControl>(*this, kLoadedCapacity)),
      lines_(std::make_unique<TRichEditStrings>(*control_)) {}

TRichEdit::~TRichEdit() = default;

void TRichEdit::ClearText() {
  lines_->ClearText();
}

void TRichEdit::PasteClipboard() {
  glanex::PasteClipboard(*control_, PaneKind::Rich, QtClipboard());
}

void TRichEdit::SelectWhole() {
  glanex::SelectWhole(*control_);
}

void TRichEdit::CopySelection() {
  QtClipboard clipboard;
  glanex::CopySelection(*control_, clipboard);
}

bool TRichEdit::ModifiedFlag() const {
  return control_->isModified();
}

void TRichEdit::setModifiedFlag(bool modified) {
  control_->setModified(modified);
}

// Qt paints the selection of a pane without the focus in the palette's inactive colours: a clear background
// and the text's own colour make it look unselected.
void TRichEdit::hideSelectionWithoutFocus() {
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
  colours.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                   colours.brush(QPalette::Inactive, QPalette::Text));
  setPalette(colours);
}

TRichEdit::UndoStep::UndoStep(TRichEdit& pane) : control_(pane.control()), cursor_(pane.document()) {
  control_.beginUpdate();
  cursor_.beginEditBlock();
}

// Qt lays the document out again only when the outermost edit block closes: the widget gets its new
// caret after that, since placing a caret in text not yet laid out reads lines that do not exist.
TRichEdit::UndoStep::~UndoStep() {
  cursor_.endEditBlock();
  control_.endUpdate();
}

bool TRichEdit::canInsertFromMimeData(const QMimeData* source) const {
  const QtClipboard data(source);
  return data.rtf().has_value() || data.plainText().has_value();
}

void TRichEdit::insertFromMimeData(const QMimeData* source) {
  // Every paste and drop, however the user makes it, follows the pane's paste rule.
  const UndoStep step(*this);
  glanex::PasteClipboard(*control_, PaneKind::Rich, QtClipboard(source));
  ensureCursorVisible();
}

QMimeData* TRichEdit::createMimeDataFromSelection() const {
  const FormattedText selection = control_->selectedDocument();
  std::ostringstream rtf;
  RtfWriter(rtf).write(selection);
  return QtClipboard::mimeDataFor(rtf.str(), selection.plainText());
}

void TRichEdit::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (isReadOnly() || (!enter && event->text().isEmpty())) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  if (enter) {
    // Shift+Enter too makes a real line break, never a line separator inside the line.
    textCursor().insertBlock();
    ensureCursorVisible();
    return;
  }
  const QString typed = asWindows1252(event->text());
  if (typed == event->text()) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  QKeyEvent converted(event->type(), event->key(), event->modifiers(), typed, event->isAutoRepeat(),
                      static_cast<ushort>(event->count()));
  QPlainTextEdit::keyPressEvent(&converted);
}

void TRichEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString committed = asWindows1252(event->commitString());
  if (committed == event->commitString()) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent converted(event->preeditString(), event->attributes());
  converted.setCommitString(committed, event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&converted);
}

}  // namespace glanex
