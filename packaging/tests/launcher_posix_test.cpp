// Only on POSIX systems: the installation with its shell launcher.
// The installed game as a player meets it: `cmake --install` into a fresh
// prefix, then the velkor command run from some other folder, with a home
// folder of its own.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "persist/report_line.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/process_runner.h"
#include "testsupport/test_files.h"
#include "testsupport/typed_runs.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

const std::string DefinitionStart = "\r\nまずは定義から始めよう。"_cp;
const std::string LoadQuestion = "\r\n前回のあなたの定義が保存されています。ロードしますか？(y/n)\r\n(yn)"_cp;

bool IsExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXOTH) != 0;
}

// Where a symbolic link points, as written in it; empty when path is no link.
std::string LinkTarget(const std::string& path) {
  std::error_code error;
  const fs::path target = fs::read_symlink(path, error);
  return error ? std::string() : target.string();
}

class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    const test::ProcessResult install =
        test::RunCommand({VELKOR_CMAKE_COMMAND, "--install", VELKOR_BINARY_DIR, "--prefix", prefix_.Path()},
                         prefix_.Path(), "");
    ASSERT_EQ(install.exitStatus, 0) << install.output;
    environment_.Set("HOME", home_.Path().c_str());
    environment_.Set("XDG_DATA_HOME", nullptr);
  }

  std::string Installation(const std::string& name) const { return prefix_.Path() + "/" + name; }
  std::string Launcher() const { return Installation("games/velkor"); }
  std::string Stories() const { return Installation("share/games/velkor/dat"); }
  // The folder the launcher plays in by default.
  std::string PlayerFolder() const { return home_.Path() + "/.local/share/velkor"; }

  // The launcher started from a folder that has nothing to do with the game.
  test::ProcessResult Play(const std::string& input) {
    return test::RunProgram(Launcher(), elsewhere_.Path(), input);
  }
  bool ElsewhereIsEmpty() const { return fs::is_empty(elsewhere_.Path()); }

  test::ScopedTempDir prefix_;
  test::ScopedTempDir home_;
  test::ScopedTempDir elsewhere_;
  test::ScopedEnvironment environment_;
};

TEST_F(Installed, EveryFileLandsInItsPlace) {
  EXPECT_TRUE(IsExecutable(Launcher()));
  EXPECT_TRUE(IsExecutable(Installation("lib/games/velkor/velkor")));
  EXPECT_TRUE(IsExecutable(Installation("lib/games/velkor/velkor-show-report")));
  EXPECT_TRUE(IsExecutable(Installation("bin/velkor-sim")));
  struct Copy {
    const char* installed;
    const char* source;
  };
  const Copy copies[] = {
      {"share/games/velkor/dat/0.dat", "dat/0.dat"},
      {"share/games/velkor/dat/1.dat", "dat/1.dat"},
      {"share/doc/velkor/guide.md", "docs/guide.md"},
      {"share/doc/velkor/playing.md", "docs/playing.md"},
      {"share/doc/velkor/simulator.md", "docs/simulator.md"},
      {"share/doc/velkor/copyright", "packaging/debian/copyright"},
  };
  for (const Copy& c : copies) {
    const std::string bytes = test::ReadBytes(Installation(c.installed));
    EXPECT_FALSE(bytes.empty()) << c.installed;
    EXPECT_EQ(bytes, test::ReadBytes(test::SourceDir() + "/" + c.source)) << c.installed;
  }
  // Nothing of the build or the tests is installed.
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(prefix_.Path()))
    if (!entry.is_directory()) ++files;
  // The game and its report viewer, the launcher, velkor-sim, three manual
  // pages and the changelog.
  EXPECT_EQ(files, 8u + std::size(copies));
}

