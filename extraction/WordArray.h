#pragma once

#include <cstddef>
#include <cstdint>

namespace glanex {

// 64-bit words that only grow, zero when added. Once 2 MiB or more they lie on huge pages, and growing
// moves their pages to a larger block instead of copying them: a growing std::vector holds its old and
// new copies at once, and the address tables of a large run, growing together on every thread, so made
// its peak of memory jump by tens of megabytes.
class WordArray {
 public:
  WordArray() = default;
  ~WordArray();
  WordArray(WordArray&& other) noexcept;
  WordArray& operator=(WordArray&& other) noexcept;
  WordArray(const WordArray&) = delete;
  WordArray& operator=(const WordArray&) = delete;

  std::size_t size() const { return size_; }
  std::uint64_t& operator[](std::size_t index) { return words_[index]; }
  const std::uint64_t& operator[](std::size_t index) const { return words_[index]; }

  // Adds `count` words, zero, at the end. Throws std::bad_alloc.
  void grow(std::size_t count);

 private:
  bool onHugePages() const;
  void release();
  void reserve(std::size_t words);

  std::uint64_t* words_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace glanex
