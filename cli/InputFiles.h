#pragma once

#include <optional>
#include <string>
#include <vector>

// The files a run reads, from the names on its command line.
namespace glanex {

struct InputFiles {
  // In the order given, each folder's files in its place; "-" is standard input.
  std::vector<std::string> files;
  // Why a folder or one of its entries could not be walked, one French message each.
  std::vector<std::string> unreadable;
};

// Each name as it is, or with `recursive` each folder (a named link to one included) walked in byte order
// of its entries' names: regular files are read, folders walked, links to folders not followed (so no
// loop can form), anything else skipped. `outputTarget`, the file -o writes, is never among the files a
// walk finds. A name that cannot be opened stays in the list: reading it tells why.
InputFiles listInputFiles(const std::vector<std::string>& names, bool recursive,
                          const std::optional<std::string>& outputTarget);

}  // namespace glanex
