#include "extraction/FormattedText.h"

namespace glanex {

std::string Paragraph::text() const {
  std::string result;
  for (const TextRun& run : runs) result += run.text;
  return result;
}

FormattedText::FormattedText() : paragraphs(1) {}

std::string FormattedText::plainText() const {
  std::string result;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) result += "\r\n";
    for (const TextRun& run : paragraphs[i].runs) result += run.text;
  }
  return result;
}

FormattedText FormattedText::fromPlainText(std::string_view text) {
  FormattedText document;
  document.paragraphs.clear();
  std::size_t start = 0;
  auto addParagraph = [&](std::size_t end) {
    Paragraph paragraph;
    if (end > start) paragraph.runs.push_back({std::string(text.substr(start, end - start)), {}});
    document.paragraphs.push_back(std::move(paragraph));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    addParagraph(i);
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  addParagraph(text.size());
  return document;
}

}  // namespace glanex
