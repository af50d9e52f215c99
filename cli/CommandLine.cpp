#include "cli/CommandLine.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "app/ResultPunctuation.h"
#include "app/VersionInfo.h"
#include "cli/Options.h"
#include "cli/OutputTarget.h"
#include "cli/StandardStreams.h"
#include "cli/TerminalProgress.h"
#include "cli/UsageError.h"
#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"
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

// The bar lives only as long as the run, so its line is cleared before any other output or error.
bool wantsProgressBar(const Options& options) {
  return !options.quiet && ::isatty(STDERR_FILENO) == 1;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// The streaming extraction's list, in a list without limit so that the output steps are shared. Returns
// its count.
std::int64_t extractUnlimited(const Options& options, TextPane& finalList) {
  finalList.buffer().setCapacity(kUnlimitedCapacity);
  std::vector<std::string> addresses;
  {
    std::optional<TerminalProgress> bar;
    if (wantsProgressBar(options)) bar.emplace();
    addresses = extractAddressesFromFile(options.inputPath, options.separators, bar ? &*bar : nullptr,
                                         {.threads = options.threads});
  }
  finalList.buffer().setDocument(FormattedText::fromPlainText(joinLines(addresses)));
  return finalList.Lines().LineCount();
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

// Leaves the final list in the run's RichEditT2 and returns its count.
std::int64_t extractStaged(const Options& options, StagedExtraction& staged) {
  TextPane source = TextPane::document();
  loadSource(source, options.inputPath);
  std::optional<TerminalProgress> bar;
  if (wantsProgressBar(options)) bar.emplace();
  return staged.run(source.Lines(), options.separators, bar ? &*bar : nullptr);
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

void runExtraction(const Options& options) {
  if (options.outputPath) refuseTargetThatIsInput(*options.outputPath, options.inputPath);
  StagedExtraction staged;
  TextPane& finalList = staged.RichEditT2();
  const std::int64_t count =
      options.unlimited ? extractUnlimited(options, finalList) : extractStaged(options, staged);
  if (options.addCommas) addCommas(finalList);
  if (options.outputPath) {
    saveFinalList(finalList, *options.outputPath);
  } else {
    writeStandardOutput(formatFinalList(finalList, options.encoding));
  }
  if (!options.quiet) writeStandardError("= " + std::to_string(count) + " Email(s)\n");
}

void run(const std::vector<std::string>& arguments) {
  const Options options = parseOptions(arguments);
  switch (options.action) {
    case CliAction::ShowHelp:
      writeStandardOutput(helpText());
      break;
    case CliAction::ShowVersion:
      writeStandardOutput(std::string("glanex-cli ") + fileVersionOf(runningExecutablePath()) + "\n");
      break;
    case CliAction::Extract:
      runExtraction(options);
      break;
  }
}

int reportFailure(const std::string& message) {
  writeStandardError(withFinalDot(message) + "\n");
  return kExitFailure;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments) {
  try {
    run(arguments);
    return kExitSuccess;
  } catch (const UsageError& error) {
    writeStandardError(withFinalDot(error.what()) + "\n" +
                       (error.pointsToHelp() ? "Essayez « glanex-cli --help ».\n" : ""));
    return kExitUsage;
  } catch (...) {
    return reportFailure(userErrorMessage(std::current_exception()));
  }
}

}  // namespace glanex
