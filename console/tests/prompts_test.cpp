#include "console/prompts.h"

#include <gtest/gtest.h>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/line_reader.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::ConsoleScript;

TEST(RightInt, PadsToWidthAndNeverCuts) {
  struct Case {
    int width;
    std::int32_t value;
    const char* expected;
  };
  const Case cases[] = {
      {5, 7, "    7"},
      {5, -12, "  -12"},
      {5, 123456, "123456"},
      {5, 12345, "12345"},
      {5, 0, "    0"},
      {0, 42, "42"},
      {5, -2147483647 - 1, "-2147483648"},
  };
  for (const Case& c : cases) EXPECT_EQ(RightInt(c.width, c.value), c.expected) << c.value;
}

TEST(RuleLine, PadsToTwentyFourBytes) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"", std::string(24, '-')},
      {" 鬼 "_cp, "-- 鬼 ------------------"_cp},  // 2 + 4 bytes, then 18 dashes
      {std::string(22, 'x'), "--" + std::string(22, 'x')},
      {std::string(30, 'x'), "--" + std::string(30, 'x')},  // 32 bytes, uncut
  };
  for (const Case& c : cases) {
    ConsoleScript script({});
    RuleLine(script.Console(), c.text);
    EXPECT_EQ(script.Output(), c.expected + "\r\n");
  }
}

TEST(MenuLetters, MapBothWays) {
  ConsoleScript script({});
  Console& console = script.Console();
  EXPECT_EQ(IntToAlf(console, 0), 'a');
  EXPECT_EQ(IntToAlf(console, 25), 'z');
  EXPECT_EQ(IntToAlf(console, 26), 'A');
  EXPECT_EQ(IntToAlf(console, 51), 'Z');
  for (std::int32_t i = 0; i < 52; ++i) EXPECT_EQ(AlfToInt(console, IntToAlf(console, i)), i);
  EXPECT_EQ(script.Output(), "");
}

TEST(MenuLetters, OutOfRangeWritesItsLineAndWaits) {
  struct Case {
    std::int32_t index;
    const char* line;
  };
  for (const Case& c :
       {Case{52, "error in IntToAlf(console, 52)\r\n"}, Case{-1, "error in IntToAlf(console, -1)\r\n"}}) {
    ConsoleScript script({""});
    EXPECT_EQ(IntToAlf(script.Console(), c.index), ' ');
    EXPECT_EQ(script.Output(), c.line);
    EXPECT_EQ(script.LinesLeft(), 0u) << "waits for Enter";
  }
  ConsoleScript script({""});
  Console& console = script.Console();
  EXPECT_EQ(AlfToInt(console, '?'), 0);
  EXPECT_EQ(script.Output(), "error in AlfToInt(console, '?')\r\n");
  EXPECT_EQ(script.LinesLeft(), 0u);
}

// Each row: typed lines; the key that is finally accepted; how often the
// question was written.
struct ChoiceCase {
  std::vector<std::string> typed;
  char accepted;
  int asked;
};

TEST(AskChoice, RefusesAllButOneAllowedByte) {
  const ChoiceCase cases[] = {
      {{"a"}, 'a', 1},           {{"", "a"}, 'a', 2},  // empty line
      {{"ab", "b"}, 'b', 2},                           // two letters, both allowed
      {{"ａ"_cp, "a"}, 'a', 2},                        // a full-width letter
      {{"A", "c"}, 'c', 2},                            // wrong case
      {{"z", " a", "a "}, 0, 4},                       // never accepted: input ends
  };
  for (const ChoiceCase& c : cases) {
    std::vector<std::string> typed = c.typed;
    ConsoleScript script(typed);
    Console& console = script.Console();
    if (c.accepted == 0) {
      EXPECT_THROW(AskChoice(console, "Q", "abc"), GameFailure);
    } else {
      EXPECT_EQ(AskChoice(console, "Q", "abc"), c.accepted);
      std::string expected;
      for (int i = 0; i < c.asked; ++i) expected += "Q\r\n(abc)";
      EXPECT_EQ(script.Output(), expected + "\r\n");
    }
  }
}

TEST(AskChoice, ShowsOtherKeysAndSkipsEmptyQuestion) {
  ConsoleScript script({"x", "b"});
  EXPECT_EQ(AskChoice(script.Console(), "", "ab", "a/b"), 'b');
  EXPECT_EQ(script.Output(), "(a/b)(a/b)\r\n");
}

TEST(AskYesNo, AcceptsOnlyLowerCaseYAndN) {
  {
    ConsoleScript script({"Y", "yes", "y"});
    EXPECT_TRUE(AskYesNo(script.Console(), "続けますか？"_cp));
    const std::string ask = "続けますか？(y/n)\r\n(yn)"_cp;
    EXPECT_EQ(script.Output(), ask + ask + ask + "\r\n");
  }
  {
    ConsoleScript script({"N", "n"});
    EXPECT_FALSE(AskYesNo(script.Console(), "Q"));
  }
}

TEST(AskRange, RefusesAnythingButPlainDigitsInRange) {
  struct Case {
    std::vector<std::string> typed;
    std::int32_t low, high, accepted;
    int asked;
  };
  const Case cases[] = {
      {{"-1", "+1", " 1", "1 ", "1.0", "1"}, 0, 10, 1, 6},
      {{"0"}, 0, 100, 0, 1},
      {{"007"}, 0, 100, 7, 1},
      {{"101", "100"}, 0, 100, 100, 2},
      {{"", "5"}, 0, 100, 5, 2},
      {{"2147483648", "99999999999999999999", "2147483647"}, 0, 2147483647, 2147483647, 3},
      // A line as long as the reader keeps whole counts; one it had to cut
      // (its digits unknown) does not.
      {{std::string(MaxLineBytes - 1, '0') + "7"}, 0, 100, 7, 1},
      {{std::string(MaxLineBytes + 1, '0'), "5"}, 0, 100, 5, 2},
  };
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    EXPECT_EQ(AskRange(script.Console(), "ＨＰを入力して下さい。"_cp, c.low, c.high), c.accepted);
    std::string ask =
        "ＨＰを入力して下さい。\r\n{"_cp + std::to_string(c.low) + "～"_cp + std::to_string(c.high) + "}";
    std::string expected;
    for (int i = 0; i < c.asked; ++i) expected += ask;
    EXPECT_EQ(script.Output(), expected + "\r\n");
  }
}

TEST(ErrorBanner, FramesThePlaceAndWaits) {
  ConsoleScript script({"", "after"});
  ErrorBanner(script.Console(), "Main");
  const std::string rule(37, '-');
  EXPECT_EQ(script.Output(), "\r\n" + rule + "\r\nerror in Main\r\n" + rule + "\r\n\r\n");
  EXPECT_EQ(script.LinesLeft(), 1u);
}

TEST(WaitEnter, ReadsOneLineAndWritesNothing) {
  ConsoleScript script({"anything", "next"});
  Console& console = script.Console();
  WaitEnter(console);
  EXPECT_EQ(script.Output(), "");
  EXPECT_EQ(console.ReadLine(), "next");
}

}  // namespace
}  // namespace velkor
