#include "cli/OutputTarget.h"

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "cli/UsageError.h"
#include "extraction/DocumentFiles.h"

namespace glanex {

namespace {

// Follows symbolic links, as opening the path does.
std::optional<struct stat> statusOfPath(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return status;
}

std::optional<struct stat> statusOfDescriptor(int fd) {
  struct stat status;
  if (::fstat(fd, &status) != 0) return std::nullopt;
  return status;
}

bool sameFile(const std::optional<struct stat>& a, const std::optional<struct stat>& b) {
  return a && b && a->st_dev == b->st_dev && a->st_ino == b->st_ino;
}

}  // namespace

void refuseTargetThatIsInput(const std::string& target, const std::string& inputPath) {
  const std::optional<struct stat> output = statusOfPath(target);
  // A FIFO or a device is written where it stands, never replaced: the terminal may be both ends.
  if (!output || !S_ISREG(output->st_mode)) return;
  const std::optional<struct stat> input =
      inputPath == "-" ? statusOfDescriptor(STDIN_FILENO) : statusOfPath(inputPath);
  if (sameFile(input, output)) {
    throw UsageError("Le fichier \"" + displayPath(target) +
                         "\" est à la fois lu et remplacé : choisissez une autre sortie",
                     UsageError::kNoHelpPointer);
  }
}

bool isStandardOutput(const std::string& target) {
  return sameFile(statusOfPath(target), statusOfDescriptor(STDOUT_FILENO));
}

}  // namespace glanex
