#include "app/DocumentNames.h"

#include <filesystem>
#include <system_error>

#include "extraction/DocumentFiles.h"

namespace glanex {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// A leading dot marks a hidden name, not an extension.
bool hasExtension(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return name.find('.', 1) != std::string_view::npos;
}

std::string withDefaultExtension(const std::string& path) {
  return hasExtension(path) ? path : path + '.' + kDefaultExtension;
}

}  // namespace

std::vector<FilterChoice> filterChoices(std::string_view filter) {
  const std::vector<std::string_view> fields = split(filter, '|');
  std::vector<FilterChoice> choices;
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    FilterChoice& choice = choices.emplace_back(FilterChoice{std::string(fields[i]), {}});
    for (const std::string_view pattern : split(fields[i + 1], ';'))
      choice.patterns.emplace_back(pattern == "*.*" ? "*" : pattern);
  }
  return choices;
}

bool fileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::string openDialogPath(const std::string& chosen) {
  return fileExists(chosen) ? chosen : withDefaultExtension(chosen);
}

std::string saveDialogPath(const std::string& chosen) {
  return withDefaultExtension(chosen);
}

std::string sourceCaption(std::string_view utf8Path) {
  return " Fichier source [ " + std::string(utf8Path) + " ] ";
}

std::string overwriteQuestion(const std::string& path) {
  return "Le fichier \"" + displayPath(path) + "\" existe déjà.\nVoulez-vous le remplacer ?";
}

}  // namespace glanex
