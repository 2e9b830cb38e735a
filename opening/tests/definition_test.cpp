#include "opening/definition.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "data/fighter.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::ConsoleScript;

constexpr const char* NamePrompt = "きみの名前を教えてね。\r\n[最長16バイト]＞"_cp;

TEST(AskName, LimitIsSixteenBytes) {
  struct Case {
    const char* what;
    std::vector<std::string> typed;
    std::string name;
    std::string output;
  };
  const std::string intro = "まずは定義から始めよう。"_cp;
  const std::string ask = std::string(NamePrompt) + "\r\n";
  const std::string tooLong = "長さが16バイトを越えています。\r\n"_cp;
  const Case cases[] = {
      {"eight full-width characters", {"", "ジークフリート様"_cp}, "ジークフリート様"_cp, intro + ask},
      {"seventeen bytes, then a shorter name",
       {"", "ジークフリート様x"_cp, "ジーク"_cp},
       "ジーク"_cp,
       intro + ask + tooLong + ask},
      {"an empty line is asked again without a word", {"", "", "A"}, "A", intro + ask + ask},
      {"kept exactly as typed", {"", " ソ|ポ\\ "_cp}, " ソ|ポ\\ "_cp, intro + ask},
      {"whatever is typed at the first wait is dropped", {"name?", "x"}, "x", intro + ask},
      // A lone lead byte at the end would join the message after the name.
      {"sixteen bytes ending in a lone lead byte",
       {"", "ジークフリート"_cp + std::string("\x83")},
       "ジークフリート"_cp,
       intro + ask},
      {"only a lone lead byte is asked again", {"", "\x83", "A"}, "A", intro + ask + ask},
  };
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    AskName(script.Console(), script.Player);
    EXPECT_EQ(script.Player.Name.Text(), c.name) << c.what;
    EXPECT_EQ(script.Output(), c.output) << c.what;
    EXPECT_EQ(script.LinesLeft(), 0u) << c.what;
  }
}

std::string StatQuestion(const std::string& name, int high) {
  return name + "を入力して下さい。\r\n{0～"_cp + std::to_string(high) + "}";
}

// The sheet BuyStats shows before each question, for a nameless player.
std::string Sheet(std::array<int, 4> v, const std::string& talents = "") {
  auto line = [](const char* name, int value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%5d/%5d\r\n", name, value, value);
    return std::string(buffer);
  };
  return "--  --------------------\r\n" + line("ＨＰ  "_cp, v[0]) + line("攻撃力"_cp, v[1]) +
         line("防御力"_cp, v[2]) + line("素早さ"_cp, v[3]) + talents + "------------------------\r\n";
}

TEST(BuyStats, EachStatTakesAtMostWhatIsLeft) {
  ConsoleScript script({"40", "61", "+5", "60", "0", "0"});
  TPlayer& Player = script.Player;
  std::int32_t pool = 100;
  BuyStats(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 0);
  EXPECT_EQ(Player.BaseStats, (std::array<std::int32_t, 4>{200, 60, 0, 0}));
  EXPECT_EQ(Player.CurStats, Player.BaseStats);
  EXPECT_EQ(script.Output(),
            Sheet({0, 0, 0, 0}) + StatQuestion("ＨＰ"_cp, 100) + "\r\n" +
                "きみのＨＰは40に5を乗じて200と定められた。\r\n"_cp + Sheet({200, 0, 0, 0}) +
                // 61 is one above the rest, +5 has a sign: both asked again.
                StatQuestion("攻撃力"_cp, 60) + StatQuestion("攻撃力"_cp, 60) +
                StatQuestion("攻撃力"_cp, 60) + "\r\n" + "きみの攻撃力は60と定められた。\r\n"_cp +
                Sheet({200, 60, 0, 0}) + StatQuestion("防御力"_cp, 0) + "\r\n" +
                "きみの防御力は0と定められた。\r\n"_cp + Sheet({200, 60, 0, 0}) +
                StatQuestion("素早さ"_cp, 0) + "\r\n" + "きみの素早さは0と定められた。\r\n"_cp);
}

TEST(BuyStats, SentenceNamesTheMultiplierOnlyWhereThereIsOne) {
  ConsoleScript script({"20", "30", "25", "19"});
  std::int32_t pool = 100;
  BuyStats(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 6);
  EXPECT_EQ(script.Player.BaseStats, (std::array<std::int32_t, 4>{100, 30, 25, 19}));
  const std::string out = script.Output();
  for (const char* sentence :
       {"きみのＨＰは20に5を乗じて100と定められた。\r\n"_cp, "きみの攻撃力は30と定められた。\r\n"_cp,
        "きみの防御力は25と定められた。\r\n"_cp, "きみの素早さは19と定められた。\r\n"_cp, "{0～100}"_cp,
        "{0～80}"_cp, "{0～50}"_cp, "{0～25}"_cp}) {
    EXPECT_NE(out.find(sentence), std::string::npos) << test::Cp932ToUtf8(sentence);
  }
}