// The character and the report land in the player's folder, never in the
// folder the command was started from, and the next start offers the
// character.
TEST_F(Installed, SaveAndReportLiveInThePlayersFolder) {
  const test::ProcessResult run = Play(test::TypedLostRun("ユウ"_cp));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0) << test::Cp932ToUtf8(run.output);
  EXPECT_TRUE(run.output.starts_with(DefinitionStart)) << test::Cp932ToUtf8(run.output);
  EXPECT_NE(run.output.find("ゲームーオーバー……"_cp), std::string::npos);

  EXPECT_EQ(test::ReadBytes(PlayerFolder() + "/save.dat").size(), 68u);
  const std::string report = test::ReadBytes(PlayerFolder() + "/" + ReportPath);
  EXPECT_TRUE(report.starts_with("【0人斬り】／VELKOR／["_cp)) << test::Cp932ToUtf8(report);
  EXPECT_EQ(report.substr(report.find("]／"_cp)), "]／ユウ\r\n"_cp) << test::Cp932ToUtf8(report);
  EXPECT_EQ(LinkTarget(PlayerFolder() + "/dat"), fs::canonical(Stories()).string());
  EXPECT_TRUE(ElsewhereIsEmpty());

  const test::ProcessResult again = Play("y\n\n");
  EXPECT_TRUE(again.output.starts_with(LoadQuestion + "\r\nあなたの定義がロードされました。"_cp))
      << test::Cp932ToUtf8(again.output);
  EXPECT_NE(again.output.find("-- ユウ ---"_cp), std::string::npos);
  EXPECT_TRUE(ElsewhereIsEmpty());
}

// XDG_DATA_HOME names the folder above the player's; an empty or relative
// one is not a folder name and the default under HOME serves.
TEST_F(Installed, XdgDataHomeChoosesThePlayersFolder) {
  test::ScopedTempDir data;
  struct Case {
    const char* xdg;
    std::string folder;
  };
  const Case cases[] = {
      {data.Path().c_str(), data.Path() + "/velkor"},
      {"", PlayerFolder()},
      {"relative/data", PlayerFolder()},
  };
  for (const Case& c : cases) {
    environment_.Set("XDG_DATA_HOME", c.xdg);
    const test::ProcessResult run = Play(test::TypedDefinition("ケン"_cp));
    EXPECT_TRUE(run.output.starts_with(DefinitionStart)) << c.xdg << "\n" << test::Cp932ToUtf8(run.output);
    EXPECT_TRUE(test::Exists(c.folder + "/save.dat")) << c.xdg;
    fs::remove_all(c.folder);
  }
  EXPECT_TRUE(ElsewhereIsEmpty());
  EXPECT_FALSE(test::Exists(elsewhere_.Path() + "/relative"));
}

// Whatever stands at dat/ in the player's folder before the start, the game
// then finds its scenario files there.
TEST_F(Installed, DatIsLinkedToTheInstalledStories) {
  const std::string stories = fs::canonical(Stories()).string();
  const std::string dat = PlayerFolder() + "/dat";
  struct Case {
    const char* what;
    std::function<void()> before;
    std::string linkAfter;  // empty: dat is no link
  };
  const Case cases[] = {
      {"nothing", [] {}, stories},
      {"a link from an older installation", [&] { fs::create_symlink("/nonexistent/velkor/dat", dat); },
       stories},
      {"a link that is right already", [&] { fs::create_symlink(stories, dat); }, stories},
      {"a folder put there by hand",
       [&] { fs::copy(test::SourceDir() + "/dat", dat, fs::copy_options::recursive); }, ""},
  };
  for (const Case& c : cases) {
    fs::create_directories(PlayerFolder());
    c.before();
    const test::ProcessResult run = Play(test::TypedDefinition("ケン"_cp));
    EXPECT_TRUE(run.output.starts_with(DefinitionStart)) << c.what << "\n" << test::Cp932ToUtf8(run.output);
    // The opening story was played.
    EXPECT_NE(run.output.find("煉瓦の街に、雨が降っていた。"_cp), std::string::npos) << c.what;
    EXPECT_EQ(LinkTarget(dat), c.linkAfter) << c.what;
    fs::remove_all(PlayerFolder());
  }
}

// A link on the PATH to the installed command works like the command.
TEST_F(Installed, LauncherWorksThroughALink) {
  test::ScopedTempDir bin;
  const std::string link = bin.Path() + "/velkor";
  fs::create_symlink(Launcher(), link);
  const test::ProcessResult run = test::RunProgram(link, elsewhere_.Path(), test::TypedDefinition("ケン"_cp));
  EXPECT_TRUE(run.output.starts_with(DefinitionStart)) << test::Cp932ToUtf8(run.output);
  EXPECT_TRUE(test::Exists(PlayerFolder() + "/save.dat"));
}

