#include "extraction/FormattedText.h"

#include <algorithm>
#include <numeric>

namespace glanex {

std::string Paragraph::text() const {
  std::string result;
  for (const TextRun& run : runs) result += run.text;
  return result;
}

std::int64_t Paragraph::length() const {
  return std::accumulate(runs.begin(), runs.end(), std::int64_t{0},
                         [](std::int64_t sum, const TextRun& run) { return sum + std::ssize(run.text); });
}

FormattedText::FormattedText() : paragraphs(1) {}

bool FormattedText::isUnformatted() const {
  return std::all_of(paragraphs.begin(), paragraphs.end(), [](const Paragraph& paragraph) {
    return paragraph.alignment == Alignment::Left &&
           std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.format == CharFormat{}; });
  });
}

bool FormattedText::holdsLineLongerThan(std::int64_t limit) const {
  return std::any_of(paragraphs.begin(), paragraphs.end(),
                     [limit](const Paragraph& paragraph) { return paragraph.length() > limit; });
}

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

std::int64_t longestLineLength(std::string_view text) {
  std::int64_t longest = 0;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find("\r\n", start);
    longest = std::max<std::int64_t>(longest, static_cast<std::int64_t>(std::min(end, text.size()) - start));
    if (end == std::string_view::npos) return longest;
    start = end + 2;
  }
}

}  // namespace glanex
