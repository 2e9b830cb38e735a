#include "battle/battle_state.h"

#include <limits>

namespace velkor {

void SetUpBattle(BattleState& battle, const TFighter& player, const TEnemy& enemy,
                 std::uint32_t randomState) {
  battle.PlayerFighter = player;
  battle.CurrentEnemy = enemy;  // a whole copy, texts included
  battle.RandomState = randomState;
  battle.DecoyTokens = {0, 0};
  battle.GuardTokens = {0, 0};
  battle.Turn = 0;
}

std::int32_t SaturatingSub(std::int32_t a, std::int32_t b) {
  const std::int64_t exact = static_cast<std::int64_t>(a) - b;
  if (exact < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (exact > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(exact);
}

}  // namespace velkor
