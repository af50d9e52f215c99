#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "app/StartupArguments.h"

namespace glanex {
namespace {

using Action = StartupArguments::Action;

TEST(StartupArguments, ReadsOptionsUntilDoubleDashAndOneFile) {
  const struct {
    std::vector<std::string> arguments;
    Action action;
    std::optional<std::string> file;
  } rows[] = {
      {{}, Action::OpenWindow, std::nullopt},
      {{"lettre.rtf"}, Action::OpenWindow, "lettre.rtf"},
      {{"-"}, Action::OpenWindow, "-"},
      {{"--", "--help"}, Action::OpenWindow, "--help"},
      {{"lettre.rtf", "--version"}, Action::ShowVersion, "lettre.rtf"},
      {{"-h", "--inconnue"}, Action::ShowHelp, std::nullopt},
      {{"--inconnue"}, Action::Refuse, std::nullopt},
      {{"-help"}, Action::Refuse, std::nullopt},
      {{"a.txt", "b.txt"}, Action::Refuse, std::nullopt},
  };
  for (const auto& row : rows) {
    const StartupArguments read = readStartupArguments(row.arguments);
    EXPECT_EQ(read.action, row.action) << testing::PrintToString(row.arguments);
    EXPECT_EQ(read.file, row.file) << testing::PrintToString(row.arguments);
  }
}

struct Answer {
  int status = -1;
  std::string output;
};

// The built program with no display of any kind, its two output streams together.
Answer runWithoutDisplay(const std::string& arguments) {
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " GLANEX_PATH " " +
                              arguments + " 2>&1 </dev/null";
  Answer answer;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return answer;
  char buffer[4096];
  for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    answer.output.append(buffer, read);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) answer.status = WEXITSTATUS(status);
  return answer;
}

TEST(StartupArguments, HelpVersionAndMistakesNeedNoDisplay) {
  const struct {
    const char* arguments;
    int status;
    std::string output;
  } rows[] = {
      {"--version", 0, std::string("glanex ") + GLANEX_PROJECT_VERSION + "\n"},
      {"-h", 0, startupHelpText()},
      {"--aide", 2, "glanex : option inconnue « --aide ».\nEssayez « glanex --help ».\n"},
  };
  for (const auto& row : rows) {
    const Answer answer = runWithoutDisplay(row.arguments);
    EXPECT_EQ(answer.status, row.status) << row.arguments;
    EXPECT_EQ(answer.output, row.output) << row.arguments;
  }
}

}  // namespace
}  // namespace glanex
