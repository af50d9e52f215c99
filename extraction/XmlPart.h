#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

// The XML parts of office files, read with pugixml: it expands no entity beyond XML's own five and the
// numeric ones, so entity bombs stay as written, and it builds the tree without recursion.
namespace glanex {

// Parses `text`. A part that breaks off keeps what was read before the break. Throws EOutOfResources
// "Erreur au chargement du flux" when its elements nest deeper than kMaxXmlDepth, before any recursive
// walk over them could run out of stack.
pugi::xml_document parseXmlPart(const std::string& text);

// The element's name without its namespace prefix: the prefixes are the producer's choice.
std::string_view localName(const pugi::xml_node& node);

// The first child element whose local name is `name`.
pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name);

}  // namespace glanex
