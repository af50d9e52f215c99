#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <sys/types.h>

// The system calls of every file reader and writer, retried when a signal interrupts them, and whole reads
// and writes built on them.
namespace glanex {

// How much a reader takes from a file at a time: large enough that the system calls do not count, small
// enough to stay in the processor's caches.
inline constexpr std::size_t kIoBlockSize = 1 << 20;

// Calls `call` again for as long as it fails with EINTR: a signal that arrives before a call has done
// anything is no failure of the call.
template <typename Call>
auto retryInterrupted(Call call) {
  for (;;) {
    const auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

// ::open, retried; -1 with errno when it fails.
int openRetrying(const char* path, int flags, mode_t mode = 0);

// ::read, retried: how many bytes it got (0 at the end), -1 with errno when it fails.
ssize_t readRetrying(int fd, std::span<std::byte> buffer);

// Fills `buffer` from `offset` of `fd` and returns how many bytes it got, fewer only at the end of the file;
// nothing when a read fails.
std::optional<std::size_t> readFullyAt(int fd, std::span<std::byte> buffer, std::int64_t offset);

// Reads `fd` to its end into `bytes`; `sizeHint` (the file's size when known) spares regrowing the buffer.
// False when a read fails.
bool readAll(int fd, std::size_t sizeHint, std::string& bytes);

// Writes every byte of `bytes` to `fd`; false when a write fails.
bool writeAll(int fd, std::string_view bytes) noexcept;

}  // namespace glanex
