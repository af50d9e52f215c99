#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "FuzzCheck.h"
#include "app/VersionInfo.h"
#include "app/VersionResource.h"

// The input is read twice: as a version block, as a program would copy it out of its file, and as a whole
// file, where it first has to pass for an ELF file with a version section.
namespace {

using namespace glanex;

// A found value lies inside the block it was found in.
bool liesInside(const VersionValue& value, std::span<const std::uint8_t> block) {
  return value.bytes.data() >= block.data() &&
         value.bytes.data() + value.bytes.size() <= block.data() + block.size();
}

void queryBlock(std::span<const std::uint8_t> block) {
  for (const char* path :
       {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo", "\\\\stringfileinfo\\\\"}) {
    const auto value = queryVersionValue(block, path);
    if (value) FUZZ_CHECK(liesInside(*value, block));
  }
  const auto translations = queryVersionValue(block, "\\VarFileInfo\\Translation");
  if (!translations || translations->bytes.size() < 4) return;
  const auto* entry = translations->bytes.data();
  char path[64];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion", entry[1], entry[0],
                entry[3], entry[2]);
  const auto version = queryVersionValue(block, path);
  if (!version) return;
  FUZZ_CHECK(liesInside(*version, block));
  FUZZ_CHECK(windows1252FromUtf16(version->bytes).size() <= version->bytes.size() / 2);
}

// The input as a file that needs no disk: a memory file reached through its descriptor's path.
class MemoryFile {
 public:
  explicit MemoryFile(std::span<const std::uint8_t> bytes) : fd_(::memfd_create("version", MFD_CLOEXEC)) {
    FUZZ_CHECK(fd_ >= 0);
    FUZZ_CHECK(::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

void readAsFile(std::span<const std::uint8_t> bytes) {
  const MemoryFile file(bytes);
  const std::uint32_t size = fileVersionInfoSize(file.path());
  FUZZ_CHECK(size <= bytes.size() && size <= 0xFFFF);
  if (size > 0) {
    std::vector<std::uint8_t> block(size);
    FUZZ_CHECK(readFileVersionInfo(file.path(), block));
    queryBlock(block);
  }
  fileVersionOf(file.path());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  queryBlock(bytes);
  readAsFile(bytes);
  return 0;
}
