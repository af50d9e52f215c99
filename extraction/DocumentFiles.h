#pragma once

#include <cstdint>
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

// Reads the file at `path`. Throws EFOpenError when the file cannot be opened (a folder included) and
// EOutOfResources "Erreur au chargement du flux" when it cannot be read.
LoadedFile readDocumentFile(const std::string& path);

// The document as the pane loading `bytes` would hold it: RTF when it reads as RTF, else plain text.
FormattedText documentFromBytes(std::string_view bytes);

// Writes `document` as RTF to `path`. A new file is written as a temporary file in the same folder, then
// renamed into place; so is an existing file whose folder takes new files, which has no other hard link
// and whose owner and group the temporary can take, so that on any failure it keeps its old content. Any
// other regular file is overwritten in place once the whole RTF is ready: its space is reserved first (a
// full disk then fails with the old content whole), and it is cut to the new length last; it stays the
// same file for all its names and its owner. Throws EFCreateError when the file cannot be created or
// opened for writing and EOutOfResources "Erreur à l'enregistrement du flux" when writing fails; messages
// name the target's absolute path. A new file gets mode 0666 less the umask; an existing file keeps its
// mode. A chain of symbolic links is followed and kept. A target that exists but is no regular file (a
// FIFO, a device) is written in place, never replaced.
void saveDocumentFile(const std::string& path, const FormattedText& document);

// The memory the window takes, at its peak, for each byte of a text file it opens: the bytes read, their
// decoded text and Qt's document (two bytes a character, and about 175 bytes a line for its block and
// layout). Measured at 7 on mail-like text (47 bytes a line), rounded up; a file of very short lines takes
// more (21 at 11 bytes a line), which only its reading could tell.
inline constexpr std::uint64_t kPaneBytesPerFileByte = 8;

// Throws, before anything is read, what makes a file unfit for the window: EFOpenError "Impossible d'ouvrir
// le fichier "<path>". Ce n'est pas un fichier ordinaire." for a FIFO, a socket or a device (whose reading
// could wait for ever or never end), the system's reason when it cannot be opened, and EOutOfResources
// "Mémoire insuffisante" when its size times kPaneBytesPerFileByte exceeds `availableBytes`: for a document
// read through its format (DocumentFormats.h), the size of its decoded text, which it decodes to know. Never
// blocks: the file is opened without waiting for a FIFO's writer.
void checkWindowCanLoad(const std::string& path, std::uint64_t availableBytes);

// `path` as given, made absolute, as UTF-8 for messages. Neither ".." nor links are resolved: the system
// would not take "missing/../a" for "a", so a message naming "a" would name a file it never tried.
std::string displayPath(const std::string& path);

}  // namespace glanex
