#include "extraction/RunOnThreads.h"

#include <exception>
#include <thread>
#include <vector>

namespace glanex {

void runOnThreads(std::size_t count, const std::function<void(std::size_t)>& work) {
  std::vector<std::exception_ptr> failures(count);
  const auto run = [&](std::size_t index) {
    try {
      work(index);
    } catch (...) {
      failures[index] = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> threads;
    for (std::size_t index = 1; index < count; ++index) threads.emplace_back(run, index);
    if (count > 0) run(0);
  }
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace glanex
