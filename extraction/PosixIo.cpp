#include "extraction/PosixIo.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace glanex {

int openRetrying(const char* path, int flags, mode_t mode) {
  return retryInterrupted([&] { return ::open(path, flags, mode); });
}

ssize_t readRetrying(int fd, std::span<std::byte> buffer) {
  return retryInterrupted([&] { return ::read(fd, buffer.data(), buffer.size()); });
}

std::optional<std::size_t> readFullyAt(int fd, std::span<std::byte> buffer, std::int64_t offset) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const std::span<std::byte> rest = buffer.subspan(filled);
    const auto position = static_cast<off_t>(offset + static_cast<std::int64_t>(filled));
    const ssize_t count = retryInterrupted([&] { return ::pread(fd, rest.data(), rest.size(), position); });
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  return filled;
}

bool readAll(int fd, std::size_t sizeHint, std::string& bytes) {
  // One byte beyond the expected size lets the end show up without growing the buffer.
  bytes.resize(std::max<std::size_t>(sizeHint + 1, 64 * 1024));
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t count = readRetrying(fd, std::as_writable_bytes(std::span(bytes).subspan(size)));
    if (count < 0) return false;
    if (count == 0) break;
    size += static_cast<std::size_t>(count);
  }
  bytes.resize(size);
  return true;
}

bool writeAll(int fd, std::string_view bytes) noexcept {
  while (!bytes.empty()) {
    const ssize_t count = retryInterrupted([&] { return ::write(fd, bytes.data(), bytes.size()); });
    if (count < 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

}  // namespace glanex