// No HOME, or one that is no absolute path (it would make a folder under the
// current one).
TEST_F(Installed, WithoutAnyFolderToPlayInItStopsAndSaysWhy) {
  for (const char* home : {static_cast<const char*>(nullptr), "", "relhome"}) {
    environment_.Set("HOME", home);
    const test::ProcessResult run =
        test::RunCommand({Launcher()}, elsewhere_.Path(), test::TypedDefinition("ケン"_cp));
    const std::string what = home == nullptr ? "unset" : home;
    EXPECT_EQ(run.exitStatus, 1) << what;
    EXPECT_EQ(run.output, "velkor: neither HOME nor XDG_DATA_HOME names a folder to play in\n") << what;
    EXPECT_TRUE(ElsewhereIsEmpty()) << what;
  }
}

// The report, kept in code page 932, shown in the terminal's character set.
TEST_F(Installed, ReportShowsEveryRunReadable) {
  environment_.Set("LC_ALL", "C.UTF-8");
  const test::ProcessResult none = test::RunCommand({Launcher(), "--report"}, elsewhere_.Path(), "");
  EXPECT_EQ(none.exitStatus, 0);
  EXPECT_NE(none.output.find("No run has been reported yet"), std::string::npos) << none.output;
  for (int run = 0; run < 2; ++run) Play(test::TypedLostRun("ユウ"_cp));
  const test::ProcessResult shown = test::RunCommand({Launcher(), "--report"}, elsewhere_.Path(), "");
  EXPECT_EQ(shown.exitStatus, 0);
  const std::string line = test::Cp932ToUtf8("【0人斬り】／VELKOR／["_cp);
  const std::size_t first = shown.output.find(line);
  EXPECT_EQ(first, 0u) << shown.output;
  EXPECT_NE(shown.output.find(line, first + 1), std::string::npos) << shown.output;
  EXPECT_EQ(shown.output.find('\r'), std::string::npos);
  EXPECT_NE(shown.output.find(test::Cp932ToUtf8("]／ユウ\n"_cp)), std::string::npos) << shown.output;
  EXPECT_TRUE(ElsewhereIsEmpty());
}

// A report shared or edited by hand is shown as text: no byte of it reaches
// the terminal as a command, and no byte that is no character stops the
// lines after it.
TEST_F(Installed, ReportShowsTextNeverTerminalCommands) {
  environment_.Set("LC_ALL", "C.UTF-8");
  ASSERT_TRUE(fs::create_directories(PlayerFolder()));
  struct Case {
    const char* what;
    std::string line;   // in the report, code page 932
    std::string shown;  // on the screen, UTF-8
  };
  const Case cases[] = {
      {"a run", "【0人斬り】／VELKOR／[2026/12/06 15:04:05]／ユウ"_cp,
       test::Cp932ToUtf8("【0人斬り】／VELKOR／[2026/12/06 15:04:05]／ユウ"_cp)},
      {"the window title", "\x1b]0;owned\x07x", "?]0;owned?x"},
      {"the alternate screen and a cursor move", "\x1b[?1049h\x1b[2;5Hx", "?[?1049h?[2;5Hx"},
      {"the clipboard", "\x1b]52;c;cm0gLXJm\x1b\\", "?]52;c;cm0gLXJm?\\"},
      {"a carriage return inside", "real\rfake", "real?fake"},
      {"tab, backspace, DEL", "a\t\b\x7f", "a???"},
      {"a lead byte before a space", "\x81 x", "? x"},
      {"an unassigned pair", "\x85\x40x", "?x"},
      {"bytes that start nothing",
       "\x80\xA0\xFF"
       "x",
       "???x"},
      {"a lead byte at the end", "x\x81", "x?"},
      {"the run after them all", "ソポ"_cp, test::Cp932ToUtf8("ソポ"_cp)},
  };
  std::string report;
  std::string shown;
  for (const Case& c : cases) {
    report += c.line + "\r\n";
    shown += c.shown + "\n";
  }
  test::WriteBytes(PlayerFolder() + "/" + ReportPath, report);
  const test::ProcessResult run = test::RunCommand({Launcher(), "--report"}, elsewhere_.Path(), "");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, shown);
}

