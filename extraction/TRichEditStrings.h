#pragma once

#include <string>

#include "extraction/TextControlStrings.h"

namespace glanex {

// The line view of a rich pane: an insertion the pane cannot take whole is an error, and only this kind
// loads and saves files.
class TRichEditStrings : public TextControlStrings {
 public:
  using TextControlStrings::TextControlStrings;

  // Replaces the content with the file's, read as RTF, else as plain text, and raises the capacity.
  // A failed load leaves the content as it was.
  void LoadFile(const std::string& path);
  // Writes the whole content to the file as RTF; the old file survives any failure.
  void SaveFile(const std::string& path) const;

 protected:
  void CheckInsertion(std::int64_t point, std::int64_t insertedLength) const override;
};

}  // namespace glanex
