#include "extraction/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "extraction/EncodingSniffing.h"
#include "extraction/StreamDecoder.h"

namespace glanex {

namespace {

// Code points of bytes 80..9F; the five bytes Windows-1252 leaves undefined stand for themselves.
constexpr std::array<char32_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The way back from the block above: bytes by code point over the span the block covers, 0 where a code
// point has no byte (byte 0 is not in the block). A table, because this sits on the per-character path.
constexpr char32_t kHighControlBlockFirst = 0x0081;
constexpr char32_t kHighControlBlockLast = 0x2122;

constexpr std::array<unsigned char, kHighControlBlockLast - kHighControlBlockFirst + 1> highControlBytes() {
  std::array<unsigned char, kHighControlBlockLast - kHighControlBlockFirst + 1> table{};
  for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
    table[kHighControlBlock[i] - kHighControlBlockFirst] = static_cast<unsigned char>(0x80 + i);
  }
  return table;
}

constexpr auto kHighControlBytes = highControlBytes();

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Whether the 8 bytes at `p` are all ASCII; lets the common ASCII text skip the byte-by-byte work.
bool isAsciiWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ULL) == 0;
}

// Where the run of ASCII bytes starting at `pos` ends.
std::size_t asciiRunEnd(std::string_view text, std::size_t pos) {
  while (pos + 8 <= text.size() && isAsciiWord(text.data() + pos)) pos += 8;
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

struct Utf8Sequence {
  char32_t codePoint;
  std::size_t length;  // 0 when the bytes at the position are not a valid sequence
};

// The strict UTF-8 sequence at `pos` (no overlong forms, surrogates or code points above 10FFFF).
Utf8Sequence readUtf8(std::string_view text, std::size_t pos) {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byteAt(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t codePoint;
  // The second byte's range is what rules out overlong forms, surrogates and values above 10FFFF.
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) secondMin = 0xA0;
    if (lead == 0xED) secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) secondMin = 0x90;
    if (lead == 0xF4) secondMax = 0x8F;
  } else {
    return {0, 0};
  }
  if (pos + length > text.size()) return {0, 0};
  if (byteAt(1) < secondMin || byteAt(1) > secondMax) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(byteAt(i))) return {0, 0};
    codePoint = (codePoint << 6) | (byteAt(i) & 0x3F);
  }
  return {codePoint, length};
}

struct Utf8Conversion {
  std::size_t validLength = 0;  // of the start made of whole valid sequences
  bool everyCharacterHadForm = true;
};

// UTF-8 as Windows-1252 into `out`: characters without a form become `replacement`, and so does each
// byte of an invalid sequence, so that one damaged byte never swallows the valid text after it. With
// `stopAtInvalid` it stops at the first invalid sequence instead.
Utf8Conversion convertUtf8(std::string_view text, std::string& out, char replacement, bool stopAtInvalid) {
  out.clear();
  out.resize(text.size());  // each character takes at least one byte of input and gives exactly one
  char* write = out.data();
  Utf8Conversion result;
  bool valid = true;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t asciiEnd = asciiRunEnd(text, pos);
    write = std::copy(text.data() + pos, text.data() + asciiEnd, write);
    if (valid) result.validLength = asciiEnd;
    if (asciiEnd == text.size()) break;
    const Utf8Sequence sequence = readUtf8(text, asciiEnd);
    if (sequence.length == 0) {
      valid = false;
      if (stopAtInvalid) break;
    }
    const int byte = sequence.length == 0 ? -1 : cp1252FromCodePoint(sequence.codePoint);
    result.everyCharacterHadForm = result.everyCharacterHadForm && byte >= 0;
    *write++ = byte < 0 ? replacement : static_cast<char>(byte);
    pos = asciiEnd + std::max<std::size_t>(sequence.length, 1);
    if (valid) result.validLength = pos;
  }
  out.resize(static_cast<std::size_t>(write - out.data()));
  return result;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// `count` UTF-16 units, `unitAt(i)` giving the i-th, as Windows-1252. A surrogate pair is one character
