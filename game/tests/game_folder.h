#pragma once
// What the tests that run the built game share: a fresh folder holding dat/,
// the texts they look for, and a saved record.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/scenario.h"
#include "data/fighter.h"
#include "persist/save_file.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/process_runner.h"
#include "testsupport/saved_record.h"
#include "testsupport/test_files.h"
#include "testsupport/typed_runs.h"

namespace velkor::test {

inline const std::string InputEnded = "標準入力が終わりました"_cp;
inline const std::string LoadQuestion =
    "前回のあなたの定義が保存されています。ロードしますか？(y/n)\r\n(yn)"_cp;
inline const std::string DefinitionStart = "まずは定義から始めよう。きみの名前を教えてね。\r\n"_cp;
inline const std::string LoadFailed = "（save.datの読み込みに失敗しました。）\r\n"_cp;

// A sealed record with talents and spare bytes, as an older run left it.
inline std::string SavedRecord() {
  TPlayer p{};
  p.Name.Assign("ジークフリート様"_cp);
  p.Name.Assign("ユウ"_cp);
  p.NameGap = {7, 8, 9};
  p.BaseStats = {100, 25, 25, 10};  // with the talents, 98 of the 100 points
  p.CurStats = p.BaseStats;
  p.Talents = {1, 0, 1, 0};
  p.TailGap = 0x42;
  StoreChecksum(p);
  return ImageBytes(p);
}

inline bool Sealed(const TPlayer& p) {
  return p.Checksum.Length == 10 && p.Checksum.Text() == CalcChecksum(p);
}

// The output ends with the report of the input that ran out.
inline bool EndsWithInputEnded(const std::string& output) {
  const std::size_t at = output.rfind("EInOutError");
  return at != std::string::npos && IsFailureReport(output.substr(at), InputEnded);
}

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override { CopyGameData(folder_.Path()); }

  ProcessResult Run(const std::string& input) { return RunProgram(GameProgram(), folder_.Path(), input, 20); }
  std::string Path(const std::string& name) const { return folder_.Path() + "/" + name; }
  bool Exists(const std::string& name) const { return test::Exists(Path(name)); }

 private:
  ScopedTempDir folder_;
};

// Something put in the place of a scenario file, by its path.
struct ScenarioCase {
  const char* what;
  std::function<void(const std::string& file)> make;
};

// A scenario file that cannot be played stops the game at start-up, before
// anything is written or asked: the output is the failure report alone, the
// exit status 1, and no file is touched (a refused save.dat stays as it is).
// Each case, for each of the two files, in a folder of its own under base.
inline void ExpectScenarioFailuresStopTheGame(const std::string& base,
                                              const std::vector<ScenarioCase>& cases) {
  std::string refused = SavedRecord();
  refused[40] = static_cast<char>(refused[40] + 1);
  int number = 0;
  for (const int scenario : {0, 1}) {
    for (const ScenarioCase& c : cases) {
      const std::string folder = base + "/case" + std::to_string(number++);
      ASSERT_TRUE(MakeFolder(folder));
      CopyGameData(folder);
      const std::string name = ScenarioPath(scenario);
      Remove(folder + "/" + name);
      ASSERT_FALSE(Exists(folder + "/" + name));
      c.make(folder + "/" + name);
      WriteBytes(folder + "/save.dat", refused);

      const ProcessResult run = RunProgram(GameProgram(), folder, TypedDefinition("ユウ"_cp), 10);
      const std::string what = name + " " + c.what;
      ASSERT_FALSE(run.timedOut) << what;
      EXPECT_EQ(run.exitStatus, 1) << what;
      EXPECT_TRUE(IsFailureReport(run.output, "ファイル "_cp + name + " は開けません"_cp))
          << what << "\n"
          << Cp932ToUtf8(run.output);
      EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"dat", "save.dat"})) << what;
      EXPECT_EQ(ReadBytes(folder + "/save.dat"), refused) << what;
    }
  }
}

}  // namespace velkor::test
