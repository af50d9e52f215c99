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
  bytes_.insert(bytes_.end(), address.begin(), address.end());
  ends_.push_back(bytes_.size());
}

void AddressList::presize(std::size_t count, std::size_t bytes) {
  ends_.resize(count);
  bytes_.resize(bytes);
}

void AddressList::set(std::size_t index, std::size_t offset, std::string_view address) {
  address.copy(bytes_.data() + offset, address.size());
  ends_[index] = offset + address.size();
}

}  // namespace glanex
