#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace glanex {

// The text of a PDF file, read with poppler (in the module glanex-pdf.so, loaded at the first PDF) in a
// child process held to kPdfCpuSeconds of processor time, kPdfMemoryBytes of memory and kPdfWallSeconds of
// waiting, which hands the text back through a pipe: a hostile file can neither hang nor exhaust the
// program, and a crash inside the library only fails that open.
class PdfReader {
 public:
  static bool recognises(std::string_view start);

  // The text of every page as pane text, a line per text line, then the URIs of the page's link
  // annotations, each on a line of its own; nullopt when poppler cannot read the file
  // as a PDF. Throws EFOpenError with kPdfPasswordReason for a file that needs a password, and
  // EOutOfResources "Erreur au chargement du flux" when the child goes past a bound or fails.
  static std::optional<std::string> read(std::string_view bytes);
  // The same within `timeLimit` instead of kPdfWallSeconds.
  static std::optional<std::string> read(std::string_view bytes, std::chrono::milliseconds timeLimit);
};

inline constexpr const char* kPdfPasswordReason = "Ce document PDF est protégé par un mot de passe";

}  // namespace glanex
