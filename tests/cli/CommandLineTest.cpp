#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "extraction/TextPane.h"
#include "support/TestSupport.h"

extern char** environ;

namespace glanex {
namespace {

using namespace std::string_literals;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

const std::string kExample = std::string(GLANEX_SAMPLES_DIR) + "/exemple.txt";
const std::string kExampleList = "bob@ex.test\nmarc@ex.test\nanne@ex.test\n";
const std::string kOverflowError =
    "Erreur d'insertion de ligne RichEdit.\nSans --fenetre, glanex-cli n'a pas cette limite.\n";

// Runs the built program with its standard streams on files of a scratch folder.
class cliRun : public ::testing::Test {
 protected:
  Outcome run(std::vector<std::string> arguments, const std::string& input = "",
              const std::string& stdoutPath = "") {
    const std::string inPath = scratch_.file("stdin");
    test::writeBytes(inPath, input);
    return runRedirected(std::move(arguments), inPath, stdoutPath, O_TRUNC);
  }

  // Standard input opened on `inPath` as "<" opens it, a folder too; standard output on `stdoutPath` opened
  // with `outputMode`: O_TRUNC as ">" does, O_APPEND as ">>" does.
  Outcome runRedirected(std::vector<std::string> arguments, const std::string& inPath,
                        const std::string& stdoutPath, int outputMode) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    return spawn(std::move(arguments), actions, stdoutPath, outputMode, [] {});
  }

