#include "app/VersionResource.h"

#include <algorithm>
#include <array>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#include "extraction/FileDescriptor.h"
#include "extraction/PosixIo.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// The build links the block into this section of each program.
constexpr std::string_view kVersionSectionName = ".glanex_version";

// ELF64 layout, from the System V ABI: only the fields needed to find a section by name.
constexpr std::size_t kElfHeaderSize = 64;
constexpr std::size_t kElfClassOffset = 4;
constexpr std::size_t kElfDataOffset = 5;
constexpr std::uint8_t kElfClass64 = 2;
constexpr std::uint8_t kElfLittleEndian = 1;
constexpr std::size_t kSectionTableOffsetField = 0x28;
constexpr std::size_t kSectionEntrySizeField = 0x3A;
constexpr std::size_t kSectionCountField = 0x3C;
constexpr std::size_t kSectionNamesIndexField = 0x3E;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::size_t kSectionNameField = 0x00;
constexpr std::size_t kSectionTypeField = 0x04;
constexpr std::size_t kSectionOffsetField = 0x18;
constexpr std::size_t kSectionSizeField = 0x20;
constexpr std::uint32_t kSectionTypeNoBits = 8;

// A version block states its own length in 16 bits, so a larger section holds no valid block.
constexpr std::uint64_t kLargestVersionBlock = 0xFFFF;

// Version block layout: every structure opens with wLength, wValueLength and wType, then its key.
constexpr std::size_t kNodeHeaderSize = 6;
constexpr std::uint16_t kTextValueType = 1;
constexpr char kPathSeparator = '\\';

std::uint64_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = (value << 8) | bytes[offset + i];
  return value;
}

std::uint16_t littleEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(littleEndian(bytes, offset, 2));
}

// Where some bytes lie in a file.
struct FileExtent {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

// A regular file opened for reading, whose reads are refused beyond its end rather than cut short.
class BoundedFile {
 public:
  explicit BoundedFile(const std::string& path) : file_(openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat status {};
    if (file_.isOpen() && ::fstat(file_.get(), &status) == 0 && S_ISREG(status.st_mode)) {
      size_ = static_cast<std::uint64_t>(status.st_size);
    }
  }

  bool holds(const FileExtent& extent) const {
    return extent.offset <= size_ && extent.size <= size_ - extent.offset;
  }

  // Fills `out` from `offset`; false when the file is shorter or the read fails.
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (!holds({offset, out.size()})) return false;
    const std::optional<std::size_t> got =
        readFullyAt(file_.get(), std::as_writable_bytes(out), static_cast<std::int64_t>(offset));
    return got == out.size();
  }

 private:
  FileDescriptor file_;
  std::uint64_t size_ = 0;
};

// The parts of the ELF header that lead to the section headers.
struct SectionTable {
  std::uint64_t offset = 0;
  std::uint64_t entrySize = 0;
  std::uint64_t count = 0;
  std::uint64_t namesIndex = 0;
};

// One section header, reduced to what the search needs.
struct SectionHeader {
  std::uint32_t nameOffset = 0;
  std::uint32_t type = 0;
  FileExtent extent;
};

// Files with more than 65,279 sections keep their count elsewhere; they are read as having none.
std::optional<SectionTable> readSectionTable(const BoundedFile& file) {
  std::array<std::uint8_t, kElfHeaderSize> header{};
  if (!file.read(0, header)) return std::nullopt;
  const bool isElf = header[0] == 0x7F && header[1] == 'E' && header[2] == 'L' && header[3] == 'F';
  if (!isElf || header[kElfClassOffset] != kElfClass64 || header[kElfDataOffset] != kElfLittleEndian) {
    return std::nullopt;
  }
  const SectionTable table{
      littleEndian(header, kSectionTableOffsetField, 8), littleEndian(header, kSectionEntrySizeField, 2),
      littleEndian(header, kSectionCountField, 2), littleEndian(header, kSectionNamesIndexField, 2)};
  // The entries are read one by one; the size check keeps offset + index * entry size from overflowing.
  const bool sane = table.entrySize >= kSectionHeaderSize && table.namesIndex < table.count &&
                    file.holds({table.offset, table.entrySize * table.count});
  if (!sane) return std::nullopt;
  return table;
}

std::optional<SectionHeader> readSectionHeader(const BoundedFile& file, const SectionTable& table,
                                               std::uint64_t index) {
  std::array<std::uint8_t, kSectionHeaderSize> entry{};
  if (!file.read(table.offset + index * table.entrySize, entry)) return std::nullopt;
  SectionHeader header;
  header.nameOffset = static_cast<std::uint32_t>(littleEndian(entry, kSectionNameField, 4));
  header.type = static_cast<std::uint32_t>(littleEndian(entry, kSectionTypeField, 4));
  header.extent = {littleEndian(entry, kSectionOffsetField, 8), littleEndian(entry, kSectionSizeField, 8)};
  return header;
}

// A section whose bytes really are in the file: not an uninitialised one, not one that runs past the end.
bool hasContentInFile(const BoundedFile& file, const SectionHeader& header) {
  return header.type != kSectionTypeNoBits && file.holds(header.extent);
}

// Whether the zero-terminated name at `nameOffset` of the section name table is `name`.
bool isNamed(const BoundedFile& file, const SectionHeader& names, std::uint32_t nameOffset,
             std::string_view name) {
  std::vector<std::uint8_t> stored(name.size() + 1);
  if (nameOffset > names.extent.size || stored.size() > names.extent.size - nameOffset) return false;
  if (!file.read(names.extent.offset + nameOffset, stored)) return false;
  return stored.back() == 0 && std::equal(name.begin(), name.end(), stored.begin());
}

