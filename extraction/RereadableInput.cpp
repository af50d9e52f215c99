#include "extraction/RereadableInput.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"
#include "extraction/PosixIo.h"

namespace glanex {

namespace {

std::string temporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// A file no other process can reach and the system removes when it is closed: O_TMPFILE where the file
// system offers it, else a named file unlinked at once.
int openUnlinkedTemporaryFile() {
  const std::string folder = temporaryFolder();
  const int fd = openRetrying(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/glanex-XXXXXX";
  const int named = ::mkostemp(name.data(), O_CLOEXEC);
  if (named >= 0) ::unlink(name.c_str());
  return named;
}

// Standard input has no path of its own: "-" is no file of the current folder.
[[noreturn]] void throwOpenError(const std::string& path, int errorNumber) {
  if (path == "-") throw standardInputError(errorNumber);
  throw fileOpenError(displayPath(path), errorNumber);
}

struct stat statusOf(int fd, const std::string& path) {
  struct stat status;
  if (::fstat(fd, &status) != 0) throwOpenError(path, errno);
  if (S_ISDIR(status.st_mode)) throwOpenError(path, EISDIR);
  return status;
}

}  // namespace

int RereadableInput::openNamed(const std::string& path) {
  if (path == "-") return ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  return openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
}

RereadableInput::RereadableInput(const std::string& path) : file_(openNamed(path)) {
  if (!file_.isOpen()) throwOpenError(path, errno);
  const struct stat status = statusOf(file_.get(), path);
  const off_t position = ::lseek(file_.get(), 0, SEEK_CUR);
  if (S_ISREG(status.st_mode) && position >= 0) {
    start_ = position;
    size_ = status.st_size - position;
  } else {
    copyToTemporaryFile();
  }
}

void RereadableInput::copyToTemporaryFile() {
  FileDescriptor copy(openUnlinkedTemporaryFile());
  if (!copy.isOpen()) throw EOutOfResources(kStreamLoadError);
  std::vector<char> block(kIoBlockSize);
  for (;;) {
    const ssize_t count = readRetrying(file_.get(), std::as_writable_bytes(std::span(block)));
    if (count == 0) break;
    if (count < 0 || !writeAll(copy.get(), {block.data(), static_cast<std::size_t>(count)})) {
      throw EOutOfResources(kStreamLoadError);
    }
    size_ += count;
  }
  file_.reset(copy.release());
  start_ = 0;
}

std::size_t RereadableInput::readAt(std::int64_t offset, std::span<char> buffer) const {
  const std::optional<std::size_t> filled =
      readFullyAt(file_.get(), std::as_writable_bytes(buffer), start_ + offset);
  if (!filled) throw EOutOfResources(kStreamLoadError);
  return *filled;
}

}  // namespace glanex
