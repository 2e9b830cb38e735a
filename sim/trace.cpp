#include "sim/trace.h"

#include <array>
#include <string_view>
#include <vector>

#include "battle/battle_screen.h"
#include "data/tables.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

namespace velkor::sim {

namespace {

// What a turn showed, kept as the engine tells it.
struct TurnSeen {
  std::uint64_t Number = 0;
  std::array<std::int32_t, SideCount> HP{};
  std::array<std::int32_t, SideCount> Guards{};
  std::array<std::int32_t, SideCount> Decoys{};
  std::array<std::uint8_t, SlotCount> PlayerPlan{};
  std::array<std::uint8_t, SlotCount> EnemyPlan{};
  bool EnemyPlanShown = false;  // 心眼
  std::string Acts;
  std::array<std::int64_t, SideCount> HPLost{};      // [side]: taken by that side
  std::array<std::int64_t, SideCount> PointsLost{};  // by "崩し"
};

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

std::string PlanText(const std::array<std::uint8_t, SlotCount>& plan) {
  std::string text;
  for (const std::uint8_t action : plan) {
    if (action >= actEnd) break;
    text += (text.empty() ? "" : " ") + std::string(ActionNames[action]);
  }
  return text.empty() ? "-" : text;
}

std::string Tokens(const TurnSeen& seen, std::size_t side) {
  return "guards " + std::to_string(seen.Guards[side]) + " decoys " + std::to_string(seen.Decoys[side]);
}

std::string Dealt(const TurnSeen& seen, std::size_t side) {
  std::string text = std::to_string(seen.HPLost[side]) + " HP";
  if (seen.PointsLost[side] != 0) text += " and " + std::to_string(seen.PointsLost[side]) + " points";
  return text;
}

}  // namespace

std::string TraceBattle(const Build& build, std::int32_t enemy, std::string_view policy, RunSeeds seeds,
                        Knowledge knowledge) {
  const auto player = MakePolicy(policy);
  player->Know(knowledge);
  TraceScreen screen;
  const BattleRecord record = Simulator(*player, &screen).Battle(MakeFighter(build), enemy, seeds);
  std::string text;
  for (const TurnSeen& seen : screen.Turns) {
    text += "turn " + std::to_string(seen.Number) + "  you HP " + std::to_string(seen.HP[PlayerSide]) + ", " +
            Tokens(seen, PlayerSide) + " | enemy HP " + std::to_string(seen.HP[EnemySide]) + ", " +
            Tokens(seen, EnemySide) + "\n";
    text += "  your plan   " + PlanText(seen.PlayerPlan) + "\n";
    text += "  enemy plan  " + (seen.EnemyPlanShown ? PlanText(seen.EnemyPlan) : std::string("?")) + "\n";
    text += "  acted       " + (seen.Acts.empty() ? std::string("-") : seen.Acts) + "\n";
    text += "  dealt       " + Dealt(seen, EnemySide) + "; taken " + Dealt(seen, PlayerSide) + "\n";
  }
  text += record.Outcome == BattleOutcome::Victory
              ? "won in " + std::to_string(record.Turns) + " turns with " + std::to_string(record.PlayerHP) +
                    " HP left\n"
              : "lost in " + std::to_string(record.Turns) + " turns; the enemy had " +
                    std::to_string(record.EnemyHP) + " HP left\n";
  return text;
}

}  // namespace velkor::sim
