#pragma once

#include <cstddef>
#include <functional>

namespace glanex {

// Calls `work` with each number below `count`, each on a thread of its own (0 on the calling thread), and
// returns once all have returned; then rethrows what the lowest-numbered failing call threw.
void runOnThreads(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace glanex
