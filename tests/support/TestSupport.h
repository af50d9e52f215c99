#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "extraction/Clipboard.h"
#include "extraction/TextPane.h"

// Helpers shared by the tests: panes built from literals, a clipboard in memory, scratch folders.
namespace glanex::test {

// A clipboard that holds its two forms in memory.
class MemoryClipboard : public Clipboard {
 public:
  std::optional<std::string> rtf() const override { return rtf_; }
  std::optional<std::string> plainText() const override { return plain_; }
  void setContent(const std::string& rtf, const std::string& plainText) override;

  void setRtf(std::optional<std::string> rtf) { rtf_ = std::move(rtf); }
  void setPlainText(std::optional<std::string> plain) { plain_ = std::move(plain); }

 private:
  std::optional<std::string> rtf_;
  std::optional<std::string> plain_;
};

// Sets the pane's whole text (line breaks CR LF) as a load would, leaving the caret at 0.
void setPaneText(TextControl& pane, const std::string& text);

// A folder of its own under the system's temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, as the string the file functions take.
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The path of a file kept with the tests' data.
std::string testDataFile(const std::string& name);

}  // namespace glanex::test
