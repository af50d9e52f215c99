#include <gtest/gtest.h>

#include <string>

#include "extraction/StreamDecoder.h"
#include "extraction/TextEncoding.h"

namespace glanex {
namespace {

struct DecoderCase {
  const char* name;
  StreamEncoding encoding;
  std::string mark;  // what decodePlainText needs in front to read the bytes the same way
  std::string bytes;
};

// The text of `bytes` given to a decoder in three pieces cut at `first` and `second`.
std::string decodeInPieces(StreamEncoding encoding, std::string_view bytes, std::size_t first,
                           std::size_t second) {
  StreamDecoder decoder(encoding);
  std::string text(decoder.decode(bytes.substr(0, first), false));
  text += decoder.decode(bytes.substr(first, second - first), false);
  text += decoder.decode(bytes.substr(second), true);
  return text;
}

TEST(StreamDecoder, DecodesPiecesAsTheWholeFileDecodes) {
  const DecoderCase cases[] = {
      {"utf8 with damage", StreamEncoding::Utf8, "\xEF\xBB\xBF",
       "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xE0\x80 \xC3 \xED\xA0\x80 \x80\xBF z \xF4\x90\x80\x80 "
       "\xE2\x82"},
      {"utf16 little-endian", StreamEncoding::Utf16LittleEndian, "\xFF\xFE",
       std::string("c\0\xE9\0\xAC\x20=\xD8\x00\xDE!\0\x00\xD8x\0\x00\xDC\x3D\xD8", 20)},
      {"utf16 big-endian, odd length", StreamEncoding::Utf16BigEndian, "\xFE\xFF",
       std::string("\0c\0\xE9\x20\xAC\xD8=\xDE\x00\0!\xD8\x00\0x\xDC\x00\xD8\x3D\x01", 21)},
  };
  for (const DecoderCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string whole = decodePlainText(c.mark + c.bytes);
    for (std::size_t first = 0; first <= c.bytes.size(); ++first) {
      for (std::size_t second = first; second <= c.bytes.size(); ++second) {
        ASSERT_EQ(decodeInPieces(c.encoding, c.bytes, first, second), whole) << first << " " << second;
      }
    }
  }
}

TEST(StreamDecoder, PassesWindows1252ThroughUntouched) {
  StreamDecoder decoder(StreamEncoding::Cp1252);
  const std::string bytes = "\xC3\xA9\x80\x81";
  EXPECT_EQ(decoder.decode(bytes, false), bytes);
}

}  // namespace
}  // namespace glanex
