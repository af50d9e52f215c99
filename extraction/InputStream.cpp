#include "extraction/InputStream.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"
#include "extraction/PosixIo.h"

namespace glanex {

namespace {

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

int InputStream::openNamed(const std::string& path) {
  if (path == "-") return ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  return openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
}

InputStream::InputStream(const std::string& path) : file_(openNamed(path)) {
  if (!file_.isOpen()) throwOpenError(path, errno);
  const struct stat status = statusOf(file_.get(), path);
  // Standard input redirected from a file may already be past its start.
  const off_t position = ::lseek(file_.get(), 0, SEEK_CUR);
  if (S_ISREG(status.st_mode) && position >= 0) {
    position_ = position;
    size_ = status.st_size - position;
  }
  // The kernel may read further ahead for a reader that never goes back.
  ::posix_fadvise(file_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  // A pipe holds 64 KiB by default: the writer and this reader would take turns for every 64 KiB of a
  // large input. A pipe as large as a read lets each side go on while the other works; a system that
  // refuses keeps the pipe as it was.
  if (S_ISFIFO(status.st_mode)) ::fcntl(file_.get(), F_SETPIPE_SZ, static_cast<int>(kIoBlockSize));
}

std::unique_ptr<MappedInput> InputStream::mapRest() const {
  if (!size_ || consumed() > 0) return nullptr;
  return MappedInput::map(file_.get(), position_, *size_);
}

std::size_t InputStream::fill(std::span<char> buffer) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t count = readRetrying(file_.get(), std::as_writable_bytes(buffer.subspan(filled)));
    if (count < 0) throw EOutOfResources(kStreamLoadError);
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  return filled;
}

}  // namespace glanex
