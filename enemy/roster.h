#pragma once
// The constants of the twelve roster entries, as EnemyData applies them.

#include <array>
#include <cstdint>
#include <string_view>

#include "data/tables.h"
#include "enemy/enemy.h"

namespace velkor::enemy_internal {

struct RosterEntry {
  std::string_view Name;
  std::array<std::int32_t, StatCount> StatPoints;  // before scaling
  std::array<std::uint8_t, TalentCount> Talents;   // 1 = owned
  std::array<std::int32_t, StatCount> StartBonus;  // points on top of the current stats
  std::array<std::int32_t, ActionCount> Weights;   // in action code order
  std::string_view EncounterText;
  std::string_view DefeatText;
  std::string_view Title;
};

extern const std::array<RosterEntry, RosterSize> Roster;

}  // namespace velkor::enemy_internal
