#include "console/terminal_console.h"

#include <gtest/gtest.h>

#include <clocale>
#include <sstream>
#include <streambuf>

#include "console/console_io.h"
#include "console/failure.h"
#include "platform/console.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/system.h"

// Texts here are code page 932 ("..."_cp); what a UTF-8 terminal shows or
// sends is written as \x escapes.

namespace velkor {
namespace {

TerminalBinding Utf8Both() { return {true, true, "UTF-8"}; }

TEST(TerminalBinding, ConvertsOnlyTerminalsThatDoNotSpeakShiftJis) {
  struct Case {
    bool inputIsTerminal;
    bool outputIsTerminal;
    const char* charset;
    TerminalBinding expected;
  };
  const Case cases[] = {
      {true, true, "UTF-8", {true, true, "UTF-8", true}},
      {false, false, "UTF-8", {false, false, ""}},     // pipes and files: raw bytes
      {false, true, "UTF-8", {false, true, "UTF-8"}},  // answers from a file, shown on a terminal
      // Output piped to a file or a pager: no editor, whose echo would go there.
      {true, false, "UTF-8", {true, false, "UTF-8"}},
      {true, true, "EUC-JP", {true, true, "EUC-JP", true}},
      {true, true, "SHIFT_JIS", {false, false, ""}},
      {true, true, "sjis", {false, false, ""}},
      {true, true, "CP932", {false, false, ""}},
      {true, true, "WINDOWS-31J", {false, false, ""}},
      // The C locale: the terminal is taken to be UTF-8.
      {true, true, "ANSI_X3.4-1968", {true, true, "UTF-8", true}},
      {true, true, "", {true, true, "UTF-8", true}},
      {false, false, "ANSI_X3.4-1968", {false, false, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.charset) + (c.inputIsTerminal ? " in-tty" : " in-pipe") +
                 (c.outputIsTerminal ? " out-tty" : " out-pipe"));
    const TerminalBinding binding = DecideTerminalBinding(c.inputIsTerminal, c.outputIsTerminal, c.charset);
    EXPECT_EQ(binding.convertInput, c.expected.convertInput);
    EXPECT_EQ(binding.convertOutput, c.expected.convertOutput);
    EXPECT_EQ(binding.charset, c.expected.charset);
    EXPECT_EQ(binding.editLines, c.expected.editLines);
    EXPECT_EQ(binding.maskControls, c.outputIsTerminal);
  }
}

TEST(TerminalBinding, TheTerminalCharsetIsTheUsersLocalesAndLeavesTheProgramsAlone) {
  VELKOR_ONLY_ON_POSIX("the terminal's set comes from the locale");
  const std::string before = std::setlocale(LC_CTYPE, nullptr);
  {
    test::ScopedEnvironment all("LC_ALL", "C.UTF-8");
    EXPECT_EQ(platform::TerminalCharset(), "UTF-8");
  }
  {
    test::ScopedEnvironment all("LC_ALL", "C");
    EXPECT_EQ(platform::TerminalCharset(), "ANSI_X3.4-1968");
  }
  {
    // Not installed here: the name still says what the terminal speaks.
    test::ScopedEnvironment all("LC_ALL", "ja_JP.SJIS");
    EXPECT_EQ(platform::TerminalCharset(), "SJIS");
  }
  EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), before);
}

// What a terminal shows after each of a series of writes.
std::vector<std::string> ScreenAfterEachPut(const TerminalBinding& binding,
                                            const std::vector<std::string>& puts) {
  std::istringstream in;
  std::ostringstream out;
  TerminalConsole console(in, out, binding);
  std::vector<std::string> screens;
  for (const std::string& bytes : puts) {
    console.Put(bytes);
    screens.push_back(out.str());
  }
  return screens;
}

std::string Shown(const TerminalBinding& binding, const std::string& bytes) {
  return ScreenAfterEachPut(binding, {bytes}).back();
}

// A name loaded from a shared save.dat may hold ESC, BEL or any other control
// byte: on a terminal of any set it shows as "?" and drives nothing; CR LF
// still end lines, and a pipe gets every byte as it was.
TEST(TerminalConsole, ControlBytesNeverReachATerminal) {
  const std::string hostile = "\x1B]2;PWNED\x07\x1B[31m\x01\x7F\x83\x5C\r\n";  // ..., ソ, CR LF
  TerminalBinding utf8 = Utf8Both();
  utf8.maskControls = true;
  TerminalBinding shiftJis;
  shiftJis.maskControls = true;
  EXPECT_EQ(Shown(utf8, hostile), "?]2;PWNED??[31m??\xE3\x82\xBD\r\n");
  EXPECT_EQ(Shown(shiftJis, hostile), "?]2;PWNED??[31m??\x83\x5C\r\n");
  EXPECT_EQ(Shown(TerminalBinding{}, hostile), hostile);
}

