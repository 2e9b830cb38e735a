#include "opening/definition.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "data/fighter.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::ConsoleScript;

constexpr const char* NamePrompt = "きみの名前を教えてね。\r\n[最長16バイト]＞";

TEST(AskName, LimitIsSixteenBytes) {
  struct Case {
    const char* what;
    std::vector<std::string> typed;
    std::string name;
    std::string output;
  };
  const std::string intro = "まずは定義から始めよう。";
  const std::string ask = std::string(NamePrompt) + "\r\n";
  const std::string tooLong = "長さが16バイトを越えています。\r\n";
  const Case cases[] = {
      {"eight full-width characters", {"", "ジークフリート様"}, "ジークフリート様", intro + ask},
      {"seventeen bytes, then a shorter name",
       {"", "ジークフリート様x", "ジーク"},
       "ジーク",
       intro + ask + tooLong + ask},
      {"an empty line is asked again without a word", {"", "", "A"}, "A", intro + ask + ask},
      {"kept exactly as typed", {"", " ソ|ポ\\ "}, " ソ|ポ\\ ", intro + ask},
      {"whatever is typed at the first wait is dropped", {"name?", "x"}, "x", intro + ask},
      // A lone lead byte at the end would join the message after the name.
      {"sixteen bytes ending in a lone lead byte", {"", "ジークフリート\x83"}, "ジークフリート", intro + ask},
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
  return name + "を入力して下さい。\r\n{0～" + std::to_string(high) + "}";
}

// The sheet BuyStats shows before each question, for a nameless player.
std::string Sheet(std::array<int, 4> v, const std::string& talents = "") {
  auto line = [](const char* name, int value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%5d/%5d\r\n", name, value, value);
    return std::string(buffer);
  };
  return "--  --------------------\r\n" + line("ＨＰ  ", v[0]) + line("攻撃力", v[1]) + line("防御力", v[2]) +
         line("素早さ", v[3]) + talents + "------------------------\r\n";
}

TEST(BuyStats, EachStatTakesAtMostWhatIsLeft) {
  ConsoleScript script({"40", "61", "+5", "60", "0", "0"});
  TPlayer& Player = script.Player;
  std::int32_t pool = 100;
  BuyStats(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 0);
  EXPECT_EQ(Player.BaseStats, (std::array<std::int32_t, 4>{200, 60, 0, 0}));
  EXPECT_EQ(Player.CurStats, Player.BaseStats);
  EXPECT_EQ(script.Output(), Sheet({0, 0, 0, 0}) + StatQuestion("ＨＰ", 100) + "\r\n" +
                                 "きみのＨＰは40に5を乗じて200と定められた。\r\n" + Sheet({200, 0, 0, 0}) +
                                 // 61 is one above the rest, +5 has a sign: both asked again.
                                 StatQuestion("攻撃力", 60) + StatQuestion("攻撃力", 60) +
                                 StatQuestion("攻撃力", 60) + "\r\n" + "きみの攻撃力は60と定められた。\r\n" +
                                 Sheet({200, 60, 0, 0}) + StatQuestion("防御力", 0) + "\r\n" +
                                 "きみの防御力は0と定められた。\r\n" + Sheet({200, 60, 0, 0}) +
                                 StatQuestion("素早さ", 0) + "\r\n" + "きみの素早さは0と定められた。\r\n");
}

TEST(BuyStats, SentenceNamesTheMultiplierOnlyWhereThereIsOne) {
  ConsoleScript script({"20", "30", "25", "19"});
  std::int32_t pool = 100;
  BuyStats(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 6);
  EXPECT_EQ(script.Player.BaseStats, (std::array<std::int32_t, 4>{100, 30, 25, 19}));
  const std::string out = script.Output();
  for (const char* sentence :
       {"きみのＨＰは20に5を乗じて100と定められた。\r\n", "きみの攻撃力は30と定められた。\r\n",
        "きみの防御力は25と定められた。\r\n", "きみの素早さは19と定められた。\r\n", "{0～100}", "{0～80}",
        "{0～50}", "{0～25}"}) {
    EXPECT_NE(out.find(sentence), std::string::npos) << test::Cp932ToUtf8(sentence);
  }
}

constexpr const char* AllTalents =
    "(a)魔眼     12\r\n"
    "(b)心眼     10\r\n"
    "(c)クイック 6\r\n"
    "(d)超反応   8\r\n"
    "(Z)おわり\r\n";

std::string TalentQuestion(int pool, const std::string& keys) {
  return "きみに才能はあるのかな？ （残り" + std::to_string(pool) + "ポイント）\r\n(" + keys + ")";
}

TEST(BuyTalents, MenuOffersWhatFitsUnderLettersThatNeverShift) {
  ConsoleScript script({"d", "a", "D", "b", "Z"});
  std::int32_t pool = 30;
  BuyTalents(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 0);
  EXPECT_EQ(script.Player.Talents, (std::array<std::uint8_t, 4>{1, 1, 0, 1}));
  const std::string out = script.Output();
  EXPECT_EQ(out, Sheet({0, 0, 0, 0}) + AllTalents + TalentQuestion(30, "abcdZ") + "\r\n" +
                     "きみには≪超反応≫の才能があった。\r\n" + Sheet({0, 0, 0, 0}, "≪超反応≫\r\n") +
                     "(a)魔眼     12\r\n(b)心眼     10\r\n(c)クイック 6\r\n(Z)おわり\r\n" +
                     TalentQuestion(22, "abcZ") + "\r\n" + "きみには≪魔眼≫の才能があった。\r\n" +
                     Sheet({0, 0, 0, 0}, "≪魔眼≫≪超反応≫\r\n") +
                     "(b)心眼     10\r\n(c)クイック 6\r\n(Z)おわり\r\n" +
                     // "D" is the wrong case: asked again.
                     TalentQuestion(10, "bcZ") + TalentQuestion(10, "bcZ") + "\r\n" +
                     "きみには≪心眼≫の才能があった。\r\n");
  // Nothing fits in 0 points: no menu, no question, and "Z" is never read.
  EXPECT_EQ(script.LinesLeft(), 1u);
}

TEST(BuyTalents, SevenPointsOfferOnlyQuick) {
  ConsoleScript script({"a", "d", "c"});
  std::int32_t pool = 7;
  BuyTalents(script.Console(), script.Player, pool);
  EXPECT_EQ(pool, 1);
  EXPECT_EQ(script.Player.Talents, (std::array<std::uint8_t, 4>{0, 0, 1, 0}));
  EXPECT_EQ(script.Output(), Sheet({0, 0, 0, 0}) + "(c)クイック 6\r\n(Z)おわり\r\n" +
                                 TalentQuestion(7, "cZ") + TalentQuestion(7, "cZ") + TalentQuestion(7, "cZ") +
                                 "\r\n" + "きみには≪クイック≫の才能があった。\r\n");
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
  const std::string last = "きみには≪超反応≫の才能があった。\r\n";
  ASSERT_GE(out.size(), last.size());
  EXPECT_EQ(out.substr(out.size() - last.size()), last);
  EXPECT_EQ(script.LinesLeft(), 0u);
}

TEST(DefineAbilities, AllPointsOnStatsGoStraightToTheFinishedSheet) {
  ConsoleScript script({"", "", "100", "0", "0", "0"});
  script.Player.Name.Assign("ユウ");
  DefineAbilities(script.Console(), script.Player);
  const std::string out = script.Output();
  const std::string tail =
      "きみの素早さは0と定められた。\r\n"
      "-- ユウ ----------------\r\n"
      "ＨＰ    500/  500\r\n"
      "攻撃力    0/    0\r\n"
      "防御力    0/    0\r\n"
      "素早さ    0/    0\r\n"
      "------------------------\r\n";
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  const std::string head =
      "ユウ、そしてきみの意志が肉体をつくる。"
      "きみの力は、きみが望むように伸びるよ。\r\n"
      "-- ユウ ----------------\r\n";
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_EQ(script.LinesLeft(), 0u);
}

}  // namespace
}  // namespace velkor
