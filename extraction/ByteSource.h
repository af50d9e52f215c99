#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace glanex {

// Where the streaming extraction takes its bytes from, front to back, once.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Fills `buffer` with the next bytes and returns how many it got: fewer only at the end.
  std::size_t read(std::span<char> buffer) {
    const std::size_t count = fill(buffer);
    consumed_ += static_cast<std::int64_t>(count);
    return count;
  }

  // How many bytes were read so far, for the progress shown.
  std::int64_t consumed() const { return consumed_; }

 private:
  virtual std::size_t fill(std::span<char> buffer) = 0;

  std::int64_t consumed_ = 0;
};

}  // namespace glanex
