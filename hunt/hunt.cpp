// The hunt loop, from the first round to a defeat or to the ending after the
// twelfth kill.
#include "hunt/hunt.h"

#include <array>
#include <cstddef>

#include "hunt/held_back.h"
#include "platform/cp932_literal.h"

namespace velkor {

namespace {

constexpr std::array<std::string_view, 5> AmbientLines{
    "雨が降っている。"_cp,
    "強い風が吹いている。"_cp,
    "煉瓦の家屋が幾重にも重なっている。"_cp,
    "ここは見晴らしがいい。"_cp,
    "エルフがじっとこちらを見ている。"_cp,
};

}  // namespace

void DrawAmbientLine(HuntState& state, RandomSource random, const HuntError& error) {
  if (random.Int(5) == 0) {
    const std::int32_t line = random.Int(static_cast<std::int32_t>(AmbientLines.size()));
    if (line >= 0 && line < static_cast<std::int32_t>(AmbientLines.size()))
      state.AmbientLine = AmbientLines[static_cast<std::size_t>(line)];
    else
      error("Main");
  }
  for (const HeldBack& held : HeldBackEnemies)
    if (state.KillCount == held.FromKillCount) state.AmbientLine = held.Scenery;
}

void RecordKill(HuntState& state, std::int32_t enemy) {
  state.AliveFlags[static_cast<std::size_t>(enemy)] = false;
  ++state.KillCount;
}

HuntState PlayHunt(HuntSeat& seat, TFighter& player, std::uint32_t& randomState, const HuntError& error) {
  HuntState state;
  const RandomSource random(randomState);
  for (;;) {
    FindEnemys(state, random, error);
    DrawAmbientLine(state, random, error);
    const std::int32_t choice = seat.ChooseCandidate(state, player);
    const std::int32_t chosen = state.Candidates[static_cast<std::size_t>(choice)];
    state.BattleResult = seat.Fight(chosen, player, randomState);
    if (state.BattleResult != BattleOutcome::Victory) {
      seat.Lost(state);
      return state;
    }
    RecordKill(state, chosen);
    RestoreStats(player);
    if (AllFalse(state.AliveFlags)) break;
  }
  seat.Ended(state);
  return state;
}

}  // namespace velkor
