#pragma once
// Work spread over threads. Items are handed out in order to whichever
// thread is free; callers keep one result per item and add them up in item
// order afterwards, so a result never depends on the number of threads.

#include <cstdint>
#include <functional>

namespace velkor::sim {

// The machine's cores (at least 1).
unsigned DefaultThreads();

// The threads worth starting for items work items when asked for asked:
// at least 1, at most one per item and at most ThreadsPerCore per core
// (more only take memory: every thread plays with a worker of its own).
inline constexpr unsigned ThreadsPerCore = 4;
unsigned UsefulThreads(unsigned asked, std::uint64_t items);

// Calls work(worker, item) for every item 0..items-1 on threads threads
// (worker 0..threads-1 is the thread's number). progress, when given, is
// called on the calling thread about ten times a second and at the end with
// the number of items finished.
void RunParallel(std::uint64_t items, unsigned threads,
                 const std::function<void(unsigned worker, std::uint64_t item)>& work,
                 const std::function<void(std::uint64_t done)>& progress = {});

}  // namespace velkor::sim
