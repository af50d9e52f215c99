#pragma once

#include <string>
#include <vector>

// Failing system calls on purpose, to see what the file code does when the disk or the kernel says no.
// SystemCallFaults.cpp defines open, read, pread, write, fsync, close, rename, fchmod, fchown, ftruncate
// and fallocate for the whole test program; each forwards to the next definition (the C library's, or a
// sanitizer's) unless a fault is armed. Link that source into the test program itself, not into a
// library, so that its definitions win.
namespace glanex::test {

enum class SystemCall {
  Open,
  Write,
  Fsync,
  Close,
  Rename,
  Fchmod,
  Fchown,
  Ftruncate,
  Fallocate,
  Read,
  Pread
};

// One call made while a SystemCallFaults is alive.
struct SystemCallRecord {
  SystemCall call;
  // The path opened, the source of a rename, or for the other calls the descriptor's path (empty when it
  // was opened before recording began).
  std::string path;
  std::string renamedTo;
  // The flags of the open, or of the open that gave the descriptor.
  int openFlags = 0;
  int result = 0;
};

// While alive, records every call listed above and makes the armed ones fail. Only one may live at a time;
// calls from any thread count.
class SystemCallFaults {
 public:
  SystemCallFaults();
  ~SystemCallFaults();
  SystemCallFaults(const SystemCallFaults&) = delete;
  SystemCallFaults& operator=(const SystemCallFaults&) = delete;

  // The `nth` call (from 1) of `call` fails with `errorNumber`, counting only the calls on paths opened
  // with all of `openFlags` (an open counts by its own flags). A failing close still releases the
  // descriptor, as Linux's close does.
  void fail(SystemCall call, int nth, int errorNumber, int openFlags = 0);
  // The `nth` write counted as above writes only half of its bytes (at least one).
  void shortenWrite(int nth, int openFlags = 0);

  // Whether every armed fault was reached.
  bool allReached() const;
  std::vector<SystemCallRecord> records() const;
};

}  // namespace glanex::test
