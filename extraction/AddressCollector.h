#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/AddressScan.h"
#include "extraction/LastOccurrenceList.h"
#include "extraction/SeparatorTable.h"

namespace glanex {

// Finds the addresses of a text given piece by piece, as the staged extraction finds them in the same
// text: the token around each "@" (CR and LF end tokens as line ends do), kept when it holds "." and does
// not begin with "@", listed once at its last occurrence. No line length or list size limits it.
// It follows the rules of RunExtraction's stages, CutTokens to DropEmptyLines, in one pass.
class AddressCollector {
 public:
  explicit AddressCollector(std::string_view separators);

  // Takes the next piece of Windows-1252 text; a token may run on from one piece into the next.
  void feed(std::string_view text);
  // Ends the text, so that a token still open at its end counts too.
  void finish();
  // The addresses of a whole chunk of a text that is cut only right after separators, in order, each
  // time it occurs, without listing them. The views are valid until the next call, while `chunk` lives.
  std::span<const std::string_view> addressesOfChunk(std::string_view chunk);

  const LastOccurrenceList& addresses() const { return addresses_; }

 private:
  // Collects the tokens of `text`, which starts at the text's start or just after a separator and ends
  // at the text's end or on a separator.
  void collect(std::string_view text);
  // The same into found_, without listing them.
  void find(std::string_view text);
  // The tokens of `text` when "@" is a separator.
  void collectAroundSeparatingAt(std::string_view text);
  SeparatorTable separators_;
  // The usual case, an "@" that is no separator.
  AddressScan scan_;
  // The text since the last separator, which the next piece may continue.
  std::string openRun_;
  LastOccurrenceList addresses_;
  // The addresses of the text collect is given, added to the list together.
  std::vector<std::string_view> found_;
};

}  // namespace glanex
