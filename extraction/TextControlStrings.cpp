#include "extraction/TextControlStrings.h"

#include "extraction/TextEncoding.h"

namespace glanex {

std::int64_t TextControlStrings::LineCount() const {
  const std::int64_t lines = control_.lineCount();
  return control_.lineLength(lines - 1) == 0 ? lines - 1 : lines;
}

std::string TextControlStrings::GetLine(std::int64_t i) const {
  if (!LineExists(i)) return {};
  return control_.lineText(i, kLineBufferSize);
}

void TextControlStrings::ReplaceLine(std::int64_t i, const std::string& s) {
  if (!LineExists(i)) return;
  control_.select(control_.lineStart(i), control_.lineLength(i));
  control_.replaceSelection(normalizeLineBreaks(s));
}

void TextControlStrings::AppendToLine(std::int64_t i, const std::string& s) {
  if (!LineExists(i)) return;
  control_.select(control_.lineStart(i) + control_.lineLength(i), 0);
  control_.replaceSelection(normalizeLineBreaks(s));
}

void TextControlStrings::InsertLine(std::int64_t i, const std::string& s) {
  if (i < 0) return;
  std::int64_t point = 0;
  std::string inserted;
  if (LineExists(i)) {
    point = control_.lineStart(i);
    inserted = normalizeLineBreaks(s) + "\r\n";
  } else if (LineExists(i - 1) && control_.lineLength(i - 1) > 0) {
    point = control_.lineStart(i - 1) + control_.lineLength(i - 1);
    inserted = "\r\n" + normalizeLineBreaks(s);
  } else {
    return;
  }
  control_.select(point, 0);
  control_.replaceSelection(inserted);
  CheckInsertion(point, static_cast<std::int64_t>(inserted.size()));
}

bool TextControlStrings::FillEmpty(std::string_view text) {
  if (std::ssize(text) > control_.capacity() - control_.length()) return false;
  control_.select(control_.length(), 0);
  control_.replaceSelection(text);
  return true;
}

void TextControlStrings::ClearText() {
  control_.clear();
}

}  // namespace glanex
