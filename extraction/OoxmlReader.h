#pragma once

#include <optional>
#include <string>

namespace glanex {

class ZipArchive;

// The text of an Office Open XML file (word-processing, spreadsheet or presentation) in reading order:
// the body, then headers, footers, notes and comments.
class OoxmlReader {
 public:
  // The archive's text as pane text, or nullopt when it holds none of the three kinds of document.
  // Throws EOutOfResources "Erreur au chargement du flux" past a bound of DocumentLimits.h.
  static std::optional<std::string> read(ZipArchive& archive);
};

}  // namespace glanex
