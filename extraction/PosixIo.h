#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole reads and writes on file descriptors, retried when a signal interrupts them.
namespace glanex {

// Reads `fd` to its end into `bytes`; `sizeHint` (the file's size when known) spares regrowing the buffer.
// False when a read fails.
bool readAll(int fd, std::size_t sizeHint, std::string& bytes);

// Writes every byte of `bytes` to `fd`; false when a write fails.
bool writeAll(int fd, std::string_view bytes) noexcept;

}  // namespace glanex
