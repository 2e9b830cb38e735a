#include "sim/roster_entry.h"

namespace velkor::sim {

TEnemy RosterEntry(std::int32_t index) {
  TEnemy enemy;
  EnemyData(index, enemy, [](std::string_view) {});
  return enemy;
}

}  // namespace velkor::sim
