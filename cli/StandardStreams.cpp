#include "cli/StandardStreams.h"

#include <cerrno>

#include <unistd.h>

#include "extraction/Errors.h"
#include "extraction/PosixIo.h"

namespace glanex {

std::string readStandardInput() {
  std::string bytes;
  if (!readAll(STDIN_FILENO, 0, bytes)) throw standardInputError(errno);
  return bytes;
}

void writeStandardOutput(std::string_view bytes) {
  if (!writeAll(STDOUT_FILENO, bytes)) throw EOutOfResources(kStreamSaveError);
}

void writeStandardError(std::string_view bytes) noexcept {
  writeAll(STDERR_FILENO, bytes);
}

}  // namespace glanex
