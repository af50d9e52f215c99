#include <gtest/gtest.h>

#include <ctime>
#include <ostream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#include "support/TestSupport.h"
#include "widgets/ExecutableDate.h"

namespace glanex {

// Failures name the date, not its bytes.
void PrintTo(const FileDateTime& date, std::ostream* out) {
  *out << date.year << '-' << date.month << '-' << date.day << ' ' << date.hour << ':' << date.minute << ':'
       << date.second;
}

namespace test {
namespace {

// The moment `local` names in the machine's time zone, so that the rows hold whatever zone the tests run in.
std::time_t localTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

void setLastWriteTime(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(ExecutableFileDate, ReadsTheLocalLastWriteTimeInStepsOfTwoSeconds) {
  const struct {
    const char* name;
    std::time_t written;
    FileDateTime expected;
  } rows[] = {
      {"an odd second shows the one below", localTime(2026, 12, 9, 10, 22, 5), {2026, 12, 9, 10, 22, 4}},
      {"an even second stays", localTime(2026, 12, 9, 10, 22, 4), {2026, 12, 9, 10, 22, 4}},
      {"one second past midnight is midnight", localTime(2026, 3, 1, 0, 0, 1), {2026, 3, 1, 0, 0, 0}},
      {"the last moment the form holds", localTime(2107, 12, 31, 23, 59, 59), {2107, 12, 31, 23, 59, 58}},
      {"the first moment the form holds", localTime(1980, 1, 1, 0, 0, 0), kNoFileDate},
      {"before 1980", localTime(1979, 12, 31, 23, 59, 59), kNoFileDate},
      {"after 2107", localTime(2108, 1, 1, 0, 0, 0), kNoFileDate},
  };
  ScratchDir dir;
  const std::string file = dir.file("glanex");
  writeBytes(file, "programme");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    setLastWriteTime(file, row.written);
    EXPECT_EQ(ExecutableFileDate(file), row.expected);
  }
}

TEST(ExecutableFileDate, AFileThatCannotBeOpenedGivesTheFirstOf1980AtMidnight) {
  ScratchDir dir;
  const FileDateTime date = ExecutableFileDate(dir.file("absent"));
  EXPECT_EQ(date, (FileDateTime{1980, 1, 1, 0, 0, 0}));
  EXPECT_TRUE(date.isMidnight());
}

}  // namespace
}  // namespace test
}  // namespace glanex
