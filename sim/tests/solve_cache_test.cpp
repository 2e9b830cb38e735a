// A table file gives back the table it was written from, and nothing from a
// file that is damaged, cut short, or made for another matchup or program.
#include "sim/solve_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace velkor::sim {
namespace {

SolvedTable SomeTable(bool mindEye, std::uint16_t largest) {
  SolvedTable table;
  table.PlayerHP = 3;
  table.EnemyHP = 2;
  table.MindEye = mindEye;
  table.StartValue = 0.123456789012345;
  const std::size_t states = TokenStates * 3 * 2;
  for (std::size_t s = 0; s < states; ++s) {
    if (mindEye) {
      table.Value.push_back(static_cast<float>(s) / states);
    } else {
      // Runs of one choice, as neighbouring states have, and every choice.
      table.Choice.push_back(static_cast<std::uint16_t>((s / 37 * 97 + s % 2 * 5) % (largest + 1u)));
    }
  }
  return table;
}

void ExpectSame(const SolvedTable& a, const SolvedTable& b) {
  EXPECT_EQ(a.PlayerHP, b.PlayerHP);
  EXPECT_EQ(a.EnemyHP, b.EnemyHP);
  EXPECT_EQ(a.Plans, b.Plans);
  EXPECT_EQ(a.MindEye, b.MindEye);
  EXPECT_EQ(a.StartValue, b.StartValue);
  EXPECT_EQ(a.Choice, b.Choice);
  EXPECT_EQ(a.Value, b.Value);
}

TEST(TableFile, GivesBackWhatItWasWrittenFrom) {
  // Choices in one byte, in two, and values.
  for (const auto& table : {SomeTable(false, 200), SomeTable(false, 3000), SomeTable(true, 0)}) {
    const std::string bytes = TableBytes(table, "key");
    const auto back = TableFromBytes(bytes, "key");
    ASSERT_TRUE(back);
    ExpectSame(*back, table);
  }
  EXPECT_LT(TableBytes(SomeTable(false, 200), "key").size(),
            TableBytes(SomeTable(false, 3000), "key").size());
  SolvedTable runs = SomeTable(false, 200);
  for (std::size_t s = 0; s < runs.Choice.size(); ++s) runs.Choice[s] = static_cast<std::uint16_t>(s / 300);
  const std::string bytes = TableBytes(runs, "key");
  EXPECT_LT(bytes.size(), 200u) << "runs of one choice are kept short";
  ExpectSame(*TableFromBytes(bytes, "key"), runs);
}

TEST(TableFile, RefusesADamagedShortOrForeignFile) {
  const std::string bytes = TableBytes(SomeTable(false, 3000), "build 25,25,25,25 enemy 9");
  EXPECT_FALSE(TableFromBytes(bytes, "build 25,25,25,25 enemy 10")) << "another matchup's";
  EXPECT_FALSE(TableFromBytes("", "build 25,25,25,25 enemy 9"));
  for (const std::size_t cut : {std::size_t{1}, std::size_t{8}, bytes.size() / 2, bytes.size() - 1}) {
    EXPECT_FALSE(TableFromBytes(bytes.substr(0, cut), "build 25,25,25,25 enemy 9")) << cut;
  }
  for (const std::size_t at :
       {std::size_t{0}, std::size_t{17}, std::size_t{40}, bytes.size() / 2, bytes.size() - 1}) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    EXPECT_FALSE(TableFromBytes(damaged, "build 25,25,25,25 enemy 9")) << at;
  }
  EXPECT_FALSE(TableFromBytes(bytes + "x", "build 25,25,25,25 enemy 9")) << "bytes after the end";
}

TEST(TableFile, NamesAreOnePerBuildEnemyAndPlans) {
  const Build even{{25, 25, 25, 25}, {}};
  EXPECT_EQ(TableFileName(even, 8, PlanSet::Candidates), "enemy09-25.25.25.25-none-candidates.table");
  EXPECT_EQ(TableFileName(Build{{35, 25, 5, 35}, {0, 1, 0, 0}}, 11, PlanSet::Every),
            "enemy12-35.25.5.35-b-every.table");
}

TEST(TableFile, TheCacheFolderComesFromTheEnvironment) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' folders are absolute with a drive and come from LOCALAPPDATA first";
#endif
  struct Case {
    const char* what;
    std::map<std::string, std::string> env;
    std::string folder;
  };
  const Case cases[] = {
      {"nothing set", {}, ""},
      {"home", {{"HOME", "/home/u"}}, "/home/u/.cache/velkor-sim"},
      {"XDG before home", {{"HOME", "/home/u"}, {"XDG_CACHE_HOME", "/c/"}}, "/c/velkor-sim"},
      {"a relative XDG names nothing",
       {{"HOME", "/home/u"}, {"XDG_CACHE_HOME", "c"}},
       "/home/u/.cache/velkor-sim"},
      {"a relative home names nothing", {{"HOME", "u"}}, ""},
      {"our own, even relative", {{"HOME", "/home/u"}, {"VELKOR_SIM_CACHE", "tables"}}, "tables"},
      {"our own, empty, is not set",
       {{"HOME", "/home/u"}, {"VELKOR_SIM_CACHE", ""}},
       "/home/u/.cache/velkor-sim"},
  };
  for (const Case& c : cases) {
    static const std::map<std::string, std::string>* now = nullptr;
    now = &c.env;
    const auto env = [](const char* name) -> const char* {
      const auto at = now->find(name);
      return at == now->end() ? nullptr : at->second.c_str();
    };
    EXPECT_EQ(DefaultCacheFolder(env), c.folder) << c.what;
  }
}

}  // namespace
}  // namespace velkor::sim
