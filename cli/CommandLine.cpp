#include "cli/CommandLine.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sstream>
#include <string_view>

#include <unistd.h>

#include "app/ResultPunctuation.h"
#include "app/VersionInfo.h"
#include "cli/InputFiles.h"
#include "cli/Options.h"
#include "cli/OutputTarget.h"
#include "cli/StandardStreams.h"
#include "cli/TerminalProgress.h"
#include "cli/UsageError.h"
#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"
#include "extraction/MergedAddressList.h"
#include "extraction/RtfWriter.h"
#include "extraction/StagedExtraction.h"
#include "extraction/StreamingExtraction.h"
#include "extraction/TextEncoding.h"
#include "extraction/TextPane.h"

namespace glanex {

namespace {

// Fills the source pane as loading a file into it would, standard input included.
void loadSource(TextPane& source, const std::string& path) {
  if (path != "-") {
    source.RichLines()->LoadFile(path);
    return;
  }
  const FormattedText document = documentFromBytes(readStandardInput());
  source.buffer().setDocument(document);
  source.buffer().setCapacity(std::max(source.buffer().capacity(), kLoadedCapacity));
}

// The bar lives only as long as the reading of one input, so its line is cleared before any other output
// or error. A terminal that says it is dumb would print its escape sequences as text.
bool wantsProgressBar(const Options& options) {
  const char* terminal = std::getenv("TERM");
  return !options.quiet && ::isatty(STDERR_FILENO) == 1 && terminal != nullptr && *terminal != '\0' &&
         std::string_view(terminal) != "dumb";
}

std::string joinLines(const AddressList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// One input's list; an input that cannot be read is reported and leaves the others to be read.
std::optional<AddressList> extractInput(const Options& options, const std::string& path) {
  try {
    std::optional<TerminalProgress> bar;
    if (wantsProgressBar(options)) bar.emplace();
    return extractAddressesFromFile(path, options.separators, bar ? &*bar : nullptr,
                                    {.threads = options.threads});
  } catch (const GlanexError& error) {
    writeStandardError(withFinalDot(error.what()) + "\n");
    return std::nullopt;
  }
}

// The streaming extraction's list of every input, or nothing when no input could be read; `complete`
// tells whether all were.
std::optional<AddressList> extractUnlimited(const Options& options, bool& complete) {
  const InputFiles inputs = listInputFiles(options.inputPaths, options.recursive, options.outputPath);
  for (const std::string& message : inputs.unreadable) writeStandardError(withFinalDot(message) + "\n");
  complete = inputs.unreadable.empty();
  MergedAddressList merged(options.ignoreCase ? MergedAddressList::Case::IgnoreAscii
                                              : MergedAddressList::Case::Exact);
  bool anyRead = inputs.files.empty();
  for (const std::string& path : inputs.files) {
    std::optional<AddressList> addresses = extractInput(options, path);
    complete = complete && addresses.has_value();
    if (!addresses) continue;
    merged.append(std::move(*addresses));
    anyRead = true;
  }
  if (!anyRead) return std::nullopt;
  return merged.takeAddresses();
}

// Prints the list as the final list's pane would print it, a block at a time: on large inputs a joined
// copy, a pane and a formatted copy of the list would each cost as much memory as the list.
void printList(const AddressList& addresses, const Options& options) {
  constexpr std::size_t kBlockSize = std::size_t{1} << 20;
  std::string block;
  for (const std::string_view address : addresses) {
    if (options.encoding == OutputEncoding::Utf8) {
      appendCp1252AsUtf8(address, block);
    } else {
      block += address;
    }
    if (options.addCommas) block += ',';
    block += '\n';
    if (block.size() >= kBlockSize) {
      writeStandardOutput(block);
      block.clear();
    }
  }
  writeStandardOutput(block);
}

// Adds the commas to the final list. Its pane is a working list; no window limits what leaves it, and
// commas cut at the working capacity would be dropped without a word.
void addCommas(TextPane& finalList) {
  finalList.buffer().setCapacity(kUnlimitedCapacity);
  AddCommas(finalList.Lines());
}

// Every line whole, straight from the pane's text: GetLine would cut them at 4,096 characters.
std::string formatFinalList(const TextPane& finalList, OutputEncoding encoding) {
  std::string output;
  const TextBuffer& text = finalList.buffer();
  const std::int64_t count = finalList.Lines().LineCount();
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string line = text.lineText(i, text.lineLength(i));
    output += encoding == OutputEncoding::Utf8 ? cp1252ToUtf8(line) : line;
    output += '\n';
  }
  return output;
}

// Leaves the final list in the run's RichEditT2 and returns its count. The capacity error says how to do
// without the capacity.
std::int64_t extractStaged(const Options& options, StagedExtraction& staged) {
  TextPane source = TextPane::document();
  loadSource(source, options.inputPaths.front());
  std::optional<TerminalProgress> bar;
  if (wantsProgressBar(options)) bar.emplace();
  try {
    return staged.run(source.Lines(), options.separators, bar ? &*bar : nullptr);
  } catch (const EOutOfResources& error) {
    if (std::string_view(error.what()) != kLineInsertionError) throw;
    throw EOutOfResources(std::string(kLineInsertionError) +
                          ".\nSans --fenetre, glanex-cli n'a pas cette limite");
  }
}

// Saves the list as RTF, through standard output when the target is the file it is open on.
void saveFinalList(const TextPane& finalList, const std::string& target) {
  if (!isStandardOutput(target)) {
    saveDocumentFile(target, finalList.buffer().document());
    return;
  }
  std::ostringstream rtf;
  RtfWriter(rtf).write(finalList.buffer().document());
  writeStandardOutput(std::move(rtf).str());
}

void refuseTargetsThatAreInputs(const Options& options) {
  if (!options.outputPath) return;
  for (const std::string& path : options.inputPaths) refuseTargetThatIsInput(*options.outputPath, path);
}

void reportCount(const Options& options, std::int64_t count) {
  if (!options.quiet) writeStandardError("= " + std::to_string(count) + " Email(s)\n");
}

// The final list goes through a pane only when it is saved as RTF, which is written from a pane's
// document.
int runUnlimited(const Options& options) {
  bool complete = true;
  const std::optional<AddressList> addresses = extractUnlimited(options, complete);
  if (!addresses) return kExitFailure;
  if (options.outputPath) {
    StagedExtraction staged;
    TextPane& finalList = staged.RichEditT2();
    finalList.buffer().setCapacity(kUnlimitedCapacity);
    finalList.buffer().setDocument(FormattedText::fromPlainText(joinLines(*addresses)));
    if (options.addCommas) addCommas(finalList);
    saveFinalList(finalList, *options.outputPath);
  } else {
    printList(*addresses, options);
  }
  reportCount(options, std::ssize(*addresses));
  return complete ? kExitSuccess : kExitFailure;
}

int runStaged(const Options& options) {
  StagedExtraction staged;
  TextPane& finalList = staged.RichEditT2();
  const std::int64_t count = extractStaged(options, staged);
  if (options.addCommas) addCommas(finalList);
  if (options.outputPath) {
    saveFinalList(finalList, *options.outputPath);
  } else {
    writeStandardOutput(formatFinalList(finalList, options.encoding));
  }
  reportCount(options, count);
  return kExitSuccess;
}

// Returns the exit status: a failure when an input could not be read, even if the others gave their list.
int runExtraction(const Options& options) {
  refuseTargetsThatAreInputs(options);
  return options.unlimited ? runUnlimited(options) : runStaged(options);
}

int run(const std::vector<std::string>& arguments) {
  const Options options = parseOptions(arguments);
  switch (options.action) {
    case CliAction::ShowHelp:
      writeStandardOutput(helpText());
      return kExitSuccess;
    case CliAction::ShowVersion:
      writeStandardOutput(std::string("glanex-cli ") + fileVersionOf(runningExecutablePath()) + "\n");
      return kExitSuccess;
    case CliAction::Extract:
      break;
  }
  return runExtraction(options);
}

int reportFailure(const std::string& message) {
  writeStandardError(withFinalDot(message) + "\n");
  return kExitFailure;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments) {
  try {
    return run(arguments);
  } catch (const UsageError& error) {
    writeStandardError(withFinalDot(error.what()) + "\n" +
                       (error.pointsToHelp() ? "Essayez « glanex-cli --help ».\n" : ""));
    return kExitUsage;
  } catch (...) {
    return reportFailure(userErrorMessage(std::current_exception()));
  }
}

}  // namespace glanex