  // The same with standard input a pipe, which cannot be read twice.
  Outcome runWithPipedInput(std::vector<std::string> arguments, const std::string& input) {
    int ends[2];
    if (pipe(ends) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], 0);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    return spawn(std::move(arguments), actions, "", O_TRUNC, [&] {
      close(ends[0]);
      EXPECT_EQ(write(ends[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
      close(ends[1]);
    });
  }

  // Runs the program with `actions` for standard input; `feed` runs once it has started.
  template <typename Feed>
  Outcome spawn(std::vector<std::string> arguments, posix_spawn_file_actions_t& actions,
                const std::string& stdoutPath, int outputMode, Feed feed) {
    const std::string outPath = stdoutPath.empty() ? scratch_.file("stdout") : stdoutPath;
    const std::string errPath = scratch_.file("stderr");
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | outputMode, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    arguments.insert(arguments.begin(), GLANEX_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, GLANEX_CLI_PATH, &actions, nullptr, argv.data(), environ) == 0) {
      feed();
      int wstatus = 0;
      waitpid(pid, &wstatus, 0);
      if (WIFEXITED(wstatus)) outcome.status = WEXITSTATUS(wstatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutPath.empty()) outcome.out = test::readBytes(outPath);
    outcome.err = test::readBytes(errPath);
    return outcome;
  }

  std::string writeSource(const std::string& bytes) {
    const std::string path = scratch_.file("source.txt");
    test::writeBytes(path, bytes);
    return path;
  }

  test::ScratchDir scratch_;
};

TEST_F(cliRun, PrintsTheWorkedExampleFromAFileOrStandardInput) {
  const Outcome fromFile = run({kExample});
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, kExampleList);
  EXPECT_EQ(fromFile.err, "= 3 Email(s)\n");

  const std::string bytes = test::readBytes(kExample);
  for (const auto& arguments : {std::vector<std::string>{"-"}, std::vector<std::string>{}}) {
    const Outcome fromInput = run(arguments, bytes);
    EXPECT_EQ(fromInput.status, 0);
    EXPECT_EQ(fromInput.out, kExampleList);
    EXPECT_EQ(fromInput.err, "= 3 Email(s)\n");
  }
}

TEST_F(cliRun, TakesSeparatorsInUtf8) {
  const std::string source = writeSource("Zo\xC3\xA9.lu@ex.test\r\n");
  // Only once converted to Windows-1252 does "é" end the token before ".lu".
  EXPECT_EQ(run({"-q", "-s", "\xC3\xA9 ", source}).out, ".lu@ex.test\n");
  EXPECT_EQ(run({"-q", "-s", " ", source}).out, "Zo\xC3\xA9.lu@ex.test\n");

  const Outcome snowman = run({"-s", "\xE2\x98\x83", source});
  EXPECT_EQ(snowman.status, 2);
  EXPECT_EQ(snowman.out, "");
  EXPECT_NE(snowman.err.find("glanex-cli --help"), std::string::npos);
}

TEST_F(cliRun, AddsCommasEvenBeyondTheWorkingListCapacity) {
  EXPECT_EQ(run({"-q", "--virgules", kExample}).out, "bob@ex.test,\nmarc@ex.test,\nanne@ex.test,\n");

  // Distinct addresses that fill the working lists nearly to their 65,536 characters.
  std::string source;
  std::int64_t stageLength = 0;
  int lines = 0;
  for (;; ++lines) {
    const std::string line = "u" + std::to_string(lines) + "@ex.test";
    if (stageLength + static_cast<std::int64_t>(line.size()) + 2 > 65'000) break;
    stageLength += static_cast<std::int64_t>(line.size()) + 2;
    source += line + "\r\n";
  }
  const Outcome outcome = run({"-q", "--fenetre", "--virgules", writeSource(source)});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), lines);
  EXPECT_EQ(outcome.out.find("t\n"), std::string::npos) << "a line lost its comma";
}

TEST_F(cliRun, PrintsEveryAddressWhole) {
  const std::string longest = std::string(4'996, 'a') + "@ex.test";
  const std::string lineLong = std::string(4'088, 'b') + "@ex.test";
  const std::string blockEdge = std::string((1 << 20) - 3, 'x') + " a.b@c.d ";
  const struct {
    const char* name;
    std::string source;
    std::vector<std::string> arguments;
    std::string out;
  } rows[] = {
      {"5,004 characters", longest + "\r\n", {}, longest + "\n"},
      {"4,096 characters and a comma", lineLong + "\r\n", {"--fenetre", "--virgules"}, lineLong + ",\n"},
      {"4,096 characters and a comma, streaming",
       lineLong + "\r\n",
       {"--sans-limite", "--virgules"},
       lineLong + ",\n"},
      {"\"@\" separator after a non-ASCII byte",
       "a.b\xFE@c\n",
       {"--sans-limite", "-s", " @"},
       "a.b\xC3\xBE\n"},
      {"\"@\" separator across a read block's edge", blockEdge, {"--sans-limite", "-s", " @"}, "a.b\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.end(), {"-q", writeSource(row.source)});
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.out == row.out) << outcome.out.size() << " bytes: " << outcome.out.substr(0, 40);
  }
}

TEST_F(cliRun, SavesTheListAsRtfThatLoadsBack) {
  const std::string target = scratch_.file("liste.rtf");
  test::writeBytes(target, "ancien contenu");
  const Outcome outcome = run({"-o", target, kExample});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "= 3 Email(s)\n");

  EXPECT_EQ(test::readBytes(target).rfind("{\\rtf", 0), 0u);
  TextPane reloaded = TextPane::document();
  reloaded.RichLines()->LoadFile(target);
  ASSERT_EQ(reloaded.Lines().LineCount(), 3);
  EXPECT_EQ(reloaded.Lines().GetLine(0), "bob@ex.test");
  EXPECT_EQ(reloaded.Lines().GetLine(2), "anne@ex.test");
}

TEST_F(cliRun, RefusesToReplaceItsInputBeforeReadingIt) {
  const std::string text = "jean@exemple.fr\r\n";
  const std::string source = writeSource(text);
  const std::string hardLink = scratch_.file("lien-physique.txt");
  const std::string symbolicLink = scratch_.file("lien-symbolique.txt");
  ASSERT_EQ(link(source.c_str(), hardLink.c_str()), 0);
  ASSERT_EQ(symlink(source.c_str(), symbolicLink.c_str()), 0);
  const std::string stdinPath = scratch_.file("stdin");
  test::writeBytes(stdinPath, "");
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    std::string input;
    std::string output;
  } rows[] = {
      // The target follows "-o" first in every row.
      {"the same path", {"-o", source, source}, stdinPath, ""},
      {"the same path, window's run", {"-o", source, "--fenetre", source}, stdinPath, ""},
      {"a hard link", {"-o", hardLink, source}, stdinPath, ""},
      {"a symbolic link", {"-o", symbolicLink, source}, stdinPath, ""},
      {"standard input", {"-o", source}, source, ""},
      {"standard output appended to the input", {"-o", "/dev/stdout", source}, stdinPath, source},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Outcome outcome = runRedirected(row.arguments, row.input, row.output, O_APPEND);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "Le fichier \"" + row.arguments[1] +
                               "\" est à la fois lu et remplacé : choisissez une autre sortie.\n");
    EXPECT_EQ(test::readBytes(source), text);
  }
}

