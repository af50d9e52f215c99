#pragma once

#include <cstdint>
#include <filesystem>

// How much memory the program may still take before the system or its control group refuses it.
namespace glanex {

// The lower of the system's available memory (MemAvailable in /proc/meminfo) and the room left under the
// memory limit of the process's control group (cgroup v2: memory.max less memory.current). `root` is the
// file system root the kernel's files are read under, so that tests can give their own. Whatever cannot
// be read sets no bound; with nothing readable the answer is the largest value.
std::uint64_t availableMemory(const std::filesystem::path& root = "/");

}  // namespace glanex
