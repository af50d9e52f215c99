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

constexpr std::size_t kCopyBlockSize = 1 << 20;

std::string temporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// A file no other process can reach and the system removes when it is closed: O_TMPFILE where the file
// system offers it, else a named file unlinked at once.
int openUnlinkedTemporaryFile() {
  const std::string folder = temporaryFolder();
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
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
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  return fd;
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
  std::vector<char> block(kCopyBlockSize);
  for (;;) {
    const ssize_t count = ::read(file_.get(), block.data(), block.size());
    if (count == 0) break;
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 || !writeAll(copy.get(), {block.data(), static_cast<std::size_t>(count)})) {
      throw EOutOfResources(kStreamLoadError);
    }
    size_ += count;
  }
  file_.reset(copy.release());
  start_ = 0;
}

std::size_t RereadableInput::readAt(std::int64_t offset, std::span<char> buffer) const {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t count = ::pread(file_.get(), buffer.data() + filled, buffer.size() - filled,
                                  static_cast<off_t>(start_ + offset + static_cast<std::int64_t>(filled)));
    if (count == 0) break;
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw EOutOfResources(kStreamLoadError);
    filled += static_cast<std::size_t>(count);
  }
  return filled;
}

}  // namespace glanex
