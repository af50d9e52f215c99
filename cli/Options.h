#pragma once

#include <optional>
#include <string>
#include <vector>

#include "extraction/Pipeline.h"

// What the command line asks for, read from the arguments without touching any file.
namespace glanex {

enum class CliAction { Extract, ShowHelp, ShowVersion };

// The encoding of the addresses printed on standard output.
enum class OutputEncoding { Utf8, Cp1252 };

struct Options {
  CliAction action = CliAction::Extract;
  // In the order given; "-" (at most once, and the default) reads standard input. Folders are walked with
  // `recursive`.
  std::vector<std::string> inputPaths = {"-"};
  bool recursive = false;
  // Windows-1252, as the pipeline compares them with the pane's bytes.
  std::string separators{kDefaultSeparators};
  bool addCommas = false;
  // When set, the list is saved there as RTF instead of printed.
  std::optional<std::string> outputPath;
  OutputEncoding encoding = OutputEncoding::Utf8;
  bool quiet = false;
  // The streaming extraction, with no line or list limits; --fenetre turns it off for the window's staged
  // run, which reads one file.
  bool unlimited = true;
  // Addresses that differ only in ASCII case count as one (streaming only: the window compares bytes).
  bool ignoreCase = false;
  // The streaming extraction's threads; 0 for one per core available.
  std::size_t threads = 0;

  bool operator==(const Options&) const = default;
};

// Reads the arguments that follow the program's name. Options may come before or after the files, long
// ones by any unambiguous prefix; "--" ends them. --help and --version stop the reading where they stand.
// Throws UsageError with a French message.
Options parseOptions(const std::vector<std::string>& arguments);

// The text --help prints, UTF-8.
std::string helpText();

}  // namespace glanex
