// The player's guide (docs/guide.md) says what the game does: its tables are
// read here and held against the game's own tables and rules, and its sample
// screens against the golden transcripts, so that the guide cannot drift.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "battle/damage.h"
#include "battle/resolution.h"
#include "battle/tests/battle_fixture.h"
#include "battle_console/planning.h"
#include "console/prompts.h"
#include "data/tables.h"
#include "enemy/enemy.h"
#include "opening/definition.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::string>;

std::string Guide() { return test::ReadBytes(test::SourceDir() + "/docs/guide.md"); }

// A game text (code page 932) as the guide writes it (UTF-8).
std::string U(std::string_view cp932) { return test::Cp932ToUtf8(cp932); }

const std::string Dash = "\xE2\x80\x94";  // — : the action has no such rule

std::vector<std::string> GuideLines() {
  std::vector<std::string> lines;
  std::istringstream in(Guide());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The cells of a Markdown table line "| a | b |", without the blanks around
// them. UTF-8 never has "|" inside a character.
Row Cells(const std::string& line) {
  Row cells;
  std::size_t start = 1;
  for (std::size_t bar = line.find('|', start); bar != std::string::npos; bar = line.find('|', start)) {
    std::string cell = line.substr(start, bar - start);
    cell.erase(0, cell.find_first_not_of(' '));
    cell.erase(cell.find_last_not_of(' ') + 1);
    cells.push_back(cell);
    start = bar + 1;
  }
  return cells;
}

// The rows of the one table whose heading is header (all cells UTF-8).
std::vector<Row> Table(const Row& header) {
  const std::vector<std::string> lines = GuideLines();
  std::vector<Row> rows;
  int found = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("|", 0) != 0 || Cells(lines[i]) != header) continue;
    ++found;
    for (std::size_t r = i + 2; r < lines.size() && lines[r].rfind("|", 0) == 0; ++r) {
      rows.push_back(Cells(lines[r]));
      EXPECT_EQ(rows.back().size(), header.size()) << lines[r];
    }
  }
  EXPECT_EQ(found, 1) << "tables headed " << header[0] << " ...";
  return rows;
}

// True when the guide holds text (code page 932) somewhere.
bool GuideSays(const std::string& text) { return Guide().find(U(text)) != std::string::npos; }

TEST(Guide, StatsAndTheirMultipliers) {
  const std::vector<Row> rows = Table({U("能力"_cp), U("1ポイントあたり"_cp), U("役割"_cp)});
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(StatCount));
  for (int i = 0; i < StatCount; ++i) {
    EXPECT_EQ(rows[i][0], U(StatNames[i]));
    EXPECT_EQ(rows[i][1], std::to_string(StatMultipliers[i])) << rows[i][0];
  }
  EXPECT_TRUE(GuideSays("**" + std::to_string(InitialPointPool) + " ポイント**"_cp));
  EXPECT_TRUE(GuideSays("名前は最長 "_cp + std::to_string(NameLimit) + " バイト"_cp));
  EXPECT_TRUE(GuideSays("全角なら "_cp + std::to_string(NameLimit / 2) + " 文字、半角なら "_cp +
                        std::to_string(NameLimit) + " 文字"_cp));
}

TEST(Guide, TalentsWithTheirLettersAndCosts) {
  const std::vector<Row> rows = Table({U("文字"_cp), U("才能"_cp), U("コスト"_cp), U("効果"_cp)});
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(TalentCount));
  for (int i = 0; i < TalentCount; ++i) {
    EXPECT_EQ(rows[i][0], std::string(1, MenuLetter(i)));
    EXPECT_EQ(rows[i][1], U(TalentNames[i]));
    EXPECT_EQ(rows[i][2], std::to_string(TalentCosts[i])) << rows[i][1];
  }
  const std::int32_t cheapest = *std::min_element(TalentCosts.begin(), TalentCosts.end());
  EXPECT_TRUE(GuideSays("いちばん安い才能でも "_cp + std::to_string(cheapest) + " ポイント"_cp));
}

// What one action of side 0 (attack 21) does to side 1 (defense as given,
// 1000 HP, 100 AP, the given tokens), answering every wait with Enter.
struct Hit {
  std::int32_t hpLost = 0;
  std::int32_t apLost = 0;
  std::int32_t decoysLeft = 0;
  std::int32_t guardsLeft = 0;
};

constexpr std::int32_t Attack = 21;  // odd, so that halving shows its rounding

