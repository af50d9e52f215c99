#include "extraction/DocumentFormats.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <signal.h>
#include <zip.h>

#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"
#include "extraction/PdfReader.h"
#include "extraction/Pipeline.h"
#include "extraction/StagedExtraction.h"
#include "extraction/StreamingExtraction.h"
#include "extraction/TextEncoding.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using Addresses = AddressList;

// What the window lists after loading the file into its source pane and running the extraction.
Addresses windowList(const std::string& path) {
  TextPane source = TextPane::document();
  source.RichLines()->LoadFile(path);
  StagedExtraction staged;
  staged.run(source.Lines(), kDefaultSeparators, nullptr);
  const TStrings& list = staged.RichEditT2().Lines();
  Addresses addresses;
  for (std::int64_t i = 0; i < list.LineCount(); ++i) addresses.push_back(list.GetLine(i));
  return addresses;
}

Addresses streamedList(const std::string& path) {
  return extractAddressesFromFile(path, kDefaultSeparators, nullptr);
}

Addresses linesOf(const std::string& text) {
  Addresses lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

TEST(DocumentFormats, EverySampleGivesItsListThroughBothEngines) {
  for (const char* sample : {"lettre-libreoffice.docx", "lettre-libreoffice.odt", "budget-libreoffice.xlsx",
                             "budget-libreoffice.ods", "reunion-libreoffice.pptx", "reunion-libreoffice.odp",
                             "fete-python.eml", "archive-python.mbox"}) {
    SCOPED_TRACE(sample);
    const std::string path = testDataFile(sample);
    const Addresses expected = linesOf(readBytes(path + ".expected"));
    EXPECT_EQ(windowList(path), expected);
    EXPECT_EQ(streamedList(path), expected);
  }
}

#ifdef GLANEX_WITH_PDF
TEST(DocumentFormats, ReadsPdfPagesThroughBothEnginesAndRefusesOneThatNeedsAPassword) {
  const std::string path = testDataFile("lettre-libreoffice.pdf");
  const Addresses expected = linesOf(readBytes(path + ".expected"));
  EXPECT_EQ(windowList(path), expected);
  EXPECT_EQ(streamedList(path), expected);

  const std::string locked = testDataFile("lettre-mot-de-passe-libreoffice.pdf");
  const std::string reason = "Ce document PDF est prot\xC3\xA9g\xC3\xA9 par un mot de passe";
  for (const auto& open : std::vector<std::function<void()>>{[&] { readDocumentFile(locked); },
                                                             [&] { checkWindowCanLoad(locked, UINT64_MAX); },
                                                             [&] { streamedList(locked); }}) {
    try {
      open();
      ADD_FAILURE() << "opened";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier \"" + locked + "\". " + reason);
    }
  }
}
// Stops every child of this process as soon as one appears, as a lock held across the fork would.
void stopFirstChildren(const std::atomic<bool>& done) {
  while (!done) {
    bool stopped = false;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      std::ifstream children(task.path() / "children");
      for (pid_t child = 0; children >> child;) stopped = ::kill(child, SIGSTOP) == 0 || stopped;
    }
    if (stopped) return;
    std::this_thread::yield();
  }
}

TEST(DocumentFormats, APdfReaderThatWaitsForeverIsStoppedAtItsTimeLimit) {
  const std::string bytes = readBytes(testDataFile("lettre-libreoffice.pdf"));
  std::atomic<bool> done = false;
  std::thread stopper(stopFirstChildren, std::cref(done));
  EXPECT_THROW(PdfReader::read(bytes, std::chrono::milliseconds(300)), EOutOfResources);
  done = true;
  stopper.join();
}
#endif

TEST(DocumentFormats, ReadsBodyTablesAndLinksInOrderThenHeadersNotesAndComments) {
  const std::string letter =
      "F\xEAte du village\r\n"
      "Madame, Monsieur,\r\n"
      "Pour vous inscrire, \xE9"
      "crivez-nous avant le 14 juillet.\r\n"
      "mailto:inscriptions@mairie-exemple.test\r\n"
      "Le comit\xE9 : gerard.benevoles@mairie-exemple.test\r\n"
      "R\xF4le\tNom\tAdresse\r\n"
      "Buvette\tZo\xE9 M\xFCller\tbuvette@mairie-exemple.test\r\n"
      "Musique\t?ukasz\tmusique@mairie-exemple.test\r\n"
      "Bien cordialement,\r\n"
      "En-t\xEAte : secretariat@mairie-exemple.test\r\n"
      "Pied de page : accueil@mairie-exemple.test\r\n"
      "Ou bien : benevoles.secours@mairie-exemple.test\r\n"
      "Relire avec lea.relecture@mairie-exemple.test\r\n";
  EXPECT_EQ(readDocumentFile(testDataFile("lettre-libreoffice.odt")).plainText, letter);
  // The same letter saved as docx reads alike, but for the tab that follows a footnote's number there.
  std::string docx = readDocumentFile(testDataFile("lettre-libreoffice.docx")).plainText;
  EXPECT_EQ(docx.replace(docx.find("\tOu bien"), 1, ""), letter);
  EXPECT_EQ(readDocumentFile(testDataFile("budget-libreoffice.ods")).plainText.substr(0, 61),
            "Nom\tCourriel\tCotisation\r\nH\xE9l\xE8ne\thelene@asso-exemple.test\t25\r\n");
}

