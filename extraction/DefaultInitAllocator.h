#pragma once

#include <memory>
#include <new>
#include <utility>

namespace glanex {

// An allocator whose containers leave new elements uninitialised when no value is given: a buffer sized
// to be written over from several threads is then not zeroed first by one of them.
template <typename T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };

  DefaultInitAllocator() = default;
  template <typename U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

  template <typename U>
  void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Arguments>
  void construct(U* place, Arguments&&... arguments) {
    std::allocator_traits<std::allocator<T>>::construct(*this, place, std::forward<Arguments>(arguments)...);
  }
};

}  // namespace glanex
