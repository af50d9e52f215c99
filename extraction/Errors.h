#pragma once

#include <exception>
#include <stdexcept>
#include <string>

// The error kinds the program raises. Each carries its French message as UTF-8 text; the one place that
// shows errors (the window's error box, the command line's standard error) adds the final "." rule.
namespace glanex {

class GlanexError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A resource ran out or a stream could not be read or written as a whole.
class EOutOfResources : public GlanexError {
 public:
  using GlanexError::GlanexError;
};

// A file could not be opened for reading.
class EFOpenError : public GlanexError {
 public:
  using GlanexError::GlanexError;
};

// A file could not be created for writing.
class EFCreateError : public GlanexError {
 public:
  using GlanexError::GlanexError;
};

// An operation that the object's state forbids, such as a range whose bounds cross.
class EInvalidOperation : public GlanexError {
 public:
  using GlanexError::GlanexError;
};

inline constexpr const char* kLineInsertionError = "Erreur d'insertion de ligne RichEdit";
inline constexpr const char* kStreamLoadError = "Erreur au chargement du flux";
inline constexpr const char* kStreamSaveError = "Erreur à l'enregistrement du flux";
inline constexpr const char* kOutOfMemoryMessage = "Mémoire insuffisante";
inline constexpr const char* kUnexpectedErrorMessage = "Erreur inattendue";

// What the user reads for whatever a command threw, so that no English text of the C++ library reaches
// them: a GlanexError's own message; kOutOfMemoryMessage for std::bad_alloc and std::length_error (a list
// or text grown beyond what memory can hold); "Erreur du système : <description>" for a std::system_error
// that carries an errno value; kUnexpectedErrorMessage for anything else. Each front end calls it at its
// one place that shows errors, then adds the final "." rule.
std::string userErrorMessage(std::exception_ptr error);

// The message as the user sees it: a "." is added when its last byte sorts after ".".
std::string withFinalDot(const std::string& message);

// A French description of errno value `errorNumber`, as UTF-8, without a final full stop (the final "."
// rule adds one).
std::string systemErrorDescription(int errorNumber);

// "Impossible d'ouvrir le fichier "<path>". <description>" for a failed open of `path`.
EFOpenError fileOpenError(const std::string& displayPath, int errorNumber);
// The same with the program's own `reason`.
EFOpenError fileOpenError(const std::string& displayPath, const std::string& reason);

// "Impossible de créer le fichier "<path>". <description>" for a failed creation of `path`.
EFCreateError fileCreateError(const std::string& displayPath, int errorNumber);

// "Impossible de lire l'entrée standard. <description>" for standard input that cannot be read: it has no
// path of its own to name.
EOutOfResources standardInputError(int errorNumber);

}  // namespace glanex
