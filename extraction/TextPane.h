#pragma once

#include <memory>

#include "extraction/PaneCommands.h"
#include "extraction/TRichEditStrings.h"
#include "extraction/TextBuffer.h"
#include "extraction/TextControlStrings.h"

namespace glanex {

// A text pane without a window: a text buffer with the line view of its kind. The processing run's working
// lists and the command line's source pane are panes of this sort.
class TextPane {
 public:
  TextPane(PaneKind kind, std::int64_t capacity);
  // The line view refers to the buffer, so a pane stays where it was built.
  TextPane(const TextPane&) = delete;
  TextPane& operator=(const TextPane&) = delete;

  TextBuffer& buffer() { return buffer_; }
  const TextBuffer& buffer() const { return buffer_; }
  TStrings& Lines() { return *lines_; }
  const TStrings& Lines() const { return *lines_; }
  // The rich kind's line view, with LoadFile and SaveFile; null for the plain kind.
  TRichEditStrings* RichLines();

  // A rich pane, as the working lists RichEditT1 and RichEditT2 are.
  static TextPane workingRich() { return TextPane(PaneKind::Rich, kWorkingListCapacity); }
  // A plain pane, as the working list Memo1 is.
  static TextPane workingPlain() { return TextPane(PaneKind::Plain, kUnlimitedCapacity); }
  // A rich pane that takes whatever is loaded or pasted into it, as the window's panes do.
  static TextPane document() { return TextPane(PaneKind::Rich, kLoadedCapacity); }

 private:
  PaneKind kind_;
  TextBuffer buffer_;
  std::unique_ptr<TextControlStrings> lines_;
};

}  // namespace glanex
