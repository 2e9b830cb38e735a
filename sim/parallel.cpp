#include "sim/parallel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace velkor::sim {

unsigned DefaultThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : cores;
}

unsigned UsefulThreads(unsigned asked, std::uint64_t items) {
  const std::uint64_t most = std::min<std::uint64_t>(std::uint64_t{DefaultThreads()} * ThreadsPerCore, items);
  return static_cast<unsigned>(std::max<std::uint64_t>(std::min<std::uint64_t>(asked, most), 1));
}

void RunParallel(std::uint64_t items, unsigned threads,
                 const std::function<void(unsigned worker, std::uint64_t item)>& work,
                 const std::function<void(std::uint64_t done)>& progress) {
  if (threads == 0) threads = 1;
  std::atomic<std::uint64_t> next{0};
  std::atomic<std::uint64_t> done{0};
  std::atomic<unsigned> running{threads};
  const auto worker = [&](unsigned number) {
    for (std::uint64_t item = next++; item < items; item = next++) {
      work(number, item);
      ++done;
    }
    --running;
  };
  std::vector<std::thread> pool;
  pool.reserve(threads);
  // A thread the system refuses (a memory limit, a process limit) leaves its
  // share to the others: the results never depend on how many there are.
  const auto start = [&](unsigned number) {
    try {
      pool.emplace_back(worker, number);
      return true;
    } catch (const std::system_error&) {
      --running;
      return false;
    }
  };
  for (unsigned t = 1; t < threads; ++t)
    if (!start(t)) {
      running -= threads - 1 - t;
      break;
    }
  if (!progress || !start(0)) {
    if (progress) ++running;  // the calling thread works after all
    worker(0);
  } else {
    // The calling thread watches instead of working, so the bar moves evenly.
    while (running.load() != 0) {
      progress(done.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    progress(done.load());
  }
  for (std::thread& t : pool) t.join();
}

}  // namespace velkor::sim
