#include "extraction/HtmlText.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include <libxml/HTMLparser.h>

#include "extraction/DocumentLimits.h"
#include "extraction/DocumentText.h"
#include "extraction/Errors.h"

namespace glanex {

namespace {

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (const std::string_view candidate : names) {
    if (name == candidate) return true;
  }
  return false;
}

// Line breaks in HTML source are spaces on screen.
std::string shownText(const char* content) {
  std::string text = content;
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string_view nameOf(const xmlNode* node) {
  return reinterpret_cast<const char*>(node->name);
}

class HtmlWalker {
 public:
  explicit HtmlWalker(DocumentText& text) : text_(text) {}

  void children(const xmlNode* node) {
    // The walk recurses: a tree nested past the bound is refused as an XML part would be.
    if (++depth_ > document_limits::kMaxXmlDepth) throw EOutOfResources(kStreamLoadError);
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) element(child);
    --depth_;
  }

 private:
  void element(const xmlNode* node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      text_.append(shownText(reinterpret_cast<const char*>(node->content)));
      return;
    }
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string_view name = nameOf(node);
    if (isOneOf(name, {"script", "style", "head"})) return;
    if (name == "br") {
      text_.append("\n");
    } else if (name == "tr") {
      text_.startRow();
      children(node);
      text_.endRow();
    } else if (name == "td" || name == "th") {
      text_.startCell();
      children(node);
    } else if (name == "a") {
      link(node);
      children(node);
    } else if (isOneOf(name, {"p", "div", "li", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote", "pre",
                              "address", "dt", "dd"})) {
      children(node);
      text_.endParagraph();
    } else {
      children(node);
    }
  }

  void link(const xmlNode* node) {
    const std::unique_ptr<xmlChar, decltype(xmlFree)> href(xmlGetProp(node, BAD_CAST "href"), xmlFree);
    if (!href) return;
    const std::string_view target = reinterpret_cast<const char*>(href.get());
    if (target.size() > 7 && (target.substr(0, 7) == "mailto:" || target.substr(0, 7) == "MAILTO:")) {
      text_.addLink(target);
    }
  }

  DocumentText& text_;
  std::size_t depth_ = 0;
};

}  // namespace

void appendHtmlText(std::string_view html, DocumentText& text) {
  if (html.empty()) return;
  const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
      htmlReadMemory(html.data(), static_cast<int>(std::min<std::size_t>(html.size(), INT32_MAX)), nullptr,
                     "UTF-8",
                     HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
      &xmlFreeDoc);
  if (!document) return;
  HtmlWalker walker(text);
  walker.children(reinterpret_cast<const xmlNode*>(document.get()));
  text.endParagraph();
}

}  // namespace glanex
