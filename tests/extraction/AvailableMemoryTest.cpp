#include "extraction/AvailableMemory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

namespace glanex::test {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(AvailableMemory, IsTheLowerOfTheSystemsAndTheControlGroupsRoom) {
  using Files = std::vector<std::pair<std::string, std::string>>;
  const Files meminfo = {{"proc/meminfo", "MemTotal:  8000000 kB\nMemAvailable:  4096 kB\n"}};
  const struct {
    const char* name;
    Files files;
    std::uint64_t expected;
  } rows[] = {
      {"nothing readable", {}, std::numeric_limits<std::uint64_t>::max()},
      {"the system alone", meminfo, 4 * kMiB},
      {"a group without limit",
       {meminfo[0], {"proc/self/cgroup", "0::/app\n"}, {"sys/fs/cgroup/app/memory.max", "max\n"}},
       4 * kMiB},
      {"a group's room below the system's",
       {meminfo[0],
        {"proc/self/cgroup", "0::/app\n"},
        {"sys/fs/cgroup/app/memory.max", "3145728\n"},
        {"sys/fs/cgroup/app/memory.current", "1048576\n"}},
       2 * kMiB},
      {"a tighter group above",
       {meminfo[0],
        {"proc/self/cgroup", "0::/user/app\n"},
        {"sys/fs/cgroup/user/app/memory.max", "max\n"},
        {"sys/fs/cgroup/user/memory.max", "1048576\n"},
        {"sys/fs/cgroup/user/memory.current", "2097152\n"}},
       0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ScratchDir root;
    for (const auto& [path, content] : row.files) {
      std::filesystem::create_directories((root.path() / path).parent_path());
      writeBytes(root.file(path), content);
    }
    EXPECT_EQ(availableMemory(root.path()), row.expected);
  }
}

}  // namespace
}  // namespace glanex::test
