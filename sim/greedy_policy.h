#pragma once
// The sensible greedy player. Each turn it plans the hits that deal the most
// damage to the enemy within its points: a table worked out once per matchup
// (its attack and speed against the enemy's defense) holds the best total for
// every number of slots and points left. While the enemy holds decoy tokens
// it strips them first with "弱撃", the cheapest hit, unless its plan already
// hits through them with "狙撃" or "剣劇". It never guards, evades or breaks.
// In a hunt it takes the candidate with the best ratio of the turns it needs
// to kill it to the turns the candidate would need to kill it back, each
// counted from such a table of the best damage per turn (the first offered
// on a tie).

#include <array>

#include "data/tables.h"
#include "enemy/enemy.h"
#include "sim/policy.h"

namespace velkor::sim {

class GreedyPolicy : public Policy {
 public:
  void PlanActions(BattleState& battle) override;
  void SelectAction(BattleState& battle, int slot, std::int32_t points) override;
  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter& player) override;

  // Five slots of the dearest action use no more points than this.
  static constexpr std::int32_t MaxPoints = 250;

  struct Table {
    std::int32_t Attack = -1;
    std::int32_t Speed = -1;
    std::int32_t Defense = -1;
    std::int32_t Points = 0;  // the table covers 0..Points
    // [slots left][points left]: the best total damage, and its first action.
    std::array<std::array<std::int32_t, MaxPoints + 1>, 6> Best{};
    std::array<std::array<std::uint8_t, MaxPoints + 1>, 6> Choice{};
  };
  // The table of attack and speed against defense, worked out when first asked.
  const Table& TableFor(std::int32_t attack, std::int32_t speed, std::int32_t defense);
  // The hit for the next slot of slotsLeft with points, by table; while the
  // enemy holds decoys (one fewer for each hit they take), "弱撃" unless the
  // hit goes through them.
  static std::uint8_t Next(const Table& table, int slotsLeft, std::int32_t points, std::int32_t& decoys);

 private:
  const Table& TableOf(const BattleState& battle);
  // Turns of attacker's best plans to bring target's HP to 0.
  std::int64_t TurnsToKill(const TFighter& attacker, const TFighter& target);

  // The roster as battles begin it, for the choice in a hunt.
  std::array<EnemyNumbers, RosterSize> roster_ = Roster();
  static std::array<EnemyNumbers, RosterSize> Roster();

  // The matchups of a whole hunt, both ways, fit; older ones make room in turn.
  std::array<Table, 32> tables_{};
  std::size_t nextTable_ = 0;
  const Table* last_ = nullptr;
};

}  // namespace velkor::sim
