#pragma once

#include <cstddef>
#include <cstdint>

// The bounds that a document read through its format (an office file, an e-mail message, a PDF) is held to,
// so that a small hostile file can take neither the memory nor the time of the program. Going past one
// refuses the whole file with EOutOfResources "Erreur au chargement du flux".
namespace glanex::document_limits {

// The bytes that the parts read from one container may expand to, all together.
inline constexpr std::uint64_t kMaxExpandedBytes = std::uint64_t{1} << 30;

// How many times its compressed size one part may expand to, once it is past kRatioFreeBytes: small XML
// parts of real files compress beyond 100:1, a bomb's parts are big.
inline constexpr std::uint64_t kMaxExpansionRatio = 100;
inline constexpr std::uint64_t kRatioFreeBytes = std::uint64_t{1} << 20;

// The entries a container may list.
inline constexpr std::int64_t kMaxEntries = 10'000;

// How deep the elements of an XML part may nest, as deep as an RTF group may.
inline constexpr std::size_t kMaxXmlDepth = 1'000;

// How deep the parts of an e-mail message (multiparts, attached messages) may nest.
inline constexpr int kMaxMimeDepth = 100;

// The processor seconds and the memory the child process that reads a PDF may use.
inline constexpr unsigned kPdfCpuSeconds = 30;
inline constexpr std::uint64_t kPdfMemoryBytes = std::uint64_t{2} << 30;
// How long the reading of a PDF may take in all: twice the processor time, for a busy machine.
inline constexpr unsigned kPdfWallSeconds = 2 * kPdfCpuSeconds;

// The spaces that one run of repeated spaces or empty cells may stand for: the count is the file's word.
inline constexpr std::uint64_t kMaxRepeat = 1'000;

}  // namespace glanex::document_limits
