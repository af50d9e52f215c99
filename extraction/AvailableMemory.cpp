#include "extraction/AvailableMemory.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

namespace glanex {

namespace {

constexpr std::uint64_t kUnbounded = std::numeric_limits<std::uint64_t>::max();

std::optional<std::uint64_t> numberIn(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::uint64_t value;
  if (in >> value) return value;
  return std::nullopt;
}

std::uint64_t memAvailable(const std::filesystem::path& root) {
  std::ifstream meminfo(root / "proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string name;
    std::uint64_t kibibytes;
    if (fields >> name >> kibibytes && name == "MemAvailable:") return kibibytes * 1024;
  }
  return kUnbounded;
}

// The unified hierarchy's line of /proc/self/cgroup reads "0::/path".
std::optional<std::filesystem::path> cgroupOf(const std::filesystem::path& root) {
  std::ifstream cgroups(root / "proc/self/cgroup");
  std::string line;
  while (std::getline(cgroups, line)) {
    if (line.rfind("0::/", 0) == 0) return root / "sys/fs/cgroup" / line.substr(4);
  }
  return std::nullopt;
}

// A group inherits the tightest limit of the groups above it, so every level up to the root counts.
std::uint64_t cgroupRoom(const std::filesystem::path& root) {
  const std::optional<std::filesystem::path> group = cgroupOf(root);
  if (!group) return kUnbounded;
  const std::filesystem::path top = root / "sys/fs/cgroup";
  std::uint64_t room = kUnbounded;
  for (std::filesystem::path level = group->lexically_normal(); level.string().size() > top.string().size();
       level = level.parent_path()) {
    const std::optional<std::uint64_t> limit = numberIn(level / "memory.max");
    if (!limit) continue;  // "max", or no memory controller at this level
    const std::uint64_t used = numberIn(level / "memory.current").value_or(0);
    room = std::min(room, *limit > used ? *limit - used : 0);
  }
  return room;
}

}  // namespace

std::uint64_t availableMemory(const std::filesystem::path& root) {
  return std::min(memAvailable(root), cgroupRoom(root));
}

}  // namespace glanex