// Replacing the file would lose what it held, and what standard output already wrote to it.
TEST_F(cliRun, SavesThroughStandardOutputWhenTheTargetIsTheFileItIsOpenOn) {
  const std::string log = scratch_.file("journal.txt");
  for (const std::string target : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1", log.c_str()}) {
    SCOPED_TRACE(target);
    test::writeBytes(log, "lignes d'avant\n");
    const Outcome outcome = runRedirected({"-q", "-o", target, kExample}, kExample, log, O_APPEND);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string logged = test::readBytes(log);
    EXPECT_TRUE(logged.starts_with("lignes d'avant\n{\\rtf")) << logged.substr(0, 40);
  }
}

TEST_F(cliRun, PrintsInTheChosenEncoding) {
  const std::string source = writeSource("Voir andr\xC3\x89@ex.test\r\n");
  EXPECT_EQ(run({"-q", source}).out, "andr\xC3\x89@ex.test\n");
  EXPECT_EQ(run({"-q", "-e", "utf-8", source}).out, "andr\xC3\x89@ex.test\n");
  EXPECT_EQ(run({"-q", "-e", "cp1252", source}).out, "andr\xC9@ex.test\n");
}

TEST_F(cliRun, QuietLeavesStandardErrorEmpty) {
  const Outcome outcome = run({"-q", kExample});
  EXPECT_EQ(outcome.out, kExampleList);
  EXPECT_EQ(outcome.err, "");
}

