#include "extraction/Errors.h"

#include <cerrno>
#include <new>
#include <string>
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

namespace {

// The failures files, folders and streams meet, described in French whatever the session's locale, since
// the C library's own text would be English on most systems.
const char* frenchErrorDescription(int errorNumber) {
  switch (errorNumber) {
    case EPERM:
      return "Opération non permise";
    case ENOENT:
      return "Aucun fichier ou dossier de ce nom";
    case EIO:
      return "Erreur d'entrée-sortie";
    case ENXIO:
      return "Aucun périphérique ou adresse";
    case EBADF:
      return "Mauvais descripteur de fichier";
    case EAGAIN:
      return "Ressource temporairement indisponible";
    case ENOMEM:
      return "Mémoire insuffisante";
    case EACCES:
      return "Permission refusée";
    case EBUSY:
      return "Périphérique ou ressource occupé";
    case EEXIST:
      return "Le fichier existe déjà";
    case EXDEV:
      return "Lien entre périphériques différents";
    case ENODEV:
      return "Aucun périphérique de ce type";
    case ENOTDIR:
      return "N'est pas un dossier";
    case EISDIR:
      return "Est un dossier";
    case EINVAL:
      return "Argument invalide";
    case ENFILE:
      return "Trop de fichiers ouverts dans le système";
    case EMFILE:
      return "Trop de fichiers ouverts";
    case ETXTBSY:
      return "Fichier texte occupé";
    case EFBIG:
      return "Fichier trop volumineux";
    case ENOSPC:
      return "Plus de place sur le périphérique";
    case ESPIPE:
      return "Positionnement impossible";
    case EROFS:
      return "Système de fichiers en lecture seule";
    case EMLINK:
      return "Trop de liens";
    case EPIPE:
      return "Tube rompu";
    case ENAMETOOLONG:
      return "Nom de fichier trop long";
    case ENOTEMPTY:
      return "Dossier non vide";
    case ELOOP:
      return "Trop de niveaux de liens symboliques";
    case EOVERFLOW:
      return "Valeur trop grande pour le type de données";
    case EDQUOT:
      return "Quota de disque dépassé";
    case ESTALE:
      return "Descripteur de fichier réseau périmé";
    case EINTR:
      return "Appel système interrompu";
    case ENOTSUP:
      return "Opération non prise en charge";
    case ECONNRESET:
      return "Connexion réinitialisée";
    case ETIMEDOUT:
      return "Délai d'attente dépassé";
    case EHOSTDOWN:
      return "Hôte hors service";
    case ENOLCK:
      return "Aucun verrou disponible";
    case ENOSYS:
      return "Fonction non implémentée";
    default:
      return nullptr;
  }
}

}  // namespace

std::string systemErrorDescription(int errorNumber) {
  if (const char* french = frenchErrorDescription(errorNumber)) return french;
  return "Erreur du système n° " + std::to_string(errorNumber);
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
