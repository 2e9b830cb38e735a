// The encounter candidates of one round of the hunt.
#include <array>
#include <cstddef>
#include <string>
#include <tuple>

#include "enemy/enemy.h"
#include "hunt/held_back.h"
#include "hunt/hunt.h"

namespace velkor {

namespace {

constexpr std::size_t MaxCandidates = std::tuple_size_v<decltype(HuntState::Candidates)>;

// The names of the roster's entries as EnemyData builds them, built once:
// every round asks for all twelve.
const std::array<std::string, RosterSize>& RosterNames(const HuntError& error) {
  static const std::array<std::string, RosterSize> names = [&error] {
    std::array<std::string, RosterSize> built;
    TEnemy enemy;
    for (std::int32_t i = 0; i < RosterSize; ++i) {
      EnemyData(i, enemy, error);
      built[static_cast<std::size_t>(i)] = enemy.Name.Text();
    }
    return built;
  }();
  return names;
}

bool IsEligible(std::int32_t index, const HuntState& state, const HuntError& error) {
  const std::string& name = RosterNames(error)[static_cast<std::size_t>(index)];
  for (const HeldBack& held : HeldBackEnemies)
    if (name == held.Name && state.KillCount < held.FromKillCount) return false;
  return state.AliveFlags[static_cast<std::size_t>(index)];
}

}  // namespace

bool AllFalse(std::span<const bool> flags) {
  for (const bool flag : flags)
    if (flag) return false;
  return true;
}

void FindEnemys(HuntState& state, RandomSource random, const HuntError& error) {
  std::array<bool, RosterSize> eligible{};
  for (std::int32_t i = 0; i < RosterSize; ++i)
    eligible[static_cast<std::size_t>(i)] = IsEligible(i, state, error);

  state.CandidateCount = 0;
  std::int32_t wanted = 3 + random.Int(3);
  if (wanted > static_cast<std::int32_t>(MaxCandidates)) {
    error("FindEnemys in Main");
    wanted = static_cast<std::int32_t>(MaxCandidates);  // never write past the five places
  }
  for (std::int32_t k = 0; k < wanted; ++k) {
    if (AllFalse(eligible)) break;  // fewer eligible than wanted
    std::int32_t index = 0;
    do {
      index = random.Int(RosterSize);
    } while (!eligible[static_cast<std::size_t>(index)]);
    state.Candidates[static_cast<std::size_t>(state.CandidateCount)] = index;
    eligible[static_cast<std::size_t>(index)] = false;
    ++state.CandidateCount;
  }
}

}  // namespace velkor
