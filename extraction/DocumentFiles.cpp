#include "extraction/DocumentFiles.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>
#include <optional>
#include <random>
#include <span>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "extraction/DocumentFormats.h"
#include "extraction/Errors.h"
#include "extraction/FileDescriptor.h"
#include "extraction/PosixIo.h"
#include "extraction/RtfReader.h"
#include "extraction/RtfWriter.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

std::string readFile(const std::string& path) {
  // Takes errno as an argument so that it is read before displayPath can change it.
  const auto openError = [&](int errorNumber) { return fileOpenError(displayPath(path), errorNumber); };
  const FileDescriptor file(openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!file.isOpen()) throw openError(errno);
  struct stat status;
  if (::fstat(file.get(), &status) != 0) throw openError(errno);
  if (S_ISDIR(status.st_mode)) throw openError(EISDIR);
  const std::size_t sizeHint = S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0;
  std::string bytes;
  if (!readAll(file.get(), sizeHint, bytes)) throw EOutOfResources(kStreamLoadError);
  return bytes;
}

std::string readLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// The file that saving to `path` must replace: the end of its chain of symbolic links, so that the
// links stay. Resolved by hand rather than by realpath because the file at the end may not exist yet.
std::string fileBehindLinks(const std::string& path) {
  constexpr int kMaxLinks = 40;  // the kernel's own limit before ELOOP
  std::filesystem::path current = path;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat status;
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current.string();
    const std::string target = readLink(current.string());
    if (target.empty()) return {};
    current = current.parent_path() / target;
  }
  errno = ELOOP;
  return {};
}

// A FIFO or a device has nothing to sync and says so with EINVAL (or EROFS); that is no failure.
bool syncUnlessUnsupported(int fd) {
  return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

// A FIFO whose reader leaves early raises SIGPIPE at the next write, which would end the whole program;
// the write's EPIPE is error enough. Holds the signal back on this thread and takes back the one raised.
class PipeSignalHeld {
 public:
  PipeSignalHeld() {
    sigemptyset(&pipeSignal_);
    sigaddset(&pipeSignal_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    // One already waiting is not ours to take.
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal_, &previousMask_);
  }
  ~PipeSignalHeld() {
    const int savedErrno = errno;
    if (!wasPending_) {
      const timespec noWait{0, 0};
      sigtimedwait(&pipeSignal_, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
    errno = savedErrno;
  }
  PipeSignalHeld(const PipeSignalHeld&) = delete;
  PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

 private:
  sigset_t pipeSignal_;
  sigset_t previousMask_;
  bool wasPending_ = false;
};

// A FIFO or a device is written where it stands: renaming a new file over it would put a regular file in
// its place (as root, even over /dev/null), and what the user named is the FIFO or the device itself.
void writeIntoStream(const std::string& target, const std::string& shownPath, std::string_view rtf) {
  FileDescriptor file(openRetrying(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY));
  if (!file.isOpen()) throw fileCreateError(shownPath, errno);
  const PipeSignalHeld pipeSignalHeld;
  if (!writeAll(file.get(), rtf) || !syncUnlessUnsupported(file.get()) || !file.close()) {
    throw EOutOfResources(kStreamSaveError);
  }
}

// Takes the blocks the new content needs before the first old byte is overwritten, so that a full disk
// fails with the old content whole. The file keeps its length until written (posix_fallocate would
// lengthen it with zeros, which a later failure would leave behind). A file system that cannot reserve
// says EOPNOTSUPP, or EINVAL for this mode; the save goes on without.
bool reserveSpace(int fd, std::size_t size) {
  const int result =
      retryInterrupted([&] { return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)); });
  return result == 0 || errno == EOPNOTSUPP || errno == EINVAL;
}

// Writes a regular file where it stands, so that it stays the same file for its other names, its owner and
// its group. Nothing is cut before the new content is written, so that a failure before the first write
// leaves the old bytes; the cut to the new length then drops what is left of a longer old text.
void overwriteInPlace(FileDescriptor& file, std::string_view rtf) {
  const bool written = reserveSpace(file.get(), rtf.size()) && writeAll(file.get(), rtf) &&
                       ::ftruncate(file.get(), static_cast<off_t>(rtf.size())) == 0 &&
                       ::fsync(file.get()) == 0 && file.close();
  if (!written) throw EOutOfResources(kStreamSaveError);
}

std::string randomSuffix() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string suffix(6, '\0');
  for (char& c : suffix) c = kAlphabet[pick(generator)];
  return suffix;
}

