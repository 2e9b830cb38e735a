// Only on POSIX systems: pseudo-terminals and the locale of a terminal.
// The game played in a real pseudo-terminal, as a newcomer would see it, and
// through pipes, as scripts drive it.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "persist/report_line.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/process_runner.h"
#include "testsupport/saved_record.h"
#include "testsupport/test_files.h"
#include "testsupport/typed_runs.h"

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

// Keys as an xterm sends them.
const std::string Left = "\x1b[D";
const std::string Right = "\x1b[C";
const std::string Backspace = "\x7f";
const std::string CtrlD = "\x04";
const std::string CtrlC = "\x03";

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

// What stands between the terminal and the game.
enum class Parent {
  None,  // the game leads the terminal's session itself
  // A wrapper script's part: the game is its child in its own process
  // group, as a script or a supervisor starts a program.
  SameGroup,
  // A shell's part: the game is its child in a process group of its own,
  // in the foreground; a stop comes back to the shell, which continues the
  // game when the test says so.
  JobControl,
};

// The parent's loop, in the child of forkpty: starts the game, tells the
// test its process id ("pid N\n"), each stop ("stopped\n") and how it
// ended ("ended STATUS\n"), then exits 0. Never returns.
[[noreturn]] void ParentOfTheGame(Parent parent, const char* program, char** argv, char** envp, int tell,
                                  int told) {
  // The terminal is handed back and forth from the background.
  ::signal(SIGTTOU, SIG_IGN);
  int go[2];
  if (::pipe(go) != 0) _exit(127);
  const pid_t game = ::fork();
  if (game == 0) {
    char byte = 0;
    if (parent == Parent::JobControl) ::setpgid(0, 0);
    // Until the game's group has the terminal.
    if (::read(go[0], &byte, 1) != 1) _exit(127);
    ::signal(SIGTTOU, SIG_DFL);
    ::execve(program, argv, envp);
    _exit(127);
  }
  if (parent == Parent::JobControl) {
    ::setpgid(game, game);
    ::tcsetpgrp(STDIN_FILENO, game);
  }
  std::ignore = ::write(go[1], "g", 1);
  char line[64];
  const auto say = [&](int length) { std::ignore = ::write(tell, line, static_cast<std::size_t>(length)); };
  say(std::snprintf(line, sizeof line, "pid %d\n", static_cast<int>(game)));
  for (;;) {
    int status = 0;
    if (::waitpid(game, &status, WUNTRACED) != game) _exit(127);
    if (!WIFSTOPPED(status)) {
      say(std::snprintf(line, sizeof line, "ended %d\n", status));
      _exit(0);
    }
    ::tcsetpgrp(STDIN_FILENO, ::getpgrp());
    say(std::snprintf(line, sizeof line, "stopped\n"));
    char go_on = 0;
    if (::read(told, &go_on, 1) != 1) _exit(127);
    ::tcsetpgrp(STDIN_FILENO, game);
    ::kill(-game, SIGCONT);
  }
}

