#pragma once

#include "extraction/TextControlStrings.h"

namespace glanex {

// The line view of a plain pane: it has no capacity the system can reach, so insertions are not checked.
class TMemoStrings : public TextControlStrings {
 public:
  using TextControlStrings::TextControlStrings;

 protected:
  void CheckInsertion(std::int64_t, std::int64_t) const override {}
};

}  // namespace glanex
