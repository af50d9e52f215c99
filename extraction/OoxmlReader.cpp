#include "extraction/OoxmlReader.h"

#include <map>
#include <vector>

#include "extraction/DocumentText.h"
#include "extraction/XmlPart.h"
#include "extraction/ZipArchive.h"

namespace glanex {

namespace {

struct Relationship {
  std::string type;
  std::string target;
};

// The path a part's relative target names, from the folder of the part that names it.
std::string resolvePath(const std::string& fromPart, const std::string& target) {
  std::vector<std::string> segments;
  std::string joined =
      target.starts_with('/') ? target.substr(1) : fromPart.substr(0, fromPart.rfind('/') + 1) + target;
  std::size_t at = 0;
  while (at <= joined.size()) {
    const std::size_t end = std::min(joined.find('/', at), joined.size());
    const std::string segment = joined.substr(at, end - at);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    at = end + 1;
  }
  std::string path;
  for (const std::string& segment : segments) path += (path.empty() ? "" : "/") + segment;
  return path;
}

// One part of the package with the relationships it states, by id and in order.
class Part {
 public:
  Part(ZipArchive& archive, std::string name) : name_(std::move(name)) {
    xml_ = parseXmlPart(archive.read(name_));
    const std::size_t slash = name_.rfind('/') + 1;
    const std::string relsName = name_.substr(0, slash) + "_rels/" + name_.substr(slash) + ".rels";
    const pugi::xml_document rels = parseXmlPart(archive.read(relsName));
    for (const pugi::xml_node& node : childNamed(rels, "Relationships").children()) {
      const std::string target = node.attribute("Target").value();
      const bool external = std::string_view(node.attribute("TargetMode").value()) == "External";
      Relationship relationship{node.attribute("Type").value(),
                                external ? target : resolvePath(name_, target)};
      byId_[node.attribute("Id").value()] = relationship;
      inOrder_.push_back(std::move(relationship));
    }
  }

  const pugi::xml_document& xml() const { return xml_; }

  std::string target(const char* id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? std::string() : found->second.target;
  }

  // The targets of the relationships whose type ends in "/<kind>", in the order the part states them.
  std::vector<std::string> targetsOf(std::string_view kind) const {
    std::vector<std::string> targets;
    for (const Relationship& relationship : inOrder_) {
      const std::string_view type = relationship.type;
      if (type.ends_with(kind) && type.size() > kind.size() && type[type.size() - kind.size() - 1] == '/') {
        targets.push_back(relationship.target);
      }
    }
    return targets;
  }

 private:
  std::string name_;
  pugi::xml_document xml_;
  std::map<std::string, Relationship, std::less<>> byId_;
  std::vector<Relationship> inOrder_;
};

// The target of a HYPERLINK field, from its instruction: HYPERLINK "target" with switches.
std::string fieldLinkTarget(std::string_view instruction) {
  const std::size_t keyword = instruction.find("HYPERLINK");
  if (keyword == std::string_view::npos) return {};
  const std::size_t open = instruction.find('"', keyword);
  const std::size_t close = open == std::string_view::npos ? open : instruction.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(instruction.substr(open + 1, close - open - 1));
}

// Reads the paragraphs and tables of word-processing and drawing markup, which share their local names.
class MarkupWalker {
 public:
  MarkupWalker(const Part& part, DocumentText& text) : part_(part), text_(text) {}

  void blocks(const pugi::xml_node& node) {
    for (const pugi::xml_node& child : node.children()) {
      const std::string_view name = localName(child);
      if (name == "p") {
        inlines(child);
        text_.endParagraph();
      } else if (name == "tr") {
        row(child);
      } else if (name != "Fallback") {
        blocks(child);
      }
    }
  }

 private:
  void row(const pugi::xml_node& tableRow) {
    text_.startRow();
    for (const pugi::xml_node& child : tableRow.children()) {
      if (localName(child) == "tc") text_.startCell();
      blocks(child);
    }
    text_.endRow();
  }

