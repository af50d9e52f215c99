#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A formatted document as the RTF reader gives it and the writer takes it. The text is Windows-1252;
// paragraphs are what the line model calls lines, so joining them with CR LF gives the pane's text.
namespace glanex {

// Character formatting of a run; empty or unset fields mean "the pane's default".
struct CharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::string fontName;                // Windows-1252 face name, empty for the default face
  int halfPoints = 0;                  // size in half points, 0 for the default size
  std::optional<std::uint32_t> color;  // 0xRRGGBB, unset for the default colour

  bool operator==(const CharFormat&) const = default;
};

enum class Alignment : std::uint8_t { Left, Center, Right, Justify };

struct TextRun {
  std::string text;  // Windows-1252, never holds CR or LF; a tab is byte 9
  CharFormat format;

  bool operator==(const TextRun&) const = default;
};

struct Paragraph {
  std::vector<TextRun> runs;
  Alignment alignment = Alignment::Left;

  // The paragraph's characters without formatting.
  std::string text() const;
  // The number of its characters.
  std::int64_t length() const;
  bool operator==(const Paragraph&) const = default;
};

struct FormattedText {
  std::vector<Paragraph> paragraphs;  // never empty: an empty document is one empty paragraph

  FormattedText();

  // The document as plain text, paragraphs joined with CR LF.
  std::string plainText() const;

  // Whether every paragraph is aligned left and every run has the default format.
  bool isUnformatted() const;
  // Whether some paragraph has more than `limit` characters.
  bool holdsLineLongerThan(std::int64_t limit) const;

  // One unformatted paragraph per line of `text`, whose line breaks are CR LF, CR or LF.
  static FormattedText fromPlainText(std::string_view text);

  bool operator==(const FormattedText&) const = default;
};

// The number of characters of the longest line of `text`, whose line breaks are all CR LF.
std::int64_t longestLineLength(std::string_view text);

}  // namespace glanex
