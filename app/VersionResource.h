#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The version library of the Windows platform, over ELF executables: the version block (Windows
// VS_VERSIONINFO layout) is the content of the file's section ".glanex_version". Every length read from the
// file or the block is checked against what is really there, so a damaged or hostile file yields "no
// version" rather than a read out of bounds.
namespace glanex {

// Size in bytes of the version block of the file at `path`; 0 when the file cannot be read, is no 64-bit
// little-endian ELF file, or has no version section.
std::uint32_t fileVersionInfoSize(const std::string& path);

// Copies the file's version block into `buffer`, as much of it as fits. False when the file has no block
// or cannot be read.
bool readFileVersionInfo(const std::string& path, std::span<std::uint8_t> buffer);

// A value found in a version block.
struct VersionValue {
  // The value's bytes, inside the block.
  std::span<const std::uint8_t> bytes;
  // Its length as the block states it: UTF-16 units (terminating zero included) for a text value,
  // bytes for a binary one.
  std::uint32_t length = 0;
};

// The value at `subBlock` in `block`: "\" for the fixed file information, "\VarFileInfo\Translation" for
// the translation list, "\StringFileInfo\<language><code page>\<name>" for a text. Keys compare without
// regard to ASCII case. Nothing when the path leads nowhere or the block's lengths do not hold together.
std::optional<VersionValue> queryVersionValue(std::span<const std::uint8_t> block, std::string_view subBlock);

// The UTF-16LE text at the start of `bytes`, up to its zero or the end of `bytes`, as Windows-1252; "?"
// stands for each character without a Windows-1252 form.
std::string windows1252FromUtf16(std::span<const std::uint8_t> bytes);

}  // namespace glanex