// The game running on the slave side of a pseudo-terminal with the given
// locale, as an xterm; the test reads the screen and types on the master
// side. Every wait has a deadline and the game is killed at the end, so a
// test never hangs.
class TerminalSession {
 public:
  TerminalSession(const std::string& workDir, const std::string& locale, Parent parent = Parent::None) {
    const std::string program = test::GameProgram();
    // Prepared before the fork: the child only changes folder and execs.
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v) {
      const std::string variable = *v;
      if (variable.rfind("LANG=", 0) == 0 || variable.rfind("LC_", 0) == 0 ||
          variable.rfind("LANGUAGE=", 0) == 0 || variable.rfind("TERM=", 0) == 0)
        continue;
      variables.push_back(variable);
    }
    variables.push_back("TERM=xterm");
    variables.push_back("LANG=" + locale);
    variables.push_back("LC_ALL=" + locale);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    winsize size{};
    size.ws_row = 24;
    size.ws_col = 80;
    int toTest[2] = {-1, -1};
    int toParent[2] = {-1, -1};
    if (parent != Parent::None && (pipe(toTest) != 0 || pipe(toParent) != 0)) return;
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      if (chdir(workDir.c_str()) != 0) _exit(127);
      if (parent != Parent::None)
        ParentOfTheGame(parent, program.c_str(), argv, envp.data(), toTest[1], toParent[0]);
      execve(program.c_str(), argv, envp.data());
      _exit(127);
    }
    if (parent != Parent::None) {
      close(toTest[1]);
      close(toParent[0]);
      fromParent_ = toTest[0];
      toParent_ = toParent[1];
    }
  }

  ~TerminalSession() {
    if (master_ >= 0) close(master_);
    if (gamePid_ > 0) kill(gamePid_, SIGKILL);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (fromParent_ >= 0) close(fromParent_);
    if (toParent_ >= 0) close(toParent_);
  }

  // With a parent: the next line it tells ("pid N", "stopped", "ended
  // STATUS"), reading the screen meanwhile; empty at the deadline.
  std::string ParentSays(int timeoutSeconds = 10) {
    const long long deadline = test::MonotonicMs() + 1000LL * timeoutSeconds;
    for (;;) {
      const std::size_t end = saidByParent_.find('\n');
      if (end != std::string::npos) {
        std::string line = saidByParent_.substr(0, end);
        saidByParent_.erase(0, end + 1);
        if (line.rfind("pid ", 0) == 0) gamePid_ = std::stoi(line.substr(4));
        return line;
      }
      if (test::MonotonicMs() > deadline) return {};
      Take(20);
      pollfd fd{fromParent_, POLLIN, 0};
      if (poll(&fd, 1, 0) <= 0) continue;
      char buffer[256];
      const ssize_t n = read(fromParent_, buffer, sizeof buffer);
      if (n <= 0) return {};
      saidByParent_.append(buffer, static_cast<std::size_t>(n));
    }
  }

  // With a job-control parent: it continues the stopped game.
  void ContinueGame() { ASSERT_EQ(write(toParent_, "c", 1), 1); }

  pid_t GamePid() const { return gamePid_; }

  bool Started() const { return pid_ > 0; }

  // Reads the screen until text shows after what the last wait found.
  // False when it did not show within the deadline or the game ended first.
  bool WaitFor(const std::string& text, int timeoutSeconds = 10) {
    const long long deadline = test::MonotonicMs() + 1000LL * timeoutSeconds;
    while (true) {
      const std::size_t found = screen_.find(text, matchedUpTo_);
      if (found != std::string::npos) {
        matchedUpTo_ = found + text.size();
        return true;
      }
      const long long left = deadline - test::MonotonicMs();
      if (left <= 0 || Take(static_cast<int>(left)) < 0) return false;
    }
  }

  // Whether the game is reading a line through the editor, which takes the
  // terminal out of its line mode for as long as the line is edited.
  bool Editing() const {
    termios mode{};
    return tcgetattr(master_, &mode) == 0 && (mode.c_lflag & ICANON) == 0;
  }

  // Waits until the game reads a line through the editor.
  bool WaitForEditor(int timeoutSeconds = 10) {
    const long long deadline = test::MonotonicMs() + 1000LL * timeoutSeconds;
    while (!Editing()) {
      if (test::MonotonicMs() > deadline) return false;
      Take(20);
    }
    return true;
  }

  // Waits until the game has said all it says and reads through the editor.
  bool WaitUntilAsked(int timeoutSeconds = 10) {
    const long long deadline = test::MonotonicMs() + 1000LL * timeoutSeconds;
    while (test::MonotonicMs() < deadline) {
      const ssize_t got = Take(50);
      if (got < 0) return false;
      if (got == 0 && Editing()) return true;
    }
    return false;
  }

  // Sends keys as they are.
  void Press(const std::string& keys) {
    ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Types keys and presses Enter, as a player does: the terminal sends CR.
  void Type(const std::string& keys) { Press(keys + "\r"); }

  // Reads the screen until the game ends; its exit status, or -1 when it was
  // still running at the deadline or ended by a signal.
  int WaitForExit(int timeoutSeconds = 10) {
    const int status = WaitForEnd(timeoutSeconds);
    return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The signal that ended the game, or 0 when it exited or was still running.
  int WaitForEndSignal(int timeoutSeconds = 10) {
    const int status = WaitForEnd(timeoutSeconds);
    return status >= 0 && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }

  const std::string& Screen() const { return screen_; }

 private:
  // Reads the screen until the game ends; its wait status, or -1 when it was
  // still running at the deadline.
  int WaitForEnd(int timeoutSeconds) {
    const long long deadline = test::MonotonicMs() + 1000LL * timeoutSeconds;
    while (test::MonotonicMs() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        while (Take(0) > 0) {
        }
        return status;
      }
      Take(20);
    }
    return -1;
  }

  // Adds what the screen was sent within waitMs to it: how many bytes came,
  // or -1 once the game has ended and the terminal closed.
  ssize_t Take(int waitMs) {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, waitMs) <= 0) return 0;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) return -1;
    screen_.append(buffer, static_cast<std::size_t>(n));
    return n;
  }

  pid_t pid_ = -1;  // the game, or its parent
  pid_t gamePid_ = -1;
  int master_ = -1;
  int fromParent_ = -1;
  int toParent_ = -1;
  std::string saidByParent_;
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
  ASSERT_TRUE(game.WaitFor(Utf8("きみの名前を教えてね。"_cp))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"_cp))) << game.Screen();
  // Nine full-width characters are 18 bytes for the game: refused.
  game.Type(NineUtf8);
  ASSERT_TRUE(game.WaitFor(Utf8("長さが16バイトを越えています。"_cp))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"_cp))) << game.Screen();
  // Eight are exactly 16: taken, and said back.
  game.Type(EightUtf8);
  ASSERT_TRUE(game.WaitFor(EightUtf8 + Utf8("、そしてきみの意志が肉体をつくる。"_cp))) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor(Utf8("きみの力は、きみが望むように伸びるよ。"_cp))) << game.Screen();
  game.Type("");
  // The sheet's heading: "-- ", the 16-byte name, " " and four "-".
  ASSERT_TRUE(game.WaitFor("-- " + EightUtf8 + " ----\r")) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("ＨＰを入力して下さい。"_cp))) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("{0～100}"_cp))) << game.Screen();
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
  ASSERT_TRUE(game.WaitFor("まずは定義から始めよう。"_cp)) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor("[最長16バイト]＞"_cp)) << game.Screen();
  // Lines are read as from a pipe, with the terminal's own line editing.
  EXPECT_FALSE(game.Editing());
}