Hit Strike(std::uint8_t action, std::int32_t defense, std::int32_t decoys = 0, std::int32_t guards = 0,
           std::int32_t attack = Attack) {
  test::BattleScript script(std::vector<std::string>(8, ""));
  BattleState& battle = script.At.State;
  script.SetUnhurtYuu({100, attack, 0, 100});
  TEnemy target;
  test::SetFighter(target, "鬼"_cp, {1000, 0, defense, 100}, {1000, 0, defense, 100});
  script.StartBattle(target);
  battle.ActionPoints = {100, 100};
  battle.DecoyTokens[EnemySide] = decoys;
  battle.GuardTokens[EnemySide] = guards;
  BattleOutcome result = BattleOutcome::Undecided;
  ResolveAttack(battle, script.At.Screen, PlayerSide, EnemySide, action, result);
  return {1000 - battle.CurrentEnemy.CurStats[StatHP], 100 - battle.ActionPoints[EnemySide],
          battle.DecoyTokens[EnemySide], battle.GuardTokens[EnemySide]};
}

// The amount an action deals, as the guide's effect column words it.
struct Effect {
  std::int32_t base;  // for an attack of Attack
  bool onPoints;      // lowers the target's AP rather than its HP
};

TEST(Guide, ActionsWithTheirLettersCostsAndRules) {
  const std::map<std::string, Effect> effects{
      {U("攻撃力ぶんのダメージ"_cp), {Attack, false}},
      {U("攻撃力の半分（端数切り上げ）のダメージ"_cp), {(Attack + 1) / 2, false}},
      {U("攻撃力の 2 倍のダメージ"_cp), {2 * Attack, false}},
      {U("相手の AP を 12 減らす"_cp), {12, true}},
  };
  // The rows without an amount: what the action does instead.
  const std::map<std::uint8_t, std::string> others{{actGuard, U("ガードを一つ得る"_cp)},
                                                   {actEvade, U("デコイを一つ得る"_cp)},
                                                   {actEnd, U("計画をここで終える"_cp)}};

  const std::vector<Row> rows =
      Table({U("文字"_cp), U("行動"_cp), U("AP"), U("効果"_cp), U("防御力による軽減"_cp), U("デコイ"_cp)});
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(ActionCount));
  for (std::uint8_t a = 0; a < ActionCount; ++a) {
    const Row& row = rows[a];
    const std::string& name = row[1];
    EXPECT_EQ(row[0], std::string(1, ActionLetters[a])) << name;
    EXPECT_EQ(name, U(ActionNames[a]));
    EXPECT_EQ(row[2], std::to_string(ActionCosts[a])) << name;
    if (others.count(a) != 0) {
      EXPECT_EQ(row[3], others.at(a));
      EXPECT_EQ(row[4], Dash) << name;
      EXPECT_EQ(row[5], Dash) << name;
      continue;
    }
    ASSERT_EQ(effects.count(row[3]), 1u) << name << ": " << row[3];
    const Effect effect = effects.at(row[3]);
    const auto lost = [&](const Hit& hit) { return effect.onPoints ? hit.apLost : hit.hpLost; };

    // Without defense the amount is the effect's.
    EXPECT_EQ(lost(Strike(a, 0)), effect.base) << name;

    // Defense 40 (and 20 for half of it).
    const std::map<std::string, std::int32_t> reduced{{U("そのまま"_cp), ApplyDefense(effect.base, 40)},
                                                      {U("半分"_cp), ApplyDefense(effect.base, 20)},
                                                      {U("軽減されない"_cp), effect.base}};
    ASSERT_EQ(reduced.count(row[4]), 1u) << name << ": " << row[4];
    EXPECT_EQ(lost(Strike(a, 40)), reduced.at(row[4])) << name << ": " << row[4];

    // A decoy is used up either way; only some actions still hit.
    ASSERT_TRUE(row[5] == U("回避される"_cp) || row[5] == U("命中する"_cp)) << name << ": " << row[5];
    const Hit decoyed = Strike(a, 0, 1);
    EXPECT_EQ(lost(decoyed), row[5] == U("命中する"_cp) ? effect.base : 0) << name;
    EXPECT_EQ(decoyed.decoysLeft, 0) << name;
  }
}

