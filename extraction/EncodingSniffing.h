#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How the bytes of a file tell what it holds. Loading a file whole and the streaming extraction both
// decide by these rules, so that they read every file alike.
namespace glanex {

// The encodings a plain-text file may be read in.
enum class StreamEncoding { Cp1252, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The bytes an RTF document starts with; a file that starts otherwise is plain text.
inline constexpr std::string_view kRtfSignature = "{\\rtf";

bool startsAsRtf(std::string_view bytes);

struct ByteOrderMark {
  StreamEncoding encoding;
  std::size_t length;
};

// The byte-order mark that `bytes` start with, if any: EF BB BF for UTF-8, FF FE for UTF-16 little endian,
// FE FF for UTF-16 big endian. None is longer than the RTF signature.
std::optional<ByteOrderMark> byteOrderMarkOf(std::string_view bytes);

// Plain text without a byte-order mark reads as UTF-8 when, from its first non-ASCII byte to its end, it is
// valid (strict) UTF-8, else as Windows-1252; text that is all ASCII reads alike either way, and is read
// byte for byte as Windows-1252. This gives the verdict on the text from its first non-ASCII byte on,
// taken in pieces.
class Utf8Verdict {
 public:
  // Takes the next piece, `last` for the one that ends the text; a sequence may run from one piece into the
  // next. Gives the encoding once it is decided: at the first invalid sequence, else at the end.
  std::optional<StreamEncoding> take(std::string_view piece, bool last);

  // The verdict on a whole text. Validating while converting spares a second pass over text that does
  // turn out to be UTF-8: `converted` then holds it as Windows-1252.
  static StreamEncoding onWholeText(std::string_view text, std::string& converted);

 private:
  // The rule itself, `validPrefixLength` telling how much of a piece is made of whole valid sequences.
  template <typename ValidPrefixLength>
  std::optional<StreamEncoding> judge(std::string_view piece, bool last, ValidPrefixLength validPrefixLength);

  // The start of a sequence that the previous piece cut.
  std::string unfinished_;
  std::string joined_;
};

}  // namespace glanex
