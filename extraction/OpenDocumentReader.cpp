#include "extraction/OpenDocumentReader.h"

#include <algorithm>
#include <vector>

#include "extraction/DocumentLimits.h"
#include "extraction/DocumentText.h"
#include "extraction/XmlPart.h"
#include "extraction/ZipArchive.h"

namespace glanex {

namespace {

using document_limits::kMaxRepeat;

// The count an element's attribute states, within the bound on repeats.
std::uint64_t repeatCount(const pugi::xml_node& node, const char* attribute) {
  return std::clamp<std::uint64_t>(node.attribute(attribute).as_ullong(1), 1, kMaxRepeat);
}

// Reads the paragraphs and table rows of the parts, keeping notes, presenter notes and comments for after
// the text they stand in.
class ContentWalker {
 public:
  explicit ContentWalker(DocumentText& text) : text_(text) {}

  void blocks(const pugi::xml_node& node) {
    for (const pugi::xml_node& child : node.children()) {
      const std::string_view name = child.name();
      if (name == "text:p" || name == "text:h") {
        inlines(child);
        text_.endParagraph();
      } else if (name == "table:table-row") {
        row(child);
      } else if (name == "presentation:notes") {
        notes_.push_back(child);
      } else if (name == "office:annotation") {
        comments_.push_back(child);
      } else if (name != "text:tracked-changes") {
        blocks(child);
      }
    }
  }

  // Notes and comments, each found while reading the others included.
  void setAside() {
    for (std::size_t next = 0; next < notes_.size(); ++next) blocks(notes_[next]);
    for (std::size_t next = 0; next < comments_.size(); ++next) blocks(comments_[next]);
  }

 private:
  void inlines(const pugi::xml_node& node) {
    for (const pugi::xml_node& child : node.children()) {
      const std::string_view name = child.name();
      if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
        text_.append(child.value());
      } else if (name == "text:s") {
        text_.append(std::string(repeatCount(child, "text:c"), ' '));
      } else if (name == "text:tab") {
        text_.append("\t");
      } else if (name == "text:line-break") {
        text_.append("\n");
      } else if (name == "text:a") {
        text_.addLink(child.attribute("xlink:href").value());
        inlines(child);
      } else if (name == "text:note") {
        notes_.push_back(childNamed(child, "note-body"));
      } else if (name == "office:annotation") {
        comments_.push_back(child);
      } else if (name == "text:p" || name == "text:h") {
        // A frame anchored in a paragraph: its paragraphs read as part of the line.
        text_.append(" ");
        inlines(child);
      } else if (name != "text:note-citation" && name != "dc:creator" && name != "dc:date") {
        inlines(child);
      }
    }
  }

  // Empty cells that trail a row (a sheet repeats them to its last column) are left out; the others keep
  // their tab.
  void row(const pugi::xml_node& tableRow) {
    text_.startRow();
    std::uint64_t pendingEmptyCells = 0;
    for (const pugi::xml_node& cell : tableRow.children()) {
      const std::string_view name = localName(cell);
      if (name != "table-cell" && name != "covered-table-cell") continue;
      if (!cell.first_child()) {
        pendingEmptyCells += repeatCount(cell, "table:number-columns-repeated");
        continue;
      }
      for (; pendingEmptyCells > 0; --pendingEmptyCells) text_.startCell();
      for (std::uint64_t copy = repeatCount(cell, "table:number-columns-repeated"); copy > 0; --copy) {
        text_.startCell();
        blocks(cell);
      }
    }
    text_.endRow();
  }

  DocumentText& text_;
  std::vector<pugi::xml_node> notes_;
  std::vector<pugi::xml_node> comments_;
};

// The page styles' headers and footers, on every page kind.
void readHeadersAndFooters(const pugi::xml_document& styles, ContentWalker& walker) {
  for (const pugi::xml_node& page : childNamed(styles.document_element(), "master-styles").children()) {
    for (const pugi::xml_node& part : page.children()) {
      const std::string_view name = localName(part);
      if (name.starts_with("header") || name.starts_with("footer")) walker.blocks(part);
    }
  }
}

}  // namespace

std::optional<std::string> OpenDocumentReader::read(ZipArchive& archive) {
  if (!archive.contains("content.xml")) return std::nullopt;
  const pugi::xml_document content = parseXmlPart(archive.read("content.xml"));
  const pugi::xml_document styles = parseXmlPart(archive.read("styles.xml"));
  DocumentText text;
  ContentWalker walker(text);
  walker.blocks(childNamed(content.document_element(), "body"));
  readHeadersAndFooters(styles, walker);
  walker.setAside();
  return text.paneText();
}

}  // namespace glanex
