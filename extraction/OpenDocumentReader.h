#pragma once

#include <optional>
#include <string>

namespace glanex {

class ZipArchive;

// The text of an OpenDocument file (text, spreadsheet or presentation) in reading order: the body, then
// headers and footers, notes, and comments.
class OpenDocumentReader {
 public:
  // The archive's text as pane text, or nullopt when it has no content part. Throws EOutOfResources
  // "Erreur au chargement du flux" past a bound of DocumentLimits.h.
  static std::optional<std::string> read(ZipArchive& archive);
};

}  // namespace glanex
