#include "extraction/DocumentText.h"

#include "extraction/DocumentLimits.h"
#include "extraction/Errors.h"
#include "extraction/TextEncoding.h"

namespace glanex {

void DocumentText::append(std::string_view text) {
  if (text.empty()) return;
  if (pendingSpace_ && line_.size() > cellStart_) line_ += ' ';
  pendingSpace_ = false;
  // Repeated cells and spaces make more text than the parts hold; the bound on expansion holds for it too.
  if (text_.size() + line_.size() + text.size() > document_limits::kMaxExpandedBytes) {
    throw EOutOfResources(kStreamLoadError);
  }
  line_ += text;
}

void DocumentText::addLink(std::string_view target) {
  if (!target.empty()) links_.emplace_back(target);
}

void DocumentText::endParagraph() {
  if (rowDepth_ == 0) {
    endLine();
  } else {
    pendingSpace_ = true;
  }
}

void DocumentText::startRow() {
  if (rowDepth_++ == 0) {
    rowHasCell_ = false;
  } else {
    pendingSpace_ = true;
  }
}

void DocumentText::startCell() {
  if (rowDepth_ != 1) {
    pendingSpace_ = true;
    return;
  }
  if (rowHasCell_) line_ += '\t';
  rowHasCell_ = true;
  cellStart_ = line_.size();
  pendingSpace_ = false;
}

void DocumentText::endRow() {
  if (rowDepth_ > 0 && --rowDepth_ == 0) endLine();
}

void DocumentText::endLine() {
  text_ += line_;
  text_ += '\n';
  for (const std::string& link : links_) {
    text_ += link;
    text_ += '\n';
  }
  line_.clear();
  links_.clear();
  cellStart_ = 0;
  pendingSpace_ = false;
}

std::string DocumentText::paneText() const {
  std::string cp1252;
  utf8ToCp1252(text_ + line_, cp1252);
  return normalizeLineBreaks(cp1252);
}

}  // namespace glanex
