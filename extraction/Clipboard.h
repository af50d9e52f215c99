#pragma once

#include <optional>
#include <string>

namespace glanex {

// The system clipboard as the panes see it: a rich form (RTF) and a plain form. The window provides the
// real one; tests use one in memory.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // The rich form's RTF bytes, when offered.
  virtual std::optional<std::string> rtf() const = 0;
  // The plain form's bytes as offered, to be read with decodePlainText.
  virtual std::optional<std::string> plainText() const = 0;
  // Replaces the clipboard's content with both forms; `plainText` is Windows-1252 with CR LF breaks.
  virtual void setContent(const std::string& rtf, const std::string& plainText) = 0;
};

}  // namespace glanex
