#pragma once
// The roster of twelve enemies, built afresh from constants on every call.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "data/error_sink.h"
#include "data/fighter.h"
#include "data/tables.h"

namespace velkor {

inline constexpr std::int32_t RosterSize = 12;

// What a battle plays with: the fighter block and the action weights.
struct EnemyNumbers : TFighter {
  std::array<std::int32_t, ActionCount> ActionRate{};  // weight per action code; 0 = never
};

// What is told around a battle with the enemy. The texts are the roster's
// constants, which live as long as the program: a copy of the record is as
// independent of the original as a copy of the texts would be, and costs
// nothing.
struct EnemyStory {
  std::string_view EncounterText;  // shown when a battle with it begins
  std::string_view DefeatText;     // shown after it has been killed
  std::string_view Title;          // empty, or the label earned by killing it
};

struct TEnemy : EnemyNumbers, EnemyStory {};

// Overwrites enemy whole with roster entry index (0..11); any other index
// gives the reset record. A roster entry that breaks the rules of the
// action weights is told to error.
void EnemyData(std::int32_t index, TEnemy& enemy, const ErrorSink& error);

}  // namespace velkor
