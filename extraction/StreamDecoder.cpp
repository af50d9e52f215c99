#include "extraction/StreamDecoder.h"

#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

constexpr std::size_t kLongestUtf8Sequence = 4;

bool isHighSurrogate(std::string_view unit, bool bigEndian) {
  const auto high = static_cast<unsigned char>(unit[bigEndian ? 0 : 1]);
  return high >= 0xD8 && high <= 0xDB;
}

std::size_t utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

}  // namespace

std::size_t StreamDecoder::unfinishedTail(std::string_view bytes) const {
  if (encoding_ == StreamEncoding::Utf8) {
    // Only the last lead byte can start a sequence that runs past the end.
    for (std::size_t back = 1; back < kLongestUtf8Sequence && back <= bytes.size(); ++back) {
      const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
      if (byte < 0x80) return 0;
      if (byte >= 0xC0) return utf8SequenceLength(byte) > back ? back : 0;
    }
    return 0;
  }
  const bool bigEndian = encoding_ == StreamEncoding::Utf16BigEndian;
  const std::size_t oddByte = bytes.size() % 2;
  const std::size_t whole = bytes.size() - oddByte;
  // A high surrogate waits for the low one that may start the next piece.
  if (whole >= 2 && isHighSurrogate(bytes.substr(whole - 2, 2), bigEndian)) return oddByte + 2;
  return oddByte;
}

std::string_view StreamDecoder::decode(std::string_view bytes, bool last) {
  if (encoding_ == StreamEncoding::Cp1252) return bytes;
  if (!heldBack_.empty()) {
    joined_.assign(heldBack_);
    joined_.append(bytes);
    bytes = joined_;
  }
  const std::size_t held = last ? 0 : unfinishedTail(bytes);
  const std::string_view complete = bytes.substr(0, bytes.size() - held);
  if (encoding_ == StreamEncoding::Utf8) {
    utf8ToCp1252(complete, decoded_);
  } else {
    decoded_ = utf16ToCp1252(complete, encoding_ == StreamEncoding::Utf16BigEndian);
  }
  heldBack_.assign(bytes.substr(bytes.size() - held));
  return decoded_;
}

}  // namespace glanex