std::optional<FileExtent> findVersionSection(const BoundedFile& file) {
  const std::optional<SectionTable> table = readSectionTable(file);
  if (!table) return std::nullopt;
  const std::optional<SectionHeader> names = readSectionHeader(file, *table, table->namesIndex);
  if (!names || !hasContentInFile(file, *names)) return std::nullopt;
  for (std::uint64_t index = 0; index < table->count; ++index) {
    const std::optional<SectionHeader> section = readSectionHeader(file, *table, index);
    if (!section) return std::nullopt;
    if (isNamed(file, *names, section->nameOffset, kVersionSectionName)) {
      const bool usable = hasContentInFile(file, *section) && section->extent.size <= kLargestVersionBlock;
      return usable ? std::optional(section->extent) : std::nullopt;
    }
  }
  return std::nullopt;
}

std::size_t alignTo32Bits(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

// One structure of a version block, as offsets into the block, each checked to lie inside its parent.
struct Node {
  std::size_t keyStart = 0;  // first UTF-16 unit of the key
  std::size_t keyEnd = 0;    // its terminating zero
  std::size_t valueStart = 0;
  std::size_t valueSize = 0;      // bytes
  std::uint32_t valueLength = 0;  // as stated: UTF-16 units for text, bytes otherwise
  std::size_t childrenStart = 0;
  std::size_t end = 0;  // one past the structure's last byte
};

// The structure at `start`, which must end by `limit`; nothing when its lengths do not fit.
std::optional<Node> parseNode(std::span<const std::uint8_t> block, std::size_t start, std::size_t limit) {
  if (start > limit || limit - start < kNodeHeaderSize) return std::nullopt;
  const std::size_t length = littleEndian16(block, start);
  const std::uint16_t valueLength = littleEndian16(block, start + 2);
  const std::uint16_t type = littleEndian16(block, start + 4);
  if (length < kNodeHeaderSize || length > limit - start) return std::nullopt;

  Node node;
  node.end = start + length;
  node.keyStart = start + kNodeHeaderSize;
  node.keyEnd = node.keyStart;
  while (node.keyEnd + 2 <= node.end && littleEndian16(block, node.keyEnd) != 0) node.keyEnd += 2;
  if (node.keyEnd + 2 > node.end) return std::nullopt;

  node.valueLength = valueLength;
  node.valueSize = type == kTextValueType ? std::size_t{valueLength} * 2 : valueLength;
  // A structure without a value may end right after its key, before the padding.
  node.valueStart = std::min(alignTo32Bits(node.keyEnd + 2), node.end);
  if (node.valueSize > node.end - node.valueStart) return std::nullopt;
  node.childrenStart = std::min(alignTo32Bits(node.valueStart + node.valueSize), node.end);
  return node;
}

char asciiLower(std::uint16_t unit) {
  return static_cast<char>(unit >= 'A' && unit <= 'Z' ? unit - 'A' + 'a' : unit);
}

// Keys compare as the version library compares them: ASCII letters without regard to case, every other
// character exactly.
bool keyEquals(std::span<const std::uint8_t> block, const Node& node, std::string_view name) {
  if ((node.keyEnd - node.keyStart) / 2 != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const std::uint16_t unit = littleEndian16(block, node.keyStart + 2 * i);
    const auto wanted = static_cast<unsigned char>(name[i]);
    if (unit > 0xFF || asciiLower(unit) != asciiLower(wanted)) return false;
  }
  return true;
}

std::optional<Node> findChild(std::span<const std::uint8_t> block, const Node& parent, std::string_view key) {
  for (std::size_t offset = parent.childrenStart; offset < parent.end;) {
    const std::optional<Node> child = parseNode(block, offset, parent.end);
    if (!child) return std::nullopt;
    if (keyEquals(block, *child, key)) return child;
    offset = alignTo32Bits(child->end);
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t fileVersionInfoSize(const std::string& path) {
  const BoundedFile file(path);
  const std::optional<FileExtent> section = findVersionSection(file);
  return section ? static_cast<std::uint32_t>(section->size) : 0;
}

bool readFileVersionInfo(const std::string& path, std::span<std::uint8_t> buffer) {
  const BoundedFile file(path);
  const std::optional<FileExtent> section = findVersionSection(file);
  if (!section) return false;
  const std::size_t count = std::min<std::uint64_t>(buffer.size(), section->size);
  return file.read(section->offset, buffer.first(count));
}

std::optional<VersionValue> queryVersionValue(std::span<const std::uint8_t> block,
                                              std::string_view subBlock) {
  std::optional<Node> node = parseNode(block, 0, block.size());
  while (node && !subBlock.empty()) {
    const std::size_t separator = subBlock.find(kPathSeparator);
    const std::string_view key = subBlock.substr(0, separator);
    subBlock = separator == std::string_view::npos ? std::string_view() : subBlock.substr(separator + 1);
    // Leading and doubled separators name no structure.
    if (!key.empty()) node = findChild(block, *node, key);
  }
  if (!node) return std::nullopt;
  return VersionValue{block.subspan(node->valueStart, node->valueSize), node->valueLength};
}

std::string windows1252FromUtf16(std::span<const std::uint8_t> bytes) {
  std::size_t units = 0;
  while (2 * units + 2 <= bytes.size() && littleEndian16(bytes, 2 * units) != 0) ++units;
  return utf16ToCp1252(std::string_view(reinterpret_cast<const char*>(bytes.data()), 2 * units), false);
}

}  // namespace glanex
