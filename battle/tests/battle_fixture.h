#pragma once
// Small hand-built fighters and a clean battle state for the battle tests.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "battle/battle.h"
#include "battle/battle_state.h"
#include "battle_console/console_battle.h"
#include "data/fighter.h"
#include "data/tables.h"
#include "enemy/enemy.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor::test {

using Stats = std::array<std::int32_t, 4>;
using Talents = std::array<std::uint8_t, 4>;

inline void SetFighter(TFighter& f, const std::string& name, Stats current, Stats base,
                       Talents talents = {}) {
  f.Name.Assign(name);
  f.CurStats = current;
  f.BaseStats = base;
  f.Talents = talents;
}

// The enemy of the examples: 鬼, hurt to 100 of 125 HP.
inline TEnemy Oni(std::array<std::int32_t, ActionCount> weights = {1, 3, 1, 1, 0, 0, 0, 0, 0}) {
  TEnemy e;
  SetFighter(e, "鬼"_cp, {100, 30, 25, 20}, {125, 30, 25, 20});
  e.ActionRate = weights;
  return e;
}

// A fresh run with the battle of the tests, its screen and player as the
// game has them at the console.
class BattleScript : public ConsoleScript {
 public:
  explicit BattleScript(std::vector<std::string> lines, std::uint32_t seed = 0)
      : ConsoleScript(std::move(lines), seed), At(Console()) {}

  ConsoleBattle At;

  // The player of the examples: ユウ, hurt to 88 of 100 HP.
  void SetYuu(Talents talents = {}) {
    SetFighter(Player, "ユウ"_cp, {88, 20, 25, 25}, {100, 20, 25, 25}, talents);
  }

  // ユウ unhurt, with the given stats as both current and base values.
  void SetUnhurtYuu(Stats stats, Talents talents = {}) {
    SetFighter(Player, "ユウ"_cp, stats, stats, talents);
  }

  // A battle just begun between a copy of Player and enemy, drawing from
  // the state RandomState has now: empty plans, no markers, no tokens.
  void StartBattle(const TEnemy& enemy) {
    BattleState& battle = At.State;
    SetUpBattle(battle, Player, enemy, RandomState);
    for (auto& plan : battle.ActionPlan) plan.fill(actEnd);
    for (auto& done : battle.PhaseDone) done.fill(false);
    battle.ActionPoints = {0, 0};
  }

  void SetPlan(int side, std::array<std::uint8_t, 5> plan) {
    At.State.ActionPlan[static_cast<std::size_t>(side)] = plan;
  }
};

// In the expected texts of Transcript: a line typed by the player, and an
// Enter on an empty line. Control bytes never occur in code page 932 text.
#define TYPED(text) "\x02" text "\x03"
#define ENTER TYPED("")

// The UTF-8 transcript for code page 932 text with TYPED lines in it: each
// is shown between the echo marks and ended by a line feed.
inline std::string Transcript(const std::string& cp932) {
  std::string out;
  for (std::size_t at = 0;;) {
    const std::size_t open = cp932.find('\x02', at);
    const std::size_t close = cp932.find('\x03', open);
    if (close == std::string::npos) return out + Cp932ToUtf8(cp932.substr(at));
    out += Cp932ToUtf8(cp932.substr(at, open - at)) + EchoedLine(cp932.substr(open + 1, close - open - 1));
    at = close + 1;
  }
}

}  // namespace velkor::test
