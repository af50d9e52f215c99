#include "extraction/PosixIo.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace glanex {

bool readAll(int fd, std::size_t sizeHint, std::string& bytes) {
  // One byte beyond the expected size lets the end show up without growing the buffer.
  bytes.resize(std::max<std::size_t>(sizeHint + 1, 64 * 1024));
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t count = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    size += static_cast<std::size_t>(count);
  }
  bytes.resize(size);
  return true;
}

bool writeAll(int fd, std::string_view bytes) noexcept {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

}  // namespace glanex
