#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "extraction/Errors.h"
#include "extraction/TextPane.h"

// A random series of line operations on a core pane, checked step by step against a plain model of the
// line rules: a list of lines (never empty) joined by CR LF, a capacity that cuts insertions, and an
// insertion error on the rich kind when the cut left something out.
namespace {

using namespace glanex;

// The pieces of `s` between its line breaks, CR LF, CR and LF alike.
std::vector<std::string> splitLines(std::string_view s) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      parts.emplace_back();
    } else {
      parts.back() += s[i];
    }
  }
  return parts;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  return text;
}

class LinesModel {
 public:
  LinesModel(PaneKind kind, std::int64_t capacity) : kind_(kind), capacity_(capacity) {}

  const std::vector<std::string>& lines() const { return lines_; }
  std::int64_t size() const { return static_cast<std::int64_t>(lines_.size()); }
  std::int64_t length() const { return static_cast<std::int64_t>(joinLines(lines_).size()); }
  std::int64_t lineCount() const { return lines_.back().empty() ? size() - 1 : size(); }
  std::string getLine(std::int64_t i) const {
    if (i < 0 || i >= size()) return {};
    return lines_[static_cast<std::size_t>(i)].substr(0, kLineBufferSize);
  }

  void load(std::string_view text) { lines_ = splitLines(text); }
  void clear() { lines_.assign(1, std::string()); }

  // Whether the operation must fail with the insertion error.
  bool insertLine(std::int64_t i, std::string_view s) {
    const std::string line = joinLines(splitLines(s));
    if (i < 0) return false;
    if (i < size()) return refused(replace(i, 0, 0, line + "\r\n"), line.size() + 2);
    if (i == size() && !lines_.back().empty()) {
      return refused(replace(i - 1, lines_.back().size(), 0, "\r\n" + line), line.size() + 2);
    }
    return false;
  }
  void replaceLine(std::int64_t i, std::string_view s) {
    if (i >= 0 && i < size()) replace(i, 0, at(i).size(), joinLines(splitLines(s)));
  }
  void appendToLine(std::int64_t i, std::string_view s) {
    if (i >= 0 && i < size()) replace(i, at(i).size(), 0, joinLines(splitLines(s)));
  }

 private:
  std::string& at(std::int64_t i) { return lines_[static_cast<std::size_t>(i)]; }
  bool refused(std::size_t taken, std::size_t wanted) const {
    return kind_ == PaneKind::Rich && taken < wanted;
  }

  // Replaces `count` characters of line `i` from `column` with as much of `text` as the capacity leaves,
  // never half a line break; returns the number of characters taken.
  std::size_t replace(std::int64_t i, std::size_t column, std::size_t count, const std::string& text) {
    const std::int64_t room =
        std::max<std::int64_t>(capacity_ - (length() - static_cast<std::int64_t>(count)), 0);
    std::size_t taken = static_cast<std::size_t>(std::min(room, static_cast<std::int64_t>(text.size())));
    if (taken > 0 && taken < text.size() && text[taken - 1] == '\r') --taken;
    std::vector<std::string> parts = splitLines(text.substr(0, taken));
    const std::string head = at(i).substr(0, column);
    const std::string tail = at(i).substr(column + count);
    parts.front() = head + parts.front();
    parts.back() += tail;
    lines_.erase(lines_.begin() + i);
    lines_.insert(lines_.begin() + i, parts.begin(), parts.end());
    return taken;
  }

  PaneKind kind_;
  std::int64_t capacity_;
  std::vector<std::string> lines_{std::string()};
};

// A pane and its model, checked against each other after every step.
struct Subject {
  Subject(PaneKind kind, std::int64_t capacity) : pane(kind, capacity), model(kind, capacity) {}

  void check() const {
    FUZZ_CHECK(pane.buffer().text() == joinLines(model.lines()));
    FUZZ_CHECK(pane.Lines().LineCount() == model.lineCount());
  }

