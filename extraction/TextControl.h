#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "extraction/FormattedText.h"

// The editing surface that the line rules work on: the core's text buffer implements it for the working
// lists and the command line, an adapter implements it for the window's text widgets. Positions count
// characters from 0, with each line break counted as its two characters CR LF.
namespace glanex {

class TextControl {
 public:
  virtual ~TextControl() = default;

  // Number of characters, line breaks counted as two.
  virtual std::int64_t length() const = 0;
  // Number of lines under the line model: one more than the number of line breaks.
  virtual std::int64_t lineCount() const = 0;
  // Position of the first character of `line`, which must exist.
  virtual std::int64_t lineStart(std::int64_t line) const = 0;
  // Number of characters of `line`, its line break excluded; `line` must exist.
  virtual std::int64_t lineLength(std::int64_t line) const = 0;
  // At most `maxChars` characters of `line` from its start; `line` must exist.
  virtual std::string lineText(std::int64_t line, std::int64_t maxChars) const = 0;

  virtual std::int64_t selectionStart() const = 0;
  virtual std::int64_t selectionLength() const = 0;
  virtual void select(std::int64_t start, std::int64_t length) = 0;
  // Replaces the selection with `text`, whose line breaks are all CR LF, taking only as much as the
  // capacity allows; the caret ends after the part taken.
  virtual void replaceSelection(std::string_view text) = 0;
  // Replaces the selection with a formatted document, within the same capacity.
  virtual void replaceSelectionWithDocument(const FormattedText& document) = 0;

  // Empties the text, puts the caret at 0 and clears the modified flag; the capacity stays.
  virtual void clear() = 0;
  // Replaces the whole content; the capacity does not apply to a load.
  virtual void setDocument(const FormattedText& document) = 0;
  // The same for unformatted text whose line breaks are all CR LF, without a paragraph object per line:
  // what a big plain-text file loads through.
  virtual void setPlainText(std::string_view text) = 0;
  // The whole content with its formatting.
  virtual FormattedText document() const = 0;
  // The selected part with its formatting.
  virtual FormattedText selectedDocument() const = 0;

  virtual std::int64_t capacity() const = 0;
  virtual void setCapacity(std::int64_t characters) = 0;
  virtual bool isModified() const = 0;
  virtual void setModified(bool modified) = 0;
  virtual bool isReadOnly() const = 0;
  virtual void setReadOnly(bool readOnly) = 0;

  // Repaint suspension around a long series of edits; calls nest.
  virtual void beginUpdate() = 0;
  virtual void endUpdate() = 0;
};

// Capacities, in characters.
inline constexpr std::int64_t kLoadedCapacity = 2'147'483'632;
inline constexpr std::int64_t kWorkingListCapacity = 65'536;
inline constexpr std::int64_t kUnlimitedCapacity = INT64_MAX;

// Longest line part that the line rules hand out.
inline constexpr std::int64_t kLineBufferSize = 4'096;

// How much of `text` (line breaks CR LF) a replacement takes with `room` characters left: as much as fits,
// except that a cut never keeps the CR of a line break without its LF.
std::size_t fittingLength(std::string_view text, std::int64_t room);

// The same cut for a document: its first `room` characters, each paragraph break counted as its two
// characters and kept only whole.
FormattedText fittingPart(const FormattedText& document, std::int64_t room);

}  // namespace glanex
