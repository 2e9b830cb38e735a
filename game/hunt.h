#pragma once
// The hunt loop: rounds of candidates, choice, battle, until a defeat or the
// twelfth kill.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/random_source.h"

namespace velkor {

struct HuntState {
  std::array<bool, 12> AliveFlags{true, true, true, true, true, true, true, true, true, true, true, true};
  std::int32_t KillCount = 0;
  std::array<std::int32_t, 5> Candidates{};
  std::int32_t CandidateCount = 0;
  std::string_view AmbientLine;  // one of the fixed scenery lines, or empty
  std::string BattleResult;
};

// True when no flag is true (also for no flags).
bool AllFalse(std::span<const bool> flags);

// Draws this round's candidates into state.
void FindEnemys(HuntState& state, RandomSource random);

// Step two of a round: perhaps a new scenery line, then the fixed lines of
// the last two rounds (10 and 11 kills) over whatever was drawn.
void DrawAmbientLine(HuntState& state, RandomSource random);

// A victory over roster entry enemy: it is dead and counts as a kill.
void RecordKill(HuntState& state, std::int32_t enemy);

// One whole run; returns when it has ended.
void Main();

}  // namespace velkor
