#include "extraction/RtfReader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "extraction/EncodingSniffing.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// Where the characters of a group go.
enum class Destination : std::uint8_t { Document, FontTable, ColorTable, Skipped };

// What a known control word does; every other control word is ignored.
enum class Action : std::uint8_t {
  SkipDestination,
  FontTable,
  ColorTable,
  ParagraphEnd,
  Character,  // value: the Windows-1252 byte
  Unicode,
  FallbackLength,
  Binary,
  Bold,
  Italic,
  Underline,
  UnderlineNone,
  StrikeOut,
  Font,
  DefaultFont,
  FontSize,
  Color,
  Red,
  Green,
  Blue,
  Plain,
  Align,  // value: the Alignment
  ParagraphDefaults,
};

struct ControlWord {
  std::string_view name;
  Action action;
  int value = 0;
};

constexpr int kCenter = static_cast<int>(Alignment::Center);
constexpr int kRight = static_cast<int>(Alignment::Right);
constexpr int kJustify = static_cast<int>(Alignment::Justify);

// Sorted by name for the binary search.
constexpr std::array kControlWords = {
    ControlWord{"b", Action::Bold},
    ControlWord{"bin", Action::Binary},
    ControlWord{"blue", Action::Blue},
    ControlWord{"bullet", Action::Character, 0x95},
    ControlWord{"cell", Action::Character, '\t'},
    ControlWord{"cf", Action::Color},
    ControlWord{"colorschememapping", Action::SkipDestination},
    ControlWord{"colortbl", Action::ColorTable},
    ControlWord{"column", Action::ParagraphEnd},
    ControlWord{"datastore", Action::SkipDestination},
    ControlWord{"deff", Action::DefaultFont},
    ControlWord{"emdash", Action::Character, 0x97},
    ControlWord{"emspace", Action::Character, ' '},
    ControlWord{"endash", Action::Character, 0x96},
    ControlWord{"enspace", Action::Character, ' '},
    ControlWord{"f", Action::Font},
    ControlWord{"fldinst", Action::SkipDestination},
    ControlWord{"fonttbl", Action::FontTable},
    ControlWord{"footer", Action::SkipDestination},
    ControlWord{"footerf", Action::SkipDestination},
    ControlWord{"footerl", Action::SkipDestination},
    ControlWord{"footerr", Action::SkipDestination},
    ControlWord{"footnote", Action::SkipDestination},
    ControlWord{"fs", Action::FontSize},
    ControlWord{"generator", Action::SkipDestination},
    ControlWord{"green", Action::Green},
    ControlWord{"header", Action::SkipDestination},
    ControlWord{"headerf", Action::SkipDestination},
    ControlWord{"headerl", Action::SkipDestination},
    ControlWord{"headerr", Action::SkipDestination},
    ControlWord{"i", Action::Italic},
    ControlWord{"info", Action::SkipDestination},
    ControlWord{"latentstyles", Action::SkipDestination},
    ControlWord{"ldblquote", Action::Character, 0x93},
    ControlWord{"line", Action::ParagraphEnd},
    ControlWord{"listoverridetable", Action::SkipDestination},
    ControlWord{"listtable", Action::SkipDestination},
    ControlWord{"lquote", Action::Character, 0x91},
    ControlWord{"nestcell", Action::Character, '\t'},
    ControlWord{"nonshppict", Action::SkipDestination},
    ControlWord{"object", Action::SkipDestination},
    ControlWord{"page", Action::ParagraphEnd},
    ControlWord{"par", Action::ParagraphEnd},
    ControlWord{"pard", Action::ParagraphDefaults},
    ControlWord{"pgdsctbl", Action::SkipDestination},
    ControlWord{"pict", Action::SkipDestination},
    ControlWord{"plain", Action::Plain},
    ControlWord{"qc", Action::Align, kCenter},
    ControlWord{"qd", Action::Align, kJustify},
    ControlWord{"qj", Action::Align, kJustify},
    ControlWord{"ql", Action::Align, static_cast<int>(Alignment::Left)},
    ControlWord{"qr", Action::Align, kRight},
    ControlWord{"rdblquote", Action::Character, 0x94},
    ControlWord{"red", Action::Red},
    ControlWord{"row", Action::ParagraphEnd},
    ControlWord{"rquote", Action::Character, 0x92},
    ControlWord{"rsidtbl", Action::SkipDestination},
    ControlWord{"sect", Action::ParagraphEnd},
    ControlWord{"strike", Action::StrikeOut},
    ControlWord{"striked", Action::StrikeOut},
    ControlWord{"stylesheet", Action::SkipDestination},
    ControlWord{"tab", Action::Character, '\t'},
    ControlWord{"tc", Action::SkipDestination},
    ControlWord{"themedata", Action::SkipDestination},
    ControlWord{"u", Action::Unicode},
    ControlWord{"uc", Action::FallbackLength},
    ControlWord{"ul", Action::Underline},
    ControlWord{"uld", Action::Underline},
    ControlWord{"uldash", Action::Underline},
    ControlWord{"uldashd", Action::Underline},
    ControlWord{"uldashdd", Action::Underline},
    ControlWord{"uldb", Action::Underline},
    ControlWord{"ulhwave", Action::Underline},
    ControlWord{"ulldash", Action::Underline},
    ControlWord{"ulnone", Action::UnderlineNone},
    ControlWord{"ulth", Action::Underline},
    ControlWord{"ulthd", Action::Underline},
    ControlWord{"ulthdash", Action::Underline},
    ControlWord{"ulthdashd", Action::Underline},
    ControlWord{"ulthdashdd", Action::Underline},
    ControlWord{"ulthldash", Action::Underline},
    ControlWord{"ululdbwave", Action::Underline},
    ControlWord{"ulw", Action::Underline},
    ControlWord{"ulwave", Action::Underline},
    ControlWord{"xe", Action::SkipDestination},
    ControlWord{"xmlnstbl", Action::SkipDestination},
};
static_assert(std::ranges::is_sorted(kControlWords, {}, &ControlWord::name));

