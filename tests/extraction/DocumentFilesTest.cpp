#include "extraction/DocumentFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "extraction/Errors.h"
#include "extraction/FileDescriptor.h"
#include "extraction/PosixIo.h"
#include "extraction/RtfReader.h"
#include "support/SystemCallFaults.h"
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
  expectErrorNaming<EFOpenError>([&] { loadedDocument(path); }, "Impossible d'ouvrir le fichier", path);
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
    EXPECT_EQ(loadedDocument(scratch.file("plain.txt")), expected);
  }
}

TEST_F(DocumentFilesTest, ContentNotNameDecidesRtf) {
  writeBytes(scratch.file("formatted.txt"), kRtf);
  EXPECT_EQ(loadedDocument(scratch.file("formatted.txt")), *RtfReader::read(kRtf));

  writeBytes(scratch.file("plain.rtf"), "no {\\rtf here\n");
  EXPECT_EQ(loadedDocument(scratch.file("plain.rtf")), FormattedText::fromPlainText("no {\\rtf here\r\n"));
}

TEST_F(DocumentFilesTest, LoadErrorsNameTheAbsolutePath) {
  expectOpenError(scratch.file("missing.txt"));
  expectOpenError(scratch.path().string());

  const fs::path previous = fs::current_path();
  fs::current_path(scratch.path());
  expectOpenError("relative-missing.txt");
  fs::current_path(previous);
}

TEST_F(DocumentFilesTest, TheWindowTakesOnlyRegularFilesThatFitInMemoryAndNeverWaitsForOne) {
  ASSERT_EQ(::mkfifo(scratch.file("fifo").c_str(), 0600), 0);
  writeBytes(scratch.file("ten.txt"), "0123456789");
  fs::create_symlink("/dev/zero", scratch.file("zero"));
  const std::uint64_t fitsTen = 10 * kPaneBytesPerFileByte;
  const struct {
    const char* name;
    std::string path;
    std::uint64_t available;
    const char* error;  // the start of the message, or none
  } rows[] = {
      {"a file that just fits", scratch.file("ten.txt"), fitsTen, nullptr},
      {"a byte too many", scratch.file("ten.txt"), fitsTen - 1, "Mémoire insuffisante"},
      {"a FIFO without writer", scratch.file("fifo"), fitsTen, "Impossible d'ouvrir le fichier"},
      {"a device behind a link", scratch.file("zero"), fitsTen, "Impossible d'ouvrir le fichier"},
      {"a folder", scratch.path().string(), fitsTen, "Impossible d'ouvrir le fichier"},
      {"a missing file", scratch.file("absent"), fitsTen, "Impossible d'ouvrir le fichier"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      checkWindowCanLoad(row.path, row.available);
      EXPECT_EQ(row.error, nullptr);
    } catch (const GlanexError& error) {
      ASSERT_NE(row.error, nullptr) << error.what();
      EXPECT_EQ(std::string_view(error.what()).substr(0, std::strlen(row.error)), row.error);
    }
  }
  EXPECT_THROW(checkWindowCanLoad(scratch.file("fifo"), fitsTen), EFOpenError);
  try {
    checkWindowCanLoad(scratch.file("zero"), fitsTen);
  } catch (const EFOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier \"" + scratch.file("zero") +
                                             "\". Ce n'est pas un fichier ordinaire.");
  }
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
    EXPECT_EQ(loadedDocument(scratch.file(name)), sampleDocument());
  }
}

