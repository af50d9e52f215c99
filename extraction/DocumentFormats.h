#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The files read through their format rather than as plain text, recognised by their bytes after the
// question "is it RTF?": OpenDocument and Office Open XML files, e-mail messages and mbox mailboxes, and PDF
// files when the build has poppler. Every other file, other ZIP archives included, reads as before.
namespace glanex {

// How many bytes of a file's start tell whether it may be one of them.
// A message's headers must end within them: long Received chains take kilobytes.
inline constexpr std::size_t kDocumentSignatureSize = 64 * 1024;

// Whether a file that starts with `start` (its first kDocumentSignatureSize bytes, or all of a shorter
// file) may be a document read through its format: a ZIP archive whose first entry is an OpenDocument
// "mimetype" or a part of an Office Open XML package, a message as MailReader recognises one, or a PDF.
// Such a file is read whole to know.
bool mayBeFormattedDocument(std::string_view start);

// The kinds of document read through their format, for the help texts: "Word, Excel, PowerPoint,
// LibreOffice, PDF, e-mail et mbox", without PDF in a build made without poppler.
std::string documentKindsRead();

// The text of the document in `bytes` as pane text (Windows-1252, "?" for what has no form there, lines
// ended by CR LF), or nullopt when it is none that is read through its format. Throws EOutOfResources
// "Erreur au chargement du flux" when it goes past a bound of DocumentLimits.h, and EFOpenError with a
// reason alone (no path) for a PDF that needs a password.
std::optional<std::string> formattedDocumentText(std::string_view bytes);

}  // namespace glanex
