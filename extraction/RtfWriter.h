#pragma once

#include <ostream>

#include "extraction/FormattedText.h"

namespace glanex {

// Writes a formatted document as one RTF document (\ansi\ansicpg1252, font and colour tables, bytes above
// 127 as \'hh, one \par per paragraph break) to a sink, so that RtfReader reads back the same document.
class RtfWriter {
 public:
  explicit RtfWriter(std::ostream& sink) : sink_(sink) {}

  void write(const FormattedText& document);

 private:
  std::ostream& sink_;
};

}  // namespace glanex