TEST_F(DocumentFilesTest, SaveReplacesAFileAndKeepsItsMode) {
  const std::string path = scratch.file("notes.rtf");
  writeBytes(path, "old content that is longer than nothing");
  ::chmod(path.c_str(), 0640);
  saveDocumentFile(path, sampleDocument());
  EXPECT_EQ(loadedDocument(path), sampleDocument());
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
  EXPECT_EQ(loadedDocument(scratch.file("real/target.rtf")), sampleDocument());
  EXPECT_EQ(loadedDocument(scratch.file("real/later.rtf")), sampleDocument());
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

// How the file a save goes to stands before it: absent, alone in a folder that takes new files, or with a
// second hard link, which makes the save write it in place.
enum class Target { NewFile, Replaced, InPlace };

const char* nameOf(Target target) {
  switch (target) {
    case Target::NewFile:
      return "NewFile";
    case Target::Replaced:
      return "Replaced";
    case Target::InPlace:
      return "InPlace";
  }
  return "";
}

constexpr std::string_view kOldContent = "{\\rtf1 ancien contenu}";
constexpr const char* kSecondName = "autre-nom.rtf";

// Sets `path` up as `target` says; returns the names the file then has in its folder, sorted.
std::vector<std::string> arrange(Target target, const fs::path& path) {
  if (target == Target::NewFile) return {};
  writeBytes(path.string(), std::string(kOldContent));
  ::chmod(path.c_str(), 0640);
  if (target == Target::Replaced) return {path.filename().string()};
  fs::create_hard_link(path, path.parent_path() / kSecondName);
  return {kSecondName, path.filename().string()};
}

// The flags the temporary file must be created with: a name taken by anyone else is never reused.
constexpr int kTemporaryFlags = O_CREAT | O_EXCL;
constexpr int kAnyFile = 0;

// The `nth` `call` on the files opened with all of `openFlags` fails with `errorNumber`; a write with 0
// is cut short instead.
struct Refusal {
  SystemCall call;
  int nth;
  int errorNumber;
  int openFlags;
};

void arm(SystemCallFaults& faults, const Refusal& refusal) {
  if (refusal.errorNumber == 0) {
    faults.shortenWrite(refusal.nth, refusal.openFlags);
  } else {
    faults.fail(refusal.call, refusal.nth, refusal.errorNumber, refusal.openFlags);
  }
}

enum class SaveOutcome {
  Unreached,                // the refused call is not on this way of saving, which saves
  Saved,                    // the refusal is met and the save goes on
  CreateError,              // EFCreateError, the old file untouched
  StreamError,              // EOutOfResources, the old file untouched
  StreamErrorAfterWriting,  // EOutOfResources, with the file written in part or whole
};

// One way the system can refuse steps of a save, and how the save ends for each Target.
struct SaveFault {
  const char* name;
  std::vector<Refusal> refusals;
  SaveOutcome newFile;
  SaveOutcome replaced;
  SaveOutcome inPlace;
  const char* description = "";  // the system's text in the EFCreateError message

  SaveOutcome outcomeFor(Target target) const {
    return target == Target::NewFile ? newFile : target == Target::Replaced ? replaced : inPlace;
  }
};

using enum SaveOutcome;
const SaveFault kSaveFaults[] = {
    {"CreateRefused",
     {{SystemCall::Open, 1, EACCES, kTemporaryFlags}},
     CreateError,
     Saved,
     Unreached,
     "Permission refusée"},
    {"CreateOnAFullDisk",
     {{SystemCall::Open, 1, ENOSPC, kTemporaryFlags}},
     CreateError,
     CreateError,
     Unreached,
     "Plus de place sur le périphérique"},
    {"CreateWithoutDescriptors",
     {{SystemCall::Open, 1, EMFILE, kTemporaryFlags}},
     CreateError,
     CreateError,
     Unreached,
     "Trop de fichiers ouverts"},
    {"ModeCopyRefused", {{SystemCall::Fchmod, 1, EPERM, kAnyFile}}, Unreached, StreamError, Unreached},
    {"ReserveOnAFullDisk", {{SystemCall::Fallocate, 1, ENOSPC, kAnyFile}}, Unreached, Unreached, StreamError},
    {"ReserveUnsupported", {{SystemCall::Fallocate, 1, EOPNOTSUPP, kAnyFile}}, Unreached, Unreached, Saved},
    {"ReserveUnsupportedAsInvalid",
     {{SystemCall::Fallocate, 1, EINVAL, kAnyFile}},
     Unreached,
     Unreached,
     Saved},
    {"WriteFails", {{SystemCall::Write, 1, EIO, kAnyFile}}, StreamError, StreamError, StreamError},
    {"DiskFullAtTheFirstWrite",
     {{SystemCall::Write, 1, ENOSPC, kAnyFile}},
     StreamError,
     StreamError,
     StreamError},
    {"ShortWriteThenDiskFull",
     {{SystemCall::Write, 1, 0, kAnyFile}, {SystemCall::Write, 2, ENOSPC, kAnyFile}},
     StreamError,
     StreamError,
     StreamErrorAfterWriting},
    {"TruncateFails",
     {{SystemCall::Ftruncate, 1, EIO, kAnyFile}},
     Unreached,
     Unreached,
     StreamErrorAfterWriting},
    {"SyncFails", {{SystemCall::Fsync, 1, EIO, kAnyFile}}, StreamError, StreamError, StreamErrorAfterWriting},
    {"FlushAtCloseFails",
     {{SystemCall::Close, 1, EIO, kAnyFile}},
     StreamError,
     StreamError,
     StreamErrorAfterWriting},
    {"DiskFullAtClose",
     {{SystemCall::Close, 1, ENOSPC, kAnyFile}},
     StreamError,
     StreamError,
     StreamErrorAfterWriting},
    {"RenameFails", {{SystemCall::Rename, 1, EIO, kAnyFile}}, StreamError, StreamError, Unreached},
    // The new content is in place by then; syncing the folder is a best effort.
    {"FolderSyncFails", {{SystemCall::Fsync, 1, EIO, O_DIRECTORY}}, Saved, Saved, Unreached},
};

void PrintTo(const SaveFault& fault, std::ostream* out) {
  *out << fault.name;
}

class SaveFaultTest : public ::testing::TestWithParam<std::tuple<SaveFault, Target>> {
 protected:
  ScratchDir scratch;
};

TEST_P(SaveFaultTest, EndsAsTheSystemAllowsKeepsTheOldFileWhereItCanAndLeavesNoTemporary) {
  const auto& [fault, target] = GetParam();
  const fs::path path = scratch.path() / "notes.rtf";
  const std::vector<std::string> names = arrange(target, path);
  const SaveOutcome expected = fault.outcomeFor(target);

  std::optional<std::string> createError;
  std::optional<std::string> streamError;
  bool reached = false;
  {
    SystemCallFaults faults;
    for (const Refusal& refusal : fault.refusals) arm(faults, refusal);
    try {
      saveDocumentFile(path.string(), sampleDocument());
    } catch (const EFCreateError& error) {
      createError = error.what();
    } catch (const EOutOfResources& error) {
      streamError = error.what();
    }
    reached = faults.allReached();
  }

  EXPECT_EQ(reached, expected != Unreached)
      << (reached ? "a call this way should not make" : "never refused");
  switch (expected) {
    case CreateError:
      EXPECT_EQ(createError,
                "Impossible de créer le fichier \"" + path.string() + "\". " + fault.description);
      break;
    case StreamError:
    case StreamErrorAfterWriting:
      EXPECT_EQ(streamError, kStreamSaveError);
      break;
    case Unreached:
    case Saved:
      EXPECT_FALSE(createError || streamError) << createError.value_or(streamError.value_or(""));
      break;
  }
  const bool saved = expected == Unreached || expected == Saved;
  const bool untouched = expected == CreateError || expected == StreamError;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    if (saved) {
      EXPECT_EQ(loadedDocument(scratch.file(name)), sampleDocument());
    } else if (untouched) {
      EXPECT_EQ(readBytes(scratch.file(name)), kOldContent);
    }
  }
  if (target != Target::NewFile) {
    EXPECT_EQ(permissionsOf(path.string()), 0640u);
  }
  const bool newFileSaved = target == Target::NewFile && saved;
  EXPECT_EQ(entriesOf(scratch.path()), newFileSaved ? std::vector<std::string>{"notes.rtf"} : names);
}

