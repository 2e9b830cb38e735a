#pragma once
// One battle told turn by turn as the player saw it: what a policy chose,
// what the enemy showed and what the blows did. The battle is played by the
// engine as always; a screen that keeps what it is told writes the lines.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "battle/battle_screen.h"

#include "sim/build.h"
#include "sim/policy.h"
#include "sim/seeds.h"
#include "sim/turn_model.h"  // Plan

namespace velkor::sim {

// What a turn showed, kept as the engine tells it.
struct TurnSeen {
  std::uint64_t Number = 0;
  std::array<std::int32_t, SideCount> HP{};
  std::array<std::int32_t, SideCount> Guards{};
  std::array<std::int32_t, SideCount> Decoys{};
  Plan PlayerPlan{};  // whole at the turn's end (超反応 chooses phase by phase)
  Plan EnemyPlan{};
  bool EnemyPlanShown = false;  // 心眼
  std::string Acts;
  std::array<std::int64_t, SideCount> HPLost{};      // [side]: taken by that side
  std::array<std::int64_t, SideCount> PointsLost{};  // by "崩し"
};

// Keeps what the engine tells of every turn of the battles it watches.
class TraceScreen final : public BattleScreen {
 public:
  std::vector<TurnSeen> Turns;

  void TurnBegins(std::uint64_t turn) override {
    Turns.emplace_back();
    Turns.back().Number = turn;
    fresh_ = true;
  }
  void Show(const BattleState& battle) override {
    battle_ = &battle;
    if (Turns.empty()) return;
    TurnSeen& seen = Turns.back();
    if (fresh_) {
      // The first sight of a turn: the plans are made and nothing has acted.
      fresh_ = false;
      for (int side = 0; side < SideCount; ++side) {
        const auto s = static_cast<std::size_t>(side);
        seen.HP[s] = battle.Fighters(side).CurStats[StatHP];
        seen.Guards[s] = battle.GuardTokens[s];
        seen.Decoys[s] = battle.DecoyTokens[s];
      }
      seen.EnemyPlanShown = battle.PlayerFighter.HasTalent(MindEye);
      seen.EnemyPlan = battle.ActionPlan[EnemySide];
    }
    // Chosen phase by phase (超反応), a plan is whole only at the turn's end.
    seen.PlayerPlan = battle.ActionPlan[PlayerSide];
  }
  void Announce(const TFighter& actor, std::uint8_t action) override {
    if (Turns.empty() || action >= ActionCount) return;
    std::string& acts = Turns.back().Acts;
    acts += (acts.empty() ? "" : ", ") + std::string(IsPlayer(actor) ? "you " : "enemy ") +
            std::string(ActionNames[action]);
  }
  void NoPoints() override {
    if (!Turns.empty()) Turns.back().Acts += " (no points)";
  }
  void TokenMade(std::string_view, bool) override {}
  void Evaded(const TFighter&) override {
    if (!Turns.empty()) Turns.back().Acts += " (evaded)";
  }
  void NotEvaded(const TFighter&) override {}
  void Guarded(const TFighter&) override {
    if (!Turns.empty()) Turns.back().Acts += " (guarded)";
  }
  void Damaged(const TFighter& target, std::int32_t amount, bool toPoints) override {
    if (Turns.empty()) return;
    const std::size_t side = IsPlayer(target) ? PlayerSide : EnemySide;
    (toPoints ? Turns.back().PointsLost : Turns.back().HPLost)[side] += amount;
  }
  void Error(std::string_view place) override {
    if (!Turns.empty()) Turns.back().Acts += " (broken invariant: " + std::string(place) + ")";
  }
  void Pause() override {}

 private:
  bool IsPlayer(const TFighter& fighter) const {
    return battle_ != nullptr && &fighter == &battle_->PlayerFighter;
  }

  const BattleState* battle_ = nullptr;
  bool fresh_ = false;
};

// A plan's action names ("崩し 防御 攻撃 攻撃"), "-" for none.
std::string PlanText(const Plan& plan);

// Battle of build against roster entry enemy played by the policy of that
// name from seeds: a line for where each turn starts (both HP and tokens),
// the player's plan, the enemy's plan as the screen showed it ("?" without
// 心眼), the actions in the order they came, the damage dealt each way, and
// the outcome. Text in the game's code page 932.
std::string TraceBattle(const Build& build, std::int32_t enemy, std::string_view policy, RunSeeds seeds,
                        Knowledge knowledge = Knowledge::Veteran);

}  // namespace velkor::sim