TEST_F(cliRun, ReportsSystemErrorsWithStatusOneAndNoOutput) {
  const Outcome missing = run({scratch_.file("absent.txt")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err.rfind("Impossible d'ouvrir le fichier \"/", 0), 0u) << missing.err;
  EXPECT_TRUE(missing.err.ends_with(".\n")) << missing.err;

  std::string source;
  for (int i = 0; i < 3000; ++i) source += "xxxxxxxxxxxxxxxxxx a@b.test yyyyyyy\r\n";
  const Outcome overflow = run({"--fenetre", writeSource(source)});
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(overflow.out, "");
  EXPECT_EQ(overflow.err, kOverflowError);

  const Outcome fullOutput = run({kExample}, "", "/dev/full");
  EXPECT_EQ(fullOutput.status, 1);
  EXPECT_EQ(fullOutput.err, "Erreur \xC3\xA0 l'enregistrement du flux.\n");
}

TEST_F(cliRun, BadSourcesGiveTheirListOrTheSystemsErrorNeverACrash) {
  std::filesystem::create_directory(scratch_.path() / "dossier");
  const struct {
    const char* name;
    std::string path;
    int status;
    std::string out;
    std::string err;
  } rows[] = {
      {"missing file", scratch_.file("absent.txt"), 1, "",
       "Impossible d'ouvrir le fichier \"" + scratch_.file("absent.txt") +
           "\". Aucun fichier ou dossier de ce nom.\n"},
      {"folder", scratch_.file("dossier"), 1, "",
       "Impossible d'ouvrir le fichier \"" + scratch_.file("dossier") + "\". Est un dossier.\n"},
      // NUL is an ordinary character, in the list as in the source.
      {"NUL bytes", writeSource("avant\0 jean@exemple.fr \0\r\n\0marie@exemple.fr\0\r\n"s), 0,
       "jean@exemple.fr\n\0marie@exemple.fr\0\n"s, "= 2 Email(s)\n"},
      // The system does not tidy "sub/.." away when sub/ is missing, so neither does the message.
      {"existing file behind a missing folder", scratch_.file("sub/../source.txt"), 1, "",
       "Impossible d'ouvrir le fichier \"" + scratch_.file("sub/../source.txt") +
           "\". Aucun fichier ou dossier de ce nom.\n"},
      // Only the message makes the name displayable; bytes that are no UTF-8 show as U+FFFD.
      {"missing file named outside Windows-1252", scratch_.file("\xD0\xB0-caf\xE9.txt"), 1, "",
       "Impossible d'ouvrir le fichier \"" + scratch_.file("\xD0\xB0-caf\xEF\xBF\xBD.txt") +
           "\". Aucun fichier ou dossier de ce nom.\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Outcome outcome = run({row.path});
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_EQ(outcome.out, row.out);
    EXPECT_EQ(outcome.err, row.err);
  }
}

TEST_F(cliRun, NamesStandardInputAndTheSystemsReasonWhenItCannotBeRead) {
  for (const char* engine : {"--fenetre", "--sans-limite"}) {
    SCOPED_TRACE(engine);
    const Outcome outcome = runRedirected({engine}, scratch_.path().string(), "", O_TRUNC);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Impossible de lire l'entrée standard. Est un dossier.\n");
  }
}

// Lowers this process's address space limit for as long as it lives, so that the programs it starts,
// which inherit the limit, run out of memory early.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(rlim_t headroom) {
    getrlimit(RLIMIT_AS, &saved_);
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    rlimit lowered = saved_;
    lowered.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + headroom;
    setrlimit(RLIMIT_AS, &lowered);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

 private:
  rlimit saved_{};
};

// Gigabytes of text without a separator make one token that outgrows memory: the user reads it in French.
TEST_F(cliRun, SaysMemoryRanOutInFrench) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address space limit";
#endif
  const std::string zeros = scratch_.file("zeros");
  test::writeBytes(zeros, "");
  ASSERT_EQ(truncate(zeros.c_str(), off_t{2} << 30), 0);
  Outcome outcome;
  {
    const AddressSpaceLimit limit(rlim_t{256} << 20);
    outcome = run({"-q", "--sans-limite", zeros});
  }
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Mémoire insuffisante.\n");
}

// Machine code is full of "@" bytes (0x40), so its lines usually fill the working lists.
TEST_F(cliRun, AnExecutableGivesItsListOrTheOverflowError) {
  const std::string program = writeSource(test::readBytes("/bin/true") + "\ncontact@exemple.test\n");
  const Outcome outcome = run({"--fenetre", program});
  if (outcome.status == 1) {
    EXPECT_EQ(outcome.err, kOverflowError);
    EXPECT_EQ(outcome.out, "");
  } else {
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("contact@exemple.test\n"), std::string::npos);
  }
}

TEST_F(cliRun, A200MegabyteLineWithoutLineBreakGivesItsAddress) {
  const std::string path = scratch_.file("long.txt");
  {
    // Written in pieces, so that the test itself never holds the whole file.
    std::ofstream out(path, std::ios::binary);
    out << "Contact : jean@exemple.fr ";
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 200; ++i) out << block;
    out << " fin@exemple.fr";
    ASSERT_TRUE(out.good());
  }
  // The window's run reads the line's first 4,096 characters; the streaming one reads it all.
  const Outcome outcome = run({"--fenetre", path});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "jean@exemple.fr\n");
  EXPECT_EQ(outcome.err, "= 1 Email(s)\n");
  const Outcome unlimited = run({path});
  EXPECT_EQ(unlimited.status, 0) << unlimited.err;
  EXPECT_EQ(unlimited.out, "jean@exemple.fr\nfin@exemple.fr\n");
  EXPECT_EQ(unlimited.err, "= 2 Email(s)\n");
}

