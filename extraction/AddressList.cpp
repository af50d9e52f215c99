#include "extraction/AddressList.h"

namespace glanex {

AddressList::AddressList(std::initializer_list<std::string_view> addresses) {
  for (const std::string_view address : addresses) push_back(address);
}

void AddressList::reserve(std::size_t count, std::size_t bytes) {
  ends_.reserve(count);
  bytes_.reserve(bytes);
}

void AddressList::push_back(std::string_view address) {
  bytes_.append(address);
  ends_.push_back(bytes_.size());
}

}  // namespace glanex
