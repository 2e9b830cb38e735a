// Quitting at a terminal, in-process: a quit at the last Enter of a
// finished run still shows the run's result.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "game/run.h"
#include "game/startup.h"
#include "game/tests/game_folder.h"
#include "platform/file_writer.h"
#include "testsupport/console_script.h"
#include "testsupport/files.h"

namespace velkor {
namespace {

const std::string GameOver = "ゲームーオーバー……\r\n";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A terminal that types the given lines and then quits (Ctrl-D); with
// quitAtGameOver it quits at the Enter the game asks for after a defeat.
class QuittingTerminal : public ConsoleDevice {
 public:
  QuittingTerminal(std::vector<std::string> lines, bool quitAtGameOver)
      : lines_(std::move(lines)), quitAtGameOver_(quitAtGameOver) {}
  void Put(std::string_view bytes) override { output_.append(bytes); }
  bool Get(std::string& line) override {
    if (next_ == lines_.size() || (quitAtGameOver_ && EndsWith(output_, GameOver))) return false;
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

class QuitAtATerminal : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyGameData(folder_.Path()); }

  // Plays StartUp at a terminal that types input; the exit status.
  int Play(QuittingTerminal& terminal, platform::FileWriter write = {}) {
    GameRun run;
    run.FileWrite = write;
    run.Console.Bind(terminal);
    run.Console.SetEndOfInputQuits(true);
    const int status = StartUp(run);
    run.Console.Unbind();
    return status;
  }

  test::ScopedTempDir folder_;
  test::ScopedWorkingDir inside_{folder_.Path()};
};

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
  const std::string result = "\r\n今回の記録：" + report;
  EXPECT_EQ(out.substr(over + GameOver.size(), result.size()), result) << test::Cp932ToUtf8(out);
}

}  // namespace
}  // namespace velkor
