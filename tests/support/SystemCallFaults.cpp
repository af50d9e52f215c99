// The checked versions of open that fortified headers inline would clash with the definitions below.
#undef _FORTIFY_SOURCE

#include "support/SystemCallFaults.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using glanex::test::SystemCall;
using glanex::test::SystemCallRecord;

struct Fault {
  SystemCall call;
  int nth = 0;
  int openFlags = 0;
  int errorNumber = 0;  // 0 for a short write
  int count = 0;
  bool reached = false;
};

struct OpenedFile {
  std::string path;
  int flags = 0;
};

// What the armed faults say about one call.
struct Decision {
  int errorNumber = 0;
  bool shorten = false;
};

struct State {
  std::mutex mutex;
  std::vector<Fault> faults;
  std::map<int, OpenedFile> descriptors;
  std::map<std::string, int> pathFlags;
  std::vector<SystemCallRecord> records;
};

// Checked before anything else, so that the calls of the rest of the program cost one load.
std::atomic<bool> armed{false};

// Built on first use: the C library and the test framework call these functions before main.
State& state() {
  static State* const instance = new State;
  return *instance;
}

OpenedFile fileOf(int fd) {
  const std::lock_guard lock(state().mutex);
  const auto found = state().descriptors.find(fd);
  return found == state().descriptors.end() ? OpenedFile{} : found->second;
}

OpenedFile fileAt(const char* path) {
  const std::lock_guard lock(state().mutex);
  const auto found = state().pathFlags.find(path);
  return {path, found == state().pathFlags.end() ? 0 : found->second};
}

Decision decide(SystemCall call, const OpenedFile& file) {
  const std::lock_guard lock(state().mutex);
  Decision decision;
  for (Fault& fault : state().faults) {
    if (fault.call != call || (file.flags & fault.openFlags) != fault.openFlags) continue;
    if (++fault.count != fault.nth) continue;
    fault.reached = true;
    if (fault.errorNumber != 0) {
      decision.errorNumber = fault.errorNumber;
    } else {
      decision.shorten = true;
    }
  }
  return decision;
}

// Keeps errno as the call left it, since the caller reads it next.
void record(SystemCall call, const OpenedFile& file, int result, const char* renamedTo = "") {
  const int errorNumber = errno;
  {
    const std::lock_guard lock(state().mutex);
    state().records.push_back({call, file.path, renamedTo, file.flags, result});
    if (call == SystemCall::Open && result >= 0) {
      state().descriptors[result] = file;
      state().pathFlags[file.path] = file.flags;
    }
  }
  errno = errorNumber;
}

void forget(int fd) {
  const std::lock_guard lock(state().mutex);
  state().descriptors.erase(fd);
}

template <typename Function>
Function nextDefinition(const char* name) {
  void* const found = ::dlsym(RTLD_NEXT, name);
  if (found == nullptr) {
    std::fprintf(stderr, "SystemCallFaults: no definition of %s after the test program's\n", name);
    std::abort();
  }
  return reinterpret_cast<Function>(found);
}

// Runs `forward` unless a fault says the call fails.
template <typename Forward>
int interceptOpen(const char* path, int flags, Forward forward) {
  if (!armed.load(std::memory_order_acquire)) return forward();
  const OpenedFile file{path, flags};
  const Decision decision = decide(SystemCall::Open, file);
  int result = -1;
  if (decision.errorNumber != 0) {
    errno = decision.errorNumber;
  } else {
    result = forward();
  }
  record(SystemCall::Open, file, result);
  return result;
}

template <typename Forward>
auto interceptOnDescriptor(SystemCall call, int fd, Forward forward) -> decltype(forward()) {
  if (!armed.load(std::memory_order_acquire)) return forward();
  const OpenedFile file = fileOf(fd);
  const Decision decision = decide(call, file);
  decltype(forward()) result = -1;
  if (decision.errorNumber != 0) {
    errno = decision.errorNumber;
  } else {
    result = forward();
  }
  record(call, file, static_cast<int>(result));
  return result;
}

bool takesMode(int flags) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

}  // namespace

namespace glanex::test {

SystemCallFaults::SystemCallFaults() {
  {
    State& current = state();
    const std::lock_guard lock(current.mutex);
    current.faults.clear();
    current.descriptors.clear();
    current.pathFlags.clear();
    current.records.clear();
  }
  armed.store(true, std::memory_order_release);
}

SystemCallFaults::~SystemCallFaults() {
  armed.store(false, std::memory_order_release);
}

void SystemCallFaults::fail(SystemCall call, int nth, int errorNumber, int openFlags) {
  const std::lock_guard lock(state().mutex);
  state().faults.push_back({call, nth, openFlags, errorNumber});
}

void SystemCallFaults::shortenWrite(int nth, int openFlags) {
  const std::lock_guard lock(state().mutex);
  state().faults.push_back({SystemCall::Write, nth, openFlags, 0});
}

bool SystemCallFaults::allReached() const {
  const std::lock_guard lock(state().mutex);
  return std::all_of(state().faults.begin(), state().faults.end(), [](const Fault& f) { return f.reached; });
}

std::vector<SystemCallRecord> SystemCallFaults::records() const {
  const std::lock_guard lock(state().mutex);
  return state().records;
}

}  // namespace glanex::test

// The definitions that take the place of the C library's for the whole test program. The variadic mode
// of open is there only with O_CREAT or O_TMPFILE.
#define GLANEX_MODE_ARGUMENT(flags)                     \
  mode_t mode = 0;                                      \
  if (takesMode(flags)) {                               \
    va_list arguments;                                  \
    va_start(arguments, flags);                         \
    mode = static_cast<mode_t>(va_arg(arguments, int)); \
    va_end(arguments);                                  \
  }

