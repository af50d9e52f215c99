#pragma once

#include <cstdint>
#include <string_view>

#include "extraction/ExtractionProgress.h"
#include "extraction/TStrings.h"
#include "extraction/TextPane.h"

namespace glanex {

// The staged extraction with its three working lists, RichEditT1 and RichEditT2 of the rich kind and
// Memo1 of the plain kind, as the processing window, the command line and the tests all run it. Nobody
// looks at the lists during a run; afterwards RichEditT2 holds the final list.
class StagedExtraction {
 public:
  // Runs the pipeline over `source` and returns the number of addresses. `progress` may be null. A working
  // list that overflows ends the run with its error, the lists as they were at that moment.
  std::int64_t run(const TStrings& source, std::string_view separators, ExtractionProgress* progress);

  TextPane& RichEditT1() { return RichEditT1_; }
  TextPane& RichEditT2() { return RichEditT2_; }
  const TextPane& RichEditT2() const { return RichEditT2_; }
  TextPane& Memo1() { return Memo1_; }

 private:
  TextPane RichEditT1_ = TextPane::workingRich();
  TextPane RichEditT2_ = TextPane::workingRich();
  TextPane Memo1_ = TextPane::workingPlain();
};

}  // namespace glanex
