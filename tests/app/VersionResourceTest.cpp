// Tests of the version block reader. Blocks and ELF files are written here byte by byte, apart from the
// build's generator, so that the last test checks what the build embeds in the real program as well.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/VersionInfo.h"
#include "app/VersionResource.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLittleEndian(Bytes& bytes, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void patchLittleEndian(Bytes& bytes, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t readLittleEndian(const Bytes& bytes, std::size_t offset, int width) {
  std::uint64_t value = 0;
  for (int i = width; i-- > 0;) value = value << 8 | bytes[offset + i];
  return value;
}

void padTo32Bits(Bytes& bytes) {
  bytes.resize((bytes.size() + 3) / 4 * 4);
}

// One structure of a version block: wLength, wValueLength, wType, key, padding, value, padding, children.
struct Structure {
  std::string key;
  std::uint16_t type = 1;
  std::uint16_t valueLength = 0;
  Bytes value;
  std::vector<Structure> children;
  std::optional<std::uint16_t> statedLength;  // a lie in place of the true wLength
};

Bytes encode(const Structure& structure) {
  Bytes bytes;
  putLittleEndian(bytes, 0, 2);
  putLittleEndian(bytes, structure.valueLength, 2);
  putLittleEndian(bytes, structure.type, 2);
  for (const char c : structure.key) putLittleEndian(bytes, static_cast<unsigned char>(c), 2);
  putLittleEndian(bytes, 0, 2);
  padTo32Bits(bytes);
  bytes.insert(bytes.end(), structure.value.begin(), structure.value.end());
  for (const Structure& child : structure.children) {
    padTo32Bits(bytes);
    const Bytes encoded = encode(child);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  patchLittleEndian(bytes, 0, structure.statedLength.value_or(bytes.size()), 2);
  return bytes;
}

Structure parent(const std::string& key, std::vector<Structure> children) {
  Structure structure;
  structure.key = key;
  structure.children = std::move(children);
  return structure;
}

Structure binary(const std::string& key, Bytes value) {
  Structure structure;
  structure.key = key;
  structure.type = 0;
  structure.valueLength = static_cast<std::uint16_t>(value.size());
  structure.value = std::move(value);
  return structure;
}

Structure text(const std::string& key, const std::u16string& value) {
  Structure structure = parent(key, {});
  structure.valueLength = static_cast<std::uint16_t>(value.size() + 1);
  for (const char16_t unit : value) putLittleEndian(structure.value, unit, 2);
  putLittleEndian(structure.value, 0, 2);
  return structure;
}

struct Translation {
  std::uint16_t language;
  std::uint16_t codePage;
};

Bytes versionBlock(const std::vector<Translation>& translations, std::vector<Structure> stringTables) {
  Bytes list;
  for (const Translation& t : translations) {
    putLittleEndian(list, t.language, 2);
    putLittleEndian(list, t.codePage, 2);
  }
  Bytes fixedInfo;
  putLittleEndian(fixedInfo, 0xFEEF04BD, 4);
  fixedInfo.resize(52);
  Structure root = binary("VS_VERSION_INFO", fixedInfo);
  root.children = {parent("StringFileInfo", std::move(stringTables)),
                   parent("VarFileInfo", {binary("Translation", list)})};
  return encode(root);
}

Bytes frenchBlock(const std::u16string& fileVersion) {
  return versionBlock({{0x040C, 0x04E4}}, {parent("040C04E4", {text("FileVersion", fileVersion)})});
}

// A 64-bit little-endian ELF file holding `sections` (from index 1) and then their name table: enough for
// a search by section name.
Bytes elfFile(std::vector<std::pair<std::string, Bytes>> sections) {
  sections.emplace_back(".shstrtab", Bytes());
  Bytes names(1);
  std::vector<std::size_t> nameOffsets;
  for (const auto& section : sections) {
    nameOffsets.push_back(names.size());
    names.insert(names.end(), section.first.begin(), section.first.end());
    names.push_back(0);
  }
  sections.back().second = names;

  Bytes file = {0x7F, 'E', 'L', 'F', 2, 1, 1};
  file.resize(64);
  Bytes table(64);  // section 0 stands for none
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const Bytes& content = sections[i].second;
    putLittleEndian(table, nameOffsets[i], 4);
    putLittleEndian(table, 1, 4);  // SHT_PROGBITS
    table.resize(table.size() + 16);
    putLittleEndian(table, file.size(), 8);
    putLittleEndian(table, content.size(), 8);
    table.resize(table.size() + 24);
    file.insert(file.end(), content.begin(), content.end());
    padTo32Bits(file);
  }
  patchLittleEndian(file, 0x28, file.size(), 8);
  patchLittleEndian(file, 0x3A, 64, 2);
  patchLittleEndian(file, 0x3C, sections.size() + 1, 2);
  patchLittleEndian(file, 0x3E, sections.size(), 2);
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

// Offset in `elf` of the field at `field` in the header of section `index`.
std::size_t sectionField(const Bytes& elf, std::size_t index, std::size_t field) {
  return readLittleEndian(elf, 0x28, 8) + 64 * index + field;
}

class VersionFile : public ::testing::Test {
 protected:
  std::string write(const Bytes& bytes) {
    const std::string path = scratch_.file("program" + std::to_string(++count_));
    writeBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
  }
  std::string versionOf(const Bytes& block) {
    return fileVersionOf(write(elfFile({{".glanex_version", block}})));
  }

 private:
  ScratchDir scratch_;
  int count_ = 0;
};

TEST(VersionQuery, FindsValuesByPathWithoutRegardToCase) {
  const Bytes block = frenchBlock(u"2.2.1.20");
  const auto translation = queryVersionValue(block, "\\VarFileInfo\\Translation");
  ASSERT_TRUE(translation);
  EXPECT_EQ(Bytes(translation->bytes.begin(), translation->bytes.end()), (Bytes{0x0C, 0x04, 0xE4, 0x04}));
  const auto version = queryVersionValue(block, "\\stringfileinfo\\040c04e4\\FILEVERSION");
  ASSERT_TRUE(version);
  EXPECT_EQ(version->length, 9u);
  EXPECT_EQ(windows1252FromUtf16(version->bytes), "2.2.1.20");
  EXPECT_EQ(queryVersionValue(block, "\\")->bytes.size(), 52u);

  EXPECT_FALSE(queryVersionValue(block, "\\StringFileInfo\\040C04E4\\ProductName"));
  EXPECT_FALSE(queryVersionValue(block, "\\Translation"));
  EXPECT_FALSE(queryVersionValue(block, "\\VarFileInfo\\Translation\\x"));
}

TEST(VersionQuery, RefusesBlocksWhoseLengthsDoNotHoldTogether) {
  const std::string path = "\\StringFileInfo\\040C04E4\\FileVersion";
  const Bytes block = frenchBlock(u"2.2.1.20");
  for (std::size_t size = 0; size < block.size(); ++size) {
    EXPECT_FALSE(queryVersionValue(std::span(block).first(size), path)) << "cut at " << size;
  }

  const auto lyingVersion = [&](Structure fileVersion) {
    return versionBlock({{0x040C, 0x04E4}}, {parent("040C04E4", {fileVersion, text("Other", u"x")})});
  };
  Structure valueTooLong = text("FileVersion", u"1.0");
  valueTooLong.valueLength = 500;
  Structure zeroLength = text("FileVersion", u"1.0");
  zeroLength.statedLength = 0;
  Structure inKey = text("FileVersion", u"1.0");
  inKey.statedLength = 11;
  Structure pastParent = text("FileVersion", u"1.0");
  pastParent.statedLength = 0xFFF1;
  for (const Structure& lie : {valueTooLong, zeroLength, inKey, pastParent}) {
    EXPECT_FALSE(queryVersionValue(lyingVersion(lie), path));
  }
  Structure oddLength = text("FileVersion", u"1.0");
  oddLength.statedLength = 43;
  EXPECT_EQ(windows1252FromUtf16(queryVersionValue(lyingVersion(oddLength), path)->bytes), "1.0");
}

TEST_F(VersionFile, ReadsTheFileVersionOfTheFirstTranslationOnly) {
  const auto table = [](const std::string& key, const std::u16string& version) {
    return parent(key, {text("ProductName", u"Glanex"), text("FileVersion", version)});
  };
  const Structure noFileVersion = parent("040C04E4", {text("ProductName", u"Glanex")});
  EXPECT_EQ(versionOf(frenchBlock(u"2.2.1.20")), "2.2.1.20");
  EXPECT_EQ(versionOf(versionBlock({{0x0409, 0x04E4}, {0x040C, 0x04E4}},
                                   {table("040904E4", u"1.0"), table("040C04E4", u"2.0")})),
            "1.0");
  EXPECT_EQ(versionOf(versionBlock({{0x040C, 0x04E4}, {0x0409, 0x04E4}},
                                   {table("040904E4", u"1.0"), table("040C04E4", u"2.0")})),
            "2.0");
  EXPECT_EQ(versionOf(versionBlock({{0x040C, 0x04E4}, {0x0409, 0x04E4}},
                                   {noFileVersion, table("040904E4", u"1.0")})),
            "");
  EXPECT_EQ(versionOf(versionBlock({}, {table("040C04E4", u"2.0")})), "");
  EXPECT_EQ(versionOf(frenchBlock(u"")), "");
  EXPECT_EQ(versionOf(frenchBlock(u"2.0 \u00E9\u20AC \u4E2D \U0001F600")), "2.0 \xE9\x80 ? ?");
}

TEST_F(VersionFile, FindsNoBlockInFilesThatHoldNoneOrLie) {
  const Bytes block = frenchBlock(u"2.2.1.20");
  const Bytes elf = elfFile({{".text", {0x90}}, {".glanex_version", block}});
  const std::string sound = write(elf);
  ASSERT_EQ(fileVersionInfoSize(sound), block.size());
  Bytes copy(block.size() - 8);
  ASSERT_TRUE(readFileVersionInfo(sound, copy));
  EXPECT_TRUE(std::equal(copy.begin(), copy.end(), block.begin()));

  const auto patched = [&](std::size_t offset, std::uint64_t value, int width) {
    Bytes bytes = elf;
    patchLittleEndian(bytes, offset, value, width);
    return bytes;
  };
  const std::vector<std::pair<const char*, Bytes>> files = {
      {"no version section", elfFile({{".text", {0x90}}, {".glanex_version2", block}})},
      {"empty file", {}},
      {"text file", Bytes(200, 'x')},
      {"32-bit ELF", patched(4, 1, 1)},
      {"big-endian ELF", patched(5, 2, 1)},
      {"cut before the section table", Bytes(elf.begin(), elf.end() - 100)},
      {"section past the end", patched(sectionField(elf, 2, 0x18), elf.size() - 4, 8)},
      {"huge section", patched(sectionField(elf, 2, 0x20), ~0ull, 8)},
      {"name past its table", patched(sectionField(elf, 2, 0), 0xFFFFFF, 4)},
      {"name cut by its table's end", patched(sectionField(elf, 3, 0x20), 20, 8)},
      {"uninitialised section", patched(sectionField(elf, 2, 4), 8, 4)},
      {"no name table", patched(0x3E, 7, 2)},
      {"short section headers", patched(0x3A, 32, 2)},
      {"larger than any block", elfFile({{".glanex_version", Bytes(0x10000)}})},
  };
  for (const auto& [name, bytes] : files) {
    const std::string path = write(bytes);
    EXPECT_EQ(fileVersionInfoSize(path), 0u) << name;
    EXPECT_EQ(fileVersionOf(path), "") << name;
  }
  EXPECT_EQ(fileVersionOf("/nonexistent/glanex"), "");
  EXPECT_EQ(fileVersionOf("/tmp"), "");
}

TEST_F(VersionFile, TruncatedOrLyingBlocksGiveAnEmptyVersionWithoutACrash) {
  const Bytes block = frenchBlock(u"2.2.1.20");
  for (std::size_t size = 0; size < block.size(); ++size) {
    EXPECT_EQ(versionOf(Bytes(block.begin(), block.begin() + size)), "") << "cut at " << size;
  }

  const auto withTranslationList = [](Bytes list, Structure fileVersion) {
    Structure root = binary("VS_VERSION_INFO", Bytes(52));
    root.children = {parent("StringFileInfo", {parent("040C04E4", {std::move(fileVersion)})}),
                     parent("VarFileInfo", {binary("Translation", std::move(list))})};
    return encode(root);
  };
  const Bytes french = {0x0C, 0x04, 0xE4, 0x04};
  Structure emptyValue = text("FileVersion", u"2.0");
  emptyValue.valueLength = 0;
  // The text's length counts no terminating zero and none follows: the text ends with its value.
  Structure unterminated = binary("FileVersion", {'2', 0, '.', 0, '0', 0});
  unterminated.type = 1;
  unterminated.valueLength = 3;
  const std::vector<std::pair<const char*, Bytes>> blocks = {
      {"translation list shorter than an entry",
       withTranslationList({0x0C, 0x04}, text("FileVersion", u"2.0"))},
      {"empty translation list", withTranslationList({}, text("FileVersion", u"2.0"))},
      {"FileVersion of length 0", withTranslationList(french, emptyValue)},
  };
  for (const auto& [name, bytes] : blocks) {
    EXPECT_EQ(versionOf(bytes), "") << name;
  }
  EXPECT_EQ(versionOf(withTranslationList(french, unterminated)), "2.0");
}

TEST(BuiltPrograms, CarryTheProjectVersionOnlyWhereEmbedded) {
  EXPECT_EQ(fileVersionOf(GLANEX_CLI_PATH), GLANEX_PROJECT_VERSION);
  Bytes block(fileVersionInfoSize(GLANEX_CLI_PATH));
  ASSERT_TRUE(readFileVersionInfo(GLANEX_CLI_PATH, block));
  const auto fixed = queryVersionValue(block, "\\");
  ASSERT_TRUE(fixed && fixed->bytes.size() == 52);
  const Bytes fixedInfo(fixed->bytes.begin(), fixed->bytes.end());
  const auto dword = [&](std::size_t offset) {
    return static_cast<unsigned>(readLittleEndian(fixedInfo, offset, 4));
  };
  EXPECT_EQ(dword(0), 0xFEEF04BDu);
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "%u.%u.%u.%u", dword(8) >> 16, dword(8) & 0xFFFF, dword(12) >> 16,
                dword(12) & 0xFFFF);
  EXPECT_STREQ(numbers, GLANEX_PROJECT_VERSION);

  EXPECT_NE(runningExecutablePath().find("version_resource_test"), std::string::npos);
  EXPECT_EQ(fileVersionOf(runningExecutablePath()), "");
}

}  // namespace
}  // namespace glanex::test
