#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

namespace glanex {

struct GuardedRange;

// The rest of a regular file, mapped into memory so that it is read without a copy. The pages of the parts
// already read are handed back as the reading goes, so that the file never counts whole in the process's
// memory.
class MappedInput {
 public:
  // The mapping of `fd` from `offset` on for `size` bytes; nothing when the system refuses it (the caller
  // then reads the file instead).
  static std::unique_ptr<MappedInput> map(int fd, std::int64_t offset, std::int64_t size);
  ~MappedInput();
  MappedInput(const MappedInput&) = delete;
  MappedInput& operator=(const MappedInput&) = delete;

  std::string_view bytes() const { return bytes_; }
  // Hands back the pages that lie wholly inside `done`, a part of bytes() that will not be read again.
  void release(std::string_view done) const;
  // Whether the file was shortened while mapped: its lost pages then read as zeros instead of stopping
  // the process.
  bool wasCut() const;
  // Throws EOutOfResources when wasCut(): what was read from the zeros is not the file's.
  void throwIfCut() const;

 private:
  MappedInput(void* start, std::size_t length, std::size_t skipped, GuardedRange& range);

  void* start_;
  std::size_t length_;
  std::string_view bytes_;
  GuardedRange& range_;
};

}  // namespace glanex