TEST_F(cliRun, WithoutLimitGivesTheStagedListsFromFilesPipesAndRtf) {
  const std::string bytes = test::readBytes(kExample);
  for (const Outcome& outcome : {run({"--sans-limite", kExample}), run({"--sans-limite"}, bytes),
                                 runWithPipedInput({"--sans-limite", "-"}, bytes)}) {
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, kExampleList);
    EXPECT_EQ(outcome.err, "= 3 Email(s)\n");
  }
  // A pipe bigger than its buffer, with few enough candidate lines for the staged run.
  std::string big;
  for (int i = 0; i < 20'000; ++i) {
    big += i % 10 == 0 ? "de u" + std::to_string(i % 70) + "@ex.test\r\n" : "ligne sans adresse\r\n";
  }
  const Outcome staged = runWithPipedInput({"-q", "--fenetre"}, big);
  EXPECT_EQ(staged.status, 0) << staged.err;
  EXPECT_EQ(runWithPipedInput({"-q", "--sans-limite"}, big).out, staged.out);
  // A pipe is read once and never copied: no temporary folder is needed, whatever the threads.
  const char* const savedFolder = std::getenv("TMPDIR");
  const std::string saved = savedFolder != nullptr ? savedFolder : "";
  setenv("TMPDIR", scratch_.file("absent").c_str(), 1);
  for (const char* threads : {"1", "3"}) {
    EXPECT_EQ(runWithPipedInput({"-q", "--sans-limite", "-j", threads}, big).out, staged.out) << threads;
  }
  savedFolder != nullptr ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
  for (const char* sample : {"club-libreoffice", "compte-rendu-pandoc"}) {
    const Outcome outcome = run({"-q", "--sans-limite", test::testDataFile(std::string(sample) + ".rtf")});
    EXPECT_EQ(outcome.out, test::readBytes(test::testDataFile(std::string(sample) + ".expected"))) << sample;
  }
}

