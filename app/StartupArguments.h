#pragma once

#include <optional>
#include <string>
#include <vector>

// The window program's own command line, read before any window system is reached, so that --help and
// --version answer without a display.
namespace glanex {

struct StartupArguments {
  enum class Action { OpenWindow, ShowHelp, ShowVersion, Refuse };

  Action action = Action::OpenWindow;
  // The file to open at start, as the bytes the system gave.
  std::optional<std::string> file;
  // For Refuse: what was wrong, in French.
  std::string problem;
};

// Reads the arguments that follow the program's name: -h/--help, -V/--version, "--" (what follows is a
// file name, whatever it looks like) and one file ("-" is a file name too: the window has no standard
// input to read).
StartupArguments readStartupArguments(const std::vector<std::string>& arguments);

// The text `glanex --help` prints, UTF-8.
std::string startupHelpText();

}  // namespace glanex