// The game given input through a pipe and writing to one, under a UTF-8
// locale (the process runner passes this process's environment on).
test::ProcessResult PipedUnderUtf8(const std::string& input) {
  GameFolder folder;
  test::ScopedEnvironment utf8("LC_ALL", "C.UTF-8");
  return test::RunProgram(test::GameProgram(), folder.Path(), input, 20);
}

TEST(TerminalSession, PipesGiveAndTakeTheRawBytesUnderAUtf8Locale) {
  const test::ProcessResult run = PipedUnderUtf8("\nソポ表十能予申請\n\n\n"_cp);
  ASSERT_FALSE(run.timedOut);
  EXPECT_NE(run.output.find("まずは定義から始めよう。"_cp), std::string::npos);
  EXPECT_NE(run.output.find("\r\n-- ソポ表十能予申請 ----\r\n"_cp), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(FirstLineUtf8), std::string::npos);
}

// The game's own lines as a UTF-8 terminal shows them, up to the name.
void StartDefinition(TerminalSession& game) {
  ASSERT_TRUE(game.WaitFor(FirstLineUtf8)) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"_cp))) << game.Screen();
  ASSERT_TRUE(game.WaitForEditor()) << game.Screen();
}

TEST(TerminalSession, AJapaneseNameEditedWithTheKeysReachesTheGameAsItsBytes) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8");
  ASSERT_TRUE(game.Started());
  StartDefinition(game);
  // ソポ, Left, 表 between them, Left, Backspace over ソ, Right, 十: 表十ポ,
  // whose code page 932 bytes end in 5C, 5C and 7C.
  game.Type(Utf8("ソポ"_cp) + Left + Utf8("表"_cp) + Left + Backspace + Right + Utf8("十"_cp));
  ASSERT_TRUE(game.WaitFor(Utf8("表十ポ、そしてきみの意志が肉体をつくる。"_cp))) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor(Utf8("きみの力は、きみが望むように伸びるよ。"_cp))) << game.Screen();
  game.Type("");
  ASSERT_TRUE(game.WaitFor("-- " + Utf8("表十ポ"_cp) + " ----------")) << game.Screen();
  // All 100 points on the stats, and "x" to see the opening at once; the
  // definition is saved when the opening is over.
  for (const char* range : {"{0～100}"_cp, "{0～60}"_cp, "{0～40}"_cp, "{0～20}"_cp}) {
    ASSERT_TRUE(game.WaitFor(Utf8(range))) << game.Screen();
    game.Type(range == std::string("{0～100}"_cp) ? "40" : "20");
  }
  game.Type("x");
  const std::string save = folder.Path() + "/save.dat";
  const long long deadline = test::MonotonicMs() + 10000;
  while (!test::Exists(save) && test::MonotonicMs() < deadline) usleep(20000);
  ASSERT_TRUE(test::Exists(save)) << game.Screen();
  const std::string file = test::ReadBytes(save);
  EXPECT_EQ(test::RecordOf(file).Name.Text(), "表十ポ"_cp);
  EXPECT_EQ(file.find('\x1b'), std::string::npos);
  EXPECT_TRUE(IsUtf8(game.Screen())) << "code page 932 bytes reached the screen";
  // Once saved, a quit at any later prompt says so, and the terminal is
  // given back in its line mode.
  ASSERT_TRUE(game.WaitForEditor()) << game.Screen();
  game.Press(CtrlD);
  EXPECT_EQ(game.WaitForExit(), 0);
  EXPECT_FALSE(game.Editing());
  EXPECT_NE(game.Screen().find(Utf8("ゲームを終わります。キャラクターは保存されています。"_cp) + "\r\r\n"),
            std::string::npos)
      << game.Screen();
}

