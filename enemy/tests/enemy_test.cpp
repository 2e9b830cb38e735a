#include "enemy/enemy.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using Stats = std::array<std::int32_t, StatCount>;
using Weights = std::array<std::int32_t, ActionCount>;
using Talents = std::array<std::uint8_t, TalentCount>;

TEnemy Build(std::int32_t index) {
  TEnemy enemy;
  EnemyData(index, enemy, test::NoErrorExpected());
  return enemy;
}

TEST(EnemyData, ResultingStats) {
  struct Row {
    Stats base;
    Stats current;
  };
  const Row rows[RosterSize] = {
      {{150, 10, 30, 30}, {150, 10, 30, 30}}, {{100, 40, 20, 20}, {100, 40, 20, 20}},
      {{100, 20, 40, 20}, {100, 20, 40, 20}}, {{100, 20, 20, 40}, {100, 20, 20, 40}},
      {{100, 20, 10, 42}, {100, 20, 10, 42}}, {{175, 25, 10, 20}, {225, 25, 10, 20}},
      {{125, 30, 25, 20}, {125, 40, 25, 20}}, {{125, 15, 25, 35}, {125, 15, 25, 45}},
      {{150, 30, 10, 30}, {150, 30, 20, 30}}, {{150, 10, 20, 24}, {150, 20, 20, 50}},
      {{150, 20, 10, 28}, {150, 20, 10, 70}}, {{75, 8, 15, 50}, {75, 28, 15, 50}},
  };
  for (int i = 0; i < RosterSize; ++i) {
    const TEnemy enemy = Build(i);
    EXPECT_EQ(enemy.BaseStats, rows[i].base) << "entry " << i;
    EXPECT_EQ(enemy.CurStats, rows[i].current) << "entry " << i;
  }
}

TEST(EnemyData, NamesTalentsWeightsAndTitles) {
  struct Row {
    std::string name;
    Talents talents;  // EvilEye, MindEye, Quick, HyperReaction
    Weights weights;  // a b c d h x y X Z
    std::string title;
  };
  const Row rows[RosterSize] = {
      {"真山麻耶"_cp, {0, 0, 0, 0}, {1, 0, 1, 2, 0, 2, 2, 0, 1}, ""},
      {"キメラエルフ"_cp, {0, 0, 0, 0}, {1, 2, 2, 1, 0, 1, 1, 0, 0}, ""},
      {"キメラエルフ"_cp, {0, 0, 0, 0}, {1, 1, 1, 1, 0, 0, 2, 0, 0}, ""},
      {"キメラエルフ"_cp, {0, 0, 0, 0}, {1, 1, 1, 1, 3, 1, 1, 0, 0}, ""},
      {"平崎有三"_cp, {0, 0, 0, 1}, {2, 2, 2, 1, 2, 2, 1, 3, 0}, ""},
      {"物思う屍"_cp, {0, 0, 0, 0}, {1, 1, 0, 1, 0, 1, 0, 0, 1}, ""},
      {"鬼"_cp, {0, 0, 0, 0}, {1, 3, 1, 1, 0, 0, 0, 0, 0}, "【鬼殺し】"_cp},
      {"悪魔"_cp, {0, 0, 0, 0}, {1, 1, 1, 1, 3, 1, 2, 0, 0}, "【悪魔殺し】"_cp},
      {"ドラゴン"_cp, {0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 0, 0}, "【竜殺し】"_cp},
      {"アネモネ"_cp, {0, 1, 1, 0}, {1, 1, 1, 1, 1, 1, 1, 5, 0}, "【魔女の心を溶かした者】"_cp},
      {"黒野宇美"_cp, {1, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 5, 0}, ""},
      {"黒野大地"_cp, {1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 1, 0}, ""},
  };
  for (int i = 0; i < RosterSize; ++i) {
    const TEnemy enemy = Build(i);
    EXPECT_EQ(enemy.Name.Text(), rows[i].name) << "entry " << i;
    EXPECT_LE(enemy.Name.Length, 12) << "entry " << i;
    EXPECT_EQ(enemy.Talents, rows[i].talents) << "entry " << i;
    EXPECT_EQ(enemy.ActionRate, rows[i].weights) << "entry " << i;
    EXPECT_EQ(enemy.Title, rows[i].title) << "entry " << i;
  }
}

// Stat points plus talent costs: the player's definition budget.
TEST(EnemyData, EveryEntryButTheCorpseIsWorthAHundredPoints) {
  for (int i = 0; i < RosterSize; ++i) {
    const TEnemy enemy = Build(i);
    std::int32_t worth = 0;
    for (int s = 0; s < StatCount; ++s) worth += enemy.BaseStats[s] / StatMultipliers[s];
    for (int t = 0; t < TalentCount; ++t)
      if (enemy.HasTalent(t)) worth += TalentCosts[t];
    EXPECT_EQ(worth, i == 5 ? 90 : 100) << "entry " << i;
  }
}

TEST(EnemyData, AnIndexOutsideTheRosterGivesTheResetRecord) {
  for (const std::int32_t index : {-1, 12, INT_MIN, INT_MAX}) {
    TEnemy enemy = Build(9);  // a full record must be overwritten whole
    EnemyData(index, enemy, test::NoErrorExpected());
    EXPECT_EQ(enemy.Name.Length, 0) << index;
    EXPECT_EQ(enemy.Name.Storage, (std::array<char, 16>{})) << index;
    EXPECT_EQ(enemy.BaseStats, (Stats{0, 0, 0, 0})) << index;
    EXPECT_EQ(enemy.CurStats, (Stats{0, 0, 0, 0})) << index;
    EXPECT_EQ(enemy.Talents, (Talents{0, 0, 0, 0})) << index;
    EXPECT_EQ(enemy.ActionRate, (Weights{1, 1, 1, 1, 1, 1, 1, 1, 0})) << index;
    EXPECT_EQ(enemy.EncounterText, "") << index;
    EXPECT_EQ(enemy.DefeatText, "") << index;
    EXPECT_EQ(enemy.Title, "") << index;
  }
}

// Nothing of an earlier entry may survive into the next one.
TEST(EnemyData, ReusingARecordGivesTheSameAsAFreshOne) {
  for (int before = 0; before < RosterSize; ++before) {
    for (int after = 0; after < RosterSize; ++after) {
      TEnemy reused = Build(before);
      EnemyData(after, reused, test::NoErrorExpected());
      const TEnemy fresh = Build(after);
      EXPECT_EQ(reused.Name.Text(), fresh.Name.Text());
      EXPECT_EQ(reused.Name.Storage, fresh.Name.Storage);
      EXPECT_EQ(reused.BaseStats, fresh.BaseStats);
      EXPECT_EQ(reused.CurStats, fresh.CurStats) << before << " then " << after;
      EXPECT_EQ(reused.Talents, fresh.Talents) << before << " then " << after;
      EXPECT_EQ(reused.ActionRate, fresh.ActionRate);
      EXPECT_EQ(reused.EncounterText, fresh.EncounterText);
      EXPECT_EQ(reused.DefeatText, fresh.DefeatText);
      EXPECT_EQ(reused.Title, fresh.Title) << before << " then " << after;
    }
  }
}

}  // namespace
}  // namespace velkor
