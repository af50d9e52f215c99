#pragma once

#include <string>
#include <string_view>

#include "extraction/EncodingSniffing.h"

namespace glanex {

// Decodes a file given in pieces into Windows-1252 text, piece by piece, giving the characters
// decodePlainText gives for the whole file (line breaks are left as they come). A character cut between
// two pieces is held back until the next one.
class StreamDecoder {
 public:
  explicit StreamDecoder(StreamEncoding encoding) : encoding_(encoding) {}

  // The text of `bytes` after what earlier pieces held back; with `last`, nothing is held back. The view
  // stays valid until the next call (and, for Windows-1252, as long as `bytes`).
  std::string_view decode(std::string_view bytes, bool last);

 private:
  // How many bytes at the end of `bytes` start a character the next piece completes.
  std::size_t unfinishedTail(std::string_view bytes) const;

  StreamEncoding encoding_;
  std::string heldBack_;
  std::string joined_;
  std::string decoded_;
};

}  // namespace glanex
