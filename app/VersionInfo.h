#pragma once

#include <string>

// The program's version as its executable file carries it: a version block in the Windows layout, linked
// into a section of its own, read from the file (not from memory) like any other file's.
namespace glanex {

// The FileVersion text of the first translation of `executablePath`'s version block, or "" when the file
// has no block, no translation or no such value.
std::string fileVersionOf(const std::string& executablePath);

// The full path of the running executable.
std::string runningExecutablePath();

}  // namespace glanex
