#include "extraction/MergedAddressList.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace glanex {

namespace {

// Only ASCII letters fold: the list is Windows-1252, whose other letters no address compares by.
char foldedAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

struct FoldedHash {
  std::size_t operator()(std::string_view address) const {
    std::size_t hash = 14695981039346656037ULL;  // FNV-1a
    for (char c : address) hash = (hash ^ static_cast<unsigned char>(foldedAscii(c))) * 1099511628211ULL;
    return hash;
  }
};

struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldedAscii(x) == foldedAscii(y); });
  }
};

// Which entries are the last of their address, walking back from the end. The set holds views of the
// entries, not copies: the list may hold millions of addresses.
template <typename SeenSet>
std::vector<bool> lastEntries(const AddressList& entries, SeenSet seen) {
  std::vector<bool> last(entries.size());
  for (std::size_t i = entries.size(); i-- > 0;) last[i] = seen.insert(entries[i]).second;
  return last;
}

}  // namespace

void MergedAddressList::append(AddressList inputList) {
  if (inputs_++ == 0) {
    entries_ = std::move(inputList);
    return;
  }
  for (const std::string_view address : inputList) entries_.push_back(address);
}

AddressList MergedAddressList::takeAddresses() {
  // One input's list has each address once already.
  if (inputs_ == 1 && comparison_ == Case::Exact) return std::move(entries_);
  const std::vector<bool> last =
      comparison_ == Case::Exact
          ? lastEntries(entries_, std::unordered_set<std::string_view>())
          : lastEntries(entries_, std::unordered_set<std::string_view, FoldedHash, FoldedEqual>());
  AddressList kept;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (last[i]) kept.push_back(entries_[i]);
  }
  entries_ = {};
  return kept;
}

}  // namespace glanex
