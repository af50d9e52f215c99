#include "cli/Options.h"

#include <functional>

#include <gtest/gtest.h>

#include "cli/UsageError.h"

// Suite names start with "cli" so that `ctest -R cli` selects the command line's tests.
namespace glanex {
namespace {

struct AcceptedCase {
  const char* name;
  std::vector<std::string> arguments;
  std::function<void(Options&)> expectedChanges;  // applied to the defaults
};

// Names the case in test output rather than dumping its bytes.
void PrintTo(const AcceptedCase& testCase, std::ostream* out) {
  *out << testCase.name;
}

class cliOptionsAccepted : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(cliOptionsAccepted, GivesTheExpectedOptions) {
  Options expected;
  GetParam().expectedChanges(expected);
  EXPECT_EQ(parseOptions(GetParam().arguments), expected);
}

const AcceptedCase kAcceptedCases[] = {
    {"NothingReadsStandardInput", {}, [](Options&) {}},
    {"FilesAfterOptionsOrBeforeInOrder",
     {"b.txt", "-q", "-", "a.txt"},
     [](Options& o) {
       o.inputPaths = {"b.txt", "-", "a.txt"};
       o.quiet = true;
     }},
    {"DoubleDashEndsOptions",
     {"--", "-q", "-"},
     [](Options& o) {
       o.inputPaths = {"-q", "-"};
     }},
    {"SeparatorsBecomeCp1252",
     {"-s", "\xC3\xA9;\xE2\x82\xAC"},
     [](Options& o) { o.separators = "\xE9;\x80"; }},
    {"EmptySeparatorsAfterEquals", {"--separateurs="}, [](Options& o) { o.separators.clear(); }},
    {"EmptySeparatorsAsNextArgument", {"-s", ""}, [](Options& o) { o.separators.clear(); }},
    {"ValueAttachedToShortOption", {"-s,;"}, [](Options& o) { o.separators = ",;"; }},
    {"ValueMayStartWithDash", {"-o", "-q"}, [](Options& o) { o.outputPath = "-q"; }},
    {"LongValueKeepsLaterEquals", {"--sortie=a=b.rtf"}, [](Options& o) { o.outputPath = "a=b.rtf"; }},
    {"GroupedShortOptionsEndWithValue",
     {"-qe", "cp1252"},
     [](Options& o) {
       o.quiet = true;
       o.encoding = OutputEncoding::Cp1252;
     }},
    {"LaterEncodingWins", {"-e", "cp1252", "--encodage", "utf-8"}, [](Options&) {}},
    {"EncodingNamesInAnyCase", {"-e", "Windows-1252", "-e", "UTF8"}, [](Options&) {}},
    {"Cp1252InCapitals", {"-e", "CP1252"}, [](Options& o) { o.encoding = OutputEncoding::Cp1252; }},
    {"UnambiguousPrefixes",
     {"--sep=;", "--so", "a.rtf", "--vi"},
     [](Options& o) {
       o.separators = ";";
       o.outputPath = "a.rtf";
       o.addCommas = true;
     }},
    {"Commas", {"--virgules"}, [](Options& o) { o.addCommas = true; }},
    {"WithoutLimitIsTheDefault", {"--fenetre", "--sans-limite"}, [](Options&) {}},
    {"WindowRunOnOneFile",
     {"--fenetre", "a.txt"},
     [](Options& o) {
       o.unlimited = false;
       o.inputPaths = {"a.txt"};
     }},
    {"RecursiveIgnoringCase",
     {"-ri", "dossier"},
     [](Options& o) {
       o.recursive = true;
       o.ignoreCase = true;
       o.inputPaths = {"dossier"};
     }},
    {"Threads", {"-j", "3"}, [](Options& o) { o.threads = 3; }},
    {"ThreadsLongAttached", {"--fils=1024"}, [](Options& o) { o.threads = 1024; }},
    {"HelpStopsBeforeLaterMistakes",
     {"-h", "--inconnue"},
     [](Options& o) { o.action = CliAction::ShowHelp; }},
    {"VersionInsideAGroup",
     {"-qV"},
     [](Options& o) {
       o.quiet = true;
       o.action = CliAction::ShowVersion;
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, cliOptionsAccepted, ::testing::ValuesIn(kAcceptedCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RejectedCase {
  const char* name;
  std::vector<std::string> arguments;
};

void PrintTo(const RejectedCase& testCase, std::ostream* out) {
  *out << testCase.name;
}

class cliOptionsRejected : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(cliOptionsRejected, IsAUsageError) {
  EXPECT_THROW(parseOptions(GetParam().arguments), UsageError);
}

const RejectedCase kRejectedCases[] = {
    {"UnknownLongOption", {"--inconnue"}},
    {"UnknownShortOption", {"-x"}},
    {"AmbiguousPrefix", {"--s", "a.rtf"}},
    {"ShortOptionWithoutValue", {"-s"}},
    {"LongOptionWithoutValue", {"a.txt", "--sortie"}},
    {"UnknownEncoding", {"-e", "latin1"}},
    {"ValueForAFlag", {"--virgules=oui"}},
    {"StandardInputTwice", {"-", "a.txt", "-"}},
    {"WindowRunOnTwoFiles", {"--fenetre", "a.txt", "b.txt"}},
    {"WindowRunOnFolders", {"--fenetre", "-r", "dossier"}},
    {"WindowRunIgnoringCase", {"--fenetre", "-i", "a.txt"}},
    {"WindowRunWithThreads", {"--fenetre", "-j", "2", "a.txt"}},
    {"SeparatorWithoutCp1252Form", {"-s", "\xE2\x98\x83"}},
    {"SeparatorNotUtf8", {"-s", "\xFF"}},
    {"NoThreads", {"-j", "0"}},
    {"ThreadsNotANumber", {"--fils", "2x"}},
    {"ThreadsNegative", {"-j-1"}},
    {"TooManyThreads", {"-j", "1025"}},
};

INSTANTIATE_TEST_SUITE_P(Table, cliOptionsRejected, ::testing::ValuesIn(kRejectedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace glanex
