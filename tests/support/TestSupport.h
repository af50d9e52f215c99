#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "extraction/Clipboard.h"
#include "extraction/FormattedText.h"
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

// The document a pane holds once it has loaded the file at `path`; throws as readDocumentFile does.
FormattedText loadedDocument(const std::string& path);

// A character format built field by field (designated initializers that leave fields out warn in GCC).
struct Format {
  CharFormat value;
  Format bold() const {
    return with([](CharFormat& f) { f.bold = true; });
  }
  Format italic() const {
    return with([](CharFormat& f) { f.italic = true; });
  }
  Format underline() const {
    return with([](CharFormat& f) { f.underline = true; });
  }
  Format strikeOut() const {
    return with([](CharFormat& f) { f.strikeOut = true; });
  }
  Format face(std::string name) const {
    return with([&](CharFormat& f) { f.fontName = name; });
  }
  Format size(int halfPoints) const {
    return with([=](CharFormat& f) { f.halfPoints = halfPoints; });
  }
  Format color(std::uint32_t rgb) const {
    return with([=](CharFormat& f) { f.color = rgb; });
  }
  operator CharFormat() const { return value; }

 private:
  template <typename Change>
  Format with(Change change) const {
    Format changed = *this;
    change(changed.value);
    return changed;
  }
};

// The path of a file kept with the tests' data.
std::string testDataFile(const std::string& name);

}  // namespace glanex::test
