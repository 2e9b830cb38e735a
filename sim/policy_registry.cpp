#include "sim/policy_registry.h"

#include <array>

#include "sim/best_policy.h"
#include "sim/greedy_policy.h"
#include "sim/lookahead_policy.h"
#include "sim/random_policy.h"

namespace velkor::sim {

namespace {

template <class P>
std::unique_ptr<Policy> Make() {
  return std::make_unique<P>();
}

// A new policy is one class in a file of its own and one line here.
constexpr std::array<PolicyEntry, 4> Known{{
    {"greedy", "the plan that deals the most damage this turn; the candidate it outlasts best", false,
     Make<GreedyPolicy>},
    {"lookahead", "each turn the plan (hits, guards, decoys, breaks) that fares best on copies", false,
     Make<LookaheadPolicy>},
    {"random", "any affordable action or the end, each equally likely; any candidate", true,
     Make<RandomPolicy>},
    {"best", "the proven best plan of each turn, from the matchup's solved table; the likeliest win", false,
     Make<BestPolicy>},
}};

}  // namespace

std::span<const PolicyEntry> Policies() { return Known; }

bool PolicyDraws(std::string_view name) {
  for (const PolicyEntry& entry : Known)
    if (entry.Name == name) return entry.Draws;
  return false;
}

std::unique_ptr<Policy> MakePolicy(std::string_view name) {
  for (const PolicyEntry& entry : Known)
    if (entry.Name == name) return entry.Make();
  return nullptr;
}

}  // namespace velkor::sim
