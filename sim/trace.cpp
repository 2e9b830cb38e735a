#include "sim/trace.h"

#include "data/tables.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

namespace velkor::sim {

std::string PlanText(const Plan& plan) {
  std::string text;
  for (const std::uint8_t action : plan) {
    if (action >= actEnd) break;
    text += (text.empty() ? "" : " ") + std::string(ActionNames[action]);
  }
  return text.empty() ? "-" : text;
}

namespace {

std::string TokensText(const TurnSeen& seen, std::size_t side) {
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
            TokensText(seen, PlayerSide) + " | enemy HP " + std::to_string(seen.HP[EnemySide]) + ", " +
            TokensText(seen, EnemySide) + "\n";
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