TEST_F(cliRun, WithoutLimitTakesWhatOverflowsTheWorkingLists) {
  std::string source;
  for (int i = 0; i < 5'000; ++i) source += "u" + std::to_string(i) + "@ex.test\r\n";
  const std::string path = writeSource(source);
  const Outcome staged = run({"--fenetre", path});
  EXPECT_EQ(staged.status, 1);
  EXPECT_EQ(staged.err, kOverflowError);

  const Outcome unlimited = run({"--sans-limite", "--virgules", path});
  EXPECT_EQ(unlimited.status, 0) << unlimited.err;
  EXPECT_EQ(unlimited.err, "= 5000 Email(s)\n");
  EXPECT_TRUE(unlimited.out.starts_with("u0@ex.test,\nu1@ex.test,\n"));
  EXPECT_TRUE(unlimited.out.ends_with("u4999@ex.test,\n"));

  const std::string saved = scratch_.file("liste.rtf");
  EXPECT_EQ(run({"-q", "--sans-limite", "-o", saved, path}).status, 0);
  EXPECT_EQ(run({"-q", "--sans-limite", saved}).out, run({"-q", "--sans-limite", path}).out);
}

// Paths are file-system bytes: a name that Windows-1252 cannot write, or that is no UTF-8, opens and saves.
TEST_F(cliRun, ReadsAndWritesFilesNamedOutsideWindows1252) {
  for (const std::string name : {"\xD0\xB0\xD0\xB4\xD1\x80\xD0\xB5\xD1\x81\xD0\xB0", "caf\xE9\xFF"}) {
    SCOPED_TRACE(name);
    const std::string source = scratch_.file(name + ".txt");
    test::writeBytes(source, "jean@exemple.fr\r\n");
    const std::string target = scratch_.file(name + ".rtf");
    const Outcome outcome = run({"-q", "-o", target, source});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(run({"-q", target}).out, "jean@exemple.fr\n");
  }
}

// Several inputs make one list, as if read one after the other; what cannot be read is named, the rest is
// read, and the status says that something was missing.
TEST_F(cliRun, ReadsSeveralFilesAndFoldersAsOneList) {
  namespace fs = std::filesystem;
  const std::string un = scratch_.file("un.txt");
  const std::string deux = scratch_.file("deux.txt");
  const std::string folder = scratch_.file("dossier");
  test::writeBytes(un, "a@x.fr b@x.fr\r\n");
  test::writeBytes(deux, "B@X.fr c@y.fr a@x.fr");
  fs::create_directories(folder + "/a");
  test::writeBytes(folder + "/b.txt", "z@d.fr\n");
  test::writeBytes(folder + "/a/c.txt", "y@d.fr\n");
  test::writeBytes(folder + "/liste.rtf", "o@sortie.fr\n");
  fs::create_directory_symlink("..", folder + "/a/boucle");
  fs::create_symlink("absent", folder + "/casse");
  ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0600), 0);
  const std::string broken =
      "Impossible d'ouvrir le fichier \"" + folder + "/casse\". Aucun fichier ou dossier de ce nom.\n";
  const std::string missing = "Impossible d'ouvrir le fichier \"" + scratch_.file("absent") +
                              "\". Aucun fichier ou dossier de ce nom.\n";
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string err;
  } rows[] = {
      {"files in the order given", {deux, un}, 0, "B@X.fr\nc@y.fr\na@x.fr\nb@x.fr\n", ""},
      {"no token spans two files", {un, deux}, 0, "b@x.fr\nB@X.fr\nc@y.fr\na@x.fr\n", ""},
      {"ASCII case ignored, last spelling kept", {"-i", un, deux}, 0, "B@X.fr\nc@y.fr\na@x.fr\n", ""},
      {"standard input among files", {un, "-", deux}, 0, "b@x.fr\nstdin@x.fr\nB@X.fr\nc@y.fr\na@x.fr\n", ""},
      {"standard input twice",
       {"-", "-"},
       2,
       "",
       "L'entrée standard « - » ne peut être lue qu'une fois.\nEssayez « glanex-cli --help ».\n"},
      {"a missing file among others",
       {un, scratch_.file("absent"), deux},
       1,
       "b@x.fr\nB@X.fr\nc@y.fr\na@x.fr\n",
       missing},
      {"a folder walked in name order, links to folders and FIFOs skipped",
       {"-r", folder, un},
       1,
       "y@d.fr\nz@d.fr\no@sortie.fr\na@x.fr\nb@x.fr\n",
       broken},
      {"a folder walked, the -o target skipped",
       {"-r", folder, "--sortie", folder + "/liste.rtf"},
       1,
       "",
       broken},
      {"a folder without -r",
       {folder},
       1,
       "",
       "Impossible d'ouvrir le fichier \"" + folder + "\". Est un dossier.\n"},
      {"encoding names in any case", {"--enc", "WINDOWS-1252", "-e", "UTF-8", un}, 0, "a@x.fr\nb@x.fr\n", ""},
      {"an ambiguous prefix",
       {"--s", un},
       2,
       "",
       "Option ambiguë : « --s » (--separateurs, --sortie, --sans-limite, --silencieux)\n"
       "Essayez « glanex-cli --help ».\n"},
      {"names after -- are files",
       {"--", "-q"},
       1,
       "",
       "Impossible d'ouvrir le fichier \"" + scratch_.path().string() +
           "/-q\". Aucun fichier ou dossier de ce nom.\n"},
      {"the window's run takes one file",
       {"--fenetre", un, deux},
       2,
       "",
       "--fenetre lit un seul fichier, comme la fenêtre.\nEssayez « glanex-cli --help ».\n"},
  };
  const std::string previous = fs::current_path();
  fs::current_path(scratch_.path());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> arguments = row.arguments;
    arguments.insert(arguments.begin(), "-q");
    const Outcome outcome = run(arguments, "stdin@x.fr");
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_EQ(outcome.out, row.out);
    EXPECT_EQ(outcome.err, row.err);
  }
  fs::current_path(previous);
  EXPECT_EQ(run({"-q", folder + "/liste.rtf"}).out, "y@d.fr\nz@d.fr\n") << "the walk read its own output";
}

TEST_F(cliRun, AnswersVersionAndUsageErrors) {
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("glanex-cli ") + GLANEX_PROJECT_VERSION + "\n");

  const Outcome unknown = run({"--inconnue", kExample});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("--inconnue"), std::string::npos);
}

}  // namespace
}  // namespace glanex
