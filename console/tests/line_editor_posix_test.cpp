// Only on POSIX systems: libedit on a pseudo-terminal.
// The line editor on a pseudo-terminal of this process: the editor reads on a
// thread of its own from the terminal's side, and the test types and reads
// the screen on the other side, as a terminal window would.
#include "console/line_editor.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/line_reader.h"
#include "console/terminal_console.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/process_runner.h"

// String literals here are compiled to code page 932; what the terminal sends
// and shows is UTF-8, made with U().

namespace velkor {
namespace {

const std::string Left = "\x1b[D";
const std::string Right = "\x1b[C";
const std::string Up = "\x1b[A";
const std::string Home = "\x1b[H";
const std::string End = "\x1bOF";
const std::string Delete = "\x1b[3~";
const std::string PageUp = "\x1b[5~";
const std::string F1 = "\x1bOP";
const std::string F5 = "\x1b[15~";
const std::string Backspace = "\x7f";
const std::string CtrlH = "\x08";
const std::string CtrlD = "\x04";
const std::string Tab = "\t";
const std::string Enter = "\r";

std::string U(const std::string& gameText) { return test::Cp932ToUtf8(gameText); }

class PseudoTerminal {
 public:
  explicit PseudoTerminal(const char* terminalType = "xterm") : type_("TERM", terminalType) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 80;
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) return;
    in_ = fdopen(dup(slave_), "r");
    out_ = fdopen(dup(slave_), "w");
  }
  ~PseudoTerminal() {
    if (in_ != nullptr) std::fclose(in_);
    if (out_ != nullptr) std::fclose(out_);
    if (slave_ >= 0) close(slave_);
    HangUp();
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  std::unique_ptr<LineEditor> OpenEditor(const char* charset = "UTF-8") {
    if (in_ == nullptr || out_ == nullptr) return nullptr;
    return LineEditor::Open(charset, in_, out_);
  }

  // Runs reading on a thread of its own. Once waitFor is on the screen and the
  // editor has taken the terminal out of its line mode, types keys (or,
  // without keys, closes the terminal), then waits for it to return and
  // raises again what it raised. Returns all that the screen was sent.
  std::string Type(const std::function<void()>& reading, const std::string& waitFor,
                   const std::string& keys) {
    return Type(reading, waitFor, std::vector<std::string>{keys});
  }

  // The same, with the keys typed in pieces, a pause after each: as a
  // person types them rather than as a terminal sends one key.
  std::string Type(const std::function<void()>& reading, const std::string& waitFor,
                   const std::vector<std::string>& pieces) {
    std::atomic<bool> done = false;
    std::exception_ptr raised;
    std::thread reader([&] {
      try {
        reading();
      } catch (...) {
        raised = std::current_exception();
      }
      done = true;
    });
    std::string screen;
    bool typed = false;
    const long long deadline = test::MonotonicMs() + 10000;
    while (!done && test::MonotonicMs() < deadline) {
      Take(screen, 20);
      if (typed || screen.find(waitFor) == std::string::npos || !Editing()) continue;
      typed = true;
      if (pieces.size() == 1 && pieces[0].empty()) {
        HangUp();
        continue;
      }
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) usleep(200000);
        EXPECT_EQ(write(master_, pieces[i].data(), pieces[i].size()), static_cast<ssize_t>(pieces[i].size()));
      }
    }
    if (!done) HangUp();  // a read that did not end sees the terminal gone and gives up
    reader.join();
    // What the editor wrote last may still be on its way to this side.
    while (Take(screen, 50) > 0) {
    }
    EXPECT_TRUE(typed) << "never asked: " << screen;
    if (raised) std::rethrow_exception(raised);
    return screen;
  }

 private:
  bool Editing() const {
    termios mode{};
    return tcgetattr(slave_, &mode) == 0 && (mode.c_lflag & ICANON) == 0;
  }
  // Adds what the screen was sent within waitMs to it; how many bytes came.
  ssize_t Take(std::string& screen, int waitMs) {
    if (master_ < 0) return 0;
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, waitMs) <= 0) return 0;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) screen.append(buffer, static_cast<std::size_t>(n));
    return n;
  }
  void HangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

  test::ScopedEnvironment type_;
  int master_ = -1;
  int slave_ = -1;
  std::FILE* in_ = nullptr;
  std::FILE* out_ = nullptr;
};

struct Edited {
  bool read = false;
  std::string line;
  std::string screen;
};

