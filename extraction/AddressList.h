#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/DefaultInitAllocator.h"

namespace glanex {

// A list of addresses packed in one buffer. The lists of large inputs hold millions of short addresses:
// as separate strings each would cost an allocation, a release and about twice its bytes.
class AddressList {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const AddressList* list, std::size_t index) : list_(list), index_(index) {}
    std::string_view operator*() const { return (*list_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const Iterator& other) const { return index_ == other.index_; }

   private:
    const AddressList* list_ = nullptr;
    std::size_t index_ = 0;
  };
  using value_type = std::string_view;
  using iterator = Iterator;
  using const_iterator = Iterator;

  AddressList() = default;
  AddressList(std::initializer_list<std::string_view> addresses);

  void reserve(std::size_t count, std::size_t bytes);
  void push_back(std::string_view address);
  // Makes the list `count` addresses of `bytes` bytes together, each then set once, from any thread: the
  // address at `index`, whose bytes follow the `offset` bytes of the addresses before it.
  void presize(std::size_t count, std::size_t bytes);
  void set(std::size_t index, std::size_t offset, std::string_view address);

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // The addresses' bytes together.
  std::size_t bytes() const { return bytes_.size(); }
  std::string_view operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return {bytes_.data() + start, ends_[index] - start};
  }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

  // Two lists are equal when they hold the same addresses in the same order.
  friend bool operator==(const AddressList&, const AddressList&) = default;

 private:
  std::vector<char, DefaultInitAllocator<char>> bytes_;
  std::vector<std::size_t, DefaultInitAllocator<std::size_t>> ends_;
};

}  // namespace glanex
