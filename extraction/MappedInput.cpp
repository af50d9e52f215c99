#include "extraction/MappedInput.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

#include "extraction/Errors.h"

namespace glanex {

// A file that another program shortens while it is mapped makes its lost pages raise SIGBUS, which would
// kill the process. The handler puts zeroed pages in their place and marks the mapping as cut, so that the
// reading ends and reports the change instead.
struct GuardedRange {
  std::atomic<bool> taken{false};
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> cut{false};
};

namespace {

std::uintptr_t pageSize() {
  static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

std::array<GuardedRange, 64> guardedRanges;
struct sigaction previousBusAction;
// Read in the handler, where sysconf may not be called.
std::uintptr_t guardedPageSize = 0;

void passOnBusError(int signal, siginfo_t* info, void* context) {
  if ((previousBusAction.sa_flags & SA_SIGINFO) != 0) {
    previousBusAction.sa_sigaction(signal, info, context);
  } else if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN) {
    previousBusAction.sa_handler(signal);
  } else {
    // The faulting access runs again on return and now meets the default action.
    ::sigaction(SIGBUS, &previousBusAction, nullptr);
  }
}

void onBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (GuardedRange& range : guardedRanges) {
    const std::uintptr_t end = range.end.load();
    if (address < range.begin.load() || address >= end) continue;
    const std::uintptr_t page = address & ~(guardedPageSize - 1);
    void* zeros = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros == MAP_FAILED) break;
    range.cut.store(true);
    return;
  }
  passOnBusError(signal, info, context);
}

bool installBusErrorHandler() {
  guardedPageSize = pageSize();
  struct sigaction action {};
  action.sa_sigaction = onBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  return ::sigaction(SIGBUS, &action, &previousBusAction) == 0;
}

// The slot that guards [begin, end), or nothing when the handler cannot be installed or every slot is taken.
GuardedRange* guard(std::uintptr_t begin, std::uintptr_t end) {
  static const bool installed = installBusErrorHandler();
  if (!installed) return nullptr;
  for (GuardedRange& range : guardedRanges) {
    if (range.taken.exchange(true)) continue;
    range.cut.store(false);
    range.end.store(end);
    range.begin.store(begin);
    return &range;
  }
  return nullptr;
}

void unguard(GuardedRange& range) {
  range.begin.store(0);
  range.end.store(0);
  range.taken.store(false);
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
  const auto begin = reinterpret_cast<std::uintptr_t>(start);
  GuardedRange* range = guard(begin, begin + length);
  if (range == nullptr) {
    ::munmap(start, length);
    return nullptr;
  }
  ::madvise(start, length, MADV_SEQUENTIAL);
  return std::unique_ptr<MappedInput>(new MappedInput(start, length, skipped, *range));
}

MappedInput::MappedInput(void* start, std::size_t length, std::size_t skipped, GuardedRange& range)
    : start_(start),
      length_(length),
      bytes_(static_cast<const char*>(start) + skipped, length - skipped),
      range_(range) {}

MappedInput::~MappedInput() {
  unguard(range_);
  ::munmap(start_, length_);
}

void MappedInput::release(std::string_view done) const {
  const auto first = (reinterpret_cast<std::uintptr_t>(done.data()) + pageSize() - 1) & ~(pageSize() - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(done.data() + done.size())) & ~(pageSize() - 1);
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

bool MappedInput::wasCut() const {
  return range_.cut.load();
}

void MappedInput::throwIfCut() const {
  if (wasCut())
    throw EOutOfResources(std::string(kStreamLoadError) + " : le fichier a été raccourci pendant sa lecture");
}

}  // namespace glanex