TEST(Guide, WorkedDamagesWithAndWithoutGuard) {
  const std::vector<Row> rows = Table({U("行動"_cp), U("ダメージ"_cp), U("相手にガードがあるとき"_cp)});
  ASSERT_EQ(rows.size(), 6u);  // every action that deals damage
  for (const Row& row : rows) {
    const auto at = std::find_if(ActionNames.begin(), ActionNames.end(),
                                 [&](std::string_view name) { return U(name) == row[0]; });
    ASSERT_NE(at, ActionNames.end()) << row[0];
    const auto action = static_cast<std::uint8_t>(at - ActionNames.begin());
    const auto lost = [&](const Hit& hit) { return std::to_string(hit.hpLost + hit.apLost); };
    // Attack 20 against defense 25, as the guide's example says.
    EXPECT_EQ(lost(Strike(action, 25, 0, 0, 20)), row[1]) << row[0];
    const Hit guarded = Strike(action, 25, 0, 1, 20);
    EXPECT_EQ(lost(guarded), row[2]) << row[0];
    EXPECT_EQ(guarded.guardsLeft, 0) << row[0];
  }
  EXPECT_TRUE(GuideSays("攻撃力 20 のキャラクターが防御力 25 の相手に"_cp));
}

TEST(Guide, TokensAndWhatMakesThem) {
  const std::vector<Row> rows =
      Table({U("トークン"_cp), U("画面の表示"_cp), U("得る行動"_cp), U("最大"_cp), U("働き"_cp)});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], U("ガード"_cp));
  EXPECT_EQ(rows[0][2], U(ActionNames[actGuard]));
  EXPECT_EQ(rows[1][0], U("デコイ"_cp));
  EXPECT_EQ(rows[1][2], U(ActionNames[actEvade]));
  for (const Row& row : rows) EXPECT_EQ(row[3], std::to_string(TokenLimit)) << row[0];
}

// "100 以上", "50〜99", "0 以下" (UTF-8) as a range of current HP to try; the open
// ends are tried some way beyond the bound.
std::pair<std::int32_t, std::int32_t> HpRange(const std::string& text) {
  const std::string waveDash = "\xE3\x80\x9C";  // 〜
  const std::size_t dash = text.find(waveDash);
  if (dash != std::string::npos)
    return {std::stoi(text.substr(0, dash)), std::stoi(text.substr(dash + waveDash.size()))};
  const std::int32_t bound = std::stoi(text);
  if (text.find(U("以上"_cp)) != std::string::npos) return {bound, bound + 50};
  EXPECT_NE(text.find(U("以下"_cp)), std::string::npos) << text;
  return {bound - 50, bound};
}

TEST(Guide, StatusWordsAtTheirHitPoints) {
  const std::vector<Row> rows = Table({U("表示"_cp), U("状態"_cp), U("最大ＨＰが 100 のとき"_cp)});
  ASSERT_EQ(rows.size(), 5u);
  std::int32_t below = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const auto [low, high] = HpRange(rows[r][2]);
    // The rows run down from full health without a gap.
    if (r > 0) {
      EXPECT_EQ(high, below - 1) << rows[r][0];
    }
    below = low;
    for (std::int32_t hp = low; hp <= high; ++hp) {
      TFighter fighter{};
      fighter.BaseStats[StatHP] = 100;
      fighter.CurStats[StatHP] = hp;
      EXPECT_EQ(U(StatusWord(fighter)), rows[r][0]) << "HP " << hp;
    }
  }
}

TEST(Guide, TitlesAndWhoGivesThem) {
  std::set<std::pair<std::string, std::string>> roster;
  for (std::int32_t i = 0; i < RosterSize; ++i) {
    TEnemy enemy;
    EnemyData(i, enemy, test::NoErrorExpected());
    if (!enemy.Title.empty()) roster.insert({U(enemy.Name.Text()), U(enemy.Title)});
  }
  std::set<std::pair<std::string, std::string>> guide;
  for (const Row& row : Table({U("相手"_cp), U("称号"_cp)})) guide.insert({row[0], row[1]});
  EXPECT_EQ(guide, roster);
}

// What a terminal shows of a golden transcript: the typed lines stand where
// they were typed, and lines end in a line feed.
std::string Screen(std::string transcript) {
  std::erase(transcript, '\r');
  const std::string open = "\xE2\x9F\xA8";   // ⟨
  const std::string close = "\xE2\x9F\xA9";  // ⟩
  for (std::size_t at = transcript.find(open); at != std::string::npos; at = transcript.find(open, at)) {
    const std::size_t end = transcript.find(close, at);
    transcript.replace(at, end + close.size() - at,
                       transcript.substr(at + open.size(), end - at - open.size()));
  }
  return transcript;
}

