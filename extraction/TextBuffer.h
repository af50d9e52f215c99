#pragma once

#include <vector>

#include "extraction/TextControl.h"

// The core's text store: the text with CR LF line breaks and an index of where each line starts, kept up
// to date by every edit, so that reaching line i costs a look-up and an edit costs the characters it moves.
// Formatting is not kept: the buffer serves the working lists and the command line, where only the
// characters count.
namespace glanex {

class TextBuffer : public TextControl {
 public:
  explicit TextBuffer(std::int64_t capacity = kUnlimitedCapacity);

  // The whole text, line breaks as CR LF.
  const std::string& text() const { return text_; }

  std::int64_t length() const override;
  std::int64_t lineCount() const override;
  std::int64_t lineStart(std::int64_t line) const override;
  std::int64_t lineLength(std::int64_t line) const override;
  std::string lineText(std::int64_t line, std::int64_t maxChars) const override;

  std::int64_t selectionStart() const override { return selectionStart_; }
  std::int64_t selectionLength() const override { return selectionLength_; }
  void select(std::int64_t start, std::int64_t length) override;
  void replaceSelection(std::string_view text) override;
  void replaceSelectionWithDocument(const FormattedText& document) override;

  void clear() override;
  void setDocument(const FormattedText& document) override;
  void setPlainText(std::string_view text) override;
  FormattedText document() const override;
  FormattedText selectedDocument() const override;

  std::int64_t capacity() const override { return capacity_; }
  void setCapacity(std::int64_t characters) override { capacity_ = characters; }
  bool isModified() const override { return modified_; }
  void setModified(bool modified) override { modified_ = modified; }
  bool isReadOnly() const override { return readOnly_; }
  void setReadOnly(bool readOnly) override { readOnly_ = readOnly; }

  void beginUpdate() override {}
  void endUpdate() override {}

 private:
  void setText(std::string text);
  // A position inside a CR LF pair moves back onto its CR, so that no edit splits a line break.
  std::int64_t snapToCharacter(std::int64_t position) const;

  std::string text_;
  std::vector<std::int64_t> lineStarts_{0};
  std::int64_t selectionStart_ = 0;
  std::int64_t selectionLength_ = 0;
  std::int64_t capacity_;
  bool modified_ = false;
  bool readOnly_ = false;
};

}  // namespace glanex