constexpr const char* AllTalents =
    "(a)魔眼     12\r\n"_cp
    "(b)心眼     10\r\n"_cp
    "(c)クイック 6\r\n"_cp
    "(d)超反応   8\r\n"_cp
    "(Z)おわり\r\n"_cp;

std::string TalentQuestion(int pool, const std::string& keys) {
  return "きみに才能はあるのかな？ （残り"_cp + std::to_string(pool) + "ポイント）\r\n("_cp + keys + ")";
}

TEST(BuyTalents, MenuOffersWhatFitsUnderLettersThatNeverShift) {
  ConsoleScript script({"d", "a", "D", "b", "Z"});
  std::int32_t pool = 30;
  BuyTalents(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 0);
  EXPECT_EQ(script.Player.Talents, (std::array<std::uint8_t, 4>{1, 1, 0, 1}));
  const std::string out = script.Output();
  EXPECT_EQ(out, Sheet({0, 0, 0, 0}) + AllTalents + TalentQuestion(30, "abcdZ") + "\r\n" +
                     "きみには≪超反応≫の才能があった。\r\n"_cp + Sheet({0, 0, 0, 0}, "≪超反応≫\r\n"_cp) +
                     "(a)魔眼     12\r\n(b)心眼     10\r\n(c)クイック 6\r\n(Z)おわり\r\n"_cp +
                     TalentQuestion(22, "abcZ") + "\r\n" + "きみには≪魔眼≫の才能があった。\r\n"_cp +
                     Sheet({0, 0, 0, 0}, "≪魔眼≫≪超反応≫\r\n"_cp) +
                     "(b)心眼     10\r\n(c)クイック 6\r\n(Z)おわり\r\n"_cp +
                     // "D" is the wrong case: asked again.
                     TalentQuestion(10, "bcZ") + TalentQuestion(10, "bcZ") + "\r\n" +
                     "きみには≪心眼≫の才能があった。\r\n"_cp);
  // Nothing fits in 0 points: no menu, no question, and "Z" is never read.
  EXPECT_EQ(script.LinesLeft(), 1u);
}

TEST(BuyTalents, SevenPointsOfferOnlyQuick) {
  ConsoleScript script({"a", "d", "c"});
  std::int32_t pool = 7;
  BuyTalents(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 1);
  EXPECT_EQ(script.Player.Talents, (std::array<std::uint8_t, 4>{0, 0, 1, 0}));
  EXPECT_EQ(script.Output(), Sheet({0, 0, 0, 0}) + "(c)クイック 6\r\n(Z)おわり\r\n"_cp +
                                 TalentQuestion(7, "cZ") + TalentQuestion(7, "cZ") + TalentQuestion(7, "cZ") +
                                 "\r\n" + "きみには≪クイック≫の才能があった。\r\n"_cp);
}

TEST(BuyTalents, FewerThanSixPointsWriteNothingAtAll) {
  for (const std::int32_t left : {5, 1, 0}) {
    ConsoleScript script({});
    std::int32_t pool = left;
    BuyTalents(script.Console(), script.Player, pool);
    EXPECT_EQ(pool, left);
    EXPECT_EQ(script.Output(), "") << left;
  }
}

TEST(BuyTalents, AllFourCostThirtySixAndTheRestIsDropped) {
  ConsoleScript script({"a", "b", "c", "d"});
  std::int32_t pool = 100;
  BuyTalents(script.Console(), script.Player, pool);  // stops by itself once nothing is left to offer
  EXPECT_EQ(pool, 64);
  EXPECT_EQ(script.Player.Talents, (std::array<std::uint8_t, 4>{1, 1, 1, 1}));
  const std::string out = script.Output();
  const std::string last = "きみには≪超反応≫の才能があった。\r\n"_cp;
  ASSERT_GE(out.size(), last.size());
  EXPECT_EQ(out.substr(out.size() - last.size()), last);
  EXPECT_EQ(script.LinesLeft(), 0u);
}

TEST(DefineAbilities, AllPointsOnStatsGoStraightToTheFinishedSheet) {
  ConsoleScript script({"", "", "100", "0", "0", "0"});
  script.Player.Name.Assign("ユウ"_cp);
  DefineAbilities(script.Console(), script.Player);
  const std::string out = script.Output();
  const std::string tail =
      "きみの素早さは0と定められた。\r\n"_cp
      "-- ユウ ----------------\r\n"_cp
      "ＨＰ    500/  500\r\n"_cp
      "攻撃力    0/    0\r\n"_cp
      "防御力    0/    0\r\n"_cp
      "素早さ    0/    0\r\n"_cp
      "------------------------\r\n";
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  const std::string head =
      "ユウ、そしてきみの意志が肉体をつくる。"_cp
      "きみの力は、きみが望むように伸びるよ。\r\n"_cp
      "-- ユウ ----------------\r\n"_cp;
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_EQ(script.LinesLeft(), 0u);
}

}  // namespace
}  // namespace velkor
