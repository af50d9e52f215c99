#include "extraction/ZipArchive.h"

#include <algorithm>
#include <array>

#include <zip.h>

#include "extraction/DocumentLimits.h"
#include "extraction/Errors.h"

namespace glanex {

namespace {

using namespace document_limits;

// The most one entry may expand to: its ratio counts only past the ratio-free size.
std::uint64_t entryBound(std::uint64_t compressedSize) {
  return std::max(kRatioFreeBytes, compressedSize * kMaxExpansionRatio);
}

}  // namespace

void ZipArchive::Closer::operator()(zip* archive) const {
  zip_discard(archive);
}

std::optional<ZipArchive> ZipArchive::open(std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_error_fini(&error);
  if (source == nullptr) return std::nullopt;
  zip* archive = zip_open_from_source(source, ZIP_RDONLY, nullptr);
  if (archive == nullptr) {
    zip_source_free(source);
    return std::nullopt;
  }
  ZipArchive opened(archive);
  if (zip_get_num_entries(archive, 0) > kMaxEntries) throw EOutOfResources(kStreamLoadError);
  return opened;
}

std::string ZipArchive::firstName() const {
  if (zip_get_num_entries(archive_.get(), 0) <= 0) return {};
  const char* name = zip_get_name(archive_.get(), 0, ZIP_FL_ENC_RAW);
  return name != nullptr ? name : "";
}

bool ZipArchive::contains(const std::string& name) const {
  return zip_name_locate(archive_.get(), name.c_str(), ZIP_FL_ENC_RAW) >= 0;
}

std::string ZipArchive::read(const std::string& name) {
  const zip_int64_t index = zip_name_locate(archive_.get(), name.c_str(), ZIP_FL_ENC_RAW);
  zip_stat_t status;
  if (index < 0 || zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &status) != 0)
    return {};
  const std::uint64_t bound = entryBound((status.valid & ZIP_STAT_COMP_SIZE) != 0 ? status.comp_size : 0);
  std::unique_ptr<zip_file_t, decltype(&zip_fclose)> entry(
      zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0), &zip_fclose);
  std::string bytes;
  if (!entry) return bytes;
  std::array<char, 64 * 1024> block;
  // The sizes the archive states may lie: the bounds count the bytes that come out.
  for (;;) {
    const zip_int64_t count = zip_fread(entry.get(), block.data(), block.size());
    if (count <= 0) return bytes;
    const auto got = static_cast<std::uint64_t>(count);
    expandedBytes_ += got;
    if (bytes.size() + got > bound || expandedBytes_ > kMaxExpandedBytes) {
      throw EOutOfResources(kStreamLoadError);
    }
    bytes.append(block.data(), got);
  }
}

}  // namespace glanex
