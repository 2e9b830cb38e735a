// Quitting at a terminal, in-process: the line said then tells whether the
// character on the screen is the one in save.dat, and a quit at the last
// Enter of a finished run still shows the run's result.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "game/run.h"
#include "game/startup.h"
#include "game/tests/game_folder.h"
#include "platform/cp932_literal.h"
#include "platform/file_writer.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

const std::string Saved = "ゲームを終わります。キャラクターは保存されています。\r\n"_cp;
const std::string Unsaved = "ゲームを終わります。キャラクターは保存されていません。\r\n"_cp;
const std::string GameOver = "ゲームーオーバー……\r\n"_cp;

// A terminal that types the given lines and then quits (Ctrl-D); with
// quitAtGameOver it quits at the Enter the game asks for after a defeat.
class QuittingTerminal : public ConsoleDevice {
 public:
  QuittingTerminal(std::vector<std::string> lines, bool quitAtGameOver)
      : lines_(std::move(lines)), quitAtGameOver_(quitAtGameOver) {}
  void Put(std::string_view bytes) override { output_.append(bytes); }
  bool Get(std::string& line) override {
    if (next_ == lines_.size() || (quitAtGameOver_ && output_.ends_with(GameOver))) return false;
    line = lines_[next_++];
    return true;
  }
  const std::string& Output() const { return output_; }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  bool quitAtGameOver_;
  std::string output_;
};

std::ptrdiff_t FailAtOnce(platform::FileHandle, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

class QuitAtATerminal : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyGameData(folder_.Path()); }

  // Plays StartUp at a terminal that types input; the exit status.
  int Play(QuittingTerminal& terminal, platform::FileWriter write = {}) {
    GameRun run;
    run.FileWrite = write;
    run.Io.Bind(terminal);
    run.Io.SetEndOfInputQuits(true);
    const int status = StartUp(run);
    run.Io.Unbind();
    return status;
  }

  test::ScopedTempDir folder_;
  test::ScopedWorkingDir inside_{folder_.Path()};
};

TEST_F(QuitAtATerminal, TheSavedLineOnlyWhileTheCharacterAtStakeIsTheOneOnDisk) {
  const std::string defined = test::TypedDefinition("Yu");
  struct Case {
    const char* what;
    bool saveBefore;
    std::string input;
    bool saveFails;
    std::string line;
  };
  const Case cases[] = {
      {"quit in the first definition", false, "\n", false, Unsaved},
      {"quit after the definition was saved", false, defined, false, Saved},
      {"quit after its save failed", false, defined, true, Unsaved},
      {"quit at the load question", true, "", false, Saved},
      {"quit after loading", true, "y\n\n", false, Saved},
      {"quit in a new definition after declining the saved one", true, "n\n\n", false, Unsaved},
      {"quit after declining and a failed save", true, "n\n" + defined, true, Unsaved},
  };
  for (const Case& c : cases) {
    test::Remove("save.dat");
    if (c.saveBefore) test::WriteBytes("save.dat", test::SavedRecord());
    QuittingTerminal terminal(test::Lines(c.input), false);
    EXPECT_EQ(Play(terminal, c.saveFails ? platform::FileWriter(FailAtOnce) : platform::FileWriter()), 0)
        << c.what;
    EXPECT_TRUE(terminal.Output().ends_with(c.line)) << c.what << "\n"
                                                     << test::Cp932ToUtf8(terminal.Output());
  }
}

// The run is over once its line is in the report: a quit at the Enter after
// "ゲームーオーバー……" is that Enter, and the run's result is shown.
TEST_F(QuitAtATerminal, AtTheLastEnterOfALostRunShowsTheResult) {
  const std::string input = test::TypedLostRun("Yu");
  QuittingTerminal terminal(test::Lines(input), true);
  EXPECT_EQ(Play(terminal), 0);
  const std::string& out = terminal.Output();
  const std::size_t over = out.rfind(GameOver);
  ASSERT_NE(over, std::string::npos) << test::Cp932ToUtf8(out);
  const std::string report = test::ReadBytes("\xE3\x83\xAC\xE3\x83\x9D\xE3\x83\xBC\xE3\x83\x88.txt");
  // (Where the window closes with the game, a last wait follows.)
  const std::string result = "\r\n今回の記録："_cp + report;
  EXPECT_EQ(out.substr(over + GameOver.size(), result.size()), result) << test::Cp932ToUtf8(out);
}

}  // namespace
}  // namespace velkor