// A terminal with the editor open on it, for as many lines as a test types,
// as the game reads all of its lines through one editor.
class EditingTerminal {
 public:
  Edited Edit(const std::string& keys, const std::string& prompt = U("名前＞"_cp)) {
    return Edit(std::vector<std::string>{keys}, prompt);
  }
  Edited Edit(const std::vector<std::string>& keys, const std::string& prompt = U("名前＞"_cp)) {
    Edited edited;
    if (editor_ == nullptr) {
      ADD_FAILURE() << "no editor";
      return edited;
    }
    edited.screen = terminal_.Type([&] { edited.read = editor_->Read(prompt, edited.line); }, prompt, keys);
    return edited;
  }

 private:
  PseudoTerminal terminal_;
  std::unique_ptr<LineEditor> editor_ = terminal_.OpenEditor();
};

Edited Edit(const std::string& keys) { return EditingTerminal().Edit(keys); }

TEST(LineEditor, EditingKeysMoveOverWholeCharactersAndNoneOfThemReachesTheLine) {
  struct Case {
    std::string keys;
    std::string line;
  };
  const Case cases[] = {
      {"abc" + Enter, "abc"},
      {Enter, ""},
      // What a terminal used to store as "ab", ESC [ D, "c", TAB, "d".
      {"ab" + Left + "c" + Tab + "d" + Enter, "acdb"},
      {U("ソポ"_cp) + Left + U("表"_cp) + Backspace + Right + Enter, U("ソポ"_cp)},
      {U("ソポ"_cp) + Left + U("表"_cp) + Left + Backspace + Right + U("十"_cp) + Enter, U("表十ポ"_cp)},
      {U("ソポ表"_cp) + CtrlH + CtrlH + "x" + Enter, U("ソ"_cp) + "x"},
      {U("ソポ表"_cp) + Home + Delete + End + Left + Delete + Enter, U("ポ"_cp)},
      {U("ソポ表"_cp) + Left + Left + CtrlD + Enter, U("ソ表"_cp)},  // Ctrl-D deletes inside a line
      {"ab\x01"
       "c\x05"
       "d" +
           Enter,
       "cabd"},  // Ctrl-A and Ctrl-E
      {"ab" + Right + Right + Left + Left + Left + Left + "c" + Enter, "cab"},
      // Keys with nothing to do leave no trace.
      {"a" + Up + PageUp + F1 + F5 + "\x1b[1;5A" +
           "\x1b"
           "x" +
           "b" + Enter,
       "ab"},
      {"a\x16\x1b[Db" + Enter, "ba"},  // Ctrl-V inserts no raw ESC
      {"a" + Tab + Tab + "b" + Enter, "ab"},
      // Text itself passes as it was typed, the game's converting comes later.
      {"\xF0\x9F\x98\x80" + U("ソ"_cp) + Enter, "\xF0\x9F\x98\x80" + U("ソ"_cp)},
      // Bytes that are no character in the terminal's set are dropped.
      {"a\xFF"
       "b\xE3\x82"
       "c" +
           Enter,
       "abc"},
  };
  EditingTerminal terminal;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.keys));
    const Edited edited = terminal.Edit(c.keys);
    EXPECT_TRUE(edited.read);
    EXPECT_EQ(edited.line, c.line);
    EXPECT_EQ(edited.line.find('\x1b'), std::string::npos);
  }
}

// Escape pressed alone, with no key after it for a moment, is dropped by
// itself; a key's own sequence, sent at once, is still read whole.
TEST(LineEditor, AnEscapeAloneTakesNoKeyTypedAfterIt) {
  struct Case {
    std::vector<std::string> pieces;  // typed with a pause after each
    std::string line;
  };
  const Case cases[] = {
      {{"\x1b", "Hello" + Enter}, "Hello"},
      {{"\x1b", "Ok" + Enter}, "Ok"},
      {{"a", "\x1b", "\x1b", "[b" + Enter}, "a[b"},
      {{"ab", Left + "c", "\x1b", Enter}, "acb"},
  };
  EditingTerminal terminal;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.pieces));
    const Edited edited = terminal.Edit(c.pieces);
    EXPECT_TRUE(edited.read);
    EXPECT_EQ(edited.line, c.line);
  }
}

TEST(LineEditor, AFullWidthCharacterTakesTwoColumns) {
  // Left over ソ moves the cursor two columns back, Right two forward again.
  const Edited edited = Edit(U("ソ"_cp) + Left + Right + Enter);
  EXPECT_NE(edited.screen.find(U("名前＞ソ"_cp) + "\b\b" + U("ソ"_cp)), std::string::npos) << edited.screen;
}

TEST(LineEditor, CtrlDOnAnEmptyLineEndsInputAndShowsNothing) {
  for (const std::string& keys : {CtrlD, "a" + Backspace + CtrlD}) {
    const Edited edited = Edit(keys);
    EXPECT_FALSE(edited.read);
    EXPECT_EQ(edited.screen.find("^D"), std::string::npos) << edited.screen;
  }
}

