// Only on POSIX systems: pseudo-terminals and the locale of a terminal.
// The game played in a real pseudo-terminal, as a newcomer would see it, and
// through pipes, as scripts drive it.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/files.h"
#include "testsupport/process_runner.h"

extern char** environ;

namespace velkor {
namespace {

// "まずは定義から始めよう。" as a UTF-8 terminal must show it.
const std::string FirstLineUtf8 =
    "\xE3\x81\xBE\xE3\x81\x9A\xE3\x81\xAF\xE5\xAE\x9A\xE7\xBE\xA9\xE3\x81\x8B\xE3\x82\x89"
    "\xE5\xA7\x8B\xE3\x82\x81\xE3\x82\x88\xE3\x81\x86\xE3\x80\x82";
// ソポ表十能予申請: eight full-width characters, five of them with a second
// byte 5C or 7C in code page 932.
const std::string EightUtf8 =
    "\xE3\x82\xBD\xE3\x83\x9D\xE8\xA1\xA8\xE5\x8D\x81\xE8\x83\xBD\xE4\xBA\x88\xE7\x94\xB3"
    "\xE8\xAB\x8B";
const std::string NineUtf8 = EightUtf8 + "\xE6\x9B\xB8";  // and 書

long long NowMs() {
  std::timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t length = b < 0x80           ? 1
                               : (b >> 5) == 0x6  ? 2
                               : (b >> 4) == 0xE  ? 3
                               : (b >> 3) == 0x1E ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// A folder holding a copy of the game's dat/, removed afterwards.
class GameFolder {
 public:
  GameFolder() { test::CopyGameData(folder_.Path()); }
  const std::string& Path() const { return folder_.Path(); }

 private:
  test::ScopedTempDir folder_;
};

// The game running on the slave side of a pseudo-terminal with the given
// locale; the test reads the screen and types on the master side. Every wait
// has a deadline and the game is killed at the end, so a test never hangs.
class TerminalSession {
 public:
  TerminalSession(const std::string& workDir, const std::string& locale) {
    const std::string program = test::GameProgram();
    // Prepared before the fork: the child only changes folder and execs.
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v) {
      const std::string variable = *v;
      if (variable.rfind("LANG=", 0) == 0 || variable.rfind("LC_", 0) == 0 ||
          variable.rfind("LANGUAGE=", 0) == 0)
        continue;
      variables.push_back(variable);
    }
    variables.push_back("LANG=" + locale);
    variables.push_back("LC_ALL=" + locale);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    winsize size{};
    size.ws_row = 24;
    size.ws_col = 80;
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      if (chdir(workDir.c_str()) != 0) _exit(127);
      execve(program.c_str(), argv, envp.data());
      _exit(127);
    }
  }

  ~TerminalSession() {
    if (master_ >= 0) close(master_);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  bool Started() const { return pid_ > 0; }

  // Reads the screen until text shows after what the last wait found.
  // False when it did not show within the deadline or the game ended first.
  bool WaitFor(const std::string& text, int timeoutSeconds = 10) {
    const long long deadline = NowMs() + 1000LL * timeoutSeconds;
    while (true) {
      const std::size_t found = screen_.find(text, matchedUpTo_);
      if (found != std::string::npos) {
        matchedUpTo_ = found + text.size();
        return true;
      }
      const long long left = deadline - NowMs();
      if (left <= 0) return false;
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) return false;  // the game has ended and the terminal closed
      screen_.append(buffer, static_cast<std::size_t>(n));
    }
  }

  // Types keys and presses Enter, as a player does: the terminal sends CR.
  void Type(const std::string& keys) {
    const std::string sent = keys + "\r";
    ASSERT_EQ(write(master_, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  }

  const std::string& Screen() const { return screen_; }

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  std::string screen_;
  std::size_t matchedUpTo_ = 0;
};

std::string Utf8(const std::string& gameText) { return test::Cp932ToUtf8(gameText); }

TEST(TerminalSession, AUtf8TerminalShowsJapaneseAndTakesAJapaneseName) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8");
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(game.WaitFor(FirstLineUtf8)) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor(Utf8("きみの名前を教えてね。"))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"))) << game.Screen();
  // Nine full-width characters are 18 bytes for the game: refused.
  game.Type(NineUtf8);
  ASSERT_TRUE(game.WaitFor(Utf8("長さが16バイトを越えています。"))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"))) << game.Screen();
  // Eight are exactly 16: taken, and said back.
  game.Type(EightUtf8);
  ASSERT_TRUE(game.WaitFor(EightUtf8 + Utf8("、そしてきみの意志が肉体をつくる。"))) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor(Utf8("きみの力は、きみが望むように伸びるよ。"))) << game.Screen();
  game.Type("");
  // The sheet's heading: "-- ", the 16-byte name, " " and four "-".
  ASSERT_TRUE(game.WaitFor("-- " + EightUtf8 + " ----\r")) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("ＨＰを入力して下さい。"))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("{0～100}"))) << game.Screen();
  EXPECT_TRUE(IsUtf8(game.Screen())) << "code page 932 bytes reached the screen";
}

TEST(TerminalSession, TheCLocaleStillShowsJapanese) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C");
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(game.WaitFor(FirstLineUtf8)) << game.Screen();
  EXPECT_TRUE(IsUtf8(game.Screen()));
}

TEST(TerminalSession, AShiftJisTerminalGetsTheGamesOwnBytes) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "ja_JP.SJIS");
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(game.WaitFor("まずは定義から始めよう。")) << game.Screen();
}

TEST(TerminalSession, PipesGiveAndTakeTheRawBytesUnderAUtf8Locale) {
  GameFolder folder;
  // The process runner passes this process's environment on.
  test::ProcessResult run;
  {
    test::ScopedEnvironment utf8("LC_ALL", "C.UTF-8");
    run = test::RunProgram(test::GameProgram(), folder.Path(), "\nソポ表十能予申請\n\n\n", 20);
  }
  ASSERT_FALSE(run.timedOut);
  EXPECT_NE(run.output.find("まずは定義から始めよう。"), std::string::npos);
  EXPECT_NE(run.output.find("\r\n-- ソポ表十能予申請 ----\r\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(FirstLineUtf8), std::string::npos);
}

}  // namespace
}  // namespace velkor
