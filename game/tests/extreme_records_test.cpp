// Sealed records may hold any bytes: the checksum is no secret. A record that
// a definition could have made loads, however far it goes; one that none
// could have made (a defence no blow gets through, points never handed out)
// is refused at start-up like a wrong checksum, kept as save.dat.bad, and
// the player defines a new character.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "data/fighter.h"
#include "game/startup.h"
#include "persist/save_file.h"
#include "platform/cp932_literal.h"
#include "sheet/sheet.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

TEST(ExtremeRecords, OnlyRecordsADefinitionCouldMakeAreLoaded) {
  test::ScopedTempDir folder;
  test::CopyGameData(folder.Path());
  const test::ScopedWorkingDir inside(folder.Path());

  struct Case {
    const char* what;
    std::string name;
    std::array<std::int32_t, 4> base;
    std::array<std::int32_t, 4> current;
    std::array<std::uint8_t, 4> talents;
    bool loads;
  };
  const std::array<std::int32_t, 4> usual{100, 20, 20, 20};
  const Case cases[] = {
      {"the usual", "限界"_cp, usual, usual, {0, 0, 0, 0}, true},
      {"every point in hit points", "限界"_cp, {500, 0, 0, 0}, {500, 0, 0, 0}, {0, 0, 0, 0}, true},
      {"all talents, 64 points of stats", "x", {20, 20, 20, 20}, {20, 20, 20, 20}, {1, 1, 1, 1}, true},
      {"nothing bought, 16 bytes of name",
       "1234567890123456",
       {0, 0, 0, 0},
       {0, 0, 0, 0},
       {0, 0, 0, 0},
       true},
      {"an empty name", "", usual, usual, {0, 0, 0, 0}, false},
      {"a defence of 100,000", "限界"_cp, {5, 0, 100000, 0}, {5, 0, 100000, 0}, {0, 0, 0, 0}, false},
      {"hit points not a multiple of 5",
       "限界"_cp,
       {101, 20, 20, 20},
       {101, 20, 20, 20},
       {0, 0, 0, 0},
       false},
      {"101 points of stats", "限界"_cp, {205, 20, 20, 20}, {205, 20, 20, 20}, {0, 0, 0, 0}, false},
      {"101 points with talents", "限界"_cp, {25, 20, 20, 20}, {25, 20, 20, 20}, {1, 1, 1, 1}, false},
      {"a talent of 2", "限界"_cp, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 0, 0}, false},
      {"a negative stat", "限界"_cp, {100, 20, -1, 20}, {100, 20, -1, 20}, {0, 0, 0, 0}, false},
      {"stats that wrap 32 bits", "限界"_cp, {0, Max, Max, 2}, {0, Max, Max, 2}, {0, 0, 0, 0}, false},
      {"the lowest defence", "限界"_cp, {100, 20, Min, 20}, {100, 20, Min, 20}, {0, 0, 0, 0}, false},
      {"current above base", "限界"_cp, usual, {100, 20, 21, 20}, {0, 0, 0, 0}, false},
      {"current below base", "限界"_cp, usual, {99, 20, 20, 20}, {0, 0, 0, 0}, false},
  };
  const std::string loadQuestion = "前回のあなたの定義が保存されています。ロードしますか？"_cp;
  for (const Case& c : cases) {
    test::Remove(RefusedSaveFileName);
    TPlayer record{};
    record.Name.Assign(c.name);
    record.BaseStats = c.base;
    record.CurStats = c.current;
    record.Talents = c.talents;
    StoreChecksum(record);
    const std::string image = ImageBytes(record);
    test::WriteBytes(SaveFileName, image);

    // No answers: the run ends at the first question, which tells whether
    // the record was offered or refused.
    test::ConsoleScript script({});
    GameRun run;
    run.RandomState = 1;
    run.Io.Bind(script.Device());
    StartUp(run);
    const std::string out = script.Output();
    EXPECT_EQ(out.find(loadQuestion) != std::string::npos, c.loads) << c.what;
    EXPECT_EQ(out.find(BadContentMessage) != std::string::npos, !c.loads) << c.what;
    EXPECT_EQ(test::ReadBytes(SaveFileName), image) << c.what;
  }
}

}  // namespace
}  // namespace velkor
