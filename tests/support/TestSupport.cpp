#include "support/TestSupport.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

#include "extraction/DocumentFiles.h"

namespace glanex::test {

void MemoryClipboard::setContent(const std::string& rtf, const std::string& plainText) {
  rtf_ = rtf;
  plain_ = plainText;
}

void setPaneText(TextControl& pane, const std::string& text) {
  pane.setDocument(FormattedText::fromPlainText(text));
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glanex-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  // Tests may leave read-only files and folders behind; make them removable first.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

FormattedText loadedDocument(const std::string& path) {
  LoadedFile file = readDocumentFile(path);
  return file.rtf ? std::move(*file.rtf) : FormattedText::fromPlainText(file.plainText);
}

std::string testDataFile(const std::string& name) {
  return std::string(GLANEX_TEST_DATA_DIR) + "/" + name;
}

}  // namespace glanex::test
