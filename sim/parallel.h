#pragma once
// Work spread over threads. Items are handed out in order to whichever
// thread is free; callers keep one result per item and add them up in item
// order afterwards, so a result never depends on the number of threads.

#include <cstdint>
#include <functional>

namespace velkor::sim {

// The machine's cores (at least 1).
unsigned DefaultThreads();

// Calls work(worker, item) for every item 0..items-1 on threads threads
// (worker 0..threads-1 is the thread's number). progress, when given, is
// called on the calling thread about ten times a second and at the end with
// the number of items finished.
void RunParallel(std::uint64_t items, unsigned threads,
                 const std::function<void(unsigned worker, std::uint64_t item)>& work,
                 const std::function<void(std::uint64_t done)>& progress = {});

}  // namespace velkor::sim