// A temporary file beside the target, removed unless it was committed by renaming it over the target.
class TemporaryFile {
 public:
  // Creates ".<name>.XXXXXX" beside `target` with `mode` less the umask, as open applies it; created()
  // tells whether that worked, errno why not.
  TemporaryFile(const std::filesystem::path& target, mode_t mode) {
    constexpr std::size_t kMaxNameBytes = 200;  // leaves room within NAME_MAX for the dot and suffix
    constexpr int kAttempts = 100;
    const std::string name = target.filename().string().substr(0, kMaxNameBytes);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      path_ = target.parent_path() / ("." + name + "." + randomSuffix());
      const int fd = openRetrying(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
      if (fd >= 0) {
        fd_.emplace(fd);
        return;
      }
      if (errno != EEXIST) return;
    }
  }
  ~TemporaryFile() {
    if (fd_.has_value() && !committed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool created() const { return fd_.has_value(); }
  FileDescriptor& descriptor() { return *fd_; }

  bool renameOver(const std::string& target) {
    committed_ = ::rename(path_.c_str(), target.c_str()) == 0;
    return committed_;
  }

 private:
  std::filesystem::path path_;
  std::optional<FileDescriptor> fd_;
  bool committed_ = false;
};

std::string serialize(const FormattedText& document) {
  try {
    std::ostringstream rtf;
    RtfWriter(rtf).write(document);
    return std::move(rtf).str();
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(kStreamSaveError);
  }
}

// Makes the rename itself durable. A best effort: the new content is already in place, and some file
// systems refuse to sync a folder.
void syncFolder(const std::filesystem::path& folder) {
  const FileDescriptor directory(
      openRetrying(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.isOpen()) ::fsync(directory.get());
}

// Writes, syncs and closes the temporary, then renames it over the target.
void commit(TemporaryFile& temporary, const std::string& target, std::string_view rtf) {
  FileDescriptor& file = temporary.descriptor();
  const bool written =
      writeAll(file.get(), rtf) && ::fsync(file.get()) == 0 && file.close() && temporary.renameOver(target);
  if (!written) throw EOutOfResources(kStreamSaveError);
  syncFolder(std::filesystem::path(target).parent_path());
}

// A new file gets 0666 less the umask from open itself.
void createFile(const std::string& target, const std::string& shownPath, std::string_view rtf) {
  TemporaryFile temporary(target, 0666);
  if (!temporary.created()) throw fileCreateError(shownPath, errno);
  commit(temporary, target, rtf);
}

// The errors with which a folder refuses a new file to one who may still write the files in it.
bool folderRefusesNewFiles(int errorNumber) {
  return errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS;
}

// Replaces the target by a temporary holding `rtf` when the result is the same file to everyone: no other
// name keeps the old text, and the temporary can take the owner and group (root always can, others when
// the file is theirs and its group one of theirs, which fchown decides). False, with the target untouched,
// when it cannot, and when the folder takes no new file.
bool replaceThroughTemporary(const std::string& target, const std::string& shownPath,
                             const struct stat& existing, std::string_view rtf) {
  if (existing.st_nlink != 1) return false;
  // Private to us until it has the file's owner, group and permission bits, in that order since a change
  // of owner clears the set-user-ID and set-group-ID bits.
  TemporaryFile temporary(target, 0600);
  if (!temporary.created()) {
    if (folderRefusesNewFiles(errno)) return false;
    throw fileCreateError(shownPath, errno);
  }
  const int fd = temporary.descriptor().get();
  if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) return false;
  if (::fchmod(fd, existing.st_mode & 07777) != 0) throw EOutOfResources(kStreamSaveError);
  commit(temporary, target, rtf);
  return true;
}

// An existing regular file: replaced where that keeps it the same file, else overwritten in place.
void replaceFile(const std::string& target, const std::string& shownPath, const FormattedText& document) {
  // Opened before anything is written, so that a file the user may not modify is refused at once; the
  // same descriptor writes in place if it comes to that.
  FileDescriptor file(openRetrying(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  struct stat existing;
  if (!file.isOpen() || ::fstat(file.get(), &existing) != 0) throw fileCreateError(shownPath, errno);
  const std::string rtf = serialize(document);
  if (!replaceThroughTemporary(target, shownPath, existing, rtf)) {
    overwriteInPlace(file, rtf);
  }
}

// The document's text through its format, if it has one. The reason a document gives for refusing to open
// (a password) names the file, as a failed open does.
std::optional<std::string> documentText(std::string_view bytes, const std::string& path) {
  try {
    return formattedDocumentText(bytes);
  } catch (const EFOpenError& refusal) {
    throw fileOpenError(displayPath(path), refusal.what());
  }
}

// The size of the text the window will show for a regular file: that of its decoded text for a document
// read through its format, which may be far bigger than the file; else the file's own size.
std::uint64_t shownTextSize(int fd, const std::string& path, std::uint64_t fileSize) {
  std::string start(kDocumentSignatureSize, '\0');
  const std::optional<std::size_t> got = readFullyAt(fd, std::as_writable_bytes(std::span(start)), 0);
  if (!got || !mayBeFormattedDocument(start.substr(0, *got))) return fileSize;
  const std::optional<std::string> text = documentText(readFile(path), path);
  return text ? text->size() : fileSize;
}

}  // namespace

FormattedText documentFromBytes(std::string_view bytes) {
  if (std::optional<FormattedText> rtf = RtfReader::read(bytes)) return std::move(*rtf);
  if (std::optional<std::string> text = formattedDocumentText(bytes))
    return FormattedText::fromPlainText(*text);
  return FormattedText::fromPlainText(decodePlainText(bytes));
}

LoadedFile readDocumentFile(const std::string& path) {
  try {
    const std::string bytes = readFile(path);
    if (std::optional<FormattedText> rtf = RtfReader::read(bytes)) return {std::move(rtf), {}};
    if (std::optional<std::string> text = documentText(bytes, path)) return {std::nullopt, std::move(*text)};
    return {std::nullopt, decodePlainText(bytes)};
  } catch (const std::bad_alloc&) {
    throw EOutOfResources(kStreamLoadError);
  } catch (const std::length_error&) {
    throw EOutOfResources(kStreamLoadError);
  }
}

void checkWindowCanLoad(const std::string& path, std::uint64_t availableBytes) {
  const FileDescriptor file(openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!file.isOpen()) throw fileOpenError(displayPath(path), errno);
  struct stat status;
  if (::fstat(file.get(), &status) != 0) throw fileOpenError(displayPath(path), errno);
  if (S_ISDIR(status.st_mode)) throw fileOpenError(displayPath(path), EISDIR);
  if (!S_ISREG(status.st_mode)) {
    throw fileOpenError(displayPath(path), "Ce n'est pas un fichier ordinaire.");
  }
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > availableBytes / kPaneBytesPerFileByte) throw EOutOfResources(kOutOfMemoryMessage);
  if (shownTextSize(file.get(), path, size) > availableBytes / kPaneBytesPerFileByte) {
    throw EOutOfResources(kOutOfMemoryMessage);
  }
}

void saveDocumentFile(const std::string& path, const FormattedText& document) {
  const std::string shownPath = displayPath(path);
  const std::string target = fileBehindLinks(path);
  if (target.empty()) throw fileCreateError(shownPath, errno);

  struct stat existing;
  if (::lstat(target.c_str(), &existing) != 0) {
    createFile(target, shownPath, serialize(document));
  } else if (S_ISDIR(existing.st_mode)) {
    throw fileCreateError(shownPath, EISDIR);
  } else if (S_ISREG(existing.st_mode)) {
    replaceFile(target, shownPath, document);
  } else {
    writeIntoStream(target, shownPath, serialize(document));
  }
}

std::string displayPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  return displayableUtf8(absolute.string());
}

}  // namespace glanex
