#pragma once

#include "extraction/Clipboard.h"
#include "extraction/TextControl.h"

// The pane operations that go beyond lines, written once over a text control so that the working panes
// and the window's panes share them.
namespace glanex {

enum class PaneKind { Rich, Plain };

// Inserts the clipboard's text at the caret, replacing the selection: a rich pane takes the RTF form when
// one is offered and reads, else the plain form. A read-only pane or an empty clipboard changes nothing;
// the control's capacity cuts what does not fit.
void PasteClipboard(TextControl& pane, PaneKind kind, const Clipboard& clipboard);

// Selects the whole text.
void SelectWhole(TextControl& pane);

// Puts the selection on the clipboard as plain text and as RTF.
void CopySelection(const TextControl& pane, Clipboard& clipboard);

}  // namespace glanex
