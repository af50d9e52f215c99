#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct zip;

namespace glanex {

// A ZIP archive held in memory, read through libzip, whose parts are read within the bounds of
// DocumentLimits.h: the entries it may list, the bytes all parts read may expand to, and each part's
// expansion ratio.
class ZipArchive {
 public:
  // The archive in `bytes`, which must outlive it; nullopt when libzip cannot read it as one. Throws
  // EOutOfResources "Erreur au chargement du flux" when it lists more entries than allowed.
  static std::optional<ZipArchive> open(std::string_view bytes);

  // The name of the first entry (in the archive's order), empty when it has none.
  std::string firstName() const;
  bool contains(const std::string& name) const;

  // The expanded bytes of entry `name`: empty when there is none, as far as it decodes when its data is
  // damaged. Throws EOutOfResources "Erreur au chargement du flux" past a bound.
  std::string read(const std::string& name);

 private:
  struct Closer {
    void operator()(zip* archive) const;
  };
  explicit ZipArchive(zip* archive) : archive_(archive) {}

  std::unique_ptr<zip, Closer> archive_;
  std::uint64_t expandedBytes_ = 0;
};

}  // namespace glanex
