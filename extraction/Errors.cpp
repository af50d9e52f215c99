#include "extraction/Errors.h"

#include <cstring>
#include <new>
#include <system_error>

namespace glanex {

std::string userErrorMessage(std::exception_ptr error) {
  if (!error) return kUnexpectedErrorMessage;
  try {
    std::rethrow_exception(error);
  } catch (const GlanexError& known) {
    return known.what();
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryMessage;
  } catch (const std::length_error&) {
    return kOutOfMemoryMessage;
  } catch (const std::system_error& system) {
    const std::error_category& category = system.code().category();
    if (category == std::generic_category() || category == std::system_category()) {
      return "Erreur du système : " + systemErrorDescription(system.code().value());
    }
    return kUnexpectedErrorMessage;
  } catch (...) {
    // A logic error of the library or a throw of no exception class: nothing the user could act on.
    return kUnexpectedErrorMessage;
  }
}

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
  return fileOpenError(displayPath, systemErrorDescription(errorNumber));
}

EFOpenError fileOpenError(const std::string& displayPath, const std::string& reason) {
  return EFOpenError("Impossible d'ouvrir le fichier \"" + displayPath + "\". " + reason);
}

EFCreateError fileCreateError(const std::string& displayPath, int errorNumber) {
  return EFCreateError("Impossible de créer le fichier \"" + displayPath + "\". " +
                       systemErrorDescription(errorNumber));
}

EOutOfResources standardInputError(int errorNumber) {
  return EOutOfResources("Impossible de lire l'entrée standard. " + systemErrorDescription(errorNumber));
}

}  // namespace glanex