  // The text of a paragraph. A text box anchored in it reads as part of its line.
  void inlines(const pugi::xml_node& node) {
    for (const pugi::xml_node& child : node.children()) {
      const std::string_view name = localName(child);
      if (name == "t") {
        text_.append(child.child_value());
      } else if (name == "tab") {
        text_.append("\t");
      } else if (name == "br" || name == "cr") {
        text_.append("\n");
      } else if (name == "instrText") {
        text_.addLink(fieldLinkTarget(child.child_value()));
      } else if (name == "hyperlink" || name == "hlinkClick") {
        text_.addLink(part_.target(child.attribute("r:id").value()));
        inlines(child);
      } else if (name == "fldSimple") {
        text_.addLink(fieldLinkTarget(child.attribute("w:instr").value()));
        inlines(child);
      } else if (name != "Fallback" && name != "pPr" && name != "tabs") {
        inlines(child);
      }
    }
  }

  const Part& part_;
  DocumentText& text_;
};

void readMarkupPart(ZipArchive& archive, const std::string& name, DocumentText& text) {
  const Part part(archive, name);
  MarkupWalker(part, text).blocks(part.xml());
}

// Footnotes and endnotes: the separators that Word keeps among them hold no text of the author's.
void readNotesPart(ZipArchive& archive, const std::string& name, DocumentText& text) {
  const Part part(archive, name);
  MarkupWalker walker(part, text);
  for (const pugi::xml_node& note : part.xml().document_element().children()) {
    if (!note.attribute("w:type")) walker.blocks(note);
  }
}

void readWordDocument(ZipArchive& archive, DocumentText& text) {
  const Part main(archive, "word/document.xml");
  MarkupWalker(main, text).blocks(main.xml());
  for (const char* kind : {"header", "footer"}) {
    for (const std::string& target : main.targetsOf(kind)) readMarkupPart(archive, target, text);
  }
  for (const char* kind : {"footnotes", "endnotes"}) {
    for (const std::string& target : main.targetsOf(kind)) readNotesPart(archive, target, text);
  }
  for (const std::string& target : main.targetsOf("comments")) readMarkupPart(archive, target, text);
}

// The text of a string item: its runs' text, without the phonetic guides of East Asian names.
std::string stringItemText(const pugi::xml_node& node) {
  std::string text;
  for (const pugi::xml_node& child : node.children()) {
    const std::string_view name = localName(child);
    if (name == "t") {
      text += child.child_value();
    } else if (name != "rPh") {
      text += stringItemText(child);
    }
  }
  return text;
}

std::vector<std::string> sharedStrings(ZipArchive& archive, const Part& workbook) {
  std::vector<std::string> strings;
  for (const std::string& target : workbook.targetsOf("sharedStrings")) {
    const pugi::xml_document xml = parseXmlPart(archive.read(target));
    for (const pugi::xml_node& item : xml.document_element().children())
      strings.push_back(stringItemText(item));
  }
  return strings;
}

// The row number of a cell reference such as "B12" (of its first cell for a range), 0 when it has none.
unsigned long rowOfReference(std::string_view reference) {
  const std::size_t digits = reference.find_first_of("0123456789");
  return digits == std::string_view::npos
             ? 0
             : std::strtoul(std::string(reference.substr(digits)).c_str(), nullptr, 10);
}

class SheetReader {
 public:
  SheetReader(ZipArchive& archive, const std::vector<std::string>& strings, DocumentText& text)
      : archive_(archive), strings_(strings), text_(text) {}

