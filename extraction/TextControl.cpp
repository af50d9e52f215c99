#include "extraction/TextControl.h"

#include <algorithm>

namespace glanex {

std::size_t fittingLength(std::string_view text, std::int64_t room) {
  auto taken = static_cast<std::size_t>(std::clamp<std::int64_t>(room, 0, std::ssize(text)));
  // A cut that would keep the CR of a line break without its LF keeps neither.
  if (taken > 0 && taken < text.size() && text[taken - 1] == '\r' && text[taken] == '\n') --taken;
  return taken;
}

FormattedText fittingPart(const FormattedText& document, std::int64_t room) {
  FormattedText result;
  result.paragraphs.clear();
  for (const Paragraph& paragraph : document.paragraphs) {
    if (!result.paragraphs.empty()) {
      if (room < 2) break;
      room -= 2;
    }
    Paragraph kept{{}, paragraph.alignment};
    for (const TextRun& run : paragraph.runs) {
      const auto taken = static_cast<std::size_t>(std::min<std::int64_t>(room, std::ssize(run.text)));
      if (taken > 0) kept.runs.push_back({run.text.substr(0, taken), run.format});
      room -= static_cast<std::int64_t>(taken);
    }
    result.paragraphs.push_back(std::move(kept));
  }
  if (result.paragraphs.empty()) result.paragraphs.emplace_back();
  return result;
}

}  // namespace glanex
