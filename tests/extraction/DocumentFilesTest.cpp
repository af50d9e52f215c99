#include "extraction/DocumentFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "extraction/Errors.h"
#include "extraction/RtfReader.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Jean {\\b Dupont}\\par jean@exemple.fr}";

// Root reads and writes whatever the permission bits say, so tests of refused access cannot run as root.
bool runningAsRoot() {
  return ::geteuid() == 0;
}

unsigned permissionsOf(const std::string& path) {
  struct stat status;
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

std::vector<std::string> entriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

FormattedText sampleDocument() {
  FormattedText document = FormattedText::fromPlainText("J\xE9r\xE9my <jeremy@exemple.fr>\r\n\r\nfin");
  CharFormat bold;
  bold.bold = true;
  document.paragraphs[0].runs.push_back({" \x80 5", bold});
  document.paragraphs[2].alignment = Alignment::Center;
  return document;
}

template <typename Error>
void expectErrorNaming(const std::function<void()>& action, const std::string& prefix,
                       const std::string& path) {
  try {
    action();
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    const std::string expected = prefix + " \"" + displayPath(path) + "\". ";
    const std::string message = error.what();
    EXPECT_EQ(message.substr(0, expected.size()), expected);
    EXPECT_GT(message.size(), expected.size()) << "the system's description is missing";
  }
}

void expectOpenError(const std::string& path) {
  expectErrorNaming<EFOpenError>([&] { loadDocumentFile(path); }, "Impossible d'ouvrir le fichier", path);
}

void expectCreateError(const std::string& path) {
  expectErrorNaming<EFCreateError>([&] { saveDocumentFile(path, sampleDocument()); },
                                   "Impossible de créer le fichier", path);
}

class DocumentFilesTest : public ::testing::Test {
 protected:
  ScratchDir scratch;
};

TEST_F(DocumentFilesTest, PlainTextLoadsAsLinesWhateverItsLineBreaks) {
  const FormattedText expected = FormattedText::fromPlainText("caf\xE9\r\n\r\nfin");
  for (const char* content : {"caf\xE9\r\n\r\nfin", "caf\xE9\n\nfin", "caf\xC3\xA9\r\rfin"}) {
    SCOPED_TRACE(content);
    writeBytes(scratch.file("plain.txt"), content);
    EXPECT_EQ(loadDocumentFile(scratch.file("plain.txt")), expected);
  }
}

TEST_F(DocumentFilesTest, ContentNotNameDecidesRtf) {
  writeBytes(scratch.file("formatted.txt"), kRtf);
  EXPECT_EQ(loadDocumentFile(scratch.file("formatted.txt")), *RtfReader::read(kRtf));

  writeBytes(scratch.file("plain.rtf"), "no {\\rtf here\n");
  EXPECT_EQ(loadDocumentFile(scratch.file("plain.rtf")), FormattedText::fromPlainText("no {\\rtf here\r\n"));
}

TEST_F(DocumentFilesTest, LoadErrorsNameTheAbsolutePath) {
  expectOpenError(scratch.file("missing.txt"));
  expectOpenError(scratch.path().string());

  const fs::path previous = fs::current_path();
  fs::current_path(scratch.path());
  expectOpenError("relative-missing.txt");
  fs::current_path(previous);
}

TEST_F(DocumentFilesTest, UnreadableFileIsAnOpenError) {
  if (runningAsRoot()) GTEST_SKIP() << "root reads any file";
  writeBytes(scratch.file("secret.txt"), "x");
  fs::permissions(scratch.file("secret.txt"), fs::perms::none);
  expectOpenError(scratch.file("secret.txt"));
}

TEST_F(DocumentFilesTest, SaveThenLoadGivesTheSameDocument) {
  for (const std::string name :
       {"out.rtf", "\xD0\xB0\xD0\xB4\xD1\x80\xD0\xB5\xD1\x81\xD0\xB0-\xF0\x9F\x98\x80.txt", "caf\xE9.txt"}) {
    SCOPED_TRACE(name);
    saveDocumentFile(scratch.file(name), sampleDocument());
    EXPECT_EQ(loadDocumentFile(scratch.file(name)), sampleDocument());
  }
}

TEST_F(DocumentFilesTest, SaveReplacesAFileAndKeepsItsMode) {
  const std::string path = scratch.file("notes.rtf");
  writeBytes(path, "old content that is longer than nothing");
  ::chmod(path.c_str(), 0640);
  saveDocumentFile(path, sampleDocument());
  EXPECT_EQ(loadDocumentFile(path), sampleDocument());
  EXPECT_EQ(permissionsOf(path), 0640u);
  EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"notes.rtf"});
}