  // Reads the sheet's rows and returns its comment parts.
  std::vector<std::string> read(const std::string& name) {
    const Part sheet(archive_, name);
    const pugi::xml_node root = sheet.xml().document_element();
    std::multimap<unsigned long, std::string> linksByRow;
    for (const pugi::xml_node& link : childNamed(root, "hyperlinks").children()) {
      linksByRow.emplace(rowOfReference(link.attribute("ref").value()),
                         sheet.target(link.attribute("r:id").value()));
    }
    for (const pugi::xml_node& row : childNamed(root, "sheetData").children()) {
      text_.startRow();
      for (const pugi::xml_node& cell : row.children()) {
        text_.startCell();
        text_.append(cellText(cell));
      }
      const auto [first, last] = linksByRow.equal_range(row.attribute("r").as_ullong());
      for (auto link = first; link != last; ++link) text_.addLink(link->second);
      text_.endRow();
    }
    return sheet.targetsOf("comments");
  }

 private:
  std::string cellText(const pugi::xml_node& cell) const {
    const std::string_view type = cell.attribute("t").value();
    if (type == "inlineStr") return stringItemText(childNamed(cell, "is"));
    const std::string value = childNamed(cell, "v").child_value();
    if (type != "s") return value;
    const unsigned long index = std::strtoul(value.c_str(), nullptr, 10);
    return index < strings_.size() ? strings_[index] : std::string();
  }

  ZipArchive& archive_;
  const std::vector<std::string>& strings_;
  DocumentText& text_;
};

void readWorkbook(ZipArchive& archive, DocumentText& text) {
  const Part workbook(archive, "xl/workbook.xml");
  const std::vector<std::string> strings = sharedStrings(archive, workbook);
  SheetReader sheets(archive, strings, text);
  std::vector<std::string> commentParts;
  for (const pugi::xml_node& sheet : childNamed(workbook.xml().document_element(), "sheets").children()) {
    const std::string target = workbook.target(sheet.attribute("r:id").value());
    if (target.empty()) continue;
    for (std::string& comments : sheets.read(target)) commentParts.push_back(std::move(comments));
  }
  for (const std::string& name : commentParts) {
    const pugi::xml_document xml = parseXmlPart(archive.read(name));
    for (const pugi::xml_node& comment : childNamed(xml.document_element(), "commentList").children()) {
      text.append(stringItemText(childNamed(comment, "text")));
      text.endParagraph();
    }
  }
}

// Comments of the older kind hold their text in a "text" element rather than in paragraphs.
void readSlideComments(ZipArchive& archive, const std::string& name, DocumentText& text) {
  const Part part(archive, name);
  MarkupWalker walker(part, text);
  for (const pugi::xml_node& comment : part.xml().document_element().children()) {
    text.append(childNamed(comment, "text").child_value());
    walker.blocks(comment);
    text.endParagraph();
  }
}

void readPresentation(ZipArchive& archive, DocumentText& text) {
  const Part presentation(archive, "ppt/presentation.xml");
  std::vector<std::string> notes;
  std::vector<std::string> comments;
  for (const pugi::xml_node& slideId :
       childNamed(presentation.xml().document_element(), "sldIdLst").children()) {
    const std::string target = presentation.target(slideId.attribute("r:id").value());
    if (target.empty()) continue;
    const Part slide(archive, target);
    MarkupWalker(slide, text).blocks(slide.xml());
    for (std::string& part : slide.targetsOf("notesSlide")) notes.push_back(std::move(part));
    for (std::string& part : slide.targetsOf("comments")) comments.push_back(std::move(part));
  }
  for (const std::string& name : notes) readMarkupPart(archive, name, text);
  for (const std::string& name : comments) readSlideComments(archive, name, text);
}

}  // namespace

std::optional<std::string> OoxmlReader::read(ZipArchive& archive) {
  DocumentText text;
  if (archive.contains("word/document.xml")) {
    readWordDocument(archive, text);
  } else if (archive.contains("xl/workbook.xml")) {
    readWorkbook(archive, text);
  } else if (archive.contains("ppt/presentation.xml")) {
    readPresentation(archive, text);
  } else {
    return std::nullopt;
  }
  return text.paneText();
}

}  // namespace glanex
