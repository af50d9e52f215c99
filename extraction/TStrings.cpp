#include "extraction/TStrings.h"

#include "extraction/TextEncoding.h"

namespace glanex {

std::int64_t TStrings::AppendLine(const std::string& s) {
  const std::int64_t count = LineCount();
  InsertLine(count, s);
  return count;
}

void TStrings::AssignLines(const TStrings& source) {
  // Repainting resumes even when an insertion fails half way.
  struct UpdateGuard {
    TStrings& lines;
    explicit UpdateGuard(TStrings& l) : lines(l) { lines.BeginUpdate(); }
    ~UpdateGuard() { lines.EndUpdate(); }
  } guard(*this);
  ClearText();
  const std::int64_t count = source.LineCount();
  // The lines appended one by one give exactly this text; a visible pane takes it far faster in one edit.
  std::string text;
  for (std::int64_t i = 0; i < count; ++i) text += normalizeLineBreaks(source.GetLine(i)) + "\r\n";
  if (FillEmpty(text)) return;
  // What does not fit stops where each kind's rule for a line that does not fit says.
  for (std::int64_t i = 0; i < count; ++i) AppendLine(source.GetLine(i));
}

}  // namespace glanex
