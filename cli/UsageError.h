#pragma once

#include <stdexcept>
#include <string>

// A command line the program cannot act on. Kept apart from GlanexError: the user mistyped or asked for
// something unsafe, nothing failed, so it ends with its own exit status and, for a mistyped command line,
// a pointer to --help.
namespace glanex {

class UsageError : public std::runtime_error {
 public:
  enum HelpPointer : bool { kNoHelpPointer = false, kHelpPointer = true };

  explicit UsageError(const std::string& message, HelpPointer helpPointer = kHelpPointer)
      : std::runtime_error(message), helpPointer_(helpPointer) {}

  // False for a well-formed command line that is refused: --help would not help.
  bool pointsToHelp() const { return helpPointer_ == kHelpPointer; }

 private:
  HelpPointer helpPointer_;
};

}  // namespace glanex
