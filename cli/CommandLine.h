#pragma once

#include <string>
#include <vector>

// The command line's whole run: options, source, extraction, output, and the exit status for each outcome.
namespace glanex {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs the program on the arguments that follow its name and returns the exit status. Every error ends
// here as a message on standard error; none escapes.
int runCommandLine(const std::vector<std::string>& arguments);

}  // namespace glanex