TEST(TerminalSession, TheKeysThatOnceLeftEscapesInANameGiveTheNameTheEditorShows) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8");
  ASSERT_TRUE(game.Started());
  StartDefinition(game);
  game.Type("ab" + Left + "c\td");
  ASSERT_TRUE(game.WaitFor("\r\nacdb" + Utf8("、そしてきみの意志が肉体をつくる。"_cp))) << game.Screen();
  game.Type("");
  game.Type("");
  ASSERT_TRUE(game.WaitFor("-- acdb ----------------\r")) << game.Screen();
}

TEST(TerminalSession, CtrlDOnAnEmptyLineQuitsCalmlyBeforeTheCharacterIsSaved) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8");
  ASSERT_TRUE(game.Started());
  StartDefinition(game);
  game.Press(CtrlD);
  // One line after the prompt's own, and nothing else: no failure report.
  const std::string quit = Utf8("[最長16バイト]＞"_cp) + "\r\r\n" +
                           Utf8("ゲームを終わります。キャラクターは保存されていません。"_cp) + "\r\r\n";
  EXPECT_EQ(game.WaitForExit(), 0);
  ASSERT_GE(game.Screen().size(), quit.size());
  EXPECT_EQ(game.Screen().substr(game.Screen().size() - quit.size()), quit) << game.Screen();
  EXPECT_EQ(game.Screen().find("EInOutError"), std::string::npos);
  EXPECT_FALSE(test::Exists(folder.Path() + "/save.dat"));
}

// Ctrl-C at a prompt: the terminal back in its line mode, the calm line after
// what was typed, and the game ended by the interrupt, as shells expect.
TEST(TerminalSession, CtrlCSaysTheQuitLineAndEndsByTheInterrupt) {
  struct Case {
    bool saved;  // a character is in save.dat when the game starts
    std::string line;
  };
  for (const Case& c : {Case{false, "ゲームを終わります。キャラクターは保存されていません。"_cp},
                        Case{true, "ゲームを終わります。キャラクターは保存されています。"_cp}}) {
    GameFolder folder;
    if (c.saved) {
      const test::ProcessResult defined =
          test::RunProgram(test::GameProgram(), folder.Path(), test::TypedDefinition("Yu") + "\n", 20);
      ASSERT_TRUE(test::Exists(folder.Path() + "/save.dat")) << defined.output;
    }
    TerminalSession game(folder.Path(), "C.UTF-8");
    ASSERT_TRUE(game.Started());
    if (c.saved) {
      ASSERT_TRUE(game.WaitFor(Utf8("ロードしますか？"_cp))) << game.Screen();
      ASSERT_TRUE(game.WaitForEditor()) << game.Screen();
    } else {
      StartDefinition(game);
    }
    game.Press("ab");
    ASSERT_TRUE(game.WaitFor("ab")) << game.Screen();
    game.Press(CtrlC);
    EXPECT_EQ(game.WaitForEndSignal(), SIGINT) << game.Screen();
    EXPECT_FALSE(game.Editing());
    const std::string quit = "ab\r\r\n" + Utf8(c.line) + "\r\r\n";
    ASSERT_GE(game.Screen().size(), quit.size());
    EXPECT_EQ(game.Screen().substr(game.Screen().size() - quit.size()), quit) << game.Screen();
    EXPECT_EQ(test::Exists(folder.Path() + "/save.dat"), c.saved);
  }
}

