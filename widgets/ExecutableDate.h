#pragma once

#include <string>

// The build date the About window shows: the last-write time of the program's own file, as the packed
// date-and-time form of old file systems holds it. That form counts seconds in steps of two and years from
// 1980 to 2107.
namespace glanex {

// A local date and time, every field as people read it (month 1–12, day 1–31).
struct FileDateTime {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
  friend bool operator==(const FileDateTime&, const FileDateTime&) = default;
};

// What a file gets whose date cannot be had: 1 January 1980, 00:00:00, the first moment of the packed form.
inline constexpr FileDateTime kNoFileDate{};

// The last-write time of `path` in local time, its seconds rounded down to an even number. A file that
// cannot be opened, whose time stamp cannot be read, or whose date lies outside the packed form's years
// gives kNoFileDate.
FileDateTime ExecutableFileDate(const std::string& path);

}  // namespace glanex
