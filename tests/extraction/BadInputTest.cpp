// Broken, hostile and huge source files, loaded into a source pane and run through the extraction as the
// window and the command line do: each gives its result or the system's error, and nothing crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "extraction/Errors.h"
#include "extraction/Pipeline.h"
#include "extraction/StagedExtraction.h"
#include "extraction/TextPane.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using namespace std::string_literals;

namespace fs = std::filesystem;

// A source pane loaded from a file, and the final list the extraction makes of it.
struct Extraction {
  explicit Extraction(const std::string& path) { source.RichLines()->LoadFile(path); }

  std::vector<std::string> addresses() {
    StagedExtraction staged;
    const std::int64_t count = staged.run(source.Lines(), kDefaultSeparators, nullptr);
    const TStrings& finalList = staged.RichEditT2().Lines();
    std::vector<std::string> lines;
    for (std::int64_t i = 0; i < finalList.LineCount(); ++i) lines.push_back(finalList.GetLine(i));
    EXPECT_EQ(count, static_cast<std::int64_t>(lines.size()));
    return lines;
  }

  TextPane source = TextPane::document();
};

// What every final list is, whatever the input: distinct tokens holding "@" and ".", none starting with "@".
void expectSoundFinalList(const std::vector<std::string>& addresses) {
  EXPECT_EQ(std::set<std::string>(addresses.begin(), addresses.end()).size(), addresses.size());
  for (const std::string& address : addresses) {
    EXPECT_NE(address.find('@'), std::string::npos) << address;
    EXPECT_NE(address.find('.'), std::string::npos) << address;
    EXPECT_NE(address.front(), '@') << address;
  }
}

std::string utf16LittleEndian(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += {c, '\0'};
  return bytes;
}

std::string randomBytes(std::uint32_t seed, std::size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;  // a fixed sequence, so a failure repeats
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

class BadInput : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& bytes) {
    writeBytes(scratch.file(name), bytes);
    return scratch.file(name);
  }

  ScratchDir scratch;
};

TEST_F(BadInput, BrokenFilesLoadAsTheirTextAndGiveTheirAddresses) {
  const std::string deepRtf =
      "{\\rtf1 jean@exemple.fr" + std::string(999'999, '{') + "x" + std::string(1'000'000, '}');
  const struct {
    const char* name;
    std::string bytes;
    std::string firstLine;
    std::vector<std::string> addresses;
  } rows[] = {
      // NUL is an ordinary character: it ends neither a line nor a token.
      {"NUL bytes",
       "avant\0 jean@exemple.fr \0apr\xE8s\r\n\0marie@exemple.fr\0\r\n"s,
       "avant\0 jean@exemple.fr \0apr\xE8s"s,
       {"jean@exemple.fr", "\0marie@exemple.fr\0"s}},
      {"only NUL bytes", std::string(1000, '\0'), std::string(1000, '\0'), {}},
      {"empty file", "", "", {}},
      // RTF that the reader refuses is read again as plain text, as it stands.
      {"RTF nested a million groups deep", deepRtf, deepRtf.substr(0, 4096), {"jean@exemple.fr"}},
      {"\\bin with a length past the end",
       "{\\rtf1 jean@exemple.fr\\bin999999 abc}",
       "{\\rtf1 jean@exemple.fr\\bin999999 abc}",
       {"jean@exemple.fr"}},
      {"invalid UTF-8 stays Windows-1252, byte for byte",
       "jos\xC3\xA9@exemple.fr \xC3(\nmarc@exemple.fr",
       "jos\xC3\xA9@exemple.fr \xC3(",
       {"jos\xC3\xA9@exemple.fr", "marc@exemple.fr"}},
      // The odd byte becomes "?", which is a separator.
      {"UTF-16 with an odd number of bytes",
       utf16LittleEndian("jean@exemple.fr\r\nmarc@exemple.fr") + "m",
       "jean@exemple.fr",
       {"jean@exemple.fr", "marc@exemple.fr"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Extraction extraction(write("source", row.bytes));
    EXPECT_EQ(extraction.source.Lines().GetLine(0), row.firstLine);
    EXPECT_EQ(extraction.addresses(), row.addresses);
  }
}

// Either a sound final list or, when the working lists overflow, their error: the window shows either.
// Returns whether the run gave a list.
bool expectListOrOverflow(Extraction& extraction, std::vector<std::string>* addresses = nullptr) {
  try {
    const std::vector<std::string> list = extraction.addresses();
    expectSoundFinalList(list);
    if (addresses != nullptr) *addresses = list;
    return true;
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), kLineInsertionError);
    return false;
  }
}

TEST_F(BadInput, RandomBytesWithOrWithoutAnRtfHeaderGiveASoundListOrTheOverflowError) {
  int lists = 0;
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    for (const std::string header : {"{\\rtf1", "", "\xFF\xFE"}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", header " + header);
      Extraction extraction(write("garbage", header + randomBytes(seed, 20'000) + " jean@exemple.fr\r\n"));
      lists += expectListOrOverflow(extraction) ? 1 : 0;
    }
  }
  EXPECT_GT(lists, 40) << "the overflow should stay the exception";
}

// Machine code is full of "@" bytes (0x40), so its lines usually fill the working lists.
TEST_F(BadInput, AnExecutableLoadsAsTextAndGivesTheAddressesItHoldsOrTheOverflowError) {
  Extraction extraction(write("programme", readBytes("/bin/true") + "\ncontact@exemple.test\n"));
  std::vector<std::string> addresses;
  if (expectListOrOverflow(extraction, &addresses)) {
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), "contact@exemple.test"), addresses.end());
  }
}