TEST(DocumentFormats, ReadsAMessagesAddressHeadersSubjectAndDecodedTextPartsWithoutMachineIdentifiers) {
  const std::string text = readDocumentFile(testDataFile("fete-python.eml")).plainText;
  for (const char* line : {"From: G\xE9rard B\xE9n\xE9voles <gerard.benevoles@mairie-exemple.test>\r\n",
                           "Subject: F\xEAte du village : b\xE9n\xE9voles\r\n",
                           // A quoted-printable soft break inside an address, an HTML entity, a mailto: link.
                           " \xE0 gerard.benevoles.secretariat@mairie-exemple.test pour",
                           "Photos : photos@asso-exemple.test\r\n\xE9"
                           "crivez-nous\r\nmailto:benevoles@asso-exemple.test\r\n",
                           // A base64 attachment and a forwarded message in ISO-8859-1.
                           "Hugo;hugo@asso-exemple.test\r\n", "Subject: Mat\xE9riel\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  for (const char* left : {"Message-ID", "serveur-exemple.test", "Content-Type", "color:red"}) {
    EXPECT_EQ(text.find(left), std::string::npos) << left;
  }
}

TEST(DocumentFormats, RecognisesAMessageOnlyOnStrongEvidence) {
  const struct {
    const char* name;
    const char* start;
    bool recognised;
  } rows[] = {
      {"a message", "From: a@b.test\r\nDate: lundi\r\nMIME-Version: 1.0\r\n\r\ncorps", true},
      {"an mbox with a folded header", "From a@b.test Mon\nReceived: x\n  y\nFrom: a@b.test\nDate: d\n\n",
       true},
      {"no Date", "From: a@b.test\nMIME-Version: 1.0\n\n", false},
      {"neither MIME-Version nor Received", "From: a@b.test\nDate: d\nSubject: s\n\n", false},
      {"a note in French", "Objet : r\xE9union\nFrom: a@b.test\nDate: d\nMIME-Version: 1.0\n\n", false},
      {"headers that never end", "From: a@b.test\nDate: d\nMIME-Version: 1.0\n", false},
      {"a folded line first", " From: a@b.test\nDate: d\nMIME-Version: 1.0\n\n", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(mayBeFormattedDocument(row.start), row.recognised) << row.name;
  }
}

// A ZIP archive written with libzip, entries in the order given, the first one stored as OpenDocument
// asks of its "mimetype".
void writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(index, 0);
    if (index == 0) zip_set_file_compression(archive, 0, ZIP_CM_STORE, 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

std::string wordDocument(const std::string& body) {
  return "<w:document xmlns:w=\"w\"><w:body>" + body + "</w:body></w:document>";
}

std::string nested(const std::string& element, int depth, const std::string& inside) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<" + element + ">";
  xml += inside;
  for (int i = 0; i < depth; ++i) xml += "</" + element + ">";
  return xml;
}

TEST(DocumentFormats, RefusesWhatGoesPastABoundAndReadsDamagedPartsAsFarAsTheyGo) {
  ScratchDir scratch;
  const std::string path = scratch.file("document");
  const std::string types = "[Content_Types].xml";
  const std::string mimetype = "application/vnd.oasis.opendocument.text";
  const std::string paragraph = "<w:p><w:r><w:t>avant@ex.test</w:t></w:r></w:p>";
  std::vector<std::pair<std::string, std::string>> tooManyEntries = {{types, ""},
                                                                     {"word/document.xml", wordDocument("")}};
  for (int i = 0; i < 10'000; ++i) tooManyEntries.emplace_back("e" + std::to_string(i), "");
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> entries;
    std::optional<std::string> expected;  // the pane text, or none when the file is refused
  } rows[] = {
      {"a bomb: one part expands 1,000 times past 1 MiB",
       {{types, ""}, {"word/document.xml", wordDocument(paragraph + std::string(4 << 20, ' '))}},
       std::nullopt},
      {"elements nested past the bound",
       {{types, ""}, {"word/document.xml", wordDocument(nested("w:sdt", 1'000, paragraph))}},
       std::nullopt},
      {"elements nested just within it",
       {{types, ""}, {"word/document.xml", wordDocument(nested("w:sdt", 990, paragraph))}},
       "avant@ex.test\r\n"},
      {"more entries than allowed", tooManyEntries, std::nullopt},
      {"a part that breaks off",
       {{types, ""}, {"word/document.xml", wordDocument(paragraph) + "<w:p><w:t>coup"}},
       "avant@ex.test\r\ncoup\r\n"},
      {"an entity that would expand, kept as written",
       {{"mimetype", mimetype},
        {"content.xml",
         "<!DOCTYPE d [<!ENTITY a \"aaaaaaaa\">]><d><office:body><text:p>&a;&a; avant@ex.test"
         "</text:p></office:body></d>"}},
       "&a;&a; avant@ex.test\r\n"},
      {"a count of repeated spaces past the bound",
       {{"mimetype", mimetype},
        {"content.xml",
         "<d><office:body><text:p>avant@ex.test<text:s text:c=\"4000000000\"/></text:p>"
         "</office:body></d>"}},
       "avant@ex.test" + std::string(1'000, ' ') + "\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    writeZip(path, row.entries);
    if (!row.expected) {
      EXPECT_THROW(readDocumentFile(path), EOutOfResources);
      EXPECT_THROW(streamedList(path), EOutOfResources);
    } else {
      EXPECT_EQ(readDocumentFile(path).plainText, row.expected);
      EXPECT_EQ(streamedList(path), Addresses{"avant@ex.test"});
    }
  }
}

std::string nestedMultiparts(int depth) {
  std::string message = "From: a@b.test\nDate: d\nMIME-Version: 1.0\n";
  for (int i = 0; i < depth; ++i)
    message += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\n\n--b" +
               std::to_string(i) + "\n";
  message += "Content-Type: text/plain\n\navant@ex.test\n";
  for (int i = depth - 1; i >= 0; --i) message += "--b" + std::to_string(i) + "--\n";
  return message;
}

TEST(DocumentFormats, RefusesMessagesNestedPastTheBoundAndReadsBrokenBodiesAsFarAsTheyGo) {
  ScratchDir scratch;
  const std::string path = scratch.file("message");
  writeBytes(path, nestedMultiparts(1'000));
  EXPECT_THROW(readDocumentFile(path), EOutOfResources);
  EXPECT_THROW(streamedList(path), EOutOfResources);
  writeBytes(path, nestedMultiparts(90));
  const Addresses both = {"a@b.test", "avant@ex.test"};
  EXPECT_EQ(streamedList(path), both);
  // A base64 body of "avant@ex.test" with a broken tail.
  writeBytes(path,
             "From: a@b.test\nDate: d\nMIME-Version: 1.0\nContent-Transfer-Encoding: "
             "base64\n\nYXZhbnRAZXgudGVzdAo=*$!\n");
  EXPECT_EQ(streamedList(path), both);
  EXPECT_EQ(windowList(path), both);
}

TEST(DocumentFormats, OtherZipArchivesAndLookalikesReadAsPlainText) {
  ScratchDir scratch;
  const std::string path = scratch.file("archive");
  const std::vector<std::vector<std::pair<std::string, std::string>>> archives = {
      {{"notes.txt", "jean@exemple.fr"}},
      {{"mimetype", "application/epub+zip"}, {"content.xml", "<text:p>x@y.z</text:p>"}},
      {{"[Content_Types].xml", ""}, {"notes.txt", "jean@exemple.fr"}},
  };
  for (const auto& entries : archives) {
    writeZip(path, entries);
    const std::string bytes = readBytes(path);
    EXPECT_FALSE(formattedDocumentText(bytes));
    EXPECT_EQ(readDocumentFile(path).plainText, decodePlainText(bytes));
  }
  EXPECT_FALSE(mayBeFormattedDocument("PK\x03\x04"));
}

TEST(DocumentFormats, TheWindowWeighsADocumentByItsDecodedText) {
  ScratchDir scratch;
  const std::string path = scratch.file("big.docx");
  std::string body;
  for (int i = 0; i < 20'000; ++i) body += "<w:p><w:r><w:t>ligne " + std::to_string(i) + "</w:t></w:r></w:p>";
  writeZip(path, {{"[Content_Types].xml", ""}, {"word/document.xml", wordDocument(body)}});
  const std::uint64_t fileSize = readBytes(path).size();
  const std::uint64_t textSize = readDocumentFile(path).plainText.size();
  ASSERT_GT(textSize, fileSize);
  EXPECT_THROW(checkWindowCanLoad(path, (textSize - 1) * kPaneBytesPerFileByte), EOutOfResources);
  EXPECT_NO_THROW(checkWindowCanLoad(path, textSize * kPaneBytesPerFileByte));
}

}  // namespace
}  // namespace glanex::test
