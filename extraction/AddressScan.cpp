#include "extraction/AddressScan.h"

#include <bit>
#include <cstring>

// Compiled once per instruction set that the processors of its architecture may have; the program calls
// the best one the running processor has. The choice is made here rather than by Highway's library, whose
// loading alone took 5 ms of every run (it times its clock when loaded). The windows are 128 bits: the
// 512-bit sets would add nothing, and the sets' features this code does not use stay out of the checks.
#define HWY_DISABLED_TARGETS (HWY_AVX3 | HWY_AVX3_DL)
#define HWY_DISABLE_PCLMUL_AES
#define HWY_DISABLE_F16C
// The plain set is compiled even where the compiler may assume a vector set.
#define HWY_COMPILE_ALL_ATTAINABLE
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

namespace {

using FindFunction = void (*)(const AddressScan&, std::string_view, std::vector<std::string_view>*);

struct Implementation {
  AddressScan::InstructionSet set;
  FindFunction find;
};

#if HWY_TARGETS & HWY_SCALAR
constexpr FindFunction kPlainFind = &N_SCALAR::FindAddresses;
#else
constexpr FindFunction kPlainFind = &N_EMU128::FindAddresses;
#endif

// The sets this processor has, plain first; each is checked for every feature its code may be compiled
// with, and the processor's checks include the system's saving of the vector registers.
std::vector<Implementation> findImplementations() {
  std::vector<Implementation> found{{AddressScan::InstructionSet::Plain, kPlainFind}};
#if HWY_ARCH_X86
  __builtin_cpu_init();
  const bool ssse3 = __builtin_cpu_supports("sse2") && __builtin_cpu_supports("ssse3");
  const bool sse4 = ssse3 && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("sse4.2");
  const bool avx2 = sse4 && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
                    __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                    __builtin_cpu_supports("fma");
#if HWY_TARGETS & HWY_SSSE3
  if (ssse3) found.push_back({AddressScan::InstructionSet::Ssse3, &N_SSSE3::FindAddresses});
#endif
#if HWY_TARGETS & HWY_SSE4
  if (sse4) found.push_back({AddressScan::InstructionSet::Sse4, &N_SSE4::FindAddresses});
#endif
#if HWY_TARGETS & HWY_AVX2
  if (avx2) found.push_back({AddressScan::InstructionSet::Avx2, &N_AVX2::FindAddresses});
#endif
#elif HWY_ARCH_ARM_A64 && (HWY_TARGETS & HWY_NEON)
  // Every 64-bit ARM processor has NEON.
  found.push_back({AddressScan::InstructionSet::Neon, &N_NEON::FindAddresses});
#endif
  return found;
}

const std::vector<Implementation>& implementations() {
  static const std::vector<Implementation> found = findImplementations();
  return found;
}

FindFunction findFunctionOf(AddressScan::InstructionSet set) {
  for (const Implementation& implementation : implementations()) {
    if (implementation.set == set) return implementation.find;
  }
  return kPlainFind;
}

}  // namespace

std::vector<AddressScan::InstructionSet> AddressScan::availableInstructionSets() {
  std::vector<InstructionSet> sets;
  for (const Implementation& implementation : implementations()) sets.push_back(implementation.set);
  return sets;
}

AddressScan::AddressScan(const SeparatorTable& separators)
    : AddressScan(separators, implementations().back().set) {}

AddressScan::AddressScan(const SeparatorTable& separators, InstructionSet set) : find_(findFunctionOf(set)) {
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
  find_(*this, text, &found);
}

}  // namespace glanex
#endif
