#include "sim/worker.h"

#include <algorithm>

#include "sim/policy_registry.h"

namespace velkor::sim {

std::vector<std::unique_ptr<Worker>> MakeWorkers(std::string_view policy, unsigned threads,
                                                 Knowledge knowledge) {
  std::vector<std::unique_ptr<Worker>> workers;
  for (unsigned t = 0; t < std::max(threads, 1u); ++t) {
    workers.push_back(std::make_unique<Worker>(MakePolicy(policy)));
    workers.back()->Choices->Know(knowledge);
  }
  return workers;
}

}  // namespace velkor::sim