TEST(TerminalConsole, GameTextReachesAUtf8TerminalReadable) {
  struct Case {
    std::string game;
    std::string screen;
  };
  const Case cases[] = {
      {"まずは定義から始めよう。"_cp,
       "\xE3\x81\xBE\xE3\x81\x9A\xE3\x81\xAF\xE5\xAE\x9A\xE7\xBE\xA9\xE3\x81\x8B\xE3\x82\x89"
       "\xE5\xA7\x8B\xE3\x82\x81\xE3\x82\x88\xE3\x81\x86\xE3\x80\x82"},
      // Second bytes 5C and 7C, the range's tilde, and plain ASCII around them.
      {"[ソポ表]{0～100}\r\n"_cp,
       "[\xE3\x82\xBD\xE3\x83\x9D\xE8\xA1\xA8]{0\xEF\xBD\x9E"
       "100}\r\n"},
      {"\\|~", "\\|~"},
      {"ｱ①"_cp, "\xEF\xBD\xB1\xE2\x91\xA0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Shown(Utf8Both(), c.game), c.screen) << c.screen;
}

TEST(TerminalConsole, ADoubleByteCharacterSplitAcrossWritesIsShownWhole) {
  const std::string so = "\xE3\x82\xBD";  // ソ
  EXPECT_EQ(ScreenAfterEachPut(Utf8Both(), {"abc\x83",
                                            "\x5C"
                                            "def"}),
            (std::vector<std::string>{"abc", "abc" + so + "def"}));
  EXPECT_EQ(ScreenAfterEachPut(Utf8Both(), {"\x83", "\x5C\x83", "\x5C"}),
            (std::vector<std::string>{"", so, so + so}));
  // A second byte that looks like a lead byte belongs to its own character.
  EXPECT_EQ(ScreenAfterEachPut(Utf8Both(), {"\x81\x81", "x"}),
            (std::vector<std::string>{"\xEF\xBC\x9D", "\xEF\xBC\x9Dx"}));
}

TEST(TerminalConsole, ALeadByteLeftAtTheEndIsShownAsReplacement) {
  std::istringstream in;
  std::ostringstream out;
  {
    TerminalConsole console(in, out, Utf8Both());
    console.Put("end\x83");
    EXPECT_EQ(out.str(), "end");
  }
  EXPECT_EQ(out.str(), "end?");
}

TEST(TerminalConsole, BadGameBytesShowAReplacementAndPlayGoesOn) {
  struct Case {
    std::string game;
    std::string screen;
  };
  const Case cases[] = {
      {"\x80"
       "a",
       "?a"},
      {"a\xA0\xFD\xFE\xFF"
       "b",
       "a????b"},
      {"\x81 B", "? B"},      // a lead byte whose partner is not a second byte
      {"\x81\r\n", "?\r\n"},  // the line end survives
      {"\x85\x40"
       "x",
       "?x"},  // a well-formed pair with nothing assigned
      {"\x85\x40\x83\x5C", "?\xE3\x82\xBD"},
  };
  for (const Case& c : cases) {
    std::istringstream in;
    std::ostringstream out;
    TerminalConsole console(in, out, Utf8Both());
    EXPECT_NO_THROW(console.Put(c.game));
    console.Put("!");
    EXPECT_EQ(out.str(), c.screen + "!") << c.screen;
  }
}

TEST(TerminalConsole, OtherTerminalCharsetsAreRespected) {
  VELKOR_NOT_ON_WEB("its table converts UTF-8 and code page 932 alone");
  // EUC-JP has ソ but not the circled digits.
  EXPECT_EQ(Shown({.convertOutput = true, .charset = "EUC-JP"}, "①ソ\r\n"_cp), "?\xA5\xBD\r\n");
  EXPECT_EQ(Shown({.convertOutput = true, .charset = "ISO-8859-1"}, "aソb"_cp), "a?b");
}

TEST(TerminalConsole, RawSidesPassEveryByteUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  all += "\x83";  // even a lead byte at the very end
  std::string typed = all;
  typed.erase(typed.find('\n'), 1);
  {
    std::istringstream in(typed + "\n");
    std::ostringstream out;
    TerminalConsole console(in, out, {.charset = "UTF-8"});
    console.Put(all);
    EXPECT_EQ(out.str(), all);
    std::string line;
    ASSERT_TRUE(console.Get(line));
    EXPECT_EQ(line, typed);
  }
  // A set iconv does not know leaves the bytes as they are.
  std::istringstream in("\x83\x5C\n");
  std::ostringstream out;
  TerminalConsole console(in, out, {true, true, "NO-SUCH-CHARSET"});
  EXPECT_FALSE(console.ConvertsOutput());
  EXPECT_FALSE(console.ConvertsInput());
  console.Put("\x83\x5C");
  EXPECT_EQ(out.str(), "\x83\x5C");
  std::string line;
  ASSERT_TRUE(console.Get(line));
  EXPECT_EQ(line, "\x83\x5C");
}

std::vector<std::string> Typed(const TerminalBinding& binding, const std::string& keys) {
  std::istringstream in(keys);
  std::ostringstream out;
  TerminalConsole console(in, out, binding);
  std::vector<std::string> lines;
  std::string line;
  while (console.Get(line)) lines.push_back(line);
  return lines;
}

TEST(TerminalConsole, TypedUtf8LinesArriveAsGameBytes) {
  struct Case {
    std::string typed;
    std::string game;
  };
  const Case cases[] = {
      {"", ""},
      {"y", "y"},
      {"\xE3\x82\xBD\xE3\x83\x9D\xE8\xA1\xA8\xE5\x8D\x81\xE8\x83\xBD", "ソポ表十能"_cp},
      // Both tildes a Japanese input method may give are the range's tilde.
      {"\xE3\x80\x9C\xEF\xBD\x9E", "～～"_cp},
      {"\xEF\xBD\xB1", "ｱ"_cp},  // half-width katakana is one byte
      {"a\xF0\x9F\x98\x80"
       "b",
       "a?b"},  // one "?" for a character the game lacks
      {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "??"},
      {"\xC3\xA9t\xC3\xA9", "?t?"},  // é is not in code page 932
      {"a\xFF"
       "b",
       "a?b"},  // not UTF-8 at all
      {"\xE3\x82"
       "x",
       "??x"},  // a character cut short: each stray byte
      {"abc\xE3\x82", "abc??"},
      {"abc\r", "abc\r"},  // the CR is left for the console to drop
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Typed(Utf8Both(), c.typed + "\n");
    ASSERT_EQ(lines.size(), 1u) << c.typed;
    EXPECT_EQ(lines[0], c.game) << c.typed;
  }
}

TEST(TerminalConsole, TypedLinesKeepTheirOrderAndEndOfInputEnds) {
  EXPECT_EQ(Typed(Utf8Both(), "n\n\xE3\x82\xBD\n\nlast"),
            (std::vector<std::string>{"n", "ソ"_cp, "", "last"}));
  VELKOR_NOT_ON_WEB("its table converts UTF-8 and code page 932 alone");
  EXPECT_EQ(Typed({.convertInput = true, .charset = "EUC-JP"}, "\xA5\xBD\n"),
            std::vector<std::string>{"ソ"_cp});
}

TEST(TerminalConsole, TheNameLimitCountsGameBytes) {
  const std::string eight =  // ソポ表十能予申請
      "\xE3\x82\xBD\xE3\x83\x9D\xE8\xA1\xA8\xE5\x8D\x81\xE8\x83\xBD\xE4\xBA\x88\xE7\x94\xB3"
      "\xE8\xAB\x8B";
  const std::string nine = eight + "\xE6\x9B\xB8";  // 書
  EXPECT_EQ(Typed(Utf8Both(), eight + "\n"), std::vector<std::string>{"ソポ表十能予申請"_cp});
  EXPECT_EQ(Typed(Utf8Both(), eight + "\n")[0].size(), 16u);
  EXPECT_EQ(Typed(Utf8Both(), nine + "\n")[0].size(), 18u);
}

// Input that notes what the screen held when the game first asked for a line.
class WatchingInput : public std::streambuf {
 public:
  WatchingInput(std::string text, const std::ostringstream& screen)
      : text_(std::move(text)), screen_(screen) {}
  std::string screenAtFirstRead;
  bool read = false;

 protected:
  int_type underflow() override {
    if (!read) {
      read = true;
      screenAtFirstRead = screen_.str();
      setg(text_.data(), text_.data(), text_.data() + text_.size());
      return traits_type::to_int_type(text_[0]);
    }
    return traits_type::eof();
  }

 private:
  std::string text_;
  const std::ostringstream& screen_;
};

TEST(TerminalConsole, APromptIsOnTheScreenBeforeTheReadAndTheAnswerComesBackConverted) {
  std::ostringstream out;
  WatchingInput keys("\xE3\x82\xBD\xE3\x83\x9D\n", out);
  std::istream in(&keys);
  TerminalConsole device(in, out, Utf8Both());
  Console console;
  console.Bind(device);
  console.Write("名前＞"_cp);
  const std::string name = console.ReadLine();
  console.WriteLine("-- " + name + " --");
  console.FlushOutput();
  EXPECT_EQ(keys.screenAtFirstRead, "\xE5\x90\x8D\xE5\x89\x8D\xEF\xBC\x9E");
  EXPECT_EQ(name, "ソポ"_cp);
  EXPECT_EQ(out.str(), "\xE5\x90\x8D\xE5\x89\x8D\xEF\xBC\x9E-- \xE3\x82\xBD\xE3\x83\x9D --\r\n");
  EXPECT_THROW(console.ReadLine(), GameFailure);
}

}  // namespace
}  // namespace velkor