// A paste longer than the line limit is refused past it as it arrives, with
// one bell: the line, and what the screen shows of it, stay within the limit.
TEST(LineEditor, APasteIsHeldOnlyUpToTheLineLimit) {
  const Edited edited = Edit(std::string(200000, 'a') + U("ソ"_cp) + Enter);
  EXPECT_TRUE(edited.read);
  EXPECT_EQ(edited.line, std::string(MaxLineBytes, 'a'));
  EXPECT_LE(std::count(edited.screen.begin(), edited.screen.end(), 'a'), 2 * static_cast<long>(MaxLineBytes));
  EXPECT_EQ(std::count(edited.screen.begin(), edited.screen.end(), '\a'), 1);
}

TEST(LineEditor, ATerminalThatGoesAwayRaisesTheInputFailure) {
  PseudoTerminal terminal;
  std::unique_ptr<LineEditor> editor = terminal.OpenEditor();
  ASSERT_NE(editor, nullptr);
  std::string line;
  EXPECT_THROW(terminal.Type([&] { editor->Read(">", line); }, ">", ""), GameFailure);
}

TEST(LineEditor, OpensOnlyForASetThatALocaleHereReads) {
  struct Case {
    const char* locale;
    const char* charset;
    bool opens;
  };
  const Case cases[] = {
      {"C.UTF-8", "UTF-8", true},     {"C", "UTF-8", true},  // the C locale's terminal is taken to be UTF-8
      {"ja_JP.UTF-8", "UTF-8", true},                        // named but perhaps not installed
      {"C", "EUC-JP", false},         {"C", "ISO-8859-1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + c.charset);
    test::ScopedEnvironment all("LC_ALL", c.locale);
    PseudoTerminal terminal;
    EXPECT_EQ(terminal.OpenEditor(c.charset) != nullptr, c.opens);
  }
}

// The console with an editor: what the game wrote before the last line end is
// written at once, the rest is the editor's prompt.
TEST(TerminalConsoleWithEditor, TheOpenLineIsThePromptAndTheAnswerComesBackAsGameBytes) {
  PseudoTerminal terminal("dumb");  // a terminal that redraws the whole line
  std::istringstream unused;
  std::ostringstream out;
  TerminalConsole device(unused, out, {true, true, "UTF-8", true}, terminal.OpenEditor());
  ASSERT_TRUE(device.EditsLines());
  Console console;
  console.Bind(device);
  console.WriteLine("見出し"_cp);
  console.Write("名前"_cp);
  console.Write("＞"_cp);
  std::string name;
  const std::string screen = terminal.Type([&] { name = console.ReadLine(); }, U("名前＞"_cp),
                                           "ab" + Left + "c" + U("ソ"_cp) + "\xF0\x9F\x98\x80" + Enter);
  EXPECT_EQ(name, "acソ?b"_cp);
  EXPECT_EQ(out.str(), U("見出し"_cp) + "\r\n");
  // The prompt is redrawn with the line, and is never part of the answer.
  EXPECT_NE(screen.find("\r" + U("名前＞"_cp) + "acb"), std::string::npos) << screen;

  // Ctrl-D on an empty line ends input as the end of a pipe does.
  console.Write("？"_cp);
  EXPECT_THROW(terminal.Type([&] { console.ReadLine(); }, U("？"_cp), CtrlD), GameFailure);
}

TEST(TerminalConsoleWithEditor, AnOpenLineNoReadAsksForIsWrittenOnceLater) {
  PseudoTerminal terminal;
  std::istringstream unused;
  std::ostringstream out;
  {
    TerminalConsole console(unused, out, {true, true, "UTF-8", true}, terminal.OpenEditor());
    ASSERT_TRUE(console.EditsLines());
    console.Put("一\r\n二"_cp);
    EXPECT_EQ(out.str(), U("一"_cp) + "\r\n");
    console.Put("三\r\n四"_cp + std::string("\x83"));
    EXPECT_EQ(out.str(), U("一\r\n二三"_cp) + "\r\n");
  }
  // At the end the open line is shown, and a lead byte alone as "?".
  EXPECT_EQ(out.str(), U("一\r\n二三\r\n四"_cp) + "?");
}

TEST(TerminalConsoleWithEditor, IsLeftUnusedWhenASideCannotConvert) {
  PseudoTerminal terminal;
  std::istringstream in("\x83\x5C\n");
  std::ostringstream out;
  TerminalConsole console(in, out, {true, true, "NO-SUCH-CHARSET", true}, terminal.OpenEditor());
  EXPECT_FALSE(console.EditsLines());
  std::string line;
  ASSERT_TRUE(console.Get(line));
  EXPECT_EQ(line, "\x83\x5C");
}

}  // namespace
}  // namespace velkor
