#include "battle/battle_state.h"

#include <limits>

namespace velkor {

void SetUpBattle(BattleState& battle, const TFighter& player, const EnemyNumbers& enemy,
                 std::uint32_t randomState) {
  battle = BattleState{};
  battle.PlayerFighter = player;
  battle.CurrentEnemy = enemy;
  battle.RandomState = randomState;
}

std::int32_t SaturatingSub(std::int32_t a, std::int32_t b) {
  const std::int64_t exact = static_cast<std::int64_t>(a) - b;
  if (exact < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (exact > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(exact);
}

}  // namespace velkor
