#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "extraction/FormattedText.h"

// Reading and writing the files the panes load and save. Paths are file-system paths (any bytes); only
// error messages turn them into displayable text.
namespace glanex {

// What a file holds, as a pane loads it: the document when it reads as RTF, else the plain text
// decodePlainText gives (line breaks CR LF), left as text because a big file has a line per paragraph.
struct LoadedFile {
  std::optional<FormattedText> rtf;
  std::string plainText;
};

// Reads the file at `path`; throws as loadDocumentFile does.
LoadedFile readDocumentFile(const std::string& path);

// The document a file holds: RTF when it reads as RTF, else plain text by decodePlainText. Throws
// EFOpenError when the file cannot be opened (a folder included) and EOutOfResources
// "Erreur au chargement du flux" when it cannot be read.
FormattedText loadDocumentFile(const std::string& path);

// The document as the pane loading `bytes` would hold it: RTF when it reads as RTF, else plain text.
FormattedText documentFromBytes(std::string_view bytes);

// Writes `document` as RTF to `path` through a temporary file in the same folder renamed over the target,
// so that on any failure the target keeps its old content. Throws EFCreateError when the file cannot be
// created and EOutOfResources "Erreur à l'enregistrement du flux" when writing fails; messages name the
// target's absolute path. A new file gets mode 0666 less the umask; a replaced file keeps its mode. A
// target that exists but is no regular file (a FIFO, a device) is written in place, never replaced.
void saveDocumentFile(const std::string& path, const FormattedText& document);

// `path` as given, made absolute, as UTF-8 for messages. Neither ".." nor links are resolved: the system
// would not take "missing/../a" for "a", so a message naming "a" would name a file it never tried.
std::string displayPath(const std::string& path);

}  // namespace glanex
