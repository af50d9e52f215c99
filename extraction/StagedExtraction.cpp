#include "extraction/StagedExtraction.h"

#include "extraction/Pipeline.h"

namespace glanex {

std::int64_t StagedExtraction::run(const TStrings& source, std::string_view separators,
                                   ExtractionProgress* progress) {
  return RunExtraction(source, separators, {RichEditT1_.Lines(), RichEditT2_.Lines(), Memo1_.Lines()},
                       progress);
}

}  // namespace glanex