  TextPane pane;
  LinesModel model;
};

std::int64_t capacityFrom(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
      return input.ConsumeIntegralInRange<std::int64_t>(0, 200);
    case 1:
      return kWorkingListCapacity;
    default:
      return kUnlimitedCapacity;
  }
}

// Mostly short lines, with a line break now and then; sometimes one long enough to reach the line cut.
std::string lineFrom(FuzzedDataProvider& input) {
  if (input.ConsumeIntegralInRange(0, 15) == 0) {
    const auto length = input.ConsumeIntegralInRange<std::size_t>(4090, 4100);
    return std::string(length, input.ConsumeIntegral<char>());
  }
  return input.ConsumeRandomLengthString(24);
}

template <typename Operation>
void expectInsertion(bool refused, Operation operation) {
  bool threw = false;
  try {
    operation();
  } catch (const EOutOfResources& error) {
    threw = std::string_view(error.what()) == kLineInsertionError;
  }
  FUZZ_CHECK(threw == refused);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const PaneKind kind = input.ConsumeBool() ? PaneKind::Rich : PaneKind::Plain;
  Subject subject(kind, capacityFrom(input));
  // The source of AssignLines: a document pane, which takes any text.
  Subject other(PaneKind::Rich, kLoadedCapacity);
  TStrings& lines = subject.pane.Lines();
  LinesModel& model = subject.model;

  while (input.remaining_bytes() > 0) {
    const auto index = input.ConsumeIntegralInRange<std::int64_t>(-2, model.size() + 1);
    switch (input.ConsumeIntegralInRange(0, 9)) {
      case 0: {
        const std::string line = lineFrom(input);
        const std::int64_t used = model.lineCount();
        const bool refused = model.insertLine(used, line);
        expectInsertion(refused, [&] { FUZZ_CHECK(lines.AppendLine(line) == used); });
        break;
      }
      case 1: {
        const std::string line = lineFrom(input);
        const bool refused = model.insertLine(index, line);
        expectInsertion(refused, [&] { lines.InsertLine(index, line); });
        break;
      }
      case 2: {
        const std::string line = lineFrom(input);
        model.replaceLine(index, line);
        lines.ReplaceLine(index, line);
        break;
      }
      case 3: {
        const std::string line = lineFrom(input);
        model.appendToLine(index, line);
        lines.AppendToLine(index, line);
        break;
      }
      case 4:
        model.clear();
        lines.ClearText();
        FUZZ_CHECK(!subject.pane.buffer().isModified());
        break;
      case 5:
        for (std::int64_t i = -1; i <= model.size() + 1; ++i)
          FUZZ_CHECK(lines.GetLine(i) == model.getLine(i));
        break;
      case 6: {
        // A load takes the whole text whatever the capacity.
        const std::string text = input.ConsumeRandomLengthString(64);
        model.load(text);
        subject.pane.buffer().setDocument(FormattedText::fromPlainText(text));
        break;
      }
      case 7: {
        // AssignLines is AppendLine of each counted source line after a clear; a refusal ends it there.
        model.clear();
        bool refused = false;
        for (std::int64_t i = 0; i < other.model.lineCount() && !refused; ++i) {
          refused = model.insertLine(model.lineCount(), other.model.getLine(i));
        }
        expectInsertion(refused, [&] { lines.AssignLines(other.pane.Lines()); });
        break;
      }
      case 8: {
        const std::string line = lineFrom(input);
        other.model.insertLine(other.model.lineCount(), line);
        other.pane.Lines().AppendLine(line);
        other.check();
        break;
      }
      default: {
        const std::string text = input.ConsumeRandomLengthString(64);
        other.model.load(text);
        other.pane.buffer().setDocument(FormattedText::fromPlainText(text));
        other.check();
        break;
      }
    }
    subject.check();
  }
  return 0;
}
