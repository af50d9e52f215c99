#include "extraction/TextBuffer.h"

#include <algorithm>

namespace glanex {

TextBuffer::TextBuffer(std::int64_t capacity) : capacity_(capacity) {}

std::int64_t TextBuffer::length() const {
  return static_cast<std::int64_t>(text_.size());
}

std::int64_t TextBuffer::lineCount() const {
  return static_cast<std::int64_t>(lineStarts_.size());
}

std::int64_t TextBuffer::lineStart(std::int64_t line) const {
  return lineStarts_[static_cast<std::size_t>(line)];
}

std::int64_t TextBuffer::lineLength(std::int64_t line) const {
  const auto index = static_cast<std::size_t>(line);
  const std::int64_t end = index + 1 < lineStarts_.size() ? lineStarts_[index + 1] - 2 : length();
  return end - lineStarts_[index];
}

std::string TextBuffer::lineText(std::int64_t line, std::int64_t maxChars) const {
  const auto count = std::min(lineLength(line), maxChars);
  return text_.substr(static_cast<std::size_t>(lineStart(line)), static_cast<std::size_t>(count));
}

std::int64_t TextBuffer::snapToCharacter(std::int64_t position) const {
  position = std::clamp<std::int64_t>(position, 0, length());
  const auto index = static_cast<std::size_t>(position);
  if (position > 0 && index < text_.size() && text_[index - 1] == '\r' && text_[index] == '\n') --position;
  return position;
}

void TextBuffer::select(std::int64_t start, std::int64_t length) {
  const std::int64_t first = snapToCharacter(start);
  const std::int64_t last = snapToCharacter(start + std::max<std::int64_t>(length, 0));
  selectionStart_ = first;
  selectionLength_ = std::max<std::int64_t>(last - first, 0);
}

void TextBuffer::replaceSelection(std::string_view text) {
  const std::int64_t start = selectionStart_;
  const std::int64_t end = start + selectionLength_;
  const std::int64_t room = std::max<std::int64_t>(capacity_ - (length() - selectionLength_), 0);
  const std::size_t taken = fittingLength(text, room);
  const std::string_view inserted = text.substr(0, taken);

  text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), inserted);

  // Line starts inside the replaced range go; the ones after it move; the inserted breaks add theirs.
  const auto firstGone = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), start);
  const auto firstKept = std::upper_bound(firstGone, lineStarts_.end(), end);
  const std::int64_t shift = static_cast<std::int64_t>(taken) - (end - start);
  std::vector<std::int64_t> added;
  for (std::size_t i = 0; i + 1 < inserted.size(); ++i) {
    if (inserted[i] == '\r' && inserted[i + 1] == '\n')
      added.push_back(start + static_cast<std::int64_t>(i) + 2);
  }
  for (auto it = firstKept; it != lineStarts_.end(); ++it) *it += shift;
  const auto position = lineStarts_.erase(firstGone, firstKept);
  lineStarts_.insert(position, added.begin(), added.end());

  selectionStart_ = start + static_cast<std::int64_t>(taken);
  selectionLength_ = 0;
}

void TextBuffer::replaceSelectionWithDocument(const FormattedText& document) {
  replaceSelection(document.plainText());
}

void TextBuffer::clear() {
  setText({});
  modified_ = false;
}

void TextBuffer::setDocument(const FormattedText& document) {
  setText(document.plainText());
}

void TextBuffer::setPlainText(std::string_view text) {
  setText(std::string(text));
}

FormattedText TextBuffer::document() const {
  return FormattedText::fromPlainText(text_);
}

FormattedText TextBuffer::selectedDocument() const {
  return FormattedText::fromPlainText(std::string_view(text_).substr(
      static_cast<std::size_t>(selectionStart_), static_cast<std::size_t>(selectionLength_)));
}

void TextBuffer::setText(std::string text) {
  text_ = std::move(text);
  lineStarts_.assign(1, 0);
  for (std::size_t i = 0; i + 1 < text_.size(); ++i) {
    if (text_[i] == '\r' && text_[i + 1] == '\n') lineStarts_.push_back(static_cast<std::int64_t>(i) + 2);
  }
  selectionStart_ = 0;
  selectionLength_ = 0;
}

}  // namespace glanex
