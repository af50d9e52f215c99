#include "extraction/EncodingSniffing.h"

#include <array>

#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// A sequence that a piece cuts has at most three of its bytes in that piece.
constexpr std::size_t kLongestUnfinishedSequence = 3;

}  // namespace

bool startsAsRtf(std::string_view bytes) {
  return bytes.starts_with(kRtfSignature);
}

std::optional<ByteOrderMark> byteOrderMarkOf(std::string_view bytes) {
  struct Mark {
    std::string_view bytes;
    StreamEncoding encoding;
  };
  static constexpr std::array<Mark, 3> kMarks = {{{"\xEF\xBB\xBF", StreamEncoding::Utf8},
                                                  {"\xFF\xFE", StreamEncoding::Utf16LittleEndian},
                                                  {"\xFE\xFF", StreamEncoding::Utf16BigEndian}}};
  for (const Mark& mark : kMarks) {
    if (bytes.starts_with(mark.bytes)) return ByteOrderMark{mark.encoding, mark.bytes.size()};
  }
  return std::nullopt;
}

template <typename ValidPrefixLength>
std::optional<StreamEncoding> Utf8Verdict::judge(std::string_view piece, bool last,
                                                 ValidPrefixLength validPrefixLength) {
  if (!unfinished_.empty()) {
    joined_.assign(unfinished_);
    joined_.append(piece);
    piece = joined_;
  }
  const std::size_t valid = validPrefixLength(piece);
  if (valid == piece.size()) {
    unfinished_.clear();
    return last ? std::optional(StreamEncoding::Utf8) : std::nullopt;
  }
  if (last || piece.size() - valid > kLongestUnfinishedSequence) return StreamEncoding::Cp1252;
  unfinished_.assign(piece.substr(valid));
  return std::nullopt;
}

std::optional<StreamEncoding> Utf8Verdict::take(std::string_view piece, bool last) {
  return judge(piece, last, validUtf8PrefixLength);
}

StreamEncoding Utf8Verdict::onWholeText(std::string_view text, std::string& converted) {
  // All ASCII reads byte for byte, with nothing to convert.
  if (asciiPrefixLength(text) == text.size()) return StreamEncoding::Cp1252;
  return *Utf8Verdict().judge(text, true,
                              [&](std::string_view whole) { return validUtf8ToCp1252(whole, converted); });
}

}  // namespace glanex