INSTANTIATE_TEST_SUITE_P(EachStep, SaveFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kSaveFaults),
                                            ::testing::Values(Target::NewFile, Target::Replaced,
                                                              Target::InPlace)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + nameOf(std::get<1>(info.param));
                         });

// The calls of a save in order, each named by what it acts on; consecutive writes count as one.
std::vector<std::string> saveTrace(const std::vector<SystemCallRecord>& records, const fs::path& target) {
  const auto role = [&](const std::string& path) -> std::string {
    const fs::path file(path);
    if (file == target) return "target";
    if (file == target.parent_path()) return "folder";
    const std::string prefix = "." + target.filename().string() + ".";
    if (file.parent_path() == target.parent_path() && file.filename().string().starts_with(prefix)) {
      return "temporary";
    }
    return "other " + path;
  };
  static const char* const kNames[] = {"open",   "write",     "fsync",     "close", "rename", "fchmod",
                                       "fchown", "ftruncate", "fallocate", "read",  "pread"};
  std::vector<std::string> trace;
  for (const SystemCallRecord& record : records) {
    std::string step = std::string(kNames[static_cast<int>(record.call)]) + " " + role(record.path);
    if (record.call == SystemCall::Rename) step += " to " + role(record.renamedTo);
    if (record.call == SystemCall::Open && role(record.path) == "temporary") {
      EXPECT_EQ(record.openFlags & kTemporaryFlags, kTemporaryFlags) << "the temporary must be a new file";
    }
    if (record.result < 0) step += " failed";
    if (trace.empty() || trace.back() != step || record.call != SystemCall::Write) trace.push_back(step);
  }
  return trace;
}

