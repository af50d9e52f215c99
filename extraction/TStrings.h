#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The line view of a text pane. Kinds implement the primitive operations; AppendLine and AssignLines are
// written here once, so they behave alike on every kind except where the kinds' own operations differ.
// Line indexes count from 0; int64 keeps huge sources countable.
namespace glanex {

class TStrings {
 public:
  virtual ~TStrings() = default;

  // Number of lines, a trailing empty line not counted.
  virtual std::int64_t LineCount() const = 0;
  // Line i without its line break, cut to 4,096 characters; empty for a line that does not exist.
  virtual std::string GetLine(std::int64_t i) const = 0;
  // Replaces the characters of line i; does nothing when line i does not exist.
  virtual void ReplaceLine(std::int64_t i, const std::string& s) = 0;
  // Inserts s as a line before line i, or after the last line.
  virtual void InsertLine(std::int64_t i, const std::string& s) = 0;
  // Adds s after the last character of line i, however long the line; nothing when line i does not exist.
  virtual void AppendToLine(std::int64_t i, const std::string& s) = 0;
  virtual void ClearText() = 0;

  // InsertLine(LineCount(), s); returns the LineCount it used.
  std::int64_t AppendLine(const std::string& s);
  // Makes this pane hold the source's counted lines, each followed by a line break.
  void AssignLines(const TStrings& source);

 protected:
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // Puts `text` (lines each ended by CR LF) into the empty pane in one edit when the capacity takes all
  // of it; does nothing and returns false otherwise.
  virtual bool FillEmpty(std::string_view text) = 0;
};

}  // namespace glanex
