#pragma once
// The roster of twelve enemies, built afresh from constants on every call.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "data/error_sink.h"
#include "data/fighter.h"
#include "data/tables.h"

namespace velkor {

inline constexpr std::int32_t RosterSize = 12;

struct TEnemy : TFighter {
  std::array<std::int32_t, ActionCount> ActionRate{};  // weight per action code; 0 = never
  std::string EncounterText;                           // shown when a battle with it begins
  std::string DefeatText;                              // shown after it has been killed
  std::string Title;                                   // empty, or the label earned by killing it
};

// Overwrites enemy whole with roster entry index (0..11); any other index
// gives the reset record. A roster entry that breaks the rules of the
// action weights is told to error.
void EnemyData(std::int32_t index, TEnemy& enemy, const ErrorSink& error);

// EnemyData without the three texts, which are left empty: what a battle
// that nobody watches needs, built without copying the story.
void EnemyNumbers(std::int32_t index, TEnemy& enemy, const ErrorSink& error);

// The stats times StatMultipliers, in place.
void ScaleStats(std::array<std::int32_t, StatCount>& stats);

}  // namespace velkor
