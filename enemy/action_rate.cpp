#include <algorithm>
#include <string>

#include "enemy/enemy_internal.h"

namespace velkor::enemy_internal {

void setActionRate(TEnemy& enemy, std::span<const std::int32_t> weights, const ErrorSink& error) {
  if (weights.size() != enemy.ActionRate.size()) {
    const auto highIndex = static_cast<long long>(weights.size()) - 1;
    error("setActionRate in EnemyData, <a>, " + std::to_string(highIndex));
  }
  enemy.ActionRate.fill(0);
  std::copy_n(weights.begin(), std::min(weights.size(), enemy.ActionRate.size()), enemy.ActionRate.begin());

  long long sum = 0;  // nine 32-bit weights cannot overflow this
  for (const std::int32_t weight : enemy.ActionRate) sum += weight;
  if (sum == 0) error("setActionRate in EnemyData, <b>");
}

}  // namespace velkor::enemy_internal
