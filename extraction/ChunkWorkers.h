#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "extraction/ChunkReader.h"

namespace glanex {

// Threads that take the chunks one reader hands them, in the order it hands them, each chunk to whichever
// thread is free. Only a few chunks are ever in flight, so memory does not follow the input.
class ChunkWorkers {
 public:
  // `work` is called with the number of the thread (below `threads`) and the chunk.
  using Work = std::function<void(std::size_t thread, const Chunk& chunk)>;

  ChunkWorkers(std::size_t threads, Work work);
  ~ChunkWorkers();
  ChunkWorkers(const ChunkWorkers&) = delete;
  ChunkWorkers& operator=(const ChunkWorkers&) = delete;

  // A chunk to fill, once one is free. Rethrows what a thread's work threw.
  Chunk take();
  // Queues a filled chunk.
  void hand(Chunk chunk);
  // Waits until every chunk handed is done and the threads have ended; rethrows what a work threw.
  void finish();

 private:
  void serve(std::size_t thread);
  void rethrowFailure();
  void stop();

  Work work_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable freed_;
  std::deque<Chunk> queue_;
  std::vector<Chunk> spare_;
  std::exception_ptr failure_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace glanex
