#include "extraction/RtfWriter.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace glanex {

namespace {

// The face of f0, the \deff, in which runs without a face name of their own are shown. The result pane,
// whose content is what gets saved and copied, shows its text in Times New Roman.
constexpr std::string_view kDefaultFace = "Times New Roman";

// The distinct values of one format field in order of first use; a value's RTF index is its position
// plus one, since index 0 is the default (f0, or the automatic colour).
template <typename Value>
class IndexedValues {
 public:
  void add(const Value& value) {
    if (indexes_.try_emplace(value, static_cast<int>(values_.size()) + 1).second) values_.push_back(value);
  }
  int indexOf(const Value& value) const { return indexes_.at(value); }
  const std::vector<Value>& values() const { return values_; }

 private:
  std::vector<Value> values_;
  std::map<Value, int> indexes_;
};

void appendHexByte(std::string& out, unsigned char byte) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  out += "\\'";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

// Printable ASCII stays as it is; everything else is a \'hh escape, so the file is 7-bit and no raw CR or
// LF (which RTF readers ignore) can lose a byte.
void appendEscaped(std::string& out, std::string_view text, bool escapeSemicolon = false) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (byte < 0x20 || byte > 0x7E || (escapeSemicolon && c == ';')) {
      appendHexByte(out, byte);
    } else {
      out += c;
    }
  }
}

std::string_view alignmentWord(Alignment alignment) {
  switch (alignment) {
    case Alignment::Center:
      return "\\qc";
    case Alignment::Right:
      return "\\qr";
    case Alignment::Justify:
      return "\\qj";
    case Alignment::Left:
      break;
  }
  return "";
}

// Writes one document: the tables first, since they need every face and colour the runs use.
class DocumentWriter {
 public:
  explicit DocumentWriter(const FormattedText& document) : document_(document) {
    for (const Paragraph& paragraph : document.paragraphs) {
      for (const TextRun& run : paragraph.runs) {
        if (!run.format.fontName.empty()) faces_.add(run.format.fontName);
        if (run.format.color) colors_.add(*run.format.color);
      }
    }
  }

  std::string rtf() {
    out_ = "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    appendFontTable();
    appendColorTable();
    out_ += "\r\n";
    for (std::size_t i = 0; i < document_.paragraphs.size(); ++i) {
      // A \par separates paragraphs; none follows the last, so reading back gives the same count.
      if (i > 0) out_ += "\\par\r\n";
      appendParagraph(document_.paragraphs[i]);
    }
    out_ += "}\r\n";
    return std::move(out_);
  }

 private:
  void appendFontTable() {
    out_ += "{\\fonttbl";
    appendFont(0, kDefaultFace);
    for (const std::string& face : faces_.values()) appendFont(faces_.indexOf(face), face);
    out_ += '}';
  }

  void appendFont(int number, std::string_view face) {
    out_ += "{\\f" + std::to_string(number) + "\\fnil\\fcharset0 ";
    appendEscaped(out_, face, true);
    out_ += ";}";
  }

  void appendColorTable() {
    out_ += "{\\colortbl;";
    for (const std::uint32_t color : colors_.values()) {
      out_ += "\\red" + std::to_string((color >> 16) & 0xFF) + "\\green" +
              std::to_string((color >> 8) & 0xFF) + "\\blue" + std::to_string(color & 0xFF) + ';';
    }
    out_ += '}';
  }

  // Each run is a group of its own, so its formatting ends with it.
  void appendParagraph(const Paragraph& paragraph) {
    out_ += "\\pard";
    out_ += alignmentWord(paragraph.alignment);
    for (const TextRun& run : paragraph.runs) {
      if (run.text.empty()) continue;
      out_ += '{';
      appendFormat(run.format);
      appendEscaped(out_, run.text);
      out_ += '}';
    }
  }

  void appendFormat(const CharFormat& format) {
    const std::size_t start = out_.size();
    if (format.bold) out_ += "\\b";
    if (format.italic) out_ += "\\i";
    if (format.underline) out_ += "\\ul";
    if (format.strikeOut) out_ += "\\strike";
    if (!format.fontName.empty()) out_ += "\\f" + std::to_string(faces_.indexOf(format.fontName));
    if (format.halfPoints > 0) out_ += "\\fs" + std::to_string(format.halfPoints);
    if (format.color) out_ += "\\cf" + std::to_string(colors_.indexOf(*format.color));
    // The space ends the last control word, so text that starts with a letter or digit stays text.
    if (out_.size() > start) out_ += ' ';
  }

  const FormattedText& document_;
  IndexedValues<std::string> faces_;
  IndexedValues<std::uint32_t> colors_;
  std::string out_;
};

}  // namespace

void RtfWriter::write(const FormattedText& document) {
  sink_ << DocumentWriter(document).rtf();
}

}  // namespace glanex
