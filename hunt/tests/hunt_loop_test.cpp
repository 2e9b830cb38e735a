// The one hunt loop against a seat that records what the loop asks of it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "hunt/hunt.h"

namespace velkor {
namespace {

constexpr std::int32_t Umi = 10;  // the held-back enemies' roster entries
constexpr std::int32_t Daichi = 11;

// Wins the first `wins` battles and loses the next; every battle leaves the
// player hurt and moves the generator on.
class ScriptedSeat : public HuntSeat {
 public:
  explicit ScriptedSeat(int wins) : wins_(wins) {}

  std::int32_t ChooseCandidate(const HuntState& hunt, const TFighter&) override {
    return hunt.CandidateCount - 1;  // the last, so that not only the first place is read
  }
  BattleOutcome Fight(std::int32_t enemy, TFighter& player, std::uint32_t& randomState) override {
    Fought.push_back(enemy);
    HPAtStart.push_back(player.CurStats[StatHP]);
    player.CurStats[StatHP] = 1;
    randomState += 12345;
    return static_cast<int>(Fought.size()) <= wins_ ? BattleOutcome::Victory : BattleOutcome::Defeat;
  }
  void Lost(const HuntState& hunt) override { LostAt.push_back(hunt.KillCount); }
  void Ended(const HuntState& hunt) override { EndedAt.push_back(hunt.KillCount); }

  std::vector<std::int32_t> Fought, HPAtStart, LostAt, EndedAt;

 private:
  int wins_;
};

void NoError(std::string_view place) { ADD_FAILURE() << "error banner in " << place; }

TEST(PlayHunt, RoundsUntilADefeatOrTheEnding) {
  struct Case {
    int wins;
    std::int32_t kills;
    bool ending;
  };
  const Case cases[] = {{0, 0, false}, {3, 3, false}, {11, 11, false}, {12, 12, true}};
  for (const Case& c : cases) {
    for (const std::uint32_t seed : {1u, 99u, 4000000000u}) {
      SCOPED_TRACE(testing::Message() << c.wins << " wins, seed " << seed);
      ScriptedSeat seat(c.wins);
      TFighter player{};
      player.BaseStats = {50, 10, 10, 10};
      player.CurStats = {40, 10, 10, 10};  // the hunt does not heal before its first battle
      std::uint32_t random = seed;
      const HuntState hunt = PlayHunt(seat, player, random, NoError);

      EXPECT_EQ(hunt.KillCount, c.kills);
      EXPECT_EQ(hunt.BattleResult, c.ending ? BattleOutcome::Victory : BattleOutcome::Defeat);
      EXPECT_EQ(seat.LostAt, c.ending ? std::vector<std::int32_t>{} : std::vector<std::int32_t>{c.kills});
      EXPECT_EQ(seat.EndedAt, c.ending ? std::vector<std::int32_t>{12} : std::vector<std::int32_t>{});
      ASSERT_EQ(seat.Fought.size(), static_cast<std::size_t>(c.ending ? 12 : c.kills + 1));
      // Stats are restored after every victory, and only then.
      EXPECT_EQ(seat.HPAtStart[0], 40);
      for (std::size_t i = 1; i < seat.HPAtStart.size(); ++i) EXPECT_EQ(seat.HPAtStart[i], 50) << i;
      EXPECT_EQ(player.CurStats[StatHP], c.ending ? 50 : 1);
      // No enemy twice, and the held-back two last, in their order.
      for (std::size_t i = 0; i < seat.Fought.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(seat.Fought[i], seat.Fought[j]);
        if (i < 10) {
          EXPECT_LT(seat.Fought[i], Umi) << i;
        }
      }
      if (c.ending) {
        EXPECT_EQ(seat.Fought[10], Umi);
        EXPECT_EQ(seat.Fought[11], Daichi);
      }
    }
  }
}

}  // namespace
}  // namespace velkor
