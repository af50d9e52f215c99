#pragma once

#include <string>

// Where the file that -o names stands with respect to what the run reads. Files are compared by device
// and inode, so that any name counts: hard and symbolic links, /dev/stdout.
namespace glanex {

// Throws UsageError, without the pointer to --help, when `target` is a regular file that the run reads at
// `inputPath` ("-" for standard input): saving would replace the user's text with the list. Asked before
// anything is read.
void refuseTargetThatIsInput(const std::string& target, const std::string& inputPath);

}  // namespace glanex