// Ctrl-D at the Enter the game waits for after its last line reads as that
// Enter: the run is over, so its result shows rather than the quit line.
TEST(TerminalSession, AFinishedRunShowsItsReportLineLast) {
  for (const std::string& lastKey : {std::string("\r"), CtrlD}) {
    GameFolder folder;
    TerminalSession game(folder.Path(), "C.UTF-8");
    ASSERT_TRUE(game.Started());
    std::vector<std::string> lines;
    std::istringstream typed(test::TypedLostRun("Yu"));
    for (std::string line; std::getline(typed, line);) lines.push_back(line);
    // One line per question, so that none is left over for the last Enter.
    const std::string result = Utf8("ゲームーオーバー……"_cp);
    bool over = false;
    for (std::size_t i = 0; i < lines.size() && !over; ++i) {
      ASSERT_TRUE(game.WaitUntilAsked()) << game.Screen();
      over = game.WaitFor(result, 0);
      if (!over) game.Type(lines[i]);
    }
    ASSERT_TRUE(over) << game.Screen();
    game.Press(lastKey);
    EXPECT_EQ(game.WaitForExit(), 0);
    // The line the report file got, in the terminal's encoding, after the
    // game's own last line.
    const std::string report = test::ReadBytes(folder.Path() + "/" + ReportPath);
    ASSERT_GE(report.size(), 2u);
    const std::string shown =
        "\r\r\n" + Utf8("今回の記録："_cp + report.substr(0, report.size() - 2)) + "\r\r\n";
    const std::size_t at = game.Screen().find(shown, game.Screen().find(result));
    ASSERT_NE(at, std::string::npos) << game.Screen();
    // Then only the line ends the editor leaves when it lets the terminal go.
    EXPECT_EQ(game.Screen().find_first_not_of("\r\n", at + shown.size()), std::string::npos) << game.Screen();
  }
}

// The game under a parent asks for the name, and "ab" is typed.
void TypeUnderAParent(TerminalSession& game) {
  ASSERT_TRUE(game.Started());
  ASSERT_EQ(game.ParentSays().rfind("pid ", 0), 0u);
  StartDefinition(game);
  game.Press("ab");
  ASSERT_TRUE(game.WaitFor("ab")) << game.Screen();
}

// A TERM sent to the game alone ends the game alone: a wrapper script in its
// process group lives on and learns how the game ended, and the terminal is
// back in its line mode with the quit line said after what was typed.
TEST(TerminalSession, ATermToTheGameLeavesAWrapperInItsGroupAlone) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8", Parent::SameGroup);
  ASSERT_NO_FATAL_FAILURE(TypeUnderAParent(game));
  ASSERT_EQ(kill(game.GamePid(), SIGTERM), 0);
  const std::string ended = game.ParentSays();
  ASSERT_EQ(ended.rfind("ended ", 0), 0u) << "the wrapper died with the game\n" << game.Screen();
  const int status = std::stoi(ended.substr(6));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(game.WaitForExit(), 0);
  EXPECT_FALSE(game.Editing());
  const std::string quit =
      "ab\r\r\n" + Utf8("ゲームを終わります。キャラクターは保存されていません。"_cp) + "\r\r\n";
  ASSERT_GE(game.Screen().size(), quit.size());
  EXPECT_EQ(game.Screen().substr(game.Screen().size() - quit.size()), quit) << game.Screen();
}

// Ctrl-Z stops the game with the terminal back in its line mode for the
// shell; continued, the game takes the terminal again, draws its line anew
// and goes on with what was typed.
TEST(TerminalSession, CtrlZGivesTheShellItsTerminalAndTheLineGoesOn) {
  GameFolder folder;
  TerminalSession game(folder.Path(), "C.UTF-8", Parent::JobControl);
  ASSERT_NO_FATAL_FAILURE(TypeUnderAParent(game));
  game.Press("\x1a");
  ASSERT_EQ(game.ParentSays(), "stopped") << game.Screen();
  EXPECT_FALSE(game.Editing());
  game.ContinueGame();
  ASSERT_TRUE(game.WaitForEditor()) << game.Screen();
  ASSERT_TRUE(game.WaitFor(Utf8("[最長16バイト]＞"_cp) + "ab")) << "drawn anew\n" << game.Screen();
  game.Type("c");
  ASSERT_TRUE(game.WaitFor("\r\nabc" + Utf8("、そしてきみの意志が肉体をつくる。"_cp))) << game.Screen();
}

TEST(TerminalSession, PipesPassEveryTypedByteAsBefore) {
  const test::ProcessResult run = PipedUnderUtf8("\nab\x1b[Dc\td\x7f\n\n\n");
  ASSERT_FALSE(run.timedOut);
  EXPECT_NE(run.output.find("\r\n-- ab\x1b[Dc\td\x7f -------"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace velkor
