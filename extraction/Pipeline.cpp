#include "extraction/Pipeline.h"

#include <cstring>
#include <vector>

#include "extraction/SeparatorTable.h"

namespace glanex {

namespace {

void reportRange(ExtractionProgress* progress, ProgressChannel channel, std::int64_t total) {
  if (progress != nullptr) progress->ReportRange(channel, total);
}

void reportPosition(ExtractionProgress* progress, ProgressChannel channel, std::int64_t value) {
  if (progress != nullptr) progress->ReportPosition(channel, value);
}

// The tokens of a list read once into one block, so that the pairwise comparison allocates nothing and
// compares lengths before bytes. The list does not change while it is compared.
class TokenBlock {
 public:
  explicit TokenBlock(const TStrings& lines, std::int64_t count) {
    offsets_.reserve(static_cast<std::size_t>(count) + 1);
    offsets_.push_back(0);
    for (std::int64_t i = 0; i < count; ++i) {
      bytes_ += lines.GetLine(i);
      offsets_.push_back(bytes_.size());
    }
  }

  bool equal(std::size_t a, std::size_t b) const {
    const std::size_t length = size(a);
    return length == size(b) &&
           std::memcmp(bytes_.data() + offsets_[a], bytes_.data() + offsets_[b], length) == 0;
  }
  std::string token(std::size_t i) const { return bytes_.substr(offsets_[i], size(i)); }

 private:
  std::size_t size(std::size_t i) const { return offsets_[i + 1] - offsets_[i]; }

  std::string bytes_;
  std::vector<std::size_t> offsets_;
};

// Copies `list` through `scratch` back into itself, keeping the lines `keep` accepts.
template <typename Keep>
void filterThroughCopy(TStrings& list, TStrings& scratch, Keep keep) {
  scratch.AssignLines(list);
  list.ClearText();
  const std::int64_t count = scratch.LineCount();
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string line = scratch.GetLine(i);
    if (keep(line)) list.AppendLine(line);
  }
}

}  // namespace

bool IsSeparator(std::string_view character, std::string_view separators) {
  return character.size() == 1 && separators.find(character.front()) != std::string_view::npos;
}

void CollectCandidateLines(const TStrings& source, TStrings& richEditT1, ExtractionProgress* progress) {
  richEditT1.ClearText();
  const std::int64_t lineCount = source.LineCount();
  reportRange(progress, ProgressChannel::LineScan, lineCount);
  reportPosition(progress, ProgressChannel::LineScan, 0);
  for (std::int64_t i = 0; i < lineCount; ++i) {
    const std::string line = source.GetLine(i);
    // One copy per "@": the copies decide the progress counts and when the working list overflows.
    for (const char c : line) {
      if (c == '@') richEditT1.AppendLine(line);
    }
    reportPosition(progress, ProgressChannel::LineScan, i + 1);
  }
}

void CutTokens(const TStrings& richEditT1, std::string_view separators, TStrings& memo1,
               ExtractionProgress* progress) {
  memo1.ClearText();
  const SeparatorTable table(separators);
  const std::int64_t candidateCount = richEditT1.LineCount();
  reportRange(progress, ProgressChannel::Cutting, candidateCount);
  reportPosition(progress, ProgressChannel::Cutting, 1);
  for (std::int64_t i = 0; i < candidateCount; ++i) {
    reportPosition(progress, ProgressChannel::Cutting, i + 1);
    const std::string line = richEditT1.GetLine(i);
    for (std::size_t at = 0; at < line.size(); ++at) {
      // The table answers IsSeparator's question in one look-up; the token is Substring's cut as a view.
      if (line[at] == '@') memo1.AppendLine(std::string(table.tokenAround(line, at)));
    }
  }
}

void KeepDottedTokens(const TStrings& memo1, TStrings& richEditT1, ExtractionProgress* progress) {
  richEditT1.ClearText();
  const std::int64_t tokenCount = memo1.LineCount();
  reportRange(progress, ProgressChannel::Filtering, tokenCount);
  for (std::int64_t i = 0; i < tokenCount; ++i) {
    reportPosition(progress, ProgressChannel::Filtering, i);
    const std::string token = memo1.GetLine(i);
    if (token.find('.') != std::string::npos) richEditT1.AppendLine(token);
  }
  reportPosition(progress, ProgressChannel::Filtering, tokenCount);
}

std::int64_t RemoveDuplicates(const TStrings& richEditT1, TStrings& richEditT2,
                              ExtractionProgress* progress) {
  richEditT2.ClearText();
  const std::int64_t tokenCount = richEditT1.LineCount();
  reportRange(progress, ProgressChannel::DedupOuter, tokenCount);
  reportRange(progress, ProgressChannel::DedupInner, tokenCount);
  const TokenBlock tokens(richEditT1, tokenCount);
  for (std::int64_t i = 0; i < tokenCount; ++i) {
    reportPosition(progress, ProgressChannel::DedupOuter, i);
    bool occursLater = false;
    // Every later token is visited and reported, as the inner gauge counts them; once a later copy is
    // found the remaining comparisons cannot change the outcome and are skipped.
    for (std::int64_t j = i + 1; j < tokenCount; ++j) {
      reportPosition(progress, ProgressChannel::DedupInner, j);
      occursLater = occursLater || tokens.equal(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
    }
    reportPosition(progress, ProgressChannel::DedupInner, tokenCount);
    if (!occursLater) richEditT2.AppendLine(tokens.token(static_cast<std::size_t>(i)));
    reportPosition(progress, ProgressChannel::DedupInner, 0);
  }
  reportPosition(progress, ProgressChannel::DedupOuter, tokenCount);
  return tokenCount;
}

void DropAtLeadingLines(TStrings& richEditT2, TStrings& richEditT1) {
  filterThroughCopy(richEditT2, richEditT1,
                    [](const std::string& line) { return line.empty() || line[0] != '@'; });
}

void DropEmptyLines(TStrings& richEditT2, TStrings& richEditT1) {
  filterThroughCopy(richEditT2, richEditT1, [](const std::string& line) { return !line.empty(); });
}

std::int64_t RunExtraction(const TStrings& source, std::string_view separators, WorkingLists lists,
                           ExtractionProgress* progress) {
  CollectCandidateLines(source, lists.richEditT1, progress);
  CutTokens(lists.richEditT1, separators, lists.memo1, progress);
  KeepDottedTokens(lists.memo1, lists.richEditT1, progress);
  const std::int64_t tokenCount = RemoveDuplicates(lists.richEditT1, lists.richEditT2, progress);
  DropAtLeadingLines(lists.richEditT2, lists.richEditT1);
  DropEmptyLines(lists.richEditT2, lists.richEditT1);
  // Both deduplication indicators end full.
  reportPosition(progress, ProgressChannel::DedupOuter, tokenCount);
  reportPosition(progress, ProgressChannel::DedupInner, tokenCount);
  return lists.richEditT2.LineCount();
}

}  // namespace glanex