TEST(Guide, SampleScreensAreCopiedFromRealTranscripts) {
  std::vector<std::string> screens;
  // Not into the build folders (a Wine prefix, npm's packages, files that
  // other tests make and remove meanwhile) nor .git.
  for (auto entry = fs::recursive_directory_iterator(test::SourceDir());
       entry != fs::recursive_directory_iterator(); ++entry) {
    const std::string name = entry->path().filename().string();
    if (entry->is_directory() && (name.starts_with("build") || name.starts_with(".")))
      entry.disable_recursion_pending();
    else if (entry->path().extension() == ".golden")
      screens.push_back(Screen(test::ReadBytes(entry->path().string())));
  }
  ASSERT_FALSE(screens.empty());

  std::size_t samples = 0;
  const std::vector<std::string> lines = GuideLines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "```text") continue;
    std::string sample;
    for (++i; i < lines.size() && lines[i] != "```"; ++i) sample += lines[i] + "\n";
    ++samples;
    EXPECT_TRUE(
        std::any_of(screens.begin(), screens.end(),
                    [&](const std::string& screen) { return screen.find(sample) != std::string::npos; }))
        << "not in any golden transcript:\n"
        << sample;
  }
  EXPECT_GE(samples, 1u);
}

// The guide says that a refused answer is asked again in silence, with the
// too-long name as the one exception, and quotes its message.
TEST(Guide, RefusedAnswersAreAskedAgainSilentlyButForALongName) {
  EXPECT_TRUE(
      GuideSays("メッセージが出るのは、長すぎる名前に「長さが16バイトを越えています。」と出るときだけ"_cp));
  {
    test::ConsoleScript script({"", "12345678901234567", "ユウ"_cp});
    AskName(script.Console(), script.Player);
    EXPECT_EQ(script.LinesLeft(), 0u);
    EXPECT_NE(script.Output().find("\r\n長さが16バイトを越えています。\r\n"_cp), std::string::npos)
        << U(script.Output());
  }
  // Everywhere else the refused answer is followed by the question again,
  // and by nothing before it.
  struct Case {
    const char* refused;
    std::function<void(Console&)> ask;
  };
  const Case cases[] = {
      {"q", [](Console& console) { AskYesNo(console, "よろしいですか？"_cp); }},
      {"Q", [](Console& console) { AskChoice(console, "どれですか？"_cp, "ab"); }},
      {"101", [](Console& console) { AskRange(console, "いくつですか？"_cp, 0, 100); }},
  };
  for (const Case& c : cases) {
    test::ConsoleScript script({c.refused, "y", "a", "1"});
    c.ask(script.Console());
    const std::string out = script.Output();
    const std::size_t first = out.find("？"_cp);
    const std::size_t again = out.find("？"_cp, first + 1);
    ASSERT_NE(again, std::string::npos) << c.refused << ": " << U(out);
    // What follows the first question up to the second: its own choices only.
    const std::string between = out.substr(first, again - first);
    EXPECT_EQ(between.find("。"_cp), std::string::npos) << c.refused << ": " << U(out);
  }
}

// The guide says that a plan ends by itself once only the end is
// affordable, so that a letter typed for another action answers the
// confirmation.
TEST(Guide, APlanEndsByItselfWhenOnlyTheEndIsAffordable) {
  EXPECT_TRUE(GuideSays(
      "残りの AP で払えるのが `Z`（おわり）だけになったときも、一覧は出ずに計画はそこで終わります。"_cp));
  // "a" spends every point; "Z" meant for the second slot meets the
  // confirmation, which asks again; "y" accepts.
  test::BattleScript script({"a", "Z", "y"});
  const std::int32_t attack = ActionCosts[ActionLetters.find('a')];
  test::SetFighter(script.Player, "ユウ"_cp, {88, 20, 25, attack}, {100, 20, 25, attack});
  script.StartBattle(test::Oni());
  PlanPlayerActions(script.Console(), script.At.State);
  EXPECT_EQ(script.LinesLeft(), 0u);
  EXPECT_EQ(script.Output().find("第2の行動"_cp), std::string::npos) << U(script.Output());
  const std::string confirm = "これでよろしいですか？（残り0ポイント）(y/n)"_cp;
  const std::size_t first = script.Output().find(confirm);
  ASSERT_NE(first, std::string::npos) << U(script.Output());
  EXPECT_NE(script.Output().find(confirm, first + 1), std::string::npos) << U(script.Output());
}

}  // namespace
}  // namespace velkor