extern "C" {

int open(const char* path, int flags, ...) {
  static const auto next = nextDefinition<int (*)(const char*, int, ...)>("open");
  GLANEX_MODE_ARGUMENT(flags)
  return interceptOpen(path, flags, [&] { return next(path, flags, mode); });
}

int open64(const char* path, int flags, ...) {
  static const auto next = nextDefinition<int (*)(const char*, int, ...)>("open64");
  GLANEX_MODE_ARGUMENT(flags)
  return interceptOpen(path, flags, [&] { return next(path, flags, mode); });
}

int __open_2(const char* path, int flags) {
  static const auto next = nextDefinition<int (*)(const char*, int)>("__open_2");
  return interceptOpen(path, flags, [&] { return next(path, flags); });
}

int __open64_2(const char* path, int flags) {
  static const auto next = nextDefinition<int (*)(const char*, int)>("__open64_2");
  return interceptOpen(path, flags, [&] { return next(path, flags); });
}

ssize_t read(int fd, void* data, size_t size) {
  static const auto next = nextDefinition<ssize_t (*)(int, void*, size_t)>("read");
  return interceptOnDescriptor(SystemCall::Read, fd, [&] { return next(fd, data, size); });
}

ssize_t pread(int fd, void* data, size_t size, off_t offset) {
  static const auto next = nextDefinition<ssize_t (*)(int, void*, size_t, off_t)>("pread");
  return interceptOnDescriptor(SystemCall::Pread, fd, [&] { return next(fd, data, size, offset); });
}

ssize_t pread64(int fd, void* data, size_t size, off64_t offset) {
  static const auto next = nextDefinition<ssize_t (*)(int, void*, size_t, off64_t)>("pread64");
  return interceptOnDescriptor(SystemCall::Pread, fd, [&] { return next(fd, data, size, offset); });
}

ssize_t write(int fd, const void* data, size_t size) {
  static const auto next = nextDefinition<ssize_t (*)(int, const void*, size_t)>("write");
  if (!armed.load(std::memory_order_acquire)) return next(fd, data, size);
  const OpenedFile file = fileOf(fd);
  const Decision decision = decide(SystemCall::Write, file);
  ssize_t result = -1;
  if (decision.errorNumber != 0) {
    errno = decision.errorNumber;
  } else {
    result = next(fd, data, decision.shorten ? std::max<size_t>(size / 2, 1) : size);
  }
  record(SystemCall::Write, file, static_cast<int>(result));
  return result;
}

int fsync(int fd) {
  static const auto next = nextDefinition<int (*)(int)>("fsync");
  return interceptOnDescriptor(SystemCall::Fsync, fd, [&] { return next(fd); });
}

int fchmod(int fd, mode_t mode) noexcept {
  static const auto next = nextDefinition<int (*)(int, mode_t)>("fchmod");
  return interceptOnDescriptor(SystemCall::Fchmod, fd, [&] { return next(fd, mode); });
}

int fchown(int fd, uid_t owner, gid_t group) noexcept {
  static const auto next = nextDefinition<int (*)(int, uid_t, gid_t)>("fchown");
  return interceptOnDescriptor(SystemCall::Fchown, fd, [&] { return next(fd, owner, group); });
}

int ftruncate(int fd, off_t length) noexcept {
  static const auto next = nextDefinition<int (*)(int, off_t)>("ftruncate");
  return interceptOnDescriptor(SystemCall::Ftruncate, fd, [&] { return next(fd, length); });
}

int ftruncate64(int fd, off64_t length) noexcept {
  static const auto next = nextDefinition<int (*)(int, off64_t)>("ftruncate64");
  return interceptOnDescriptor(SystemCall::Ftruncate, fd, [&] { return next(fd, length); });
}

int fallocate(int fd, int mode, off_t offset, off_t length) {
  static const auto next = nextDefinition<int (*)(int, int, off_t, off_t)>("fallocate");
  return interceptOnDescriptor(SystemCall::Fallocate, fd, [&] { return next(fd, mode, offset, length); });
}

int fallocate64(int fd, int mode, off64_t offset, off64_t length) {
  static const auto next = nextDefinition<int (*)(int, int, off64_t, off64_t)>("fallocate64");
  return interceptOnDescriptor(SystemCall::Fallocate, fd, [&] { return next(fd, mode, offset, length); });
}

int close(int fd) {
  static const auto next = nextDefinition<int (*)(int)>("close");
  if (!armed.load(std::memory_order_acquire)) return next(fd);
  const OpenedFile file = fileOf(fd);
  const Decision decision = decide(SystemCall::Close, file);
  // Linux releases the descriptor even when close reports an error, so a failing close closes too.
  int result = next(fd);
  if (decision.errorNumber != 0) {
    result = -1;
    errno = decision.errorNumber;
  }
  record(SystemCall::Close, file, result);
  forget(fd);
  return result;
}

int rename(const char* from, const char* to) noexcept {
  static const auto next = nextDefinition<int (*)(const char*, const char*)>("rename");
  if (!armed.load(std::memory_order_acquire)) return next(from, to);
  const OpenedFile file = fileAt(from);
  const Decision decision = decide(SystemCall::Rename, file);
  int result = -1;
  if (decision.errorNumber != 0) {
    errno = decision.errorNumber;
  } else {
    result = next(from, to);
  }
  record(SystemCall::Rename, file, result, to);
  return result;
}

}  // extern "C"