const ControlWord* findControlWord(std::string_view name) {
  const auto found = std::ranges::lower_bound(kControlWords, name, {}, &ControlWord::name);
  return found != kControlWords.end() && found->name == name ? &*found : nullptr;
}

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes that end a stretch of plain text.
bool endsText(char c) {
  return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

std::string trimmedSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The properties that a group inherits from its parent and that its closing brace restores.
struct GroupState {
  Destination destination = Destination::Document;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::optional<int> font;  // unset: the document's default face
  int halfPoints = 0;
  int colorIndex = 0;
  int fallbackLength = 1;  // \ucN: characters that follow a \uN as its stand-in
  Alignment alignment = Alignment::Left;

  void resetCharacterFormat() {
    bold = italic = underline = strikeOut = false;
    font.reset();
    halfPoints = 0;
    colorIndex = 0;
  }
};

// The font and colour tables, filled while their destinations are read.
class ResourceTables {
 public:
  void beginFont(int number) {
    fontNumber_ = number;
    fontName_.clear();
  }
  // Raw table text: a ";" ends the entry.
  void addFontTableText(std::string_view text) {
    for (std::size_t end; (end = text.find(';')) != std::string_view::npos; text.remove_prefix(end + 1)) {
      fontName_.append(text.substr(0, end));
      endFont();
    }
    fontName_.append(text);
  }
  // An escaped byte belongs to the name even when it is a ";".
  void addFontNameByte(char byte) { fontName_ += byte; }
  void endFont() {
    if (fontNumber_ && fontNames_.size() < kMaxEntries)
      fontNames_.insert_or_assign(*fontNumber_, trimmedSpaces(fontName_));
    fontNumber_.reset();
    fontName_.clear();
  }

  void setColorComponent(int shift, int value) {
    const std::uint32_t mask = 0xFFu << shift;
    color_ = (color_.value_or(0) & ~mask) | (static_cast<std::uint32_t>(std::clamp(value, 0, 255)) << shift);
  }
  void addColorTableText(std::string_view text) {
    for (const char c : text) {
      if (c != ';') continue;
      if (colors_.size() < kMaxEntries) colors_.push_back(color_);
      color_.reset();
    }
  }

  std::string fontName(int number) const {
    const auto found = fontNames_.find(number);
    return found == fontNames_.end() ? std::string() : found->second;
  }
  // Entry 0 is the default colour whatever the table says; an entry without components is "auto".
  std::optional<std::uint32_t> color(int index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= colors_.size()) return std::nullopt;
    return colors_[static_cast<std::size_t>(index)];
  }

 private:
  // Real tables hold a few dozen entries; the cap keeps hostile input from filling memory.
  static constexpr std::size_t kMaxEntries = 65536;

  std::map<int, std::string> fontNames_;
  std::optional<int> fontNumber_;
  std::string fontName_;
  std::vector<std::optional<std::uint32_t>> colors_;
  std::optional<std::uint32_t> color_;
};

