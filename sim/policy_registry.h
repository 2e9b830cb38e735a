#pragma once
// The policies the simulator knows, by name.

#include <memory>
#include <span>
#include <string_view>

#include "sim/policy.h"

namespace velkor::sim {

struct PolicyEntry {
  std::string_view Name;
  std::string_view Summary;  // one line for --help
  bool Draws;                // it draws from the policy's stream: the policy seed matters
  std::unique_ptr<Policy> (*Make)();
};

std::span<const PolicyEntry> Policies();

// A new policy of that name; null when there is none.
std::unique_ptr<Policy> MakePolicy(std::string_view name);

// Whether the policy of that name draws from its stream.
bool PolicyDraws(std::string_view name);

}  // namespace velkor::sim
