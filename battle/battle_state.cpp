#include "battle/battle_state.h"

#include <limits>

namespace velkor {

TEnemy CurrentEnemy;
std::array<TFighter*, SideCount> Fighters{&Player, &CurrentEnemy};
std::array<std::array<std::uint8_t, SlotCount>, SideCount> ActionPlan{};
std::array<std::array<bool, SlotCount>, SideCount> PhaseDone{};
std::array<std::int32_t, SideCount> ActionPoints{};
std::array<std::int32_t, SideCount> DecoyTokens{};
std::array<std::int32_t, SideCount> GuardTokens{};

std::int32_t SaturatingSub(std::int32_t a, std::int32_t b) {
  const std::int64_t exact = static_cast<std::int64_t>(a) - b;
  if (exact < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (exact > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(exact);
}

}  // namespace velkor
