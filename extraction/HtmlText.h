#pragma once

#include <string_view>

namespace glanex {

class DocumentText;

// Adds the text of an HTML body (UTF-8) to `text`, as a reader sees it: entities decoded, scripts and
// styles left out, a line per block and per table row (cells parted by a tab), the target of each mailto:
// link on a line of its own after its line. Read with libxml2's forgiving HTML parser, which bounds the
// nesting it builds.
void appendHtmlText(std::string_view html, DocumentText& text);

}  // namespace glanex
