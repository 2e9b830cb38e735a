// The encounter candidates of one round of the hunt.
#include <array>
#include <cstddef>
#include <string>
#include <tuple>

#include "console/prompts.h"
#include "enemy/enemy.h"
#include "game/hunt.h"

namespace velkor {

namespace {

constexpr std::size_t MaxCandidates = std::tuple_size_v<decltype(HuntState::Candidates)>;

// The last two enemies of the story, held back by name until enough others
// are dead, and the kill count at which each may first be offered.
struct HeldBack {
  const char* name;
  std::int32_t fromKillCount;
};
constexpr HeldBack HeldBackEnemies[] = {{"黒野宇美", 10}, {"黒野大地", 11}};

// The names of the roster's entries as EnemyData builds them, built once:
// every round asks for all twelve.
const std::array<std::string, RosterSize>& RosterNames() {
  static const std::array<std::string, RosterSize> names = [] {
    std::array<std::string, RosterSize> built;
    TEnemy enemy;
    for (std::int32_t i = 0; i < RosterSize; ++i) {
      EnemyNumbers(i, enemy);
      built[static_cast<std::size_t>(i)] = enemy.Name.Text();
    }
    return built;
  }();
  return names;
}

bool IsEligible(std::int32_t index, const HuntState& state) {
  const std::string& name = RosterNames()[static_cast<std::size_t>(index)];
  for (const HeldBack& held : HeldBackEnemies)
    if (name == held.name && state.KillCount < held.fromKillCount) return false;
  return state.AliveFlags[static_cast<std::size_t>(index)];
}

}  // namespace

bool AllFalse(std::span<const bool> flags) {
  for (const bool flag : flags)
    if (flag) return false;
  return true;
}

void FindEnemys(HuntState& state, RandomSource random) {
  std::array<bool, RosterSize> eligible{};
  for (std::int32_t i = 0; i < RosterSize; ++i) eligible[static_cast<std::size_t>(i)] = IsEligible(i, state);

  state.CandidateCount = 0;
  std::int32_t wanted = 3 + random.Int(3);
  if (wanted > static_cast<std::int32_t>(MaxCandidates)) {
    ErrorBanner("FindEnemys in Main");
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