// Collects the document text into paragraphs of runs, merging text of equal format into one run.
class DocumentBuilder {
 public:
  // The format must be set again before the next text.
  void formatChanged() {
    formatKnown_ = false;
    runOpen_ = false;
  }
  bool formatKnown() const { return formatKnown_; }
  void setFormat(CharFormat format) {
    format_ = std::move(format);
    formatKnown_ = true;
  }

  void append(std::string_view text) {
    if (!runOpen_) {
      std::vector<TextRun>& runs = paragraph_.runs;
      if (runs.empty() || runs.back().format != format_) runs.push_back({std::string(), format_});
      runOpen_ = true;
    }
    paragraph_.runs.back().text.append(text);
  }

  void endParagraph(Alignment alignment) {
    paragraph_.alignment = alignment;
    paragraphs_.push_back(std::move(paragraph_));
    paragraph_ = Paragraph();
    runOpen_ = false;
  }

  FormattedText finish(Alignment lastAlignment) {
    endParagraph(lastAlignment);
    FormattedText document;
    document.paragraphs = std::move(paragraphs_);
    return document;
  }

 private:
  std::vector<Paragraph> paragraphs_;
  Paragraph paragraph_;
  CharFormat format_;
  bool formatKnown_ = false;
  bool runOpen_ = false;  // the last run of paragraph_ has format_, so text goes straight into it
};

// One reading of one input: a loop over tokens with an explicit group stack, so depth costs no recursion.
class Parser {
 public:
  explicit Parser(std::string_view rtf) : rtf_(rtf) {}

  std::optional<FormattedText> read() {
    while (pos_ < rtf_.size() && !finished_) {
      if (!readToken()) return std::nullopt;
    }
    // The paragraph properties in force at the end are those of the last, unterminated paragraph.
    return builder_.finish(groups_.back().alignment);
  }

 private:
  // Returns false when the input is to be rejected.
  bool readToken() {
    switch (rtf_[pos_]) {
      case '{':
        ++pos_;
        return openGroup();
      case '}':
        ++pos_;
        closeGroup();
        return true;
      case '\\':
        ++pos_;
        return readControl();
      case '\r':
      case '\n':
        ++pos_;
        return true;
      default:
        readText();
        return true;
    }
  }

  bool openGroup() {
    if (groups_.size() >= static_cast<std::size_t>(RtfReader::kMaxDepth)) return false;
    groups_.push_back(groups_.empty() ? GroupState() : GroupState(groups_.back()));
    fallbackToSkip_ = 0;
    return true;
  }

  void closeGroup() {
    fallbackToSkip_ = 0;
    if (group().destination == Destination::FontTable) tables_.endFont();
    // The root group stays so that its state gives the last paragraph its alignment; what follows is ignored.
    if (groups_.size() == 1) {
      finished_ = true;
      return;
    }
    groups_.pop_back();
    builder_.formatChanged();
  }

