#include "extraction/PdfReader.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <filesystem>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "extraction/DocumentLimits.h"
#include "extraction/DocumentText.h"
#include "extraction/Errors.h"
#include "extraction/FileDescriptor.h"
#include "extraction/PdfAnswer.h"
#include "extraction/PosixIo.h"

namespace glanex {

namespace {

using namespace document_limits;

// The sanitizers reserve terabytes of address space up front: a bound on it would fail every allocation.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kBoundAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kBoundAddressSpace = false;
#else
constexpr bool kBoundAddressSpace = true;
#endif
#else
constexpr bool kBoundAddressSpace = true;
#endif

void boundChild() {
  const rlimit cpu{kPdfCpuSeconds, kPdfCpuSeconds};
  ::setrlimit(RLIMIT_CPU, &cpu);
  if (kBoundAddressSpace) {
    const rlimit memory{kPdfMemoryBytes, kPdfMemoryBytes};
    ::setrlimit(RLIMIT_AS, &memory);
  }
}

using WriteAnswer = decltype(&glanexWritePdfAnswer);

// The module that reads PDF files with poppler, installed beside the programs' folder and loaded at the
// first PDF: linked into the programs, poppler's forty libraries made every start 8 ms longer. Null when
// it cannot be loaded.
WriteAnswer answerWriter() {
  static const WriteAnswer writer = []() -> WriteAnswer {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return nullptr;
    void* module = ::dlopen((program.parent_path() / GLANEX_PDF_MODULE).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<WriteAnswer>(::dlsym(module, "glanexWritePdfAnswer"));
  }();
  return writer;
}

// Runs in the child: never returns, and leaves without running the parent's exit handlers.
[[noreturn]] void runChild(WriteAnswer writer, int out, std::string_view bytes) {
  boundChild();
  ::_exit(writer(out, bytes.data(), bytes.size()));
}

// Whether the child has written more before `deadline`; a child past it is stopped. Its processor limit
// does not end a child that waits: one forked while another thread held a lock can wait forever.
bool answerArrives(int in, pid_t child, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    pollfd answer{in, POLLIN, 0};
    const int ready = left > 0 ? ::poll(&answer, 1, static_cast<int>(std::min<long long>(left, INT_MAX))) : 0;
    if (ready > 0) return true;
    if (ready < 0 && errno == EINTR) continue;
    ::kill(child, SIGKILL);
    return false;
  }
}

// Reads the child's answer, within the bounds on text and time; a child that would pass them is stopped.
std::string readAnswer(int in, pid_t child, std::chrono::milliseconds timeLimit) {
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  std::string answer;
  std::string block(kIoBlockSize, '\0');
  for (;;) {
    if (!answerArrives(in, child, deadline)) return {};
    const ssize_t count = readRetrying(in, std::as_writable_bytes(std::span(block)));
    if (count <= 0) return answer;
    if (answer.size() + static_cast<std::size_t>(count) > kMaxExpandedBytes) {
      ::kill(child, SIGKILL);
      return {};
    }
    answer.append(block.data(), static_cast<std::size_t>(count));
  }
}

bool exitedCleanly(pid_t child) {
  int status = 0;
  if (retryInterrupted([&] { return ::waitpid(child, &status, 0); }) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool PdfReader::recognises(std::string_view start) {
  return start.starts_with("%PDF-");
}

std::optional<std::string> PdfReader::read(std::string_view bytes) {
  return read(bytes, std::chrono::seconds(kPdfWallSeconds));
}

std::optional<std::string> PdfReader::read(std::string_view bytes, std::chrono::milliseconds timeLimit) {
  const WriteAnswer writer = answerWriter();
  if (writer == nullptr) throw EOutOfResources(kStreamLoadError);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw EOutOfResources(kStreamLoadError);
  FileDescriptor in(ends[0]);
  FileDescriptor out(ends[1]);
  const pid_t child = ::fork();
  if (child < 0) throw EOutOfResources(kStreamLoadError);
  if (child == 0) runChild(writer, out.get(), bytes);
  out.close();
  const std::string answer = readAnswer(in.get(), child, timeLimit);
  if (!exitedCleanly(child) || answer.empty()) throw EOutOfResources(kStreamLoadError);
  if (answer.front() == PdfAnswer::kLocked) throw EFOpenError(kPdfPasswordReason);
  if (answer.front() != PdfAnswer::kText) return std::nullopt;
  DocumentText text;
  text.append(std::string_view(answer).substr(1));
  return text.paneText();
}

}  // namespace glanex
