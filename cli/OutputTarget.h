#pragma once

#include <string>

// Where the file that -o names stands with respect to what the run reads and to standard output. Files
// are compared by device and inode, so that any name counts: hard and symbolic links, /dev/stdout.
namespace glanex {

// Throws UsageError, without the pointer to --help, when `target` is a regular file that the run reads at
// `inputPath` ("-" for standard input): saving would replace the user's text with the list. Asked before
// anything is read.
void refuseTargetThatIsInput(const std::string& target, const std::string& inputPath);

// Whether `target` is the file standard output is open on (/dev/stdout, /dev/fd/1, or that file by its own
// name). The list is then written through standard output, which appends where the shell said ">>",
// instead of replacing the file and what was written to it before.
bool isStandardOutput(const std::string& target);

}  // namespace glanex
