#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "extraction/ByteSource.h"
#include "extraction/FileDescriptor.h"
#include "extraction/MappedInput.h"

namespace glanex {

// The named file or standard input, read once from front to back: a pipe or a device is never copied
// anywhere, so its size does not matter.
class InputStream : public ByteSource {
 public:
  // Opens `path`, or standard input for "-". Throws EFOpenError when it cannot be opened (a folder
  // included), and standardInputError when standard input cannot be.
  explicit InputStream(const std::string& path);

  // The bytes left to read when it was opened, known for a regular file only.
  std::optional<std::int64_t> size() const { return size_; }

  // The bytes left, mapped into memory, for a regular file that is not empty and that the system lets
  // map; nothing otherwise.
  std::unique_ptr<MappedInput> mapRest() const;

  // read() throws EOutOfResources "Erreur au chargement du flux" when reading fails.

 private:
  std::size_t fill(std::span<char> buffer) override;
  static int openNamed(const std::string& path);

  FileDescriptor file_;
  std::int64_t position_ = 0;
  std::optional<std::int64_t> size_;
};

}  // namespace glanex