  void readText() {
    std::size_t end = pos_;
    while (end < rtf_.size() && !endsText(rtf_[end])) ++end;
    std::string_view text = rtf_.substr(pos_, end - pos_);
    pos_ = end;
    const std::size_t skipped = std::min<std::size_t>(fallbackToSkip_, text.size());
    fallbackToSkip_ -= static_cast<int>(skipped);
    text.remove_prefix(skipped);
    if (text.empty()) return;
    if (group().destination == Destination::FontTable) {
      tables_.addFontTableText(text);
    } else {
      emitText(text);
    }
  }

  bool readControl() {
    if (pos_ >= rtf_.size()) return true;
    const char first = rtf_[pos_];
    if (isLetter(first)) return readControlWord();
    ++pos_;
    if (first == '\'') {
      readHexByte();
    } else if (!consumeFallback()) {
      applyControlSymbol(first);
    }
    return true;
  }

  bool readControlWord() {
    const std::size_t nameStart = pos_;
    while (pos_ < rtf_.size() && isLetter(rtf_[pos_])) ++pos_;
    const std::string_view name = rtf_.substr(nameStart, pos_ - nameStart);
    const std::optional<int> parameter = readParameter();
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
    const ControlWord* word = findControlWord(name);
    const bool skippedAsFallback = consumeFallback();
    // \bin data is never text, but its length must be honoured even where the word itself is skipped.
    if (word != nullptr && word->action == Action::Binary) return skipBinary(parameter.value_or(0));
    if (word != nullptr && !skippedAsFallback) applyControlWord(*word, parameter);
    return true;
  }

