#include "sim/roster_numbers.h"

namespace velkor::sim {

const std::array<TEnemy, RosterSize>& RosterNumbers() {
  static const std::array<TEnemy, RosterSize> roster = [] {
    std::array<TEnemy, RosterSize> built;
    // The roster's weights are fixed and keep their rules: nothing to tell.
    const ErrorSink none = [](std::string_view) {};
    for (std::int32_t i = 0; i < RosterSize; ++i) EnemyNumbers(i, built[static_cast<std::size_t>(i)], none);
    return built;
  }();
  return roster;
}

}  // namespace velkor::sim