TEST_F(DocumentFilesTest, NewFileGetsItsModeFromTheUmask) {
  for (const mode_t mask : {mode_t{022}, mode_t{027}}) {
    const mode_t previous = ::umask(mask);
    const std::string path = scratch.file("new-" + std::to_string(mask) + ".rtf");
    saveDocumentFile(path, sampleDocument());
    ::umask(previous);
    EXPECT_EQ(permissionsOf(path), 0666u & ~mask);
  }
}

TEST_F(DocumentFilesTest, SaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
  fs::create_directory(scratch.path() / "real");
  writeBytes(scratch.file("real/target.rtf"), "old");
  fs::create_symlink("real/target.rtf", scratch.path() / "link.rtf");
  fs::create_symlink("real/later.rtf", scratch.path() / "dangling.rtf");

  saveDocumentFile(scratch.file("link.rtf"), sampleDocument());
  saveDocumentFile(scratch.file("dangling.rtf"), sampleDocument());

  EXPECT_TRUE(fs::is_symlink(scratch.path() / "link.rtf"));
  EXPECT_TRUE(fs::is_symlink(scratch.path() / "dangling.rtf"));
  EXPECT_EQ(loadDocumentFile(scratch.file("real/target.rtf")), sampleDocument());
  EXPECT_EQ(loadDocumentFile(scratch.file("real/later.rtf")), sampleDocument());
  EXPECT_EQ(entriesOf(scratch.path() / "real"), (std::vector<std::string>{"later.rtf", "target.rtf"}));
}

TEST_F(DocumentFilesTest, SaveWhereNoFileCanBeCreatedNamesTheTargetAndLeavesNothing) {
  expectCreateError(scratch.file("missing/out.rtf"));
  fs::create_directory(scratch.path() / "folder.rtf");
  expectCreateError(scratch.file("folder.rtf"));
  EXPECT_TRUE(fs::is_empty(scratch.path() / "folder.rtf"));
  EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"folder.rtf"});
}

TEST_F(DocumentFilesTest, SaveRefusesAReadOnlyFileOrFolder) {
  if (runningAsRoot()) GTEST_SKIP() << "root writes any file";
  writeBytes(scratch.file("locked.rtf"), "old");
  ::chmod(scratch.file("locked.rtf").c_str(), 0444);
  expectCreateError(scratch.file("locked.rtf"));
  EXPECT_EQ(readBytes(scratch.file("locked.rtf")), "old");

  fs::create_directory(scratch.path() / "closed");
  ::chmod(scratch.file("closed").c_str(), 0555);
  expectCreateError(scratch.file("closed/out.rtf"));
  EXPECT_TRUE(fs::is_empty(scratch.path() / "closed"));
}

// A file size limit makes the write itself fail, even for root, after the temporary file exists.
TEST_F(DocumentFilesTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string path = scratch.file("kept.rtf");
  writeBytes(path, "old");
  rlimit previousLimit;
  ::getrlimit(RLIMIT_FSIZE, &previousLimit);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = previousLimit;
  tiny.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &tiny);

  try {
    saveDocumentFile(path, sampleDocument());
    ADD_FAILURE() << "no error";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), kStreamSaveError);
  }
  ::setrlimit(RLIMIT_FSIZE, &previousLimit);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(readBytes(path), "old");
  EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"kept.rtf"});
}

TEST(DisplayPath, IsAbsoluteUtf8WithoutResolvingLinks) {
  const std::string cwd = fs::current_path().string();
  EXPECT_EQ(displayPath("notes.txt"), cwd + "/notes.txt");
  EXPECT_EQ(displayPath("/tmp/./a/../b.txt"), "/tmp/b.txt");
  EXPECT_EQ(displayPath("/tmp/\xD0\xB0\xF0\x9F\x98\x80"), "/tmp/\xD0\xB0\xF0\x9F\x98\x80");
  EXPECT_EQ(displayPath("/tmp/caf\xE9"), "/tmp/caf\xEF\xBF\xBD");
}

}  // namespace
}  // namespace glanex::test
