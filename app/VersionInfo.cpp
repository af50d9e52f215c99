#include "app/VersionInfo.h"

#include <array>
#include <cstdio>
#include <vector>

#include <unistd.h>

#include "app/VersionResource.h"

namespace glanex {

namespace {

// A translation entry: the language then the code page, each a little-endian 16-bit number.
constexpr std::size_t kTranslationEntrySize = 4;

// The path of the FileVersion text in the string table of `translation`, named by its language and code
// page in upper-case hex, high byte first: 0C 04 E4 04 gives \StringFileInfo\040C04E4\FileVersion.
std::string fileVersionPath(std::span<const std::uint8_t, kTranslationEntrySize> translation) {
  std::array<char, 64> path{};
  std::snprintf(path.data(), path.size(), "\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion", translation[1],
                translation[0], translation[3], translation[2]);
  return path.data();
}

}  // namespace

std::string fileVersionOf(const std::string& executablePath) {
  const std::uint32_t size = fileVersionInfoSize(executablePath);
  if (size == 0) return {};
  // Every read of the copy below is bounded by the copy itself, so it needs no spare terminating byte.
  std::vector<std::uint8_t> block(size);
  if (!readFileVersionInfo(executablePath, block)) return {};

  const std::optional<VersionValue> translations = queryVersionValue(block, "\\VarFileInfo\\Translation");
  if (!translations || translations->length == 0 || translations->bytes.size() < kTranslationEntrySize) {
    return {};
  }
  // Only the first translation counts, even when a later one has the text.
  const std::optional<VersionValue> version =
      queryVersionValue(block, fileVersionPath(translations->bytes.first<kTranslationEntrySize>()));
  if (!version || version->length == 0) return {};
  return windows1252FromUtf16(version->bytes);
}

std::string runningExecutablePath() {
  // The link's target may be longer than any fixed buffer: grow until the answer fits with room to spare.
  std::vector<char> path(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) return std::string(path.data(), length);
    path.resize(path.size() * 2);
  }
}

}  // namespace glanex
