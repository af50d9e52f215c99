#include "extraction/Errors.h"

#include <cstring>

namespace glanex {

std::string withFinalDot(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

std::string systemErrorDescription(int errorNumber) {
  char buffer[512];
  // The GNU strerror_r may return a static string instead of filling the buffer.
  std::string text = strerror_r(errorNumber, buffer, sizeof buffer);
  while (!text.empty()) {
    const auto last = static_cast<unsigned char>(text.back());
    if (last != ' ' && last != '.' && last >= 0x20 && last != 0x7F) break;
    text.pop_back();
  }
  return text;
}

EFOpenError fileOpenError(const std::string& displayPath, int errorNumber) {
  return EFOpenError("Impossible d'ouvrir le fichier \"" + displayPath + "\". " +
                     systemErrorDescription(errorNumber));
}

EFCreateError fileCreateError(const std::string& displayPath, int errorNumber) {
  return EFCreateError("Impossible de créer le fichier \"" + displayPath + "\". " +
                       systemErrorDescription(errorNumber));
}

EOutOfResources standardInputError(int errorNumber) {
  return EOutOfResources("Impossible de lire l'entrée standard. " + systemErrorDescription(errorNumber));
}

}  // namespace glanex
