// The shape of the roster's story texts: what the battle screen and an
// 80-column console rely on.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "console/to_cp932.h"
#include "enemy/enemy.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

constexpr std::size_t MaxLineBytes = 70;
const std::string OpenQuote = "「"_cp;
const std::string CloseQuote = "」"_cp;
const std::string WideSpace = "　"_cp;

// Whole code page 932 characters: a lead byte 81-9F or E0-FC takes the next one.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Cp932CharacterLength(text, i);
    chars.push_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 2;
  }
}

enum class Kind { Spoken, Narration, NarrationThenSpoken };

// One quotation over all lines: 「 opens the first, 」 closes the last, every
// continuation line begins with one full-width space, and no other quote mark.
void ExpectSpoken(const std::vector<std::string>& lines, const std::string& what) {
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::vector<std::string> chars = Characters(lines[n]);
    ASSERT_GE(chars.size(), 2u) << what << " line " << n;
    if (n == 0) {
      EXPECT_EQ(chars.front(), OpenQuote) << what;
    } else {
      EXPECT_EQ(chars[0], WideSpace) << what << " line " << n;
      EXPECT_NE(chars[1], WideSpace) << what << " line " << n;
    }
    if (n + 1 == lines.size()) {
      EXPECT_EQ(chars.back(), CloseQuote) << what;
    }
    for (std::size_t c = 0; c < chars.size(); ++c) {
      const bool opening = n == 0 && c == 0;
      const bool closing = n + 1 == lines.size() && c + 1 == chars.size();
      if (!opening) {
        EXPECT_NE(chars[c], OpenQuote) << what << " line " << n;
      }
      if (!closing) {
        EXPECT_NE(chars[c], CloseQuote) << what << " line " << n;
      }
    }
  }
}

void ExpectNarration(const std::vector<std::string>& lines, const std::string& what) {
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::vector<std::string> chars = Characters(lines[n]);
    ASSERT_FALSE(chars.empty()) << what << " line " << n;
    EXPECT_NE(chars.front(), OpenQuote) << what << " line " << n;
    EXPECT_NE(chars.front(), WideSpace) << what << " line " << n;
    EXPECT_NE(chars.back(), CloseQuote) << what << " line " << n;
  }
}

void ExpectShape(std::string_view text, Kind kind, std::size_t lineCount, const std::string& what) {
  test::Cp932ToUtf8(std::string(text));  // fails the test when a byte sequence is not code page 932
  const std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), lineCount) << what;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    EXPECT_LE(lines[n].size(), MaxLineBytes) << what << " line " << n;
    EXPECT_EQ(lines[n].find_first_of("\r\n"), std::string::npos) << what << " line " << n;
  }
  switch (kind) {
    case Kind::Spoken:
      ExpectSpoken(lines, what);
      break;
    case Kind::Narration:
      ExpectNarration(lines, what);
      break;
    case Kind::NarrationThenSpoken:
      ExpectNarration({lines.front()}, what);
      ExpectSpoken({lines.begin() + 1, lines.end()}, what);
      break;
  }
}

TEST(StoryTexts, KindAndLineCountOfEveryText) {
  struct Row {
    Kind encounter;
    std::size_t encounterLines;
    Kind defeat;
    std::size_t defeatLines;
  };
  const Row rows[RosterSize] = {
      {Kind::Spoken, 2, Kind::Spoken, 1},
      {Kind::Spoken, 1, Kind::Spoken, 4},
      {Kind::Spoken, 1, Kind::Spoken, 2},
      {Kind::Spoken, 1, Kind::Spoken, 1},
      {Kind::Spoken, 2, Kind::Spoken, 2},
      {Kind::Narration, 2, Kind::Narration, 2},
      {Kind::NarrationThenSpoken, 2, Kind::Spoken, 1},
      {Kind::Spoken, 2, Kind::Spoken, 2},
      {Kind::Narration, 2, Kind::Narration, 2},
      {Kind::Spoken, 3, Kind::Spoken, 3},
      {Kind::Spoken, 2, Kind::Spoken, 4},
      {Kind::Spoken, 7, Kind::Spoken, 3},
  };
  for (int i = 0; i < RosterSize; ++i) {
    TEnemy enemy;
    EnemyData(i, enemy, test::NoErrorExpected());
    const std::string entry = "entry " + std::to_string(i);
    ExpectShape(enemy.EncounterText, rows[i].encounter, rows[i].encounterLines, entry + " encounter");
    ExpectShape(enemy.DefeatText, rows[i].defeat, rows[i].defeatLines, entry + " defeat");
  }
}

TEST(StoryTexts, TheChimeraElvesShareOnlyTheirEncounter) {
  TEnemy elf[3];
  for (int i = 0; i < 3; ++i) EnemyData(1 + i, elf[i], test::NoErrorExpected());
  EXPECT_EQ(elf[1].EncounterText, elf[0].EncounterText);
  EXPECT_EQ(elf[2].EncounterText, elf[0].EncounterText);
  EXPECT_NE(elf[0].DefeatText, elf[1].DefeatText);
  EXPECT_NE(elf[0].DefeatText, elf[2].DefeatText);
  EXPECT_NE(elf[1].DefeatText, elf[2].DefeatText);
}

TEST(StoryTexts, TheDragonsDefeatEndsOnItsEncounterLine) {
  TEnemy dragon;
  EnemyData(8, dragon, test::NoErrorExpected());
  const std::vector<std::string> encounter = SplitLines(dragon.EncounterText);
  const std::vector<std::string> defeat = SplitLines(dragon.DefeatText);
  ASSERT_EQ(encounter.size(), 2u);
  ASSERT_EQ(defeat.size(), 2u);
  EXPECT_EQ(defeat[1], encounter[1]);
  EXPECT_NE(defeat[0], encounter[0]);
}

}  // namespace
}  // namespace velkor
