#pragma once

#include <QPlainTextEdit>

#include <memory>

#include "extraction/TRichEditStrings.h"
#include "extraction/qt/PlainTextEditControl.h"

namespace glanex {

// A visible rich text pane: a Qt text widget that lays out lazily (so sources of tens of megabytes stay
// responsive), bound to the core's line rules through a text-control adapter. Every way text enters it
// (paste, drop, middle button, typing) ends as Windows-1252 text, and every copy offers RTF and plain text.
class TRichEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TRichEdit(QWidget* parent = nullptr);
  ~TRichEdit() override;

  // The pane's line view, with LoadFile and SaveFile.
  TRichEditStrings& Lines() { return *lines_; }
  // The adapter the line rules work on.
  PlainTextEditControl& control() { return *control_; }

  void ClearText();
  void PasteClipboard();
  void SelectWhole();
  void CopySelection();
  bool ModifiedFlag() const;
  void setModifiedFlag(bool modified);
  bool ReadOnly() const { return isReadOnly(); }
  void setReadOnlyFlag(bool readOnly) { setReadOnly(readOnly); }
  // From now on the selection shows only while the pane has the keyboard focus; it stays selected.
  void hideSelectionWithoutFocus();

  // Groups every change made while it lives into one undo step, so that a command is undone at once.
  class UndoStep {
   public:
    explicit UndoStep(TRichEdit& pane);
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

   private:
    PlainTextEditControl& control_;
    QTextCursor cursor_;
  };

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  std::unique_ptr<PlainTextEditControl> control_;
  std::unique_ptr<TRichEditStrings> lines_;
};

}  // namespace glanex
