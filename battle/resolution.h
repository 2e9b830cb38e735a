#pragma once
// Carrying out one slot of one side in a phase of a battle turn.

#include <array>
#include <cstdint>
#include <string_view>

#include "battle/battle_screen.h"
#include "battle/battle_state.h"
#include "battle/player_agent.h"

namespace velkor {

// What one turn of BattleTurn shares with the phase step; lives for one turn.
struct TurnContext {
  TurnContext(BattleOutcome& result, PlayerAgent& agent, BattleScreen& screen)
      : Result(result), Agent(agent), Screen(screen) {}

  int FirstSide = 0;                   // acts first in every phase of the turn
  int SecondSide = 1;                  // always the other side
  std::array<bool, 2> SideFinished{};  // that side's plan has reached actEnd this turn
  int Phase = 0;                       // 0..4, also the slot carried out
  BattleOutcome& Result;               // decided once a fighter has died
  PlayerAgent& Agent;                  // plays the player's side
  BattleScreen& Screen;                // shows the turn
};

// Carries out side's slot of turn.Phase against otherSide: lets a side with
// HyperReaction choose it now, marks the phase reached, then announces, pays
// for and resolves the action.
void drivePhase(BattleState& battle, TurnContext& turn, int side, int otherSide);

// One more token of a kind, up to three; the screen says which happened.
void MakeToken(BattleScreen& screen, std::string_view tokenName, std::int32_t& count);

// An offensive action of attacker against target, through the target's
// decoy, its defense and its guard; decides result when the target dies.
void ResolveAttack(BattleState& battle, BattleScreen& screen, int attacker, int target, std::uint8_t action,
                   BattleOutcome& result);

}  // namespace velkor
