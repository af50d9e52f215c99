#include "extraction/TextPane.h"

#include "extraction/TMemoStrings.h"

namespace glanex {

TextPane::TextPane(PaneKind kind, std::int64_t capacity) : kind_(kind), buffer_(capacity) {
  if (kind == PaneKind::Rich) {
    lines_ = std::make_unique<TRichEditStrings>(buffer_);
  } else {
    lines_ = std::make_unique<TMemoStrings>(buffer_);
  }
}

TRichEditStrings* TextPane::RichLines() {
  return kind_ == PaneKind::Rich ? static_cast<TRichEditStrings*>(lines_.get()) : nullptr;
}

}  // namespace glanex
