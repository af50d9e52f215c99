#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "extraction/FileDescriptor.h"

namespace glanex {

// An input the streaming extraction can read from any position, as often as it needs: the named file
// itself when it is a regular file, else (standard input, a pipe, a device) a copy of it in an unlinked
// temporary file, so that nothing is held in memory and nothing is left on disk.
class RereadableInput {
 public:
  // Opens `path`, or standard input for "-". Throws EFOpenError when it cannot be opened (a folder
  // included), standardInputError when standard input cannot be, and EOutOfResources "Erreur au
  // chargement du flux" when it cannot be read or copied.
  explicit RereadableInput(const std::string& path);

  // The input's size when it was opened.
  std::int64_t size() const { return size_; }

  // Fills `buffer` from `offset` on and returns how many bytes it got: fewer only at the end of the input.
  // Throws EOutOfResources "Erreur au chargement du flux" when reading fails.
  std::size_t readAt(std::int64_t offset, std::span<char> buffer) const;

 private:
  static int openNamed(const std::string& path);
  // Replaces file_ with a temporary copy of what it reads to its end.
  void copyToTemporaryFile();

  FileDescriptor file_;
  // Where the input starts in file_: standard input redirected from a file may already be past its start.
  std::int64_t start_ = 0;
  std::int64_t size_ = 0;
};

}  // namespace glanex
