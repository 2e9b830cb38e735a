// Sealed records may hold any stat: the checksum is no secret. Records with
// each stat at the edges of 32 bits, the current value above or below the
// base, are loaded at start-up and played into a battle; the sheet shows
// every number whole, and the run ends by the rules. Under the sanitizers
// this also shows that no step of the battle overflows.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "console/failure.h"
#include "console/prompts.h"
#include "data/fighter.h"
#include "data/tables.h"
#include "game/startup.h"
#include "persist/save_file.h"
#include "sheet/sheet.h"
#include "testsupport/console_script.h"
#include "testsupport/files.h"

namespace velkor {
namespace {

TEST(ExtremeRecords, LoadedAndPlayedWithEveryStatAtTheEdges) {
  test::ScopedTempDir folder;
  test::CopyGameData(folder.Path());
  const test::ScopedWorkingDir inside(folder.Path());

  const std::array<std::int32_t, 4> usual{100, 20, 20, 20};
  const std::int32_t edges[] = {std::numeric_limits<std::int32_t>::min(), -1, 0,
                                std::numeric_limits<std::int32_t>::max()};
  // Load it, then whatever a battle asks: the first letter, yes, the end.
  std::vector<std::string> answers{"y", ""};
  for (int i = 0; i < 60; ++i) answers.insert(answers.end(), {"a", "y", "Z"});

  for (std::size_t stat = 0; stat < StatCount; ++stat) {
    for (const std::int32_t edge : edges) {
      for (const bool current : {true, false}) {
        TPlayer record{};
        record.Name.Assign("限界");
        record.BaseStats = usual;
        record.CurStats = usual;
        (current ? record.CurStats : record.BaseStats)[stat] = edge;
        StoreChecksum(record);
        test::WriteBytes(SaveFileName, ImageBytes(record));
        const std::string what = std::string(current ? "current " : "base ") +
                                 test::Cp932ToUtf8(StatNames[stat]) + " " + std::to_string(edge);

        test::ConsoleScript script(answers, 1);
        const int status = StartUp();
        const std::string out = script.Output();
        const std::string row = PadRight(StatNames[stat], StatNameWidth) +
                                RightInt(5, record.CurStats[stat]) + "/" +
                                RightInt(5, record.BaseStats[stat]) + "\r\n";
        EXPECT_NE(out.find(row), std::string::npos) << what;
        EXPECT_NE(out.find("******  Turn 1  ******"), std::string::npos) << what;
        if (stat == StatDefense && current && edge == edges[0]) {
          // The defense factor is infinite down there: a hit deals the most
          // there is, never nothing.
          EXPECT_NE(out.find("限界に2147483647ダメージ！"), std::string::npos) << what;
        }
        // A defeat ends normally; a battle still going when the answers run
        // out ends through the report of the input that ended.
        const std::size_t report = out.rfind("EInOutError");
        if (status == 0) {
          EXPECT_NE(out.find("ゲームーオーバー……"), std::string::npos) << what;
        } else {
          ASSERT_NE(report, std::string::npos) << what;
          EXPECT_TRUE(test::IsFailureReport(out.substr(report), "標準入力が終わりました")) << what;
        }
      }
    }
  }
}

}  // namespace
}  // namespace velkor