// and, like an unpaired surrogate, has no Windows-1252 form.
template <typename UnitAt>
std::string cp1252FromUtf16Units(std::size_t count, UnitAt unitAt) {
  std::string out(count, '\0');
  char* write = out.data();
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t unit = unitAt(i);
    if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(unitAt(i + 1))) ++i;
    const int byte = cp1252FromCodePoint(unit);
    *write++ = byte < 0 ? '?' : static_cast<char>(byte);
  }
  out.resize(static_cast<std::size_t>(write - out.data()));
  return out;
}

}  // namespace

int cp1252FromCodePoint(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
  if (codePoint < kHighControlBlockFirst || codePoint > kHighControlBlockLast) return -1;
  const unsigned char byte = kHighControlBytes[codePoint - kHighControlBlockFirst];
  return byte == 0 ? -1 : byte;
}

char32_t codePointFromCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlBlock[byte - 0x80];
  return byte;
}

std::string utf16ToCp1252(std::string_view bytes, bool bigEndian) {
  std::string out = cp1252FromUtf16Units(bytes.size() / 2, [&](std::size_t i) -> char16_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  });
  if (bytes.size() % 2 != 0) out += '?';
  return out;
}

std::string utf16ToCp1252(std::u16string_view units) {
  return cp1252FromUtf16Units(units.size(), [&](std::size_t i) { return units[i]; });
}

std::size_t asciiPrefixLength(std::string_view text) {
  return asciiRunEnd(text, 0);
}

std::size_t validUtf8PrefixLength(std::string_view bytes) {
  std::size_t pos = 0;
  for (;;) {
    pos = asciiRunEnd(bytes, pos);
    if (pos == bytes.size()) return pos;
    const std::size_t length = readUtf8(bytes, pos).length;
    if (length == 0) return pos;
    pos += length;
  }
}

std::string normalizeLineBreaks(std::string_view text) {
  const std::size_t size = text.size();
  const auto isLoneBreak = [&](std::size_t i) {
    return (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n')) ||
           (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
  };
  // Counting first lets the output be sized once and filled without per-byte capacity checks.
  std::size_t loneBreaks = 0;
  for (std::size_t i = 0; i < size; ++i) loneBreaks += isLoneBreak(i);
  std::string out(size + loneBreaks, '\0');
  char* write = out.data();
  for (std::size_t i = 0; i < size; ++i) {
    if (isLoneBreak(i)) {
      *write++ = '\r';
      *write++ = '\n';
    } else {
      *write++ = text[i];
    }
  }
  return out;
}

std::string decodePlainText(std::string_view bytes) {
  const std::optional<ByteOrderMark> mark = byteOrderMarkOf(bytes);
  if (!mark) {
    std::string converted;
    if (Utf8Verdict::onWholeText(bytes, converted) == StreamEncoding::Utf8)
      return normalizeLineBreaks(converted);
    return normalizeLineBreaks(bytes);
  }
  // A whole file is one last piece. After a UTF-8 mark, invalid bytes are damage to show as "?" rather
  // than a reason to read the whole text another way.
  StreamDecoder decoder(mark->encoding);
  return normalizeLineBreaks(decoder.decode(bytes.substr(mark->length), true));
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendCp1252AsUtf8(text, out);
  return out;
}

void appendCp1252AsUtf8(std::string_view text, std::string& out) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t asciiEnd = asciiRunEnd(text, pos);
    out.append(text, pos, asciiEnd - pos);
    if (asciiEnd == text.size()) break;
    appendUtf8(out, codePointFromCp1252(static_cast<unsigned char>(text[asciiEnd])));
    pos = asciiEnd + 1;
  }
}

// `out` receives the converted text in place of what it held.
bool utf8ToCp1252(std::string_view text, std::string& out, char replacement) {
  return convertUtf8(text, out, replacement, false).everyCharacterHadForm;
}

std::size_t validUtf8ToCp1252(std::string_view text, std::string& out) {
  return convertUtf8(text, out, '?', true).validLength;
}

std::string displayableUtf8(std::string_view bytes) {
  constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t asciiEnd = asciiRunEnd(bytes, pos);
    out.append(bytes, pos, asciiEnd - pos);
    if (asciiEnd == bytes.size()) break;
    const std::size_t length = readUtf8(bytes, asciiEnd).length;
    if (length == 0) {
      out += kReplacementCharacter;
      pos = asciiEnd + 1;
    } else {
      out.append(bytes, asciiEnd, length);
      pos = asciiEnd + length;
    }
  }
  return out;
}

}  // namespace glanex
