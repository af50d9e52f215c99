#include "widgets/ExecutableDate.h"

#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

#include "extraction/FileDescriptor.h"
#include "extraction/PosixIo.h"

namespace glanex {

namespace {

// The years the packed form can hold: seven bits counted from 1980.
constexpr int kFirstPackedYear = 1980;
constexpr int kLastPackedYear = 2107;

}  // namespace

FileDateTime ExecutableFileDate(const std::string& path) {
  // Read-only, so that a program running or being rebuilt at the same time is no obstacle.
  const FileDescriptor file(openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return kNoFileDate;

  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return kNoFileDate;
  std::tm local{};
  if (::localtime_r(&status.st_mtime, &local) == nullptr) return kNoFileDate;

  const int year = local.tm_year + 1900;
  if (year < kFirstPackedYear || year > kLastPackedYear) return kNoFileDate;
  // A leap second (60) counts as the minute's last ordinary one, since no clock face shows it.
  const int second = std::min(local.tm_sec, 59);
  return {year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second / 2 * 2};
}

}  // namespace glanex
