#include "extraction/TStrings.h"

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
  for (std::int64_t i = 0; i < count; ++i) AppendLine(source.GetLine(i));
}

}  // namespace glanex
