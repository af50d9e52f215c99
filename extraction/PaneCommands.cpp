#include "extraction/PaneCommands.h"

#include <sstream>

#include "extraction/RtfReader.h"
#include "extraction/RtfWriter.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

std::optional<FormattedText> richContent(const Clipboard& clipboard) {
  const std::optional<std::string> rtf = clipboard.rtf();
  if (!rtf) return std::nullopt;
  return RtfReader::read(*rtf);
}

}  // namespace

void PasteClipboard(TextControl& pane, PaneKind kind, const Clipboard& clipboard) {
  if (pane.isReadOnly()) return;
  if (kind == PaneKind::Rich) {
    if (const std::optional<FormattedText> document = richContent(clipboard)) {
      pane.replaceSelectionWithDocument(*document);
      return;
    }
  }
  const std::optional<std::string> plain = clipboard.plainText();
  if (!plain || plain->empty()) return;
  pane.replaceSelection(decodePlainText(*plain));
}

void SelectWhole(TextControl& pane) {
  pane.select(0, pane.length());
}

void CopySelection(const TextControl& pane, Clipboard& clipboard) {
  const FormattedText selection = pane.selectedDocument();
  std::ostringstream rtf;
  RtfWriter(rtf).write(selection);
  clipboard.setContent(rtf.str(), selection.plainText());
}

}  // namespace glanex