// Written in pieces, so that the test itself never holds the whole file.
void writeLongLine(const std::string& path, const std::string& head, std::size_t size,
                   const std::string& tail) {
  std::ofstream out(path, std::ios::binary);
  out << head;
  const std::string block(1 << 20, 'x');
  for (std::size_t written = head.size() + tail.size(); written < size; written += block.size()) {
    out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - written)));
  }
  out << tail;
  ASSERT_TRUE(out.good());
}

// Only the first 4,096 characters of a line reach the extraction, so the address at the end is not seen.
TEST_F(BadInput, A200MegabyteFileWithoutLineBreakGivesTheAddressesOfItsStart) {
  const std::string path = scratch.file("long.txt");
  constexpr std::size_t kSize = 200u << 20;
  writeLongLine(path, "Contact : jean@exemple.fr ", kSize, " fin@exemple.fr");
  ASSERT_EQ(fs::file_size(path), kSize);
  Extraction extraction(path);
  EXPECT_EQ(extraction.source.Lines().LineCount(), 1);
  EXPECT_EQ(extraction.addresses(), std::vector<std::string>{"jean@exemple.fr"});
}

TEST_F(BadInput, AFileThatCannotBeReadIsTheSystemsErrorAndThePaneKeepsItsText) {
  write("fichier", "x");
  fs::create_directory(scratch.path() / "dossier");
  const std::string nonCp1252 = scratch.file("\xD0\xB0\xD0\xB4\xD1\x80\xD0\xB5\xD1\x81\xD0\xB0-caf\xE9");
  const struct {
    const char* name;
    std::string path;
    std::string shownPath;
    const char* description;
  } rows[] = {
      {"missing", scratch.file("absent.txt"), scratch.file("absent.txt"),
       "Aucun fichier ou dossier de ce nom"},
      {"a folder", scratch.file("dossier"), scratch.file("dossier"), "Est un dossier"},
      {"below a file", scratch.file("fichier/absent"), scratch.file("fichier/absent"),
       "N'est pas un dossier"},
      {"name too long", scratch.file(std::string(300, 'n')), scratch.file(std::string(300, 'n')),
       "Nom de fichier trop long"},
      // Only the message turns the name into displayable text; bytes that are no UTF-8 show as U+FFFD.
      {"name outside Windows-1252", nonCp1252,
       scratch.file("\xD0\xB0\xD0\xB4\xD1\x80\xD0\xB5\xD1\x81\xD0\xB0-caf\xEF\xBF\xBD"),
       "Aucun fichier ou dossier de ce nom"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TextPane pane = TextPane::document();
    setPaneText(pane.buffer(), "texte d'avant");
    try {
      pane.RichLines()->LoadFile(row.path);
      ADD_FAILURE() << "no error";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()),
                "Impossible d'ouvrir le fichier \"" + row.shownPath + "\". " + row.description);
    }
    EXPECT_EQ(pane.Lines().GetLine(0), "texte d'avant");
  }
}

TEST_F(BadInput, UnreadableFileIsTheSystemsError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  const std::string path = write("secret.txt", "x");
  fs::permissions(path, fs::perms::none);
  try {
    Extraction extraction(path);
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Impossible d'ouvrir le fichier \"" + path + "\". Permission refusée");
  }
}

// Paths are file-system bytes: a name that Windows-1252 cannot write, or that is no UTF-8, opens and saves.
TEST_F(BadInput, FilesNamedOutsideWindows1252LoadAndSave) {
  for (const std::string name : {"\xD0\xB0\xD0\xB4\xD1\x80\xD0\xB5\xD1\x81\xD0\xB0.txt", "caf\xE9\xFF.txt"}) {
    SCOPED_TRACE(name);
    const std::string source = write(name, "jean@exemple.fr\r\n");
    Extraction extraction(source);
    EXPECT_EQ(extraction.addresses(), std::vector<std::string>{"jean@exemple.fr"});
    const std::string saved = scratch.file("r\xC3\xA9sultat-" + name + ".rtf");
    extraction.source.RichLines()->SaveFile(saved);
    EXPECT_EQ(Extraction(saved).source.buffer().document(), extraction.source.buffer().document());
  }
}

}  // namespace
}  // namespace glanex::test
