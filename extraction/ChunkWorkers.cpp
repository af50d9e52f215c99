#include "extraction/ChunkWorkers.h"

namespace glanex {

namespace {

// Each thread may hold one chunk while the next waits for it, and the reader fills one more.
constexpr std::size_t kChunksPerThread = 2;

}  // namespace

ChunkWorkers::ChunkWorkers(std::size_t threads, Work work)
    : work_(std::move(work)), spare_(threads * kChunksPerThread + 1) {
  threads_.reserve(threads);
  try {
    for (std::size_t thread = 0; thread < threads; ++thread) {
      threads_.emplace_back([this, thread] { serve(thread); });
    }
  } catch (...) {
    // No destructor runs for an object whose constructor throws: the threads started must end here.
    stop();
    throw;
  }
}

ChunkWorkers::~ChunkWorkers() {
  stop();
}

void ChunkWorkers::serve(std::size_t thread) {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Chunk chunk = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    std::exception_ptr failure;
    try {
      work_(thread, chunk);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    spare_.push_back(std::move(chunk));
    freed_.notify_one();
  }
}

void ChunkWorkers::rethrowFailure() {
  if (failure_) std::rethrow_exception(failure_);
}

Chunk ChunkWorkers::take() {
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [&] { return failure_ || !spare_.empty(); });
  rethrowFailure();
  Chunk chunk = std::move(spare_.back());
  spare_.pop_back();
  return chunk;
}

void ChunkWorkers::hand(Chunk chunk) {
  {
    const std::lock_guard lock(mutex_);
    queue_.push_back(std::move(chunk));
  }
  queued_.notify_one();
}

void ChunkWorkers::stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

void ChunkWorkers::finish() {
  stop();
  const std::lock_guard lock(mutex_);
  rethrowFailure();
}

}  // namespace glanex
