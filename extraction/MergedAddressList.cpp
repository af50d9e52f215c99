#include "extraction/MergedAddressList.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <unordered_set>

namespace glanex {

namespace {

// Only ASCII letters fold: the list is Windows-1252, whose other letters no address compares by.
std::string foldedAscii(std::string_view address) {
  std::string folded(address);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

}  // namespace

void MergedAddressList::append(std::vector<std::string> inputList) {
  entries_.insert(entries_.end(), std::make_move_iterator(inputList.begin()),
                  std::make_move_iterator(inputList.end()));
}

std::vector<std::string> MergedAddressList::addresses() const {
  std::unordered_set<std::string> seen;
  std::vector<std::string> kept;
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    const bool first =
        comparison_ == Case::Exact ? seen.insert(*entry).second : seen.insert(foldedAscii(*entry)).second;
    if (first) kept.push_back(*entry);
  }
  std::reverse(kept.begin(), kept.end());
  return kept;
}

}  // namespace glanex
