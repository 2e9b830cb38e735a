#pragma once
// What one thread of a run needs: its own policy and its own simulator.

#include <memory>
#include <string_view>
#include <vector>

#include "sim/policy.h"
#include "sim/simulation.h"

namespace velkor::sim {

struct Worker {
  explicit Worker(std::unique_ptr<Policy> policy) : Choices(std::move(policy)), Play(*Choices) {}
  std::unique_ptr<Policy> Choices;
  Simulator Play;
};

// One worker per thread (at least one) playing the policy of that name,
// which must be one of Policies(), knowing what knowledge says.
std::vector<std::unique_ptr<Worker>> MakeWorkers(std::string_view policy, unsigned threads,
                                                 Knowledge knowledge = Knowledge::Veteran);

}  // namespace velkor::sim
