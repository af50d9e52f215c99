#pragma once

#include "extraction/AddressList.h"

namespace glanex {

// One address list made of the lists of several inputs, as if the inputs were read one after the other
// with no token spanning two of them. Each input's list holds its addresses in the order of their last
// occurrence; in the lists appended in input order, an address's last entry stands where its last
// occurrence across all inputs stands, so keeping each address's last entry gives the whole list. When
// addresses that differ only in ASCII case count as one, the same holds for the folded address, and the
// entry kept carries the spelling of its last occurrence.
class MergedAddressList {
 public:
  enum class Case { Exact, IgnoreAscii };

  explicit MergedAddressList(Case comparison) : comparison_(comparison) {}

  // The next input's list, in the order of its addresses' last occurrences.
  void append(AddressList inputList);

  // Every address once, in the order of its last occurrence across the inputs. Leaves the list empty.
  AddressList takeAddresses();

 private:
  Case comparison_;
  // The inputs' lists one after the other.
  AddressList entries_;
  int inputs_ = 0;
};

}  // namespace glanex