TEST(SaveSteps, ComeInTheirOrderForEachWayOfSaving) {
  const struct {
    Target target;
    std::vector<std::string> calls;
  } kWays[] = {
      {Target::NewFile,
       {"open temporary", "write temporary", "fsync temporary", "close temporary",
        "rename temporary to target", "open folder", "fsync folder", "close folder"}},
      {Target::Replaced,
       {"open target", "open temporary", "fchown temporary", "fchmod temporary", "write temporary",
        "fsync temporary", "close temporary", "rename temporary to target", "open folder", "fsync folder",
        "close folder", "close target"}},
      {Target::InPlace,
       {"open target", "fallocate target", "write target", "ftruncate target", "fsync target",
        "close target"}},
  };
  for (const auto& way : kWays) {
    SCOPED_TRACE(nameOf(way.target));
    const ScratchDir scratch;
    const fs::path target = scratch.path() / "notes.rtf";
    arrange(way.target, target);
    std::vector<SystemCallRecord> records;
    {
      SystemCallFaults faults;
      saveDocumentFile(target.string(), sampleDocument());
      records = faults.records();
    }
    EXPECT_EQ(saveTrace(records, target), way.calls);
  }
}

// What decides between replacing a file and writing it where it stands, for a file longer than the new
// text. Whatever the way, every name of the file reads what a new file saved with the same document holds.
struct IdentityCase {
  const char* name;
  bool (*arrange)(const fs::path& file);  // false when this user cannot set the case up
  std::optional<Refusal> refusal;
  bool keepsInode;
};

bool asItIs(const fs::path&) {
  return true;
}

constexpr uid_t kNobody = 65534;

const IdentityCase kIdentityCases[] = {
    {"AloneInAWritableFolder", asItIs, std::nullopt, false},
    {"WithASecondHardLink",
     [](const fs::path& file) {
       fs::create_hard_link(file, file.parent_path() / kSecondName);
       return true;
     },
     std::nullopt, true},
    {"InAFolderThatRefusesNewFiles", asItIs, Refusal{SystemCall::Open, 1, EACCES, kTemporaryFlags}, true},
    {"InAReadOnlyFolder",
     [](const fs::path& file) { return !runningAsRoot() && ::chmod(file.parent_path().c_str(), 0555) == 0; },
     std::nullopt, true},
    {"WhoseOwnerCannotBeGivenToANewFile", asItIs, Refusal{SystemCall::Fchown, 1, EPERM, kAnyFile}, true},
    {"OwnedByAnotherUserAndGroup",
     [](const fs::path& file) { return runningAsRoot() && ::chown(file.c_str(), kNobody, kNobody) == 0; },
     std::nullopt, false},
};

void PrintTo(const IdentityCase& identityCase, std::ostream* out) {
  *out << identityCase.name;
}

class SaveIdentityTest : public ::testing::TestWithParam<IdentityCase> {
 protected:
  ScratchDir scratch;
};

TEST_P(SaveIdentityTest, KeepsEveryNameTheOwnerAndTheModeAndLeavesNoTail) {
  const IdentityCase& identityCase = GetParam();
  const std::string reference = scratch.file("reference.rtf");
  saveDocumentFile(reference, sampleDocument());
  const fs::path folder = scratch.path() / "dossier";
  fs::create_directory(folder);
  const fs::path file = folder / "notes.rtf";
  writeBytes(file.string(), std::string(3 * fs::file_size(reference), 'x'));
  ::chmod(file.c_str(), 0640);
  if (!identityCase.arrange(file)) GTEST_SKIP() << "this user cannot set the case up";
  struct stat before;
  ASSERT_EQ(::stat(file.c_str(), &before), 0);

  {
    SystemCallFaults faults;
    if (identityCase.refusal) arm(faults, *identityCase.refusal);
    saveDocumentFile(file.string(), sampleDocument());
    EXPECT_TRUE(faults.allReached());
  }

  struct stat after;
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino == before.st_ino, identityCase.keepsInode);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_nlink, before.st_nlink);
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(readBytes(entry.path().string()), readBytes(reference)) << entry.path();
  }
}

