#include "extraction/MappedInput.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace glanex {

namespace {

std::uintptr_t pageSize() {
  static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

}  // namespace

std::unique_ptr<MappedInput> MappedInput::map(int fd, std::int64_t offset, std::int64_t size) {
  if (size <= 0) return nullptr;
  // A mapping starts on a page: standard input may be open past the file's start.
  const auto skipped = static_cast<std::size_t>(offset % static_cast<std::int64_t>(pageSize()));
  const std::size_t length = skipped + static_cast<std::size_t>(size);
  void* start =
      ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, offset - static_cast<std::int64_t>(skipped));
  if (start == MAP_FAILED) return nullptr;
  ::madvise(start, length, MADV_SEQUENTIAL);
  return std::unique_ptr<MappedInput>(new MappedInput(start, length, skipped));
}

MappedInput::MappedInput(void* start, std::size_t length, std::size_t skipped)
    : start_(start), length_(length), bytes_(static_cast<const char*>(start) + skipped, length - skipped) {}

MappedInput::~MappedInput() {
  ::munmap(start_, length_);
}

void MappedInput::release(std::string_view done) const {
  const auto first = (reinterpret_cast<std::uintptr_t>(done.data()) + pageSize() - 1) & ~(pageSize() - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(done.data() + done.size())) & ~(pageSize() - 1);
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace glanex
