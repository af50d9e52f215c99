#pragma once

#include "extraction/Clipboard.h"

class QMimeData;

namespace glanex {

// The rich and plain forms of Qt mime data, as the core's clipboard: RTF under text/rtf or
// application/rtf, plain text as UTF-8.
class QtClipboard : public Clipboard {
 public:
  // The system clipboard.
  QtClipboard();
  // Data from a paste or a drop; not owned.
  explicit QtClipboard(const QMimeData* source);

  std::optional<std::string> rtf() const override;
  std::optional<std::string> plainText() const override;
  void setContent(const std::string& rtf, const std::string& plainText) override;

  // New mime data holding both forms, for the clipboard or a drag.
  static QMimeData* mimeDataFor(const std::string& rtf, const std::string& plainText);

 private:
  const QMimeData* source() const;

  const QMimeData* source_ = nullptr;
};

}  // namespace glanex
