#include "extraction/XmlPart.h"

#include "extraction/DocumentLimits.h"
#include "extraction/Errors.h"

namespace glanex {

namespace {

// Walks the tree with pugixml's own parent links, so that the check itself needs no stack.
std::size_t depthOf(const pugi::xml_node& root) {
  std::size_t depth = 0;
  std::size_t deepest = 0;
  pugi::xml_node node = root.first_child();
  while (node && node != root) {
    if (node.first_child()) {
      node = node.first_child();
      deepest = std::max(deepest, ++depth);
      continue;
    }
    while (node != root && !node.next_sibling()) {
      node = node.parent();
      --depth;
    }
    if (node != root) node = node.next_sibling();
  }
  return deepest + 1;
}

}  // namespace

pugi::xml_document parseXmlPart(const std::string& text) {
  pugi::xml_document document;
  // Text that is only a space (a run holding one) is text; whitespace between elements is not.
  document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (depthOf(document) > document_limits::kMaxXmlDepth) throw EOutOfResources(kStreamLoadError);
  return document;
}

std::string_view localName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name) {
  for (const pugi::xml_node& child : node.children()) {
    if (localName(child) == name) return child;
  }
  return {};
}

}  // namespace glanex
