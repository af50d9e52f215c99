#include "extraction/AddressScan.h"

#include <bit>
#include <cstring>

// Compiled once per instruction set that the processors of its architecture may have; the program calls
// the best one the running processor has.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "extraction/AddressScan.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace glanex {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR

std::size_t startBack(const AddressScan& scan, std::string_view text, std::size_t at, bool& dotted) {
  return scan.startBack(text, at, dotted);
}

std::size_t endOn(const AddressScan& scan, std::string_view text, std::size_t from, bool& dotted) {
  return scan.endOn(text, from, dotted);
}

#else

namespace hn = hwy::HWY_NAMESPACE;

using Bytes = hn::Full128<std::uint8_t>;
constexpr std::size_t kWindow = 16;

// The separators and the other dots of the sixteen bytes at `bytes`, one bit each, the first byte lowest.
struct WindowBits {
  std::uint32_t separators;
  std::uint32_t dots;
};

WindowBits classify(const AddressScan::NibbleTables& tables, const char* bytes) {
  const Bytes d;
  const auto window = hn::LoadU(d, reinterpret_cast<const std::uint8_t*>(bytes));
  const auto low = hn::And(window, hn::Set(d, 0x0F));
  const auto high = hn::ShiftRight<4>(window);
  const auto belowHalf = hn::And(hn::TableLookupBytes(hn::Load(d, tables.lowNibbles[0].data()), low),
                                 hn::TableLookupBytes(hn::Load(d, tables.highNibbles[0].data()), high));
  const auto fromHalf = hn::And(hn::TableLookupBytes(hn::Load(d, tables.lowNibbles[1].data()), low),
                                hn::TableLookupBytes(hn::Load(d, tables.highNibbles[1].data()), high));
  std::uint8_t ordinary[8] = {};
  std::uint8_t dots[8] = {};
  hn::StoreMaskBits(d, hn::Eq(hn::Or(belowHalf, fromHalf), hn::Zero(d)), ordinary);
  hn::StoreMaskBits(d, hn::Eq(window, hn::Set(d, '.')), dots);
  std::uint16_t ordinaryBits = 0;
  std::uint16_t dotBits = 0;
  std::memcpy(&ordinaryBits, ordinary, sizeof ordinaryBits);
  std::memcpy(&dotBits, dots, sizeof dotBits);
  // A "." that is a separator ends the token instead.
  const auto separators = static_cast<std::uint16_t>(~ordinaryBits);
  return {separators, dotBits & ~std::uint32_t{separators}};
}

std::size_t startBack(const AddressScan& scan, std::string_view text, std::size_t at, bool& dotted) {
  std::size_t from = at;
  for (; from >= kWindow; from -= kWindow) {
    const WindowBits bits = classify(scan.nibbles(), text.data() + from - kWindow);
    if (bits.separators == 0) {
      dotted |= bits.dots != 0;
      continue;
    }
    const int last = std::bit_width(bits.separators) - 1;
    dotted |= (bits.dots >> last) != 0;
    return from - kWindow + static_cast<std::size_t>(last) + 1;
  }
  return scan.startBack(text, from, dotted);
}

std::size_t endOn(const AddressScan& scan, std::string_view text, std::size_t from, bool& dotted) {
  for (; from + kWindow <= text.size(); from += kWindow) {
    const WindowBits bits = classify(scan.nibbles(), text.data() + from);
    if (bits.separators == 0) {
      dotted |= bits.dots != 0;
      continue;
    }
    const int first = std::countr_zero(bits.separators);
    dotted |= (bits.dots & ((1u << first) - 1)) != 0;
    return from + static_cast<std::size_t>(first);
  }
  return scan.endOn(text, from, dotted);
}

#endif

void FindAddresses(const AddressScan& scan, std::string_view text, std::vector<std::string_view>* found) {
  for (std::size_t at = text.find('@'); at != std::string_view::npos;) {
    bool dotted = false;
    const std::size_t start = startBack(scan, text, at, dotted);
    const std::size_t end = endOn(scan, text, at + 1, dotted);
    // A token that starts with its "@" is never kept.
    if (dotted && start < at) found->push_back(text.substr(start, end - start));
    at = text.find('@', end);
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace glanex
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace glanex {

HWY_EXPORT(FindAddresses);

AddressScan::AddressScan(const SeparatorTable& separators) {
  for (std::size_t byte = 0; byte < classes_.size(); ++byte) {
    const char c = static_cast<char>(byte);
    classes_[byte] = separators.contains(c) ? kSeparator : c == '.' ? kDot : kOrdinary;
    if (classes_[byte] != kSeparator) continue;
    const std::size_t half = byte >> 7;
    nibbles_.lowNibbles[half][byte & 15] |= static_cast<std::uint8_t>(1u << ((byte >> 4) & 7));
  }
  for (std::size_t high = 0; high < 16; ++high) {
    nibbles_.highNibbles[high >> 3][high] = static_cast<std::uint8_t>(1u << (high & 7));
  }
}

void AddressScan::findAddresses(std::string_view text, std::vector<std::string_view>& found) const {
  HWY_DYNAMIC_DISPATCH(FindAddresses)(*this, text, &found);
}

}  // namespace glanex
#endif