  // A digit run with an optional "-", clamped to the int range so that no length of digits overflows.
  std::optional<int> readParameter() {
    bool negative = false;
    if (pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && isDigit(rtf_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    if (pos_ >= rtf_.size() || !isDigit(rtf_[pos_])) return std::nullopt;
    long long value = 0;
    for (; pos_ < rtf_.size() && isDigit(rtf_[pos_]); ++pos_) {
      value = std::min<long long>(value * 10 + (rtf_[pos_] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
  }

  bool skipBinary(int length) {
    const std::size_t count = static_cast<std::size_t>(std::max(length, 0));
    if (count > rtf_.size() - pos_) return false;
    pos_ += count;
    return true;
  }

  void readHexByte() {
    if (pos_ + 2 > rtf_.size()) return;
    const int high = hexValue(rtf_[pos_]);
    const int low = hexValue(rtf_[pos_ + 1]);
    if (high < 0 || low < 0) return;  // a broken escape gives nothing; what follows reads as usual
    pos_ += 2;
    if (!consumeFallback()) emitByte(static_cast<char>(high * 16 + low));
  }

  void applyControlSymbol(char symbol) {
    switch (symbol) {
      case '~':
        emitByte('\xA0');
        break;
      case '_':
        emitByte('-');
        break;
      case '\\':
      case '{':
      case '}':
        emitByte(symbol);
        break;
      case '\r':
      case '\n':
        endParagraph();
        break;
      case '*':
        group().destination = Destination::Skipped;
        break;
      default:  // "\-" (optional hyphen) and the symbols without text
        break;
    }
  }

  void applyControlWord(const ControlWord& word, std::optional<int> parameter) {
    GroupState& state = group();
    const bool on = parameter.value_or(1) != 0;
    switch (word.action) {
      case Action::SkipDestination:
        state.destination = Destination::Skipped;
        return;
      case Action::FontTable:
        enterDestination(Destination::FontTable);
        return;
      case Action::ColorTable:
        enterDestination(Destination::ColorTable);
        return;
      case Action::ParagraphEnd:
        endParagraph();
        return;
      case Action::Character:
        emitByte(static_cast<char>(word.value));
        return;
      case Action::Unicode:
        emitUnicode(parameter.value_or(0));
        return;
      case Action::FallbackLength:
        state.fallbackLength = std::max(parameter.value_or(1), 0);
        return;
      case Action::Binary:  // handled by readControlWord
        return;
      case Action::Red:
        setColorComponent(16, parameter);
        return;
      case Action::Green:
        setColorComponent(8, parameter);
        return;
      case Action::Blue:
        setColorComponent(0, parameter);
        return;
      case Action::Align:
        state.alignment = static_cast<Alignment>(word.value);
        return;
      case Action::ParagraphDefaults:
        state.alignment = Alignment::Left;
        return;
      case Action::Font:
        if (state.destination == Destination::FontTable) {
          tables_.beginFont(parameter.value_or(0));
          return;
        }
        state.font = parameter.value_or(0);
        break;
      case Action::Bold:
        state.bold = on;
        break;
      case Action::Italic:
        state.italic = on;
        break;
      case Action::Underline:
        state.underline = on;
        break;
      case Action::UnderlineNone:
        state.underline = false;
        break;
      case Action::StrikeOut:
        state.strikeOut = on;
        break;
      case Action::DefaultFont:
        defaultFont_ = parameter.value_or(0);
        break;
      case Action::FontSize:
        state.halfPoints = std::max(parameter.value_or(0), 0);
        break;
      case Action::Color:
        state.colorIndex = parameter.value_or(0);
        break;
      case Action::Plain:
        state.resetCharacterFormat();
        break;
    }
    builder_.formatChanged();
  }

  // A destination word inside a skipped group does not bring its text back.
  void enterDestination(Destination destination) {
    if (group().destination != Destination::Skipped) group().destination = destination;
  }

  void setColorComponent(int shift, std::optional<int> value) {
    if (group().destination == Destination::ColorTable) tables_.setColorComponent(shift, value.value_or(0));
  }

  // \uN: its Windows-1252 byte, after which the \ucN fallback characters are skipped; without a byte,
  // the fallback characters stand in for it.
  void emitUnicode(int parameter) {
    const long long codePoint = parameter < 0 ? parameter + 65536LL : parameter;
    const int byte = codePoint < 0 ? -1 : cp1252FromCodePoint(static_cast<char32_t>(codePoint));
    if (byte < 0) return;
    emitByte(static_cast<char>(byte));
    fallbackToSkip_ = group().fallbackLength;
  }

  // Each skipped fallback character is one text byte, escape, control symbol or control word.
  bool consumeFallback() {
    if (fallbackToSkip_ == 0) return false;
    --fallbackToSkip_;
    return true;
  }

  // An escaped or symbolic byte; CR and LF are dropped since a run never holds a line break.
  void emitByte(char byte) {
    if (byte == '\r' || byte == '\n') return;
    if (group().destination == Destination::FontTable) {
      tables_.addFontNameByte(byte);
    } else {
      emitText(std::string_view(&byte, 1));
    }
  }

  void emitText(std::string_view text) {
    switch (group().destination) {
      case Destination::Document:
        if (!builder_.formatKnown()) builder_.setFormat(currentFormat());
        builder_.append(text);
        return;
      case Destination::ColorTable:
        tables_.addColorTableText(text);
        return;
      case Destination::FontTable:  // routed by the callers, which know whether a ";" is raw
      case Destination::Skipped:
        return;
    }
  }

  void endParagraph() {
    if (group().destination == Destination::Document) builder_.endParagraph(group().alignment);
  }

  // The default face reads as the empty name, so that a document's default face stays the pane's default.
  CharFormat currentFormat() const {
    const GroupState& state = groups_.back();
    CharFormat format;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    format.strikeOut = state.strikeOut;
    if (state.font && *state.font != defaultFont_) format.fontName = tables_.fontName(*state.font);
    format.halfPoints = state.halfPoints;
    format.color = tables_.color(state.colorIndex);
    return format;
  }

  GroupState& group() { return groups_.back(); }

  std::string_view rtf_;
  std::size_t pos_ = 0;
  bool finished_ = false;
  std::vector<GroupState> groups_;
  int fallbackToSkip_ = 0;
  int defaultFont_ = 0;
  ResourceTables tables_;
  DocumentBuilder builder_;
};

}  // namespace

std::optional<FormattedText> RtfReader::read(std::string_view rtf) {
  if (!startsAsRtf(rtf)) return std::nullopt;
  return Parser(rtf).read();
}

}  // namespace glanex
