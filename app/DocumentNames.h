#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the document commands name: the dialogs' filters and default extension, the source group box's
// caption and the overwrite question. Paths are file-system paths (any bytes) unless said otherwise.
namespace glanex {

inline constexpr char kOpenDialogFilter[] =
    "Tous les fichiers (*.*)|*.*|Fichiers RTF (*.rtf)|*.rtf|Fichiers textes (*.txt)|*.txt";
inline constexpr char kSaveDialogFilter[] = "Fichiers RTF (*.rtf)|*.rtf|Tous les fichiers (*.*)|*.*";
inline constexpr char kDefaultExtension[] = "rtf";

// One choice of a dialog's filter: the text the list shows and the name patterns it stands for.
struct FilterChoice {
  std::string description;
  std::vector<std::string> patterns;

  bool operator==(const FilterChoice&) const = default;
};

// The choices of a filter written as "description|patterns|description|patterns...", the patterns of one
// choice separated by ";". The filters come from a system where "*.*" matches every name: it becomes "*",
// so that names without a dot match here too.
std::vector<FilterChoice> filterChoices(std::string_view filter);

// Whether something, a dangling symbolic link included, bears the name `path`.
bool fileExists(const std::string& path);

// The file the open dialog returns for the name `chosen`: an existing name as it is; otherwise a name
// without an extension gets the default one.
std::string openDialogPath(const std::string& chosen);

// The file the save dialog returns for the name `chosen`: a name without an extension gets the default one.
std::string saveDialogPath(const std::string& chosen);

// " Fichier source [ <path> ] ", the source group box's caption once the file `utf8Path` is open; UTF-8.
std::string sourceCaption(std::string_view utf8Path);

// The question asked before the existing file `path` is replaced, naming its absolute path; UTF-8.
std::string overwriteQuestion(const std::string& path);

}  // namespace glanex
