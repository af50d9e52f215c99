#include "extraction/TRichEditStrings.h"

#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"

namespace glanex {

void TRichEditStrings::LoadFile(const std::string& path) {
  const LoadedFile file = readDocumentFile(path);
  if (file.rtf) {
    control().setDocument(*file.rtf);
  } else {
    control().setPlainText(file.plainText);
  }
  control().setCapacity(std::max(control().capacity(), kLoadedCapacity));
}

void TRichEditStrings::SaveFile(const std::string& path) const {
  saveDocumentFile(path, control().document());
}

void TRichEditStrings::CheckInsertion(std::int64_t point, std::int64_t insertedLength) const {
  if (control().selectionStart() != point + insertedLength) throw EOutOfResources(kLineInsertionError);
}

}  // namespace glanex
