#include "cli/StandardStreams.h"

#include <cerrno>

#include <unistd.h>

#include "extraction/Errors.h"

namespace glanex {

namespace {

// Returns whether every byte went out; a signal interrupting the write is not a failure.
bool writeAll(int fd, std::string_view bytes) noexcept {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::string readStandardInput() {
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count == 0) return bytes;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw EOutOfResources(kStreamLoadError);
    }
    bytes.append(chunk, static_cast<std::size_t>(count));
  }
}

void writeStandardOutput(std::string_view bytes) {
  if (!writeAll(STDOUT_FILENO, bytes)) throw EOutOfResources(kStreamSaveError);
}

void writeStandardError(std::string_view bytes) noexcept {
  writeAll(STDERR_FILENO, bytes);
}

}  // namespace glanex