// A long report shows its last 10,000 lines after one that says how many
// were left out; a line longer than any run's is cut, on a whole character.
TEST_F(Installed, ALongReportShowsItsLastLines) {
  environment_.Set("LC_ALL", "C.UTF-8");
  ASSERT_TRUE(fs::create_directories(PlayerFolder()));
  std::string report;
  for (int line = 1; line <= 10003; ++line) report += "run " + std::to_string(line) + "\r\n";
  report += "x" + std::string(6000, '\x82') + "\r\n";  // ｂ (82 82) three thousand times
  test::WriteBytes(PlayerFolder() + "/" + ReportPath, report);
  const test::ProcessResult run = test::RunCommand({Launcher(), "--report"}, elsewhere_.Path(), "");
  EXPECT_EQ(run.exitStatus, 0);
  const std::string head = "(4 earlier lines of the report are not shown.)\nrun 5\nrun 6\n";
  EXPECT_EQ(run.output.substr(0, head.size()), head);
  const std::string tail = "run 10003\nx";
  const std::size_t at = run.output.find(tail);
  ASSERT_NE(at, std::string::npos);
  const std::string last = run.output.substr(at + tail.size());
  EXPECT_EQ(last.substr(last.size() - 4), "...\n");
  EXPECT_LT(last.size(), 4096u * 2);
  std::size_t lines = 0;
  for (const char c : run.output) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 10001u);
}

// Anything but a regular file at the report's name is refused at once, with
// a message that says so, and a report that cannot be read is a failure.
TEST_F(Installed, AReportThatIsNoRegularFileOrCannotBeReadIsRefused) {
  ASSERT_TRUE(fs::create_directories(PlayerFolder()));
  const std::string report = PlayerFolder() + "/" + ReportPath;
  struct Case {
    const char* what;
    std::function<bool()> make;
    std::string message;
  };
  const std::string notRegular = "velkor: " + report + " is not a regular file; it is not shown\n";
  const Case cases[] = {
      {"a FIFO without a writer", [&] { return ::mkfifo(report.c_str(), 0644) == 0; }, notRegular},
      {"a folder", [&] { return test::MakeFolder(report); }, notRegular},
      {"a device", [&] { return ::symlink("/dev/zero", report.c_str()) == 0; }, notRegular},
      {"a link to nothing", [&] { return ::symlink("nowhere", report.c_str()) == 0; }, notRegular},
      // Regular, but its reading fails.
      {"a file that cannot be read", [&] { return ::symlink("/proc/self/mem", report.c_str()) == 0; },
       "velkor: cannot read " + report + ": Input/output error\n"},
  };
  for (const Case& c : cases) {
    std::error_code ignored;
    fs::remove(report, ignored);
    ASSERT_TRUE(c.make()) << c.what;
    const test::ProcessResult run = test::RunCommand({Launcher(), "--report"}, elsewhere_.Path(), "", 10);
    EXPECT_FALSE(run.timedOut) << c.what;
    EXPECT_EQ(run.exitStatus, 1) << c.what;
    EXPECT_EQ(run.output, c.message) << c.what;
  }
}

TEST_F(Installed, HelpSaysWhereTheFilesAreAndOtherArgumentsAreRefused) {
  const std::string usage = std::string("usage: velkor [--report | --help]\n") +
                            "Plays VELKOR. Your character (save.dat) and the report of your runs\n(" +
                            ReportPath + ") are kept in " + PlayerFolder() + ".\n" +
                            "  --report  shows the report of your runs\n" + "  --help    this text\n" +
                            "The player's guide: " + Installation("share/doc/velkor/guide.md") + "\n" +
                            "To quit at a prompt, press Ctrl-D on an empty line.\n";
  struct Case {
    const char* argument;
    int status;
  };
  for (const Case& c : {Case{"--help", 0}, Case{"-h", 0}, Case{"--version", 2}, Case{"save.dat", 2}}) {
    const test::ProcessResult run = test::RunCommand({Launcher(), c.argument}, elsewhere_.Path(), "");
    EXPECT_EQ(run.exitStatus, c.status) << c.argument;
    EXPECT_EQ(run.output, usage) << c.argument;
    EXPECT_FALSE(test::Exists(PlayerFolder())) << c.argument;
  }
}

}  // namespace
}  // namespace velkor
