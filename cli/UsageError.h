#pragma once

#include <stdexcept>

// A command line the program cannot act on. Kept apart from GlanexError: the user mistyped, nothing failed,
// so it ends with its own exit status and a pointer to --help.
namespace glanex {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace glanex