INSTANTIATE_TEST_SUITE_P(EachCase, SaveIdentityTest, ::testing::ValuesIn(kIdentityCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A FIFO or a device named as the target is written to, never replaced by a regular file.
TEST_F(DocumentFilesTest, SaveWritesIntoAFifoAndKeepsIt) {
  const std::string fifo = scratch.file("tube");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // More than a pipe holds, so that the save waits for the reader.
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "ligne " + std::to_string(i) + " jean@exemple.fr\r\n";
  const FormattedText document = FormattedText::fromPlainText(text);

  // The reading end is open before the save starts, so a save that goes wrong cannot leave the reader
  // waiting for a writer forever; a reader that sees nothing gives up after a while instead.
  const FileDescriptor reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  ASSERT_TRUE(reader.isOpen());
  std::string received;
  std::thread readerThread([&] {
    pollfd waiting{reader.get(), POLLIN, 0};
    char buffer[4096];
    while (::poll(&waiting, 1, 10'000) > 0) {
      const ssize_t count = ::read(reader.get(), buffer, sizeof buffer);
      if (count == 0) break;
      if (count > 0) received.append(buffer, static_cast<std::size_t>(count));
    }
  });
  try {
    saveDocumentFile(fifo, document);
  } catch (const GlanexError& error) {
    ADD_FAILURE() << error.what();
  }
  readerThread.join();

  EXPECT_EQ(documentFromBytes(received), document);
  struct stat status;
  ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"tube"});
}

// The reader takes one piece of a document larger than a pipe holds, then goes away.
TEST_F(DocumentFilesTest, AFifoWhoseReaderLeavesEarlyIsAStreamErrorNotTheEndOfTheProgram) {
  const std::string fifo = scratch.file("tube");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const FormattedText document = FormattedText::fromPlainText(std::string(1 << 20, 'x'));
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  std::thread readerThread([&] {
    pollfd waiting{reader, POLLIN, 0};
    char buffer[4096];
    const bool ready = ::poll(&waiting, 1, 10'000) > 0;
    const ssize_t taken = ready ? ::read(reader, buffer, sizeof buffer) : 0;
    EXPECT_GT(taken, 0);
    ::close(reader);
  });
  try {
    saveDocumentFile(fifo, document);
    ADD_FAILURE() << "no error";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), kStreamSaveError);
  }
  readerThread.join();
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST_F(DocumentFilesTest, SaveToACharacterDeviceKeepsTheDevice) {
  // A rename over /dev/null as root would break the whole system; root tests on a twin of it instead.
  std::string device = "/dev/null";
  if (runningAsRoot()) {
    device = scratch.file("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no mknod here";
  }
  saveDocumentFile(device, sampleDocument());
  struct stat status;
  ASSERT_EQ(::lstat(device.c_str(), &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
  EXPECT_EQ(status.st_rdev, makedev(1, 3));
  if (runningAsRoot()) {
    EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"null"});
  }
}

// Not tidied either: "a/../b" is not "b" when "a" is missing or a link.
TEST(DisplayPath, IsThePathAsGivenMadeAbsoluteUtf8) {
  const std::string cwd = fs::current_path().string();
  EXPECT_EQ(displayPath("notes.txt"), cwd + "/notes.txt");
  EXPECT_EQ(displayPath("./sub/../b.txt"), cwd + "/./sub/../b.txt");
  EXPECT_EQ(displayPath("/tmp/\xD0\xB0\xF0\x9F\x98\x80"), "/tmp/\xD0\xB0\xF0\x9F\x98\x80");
  EXPECT_EQ(displayPath("/tmp/caf\xE9"), "/tmp/caf\xEF\xBF\xBD");
}

}  // namespace
}  // namespace glanex::test
