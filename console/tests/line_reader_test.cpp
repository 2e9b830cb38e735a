#include "console/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/prompts.h"
#include "console/terminal_console.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

std::vector<std::string> AllLines(const std::string& input) {
  std::istringstream in(input);
  std::vector<std::string> lines;
  std::string line;
  while (ReadBoundedLine(in, line)) lines.push_back(line);
  return lines;
}

TEST(ReadBoundedLine, KeepsLinesUpToTheBoundWholeAndCutsLongerOnes) {
  const std::string full(MaxLineBytes, 'a');
  const std::string cut = full + "z";  // what is kept of any longer line
  struct Case {
    const char* what;
    std::string input;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"no input", "", {}},
      {"one empty line", "\n", {""}},
      {"a last line without a line end", "a\nb", {"a", "b"}},
      {"the CR is left for the console to drop", "a\r\n", {"a\r"}},
      {"a NUL byte inside", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"exactly the bound", full + "\nnext\n", {full, "next"}},
      {"one byte more", full + "z\nnext\n", {cut, "next"}},
      {"two bytes more", full + "zz\nnext\n", {cut, "next"}},
      {"far longer", full + std::string(100000, 'z') + "\nnext\n", {cut, "next"}},
      {"far longer, and the input ends", full + std::string(100000, 'z'), {cut}},
      {"far longer, then an empty line", full + "zzz\n\n", {cut, ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(AllLines(c.input), c.lines) << c.what;
}

// Both devices over standard streams read through the bound; the terminal
// converts what was kept, and a character cut at the bound is a stray byte.
TEST(ReadBoundedLine, BothStandardDevicesReadThroughIt) {
  const std::string longLine = std::string(3 * MaxLineBytes, 'x') + "\ny\n";
  {
    std::istringstream in(longLine);
    std::ostringstream out;
    StreamConsole device(in, out);
    std::string line;
    ASSERT_TRUE(device.Get(line));
    EXPECT_EQ(line, std::string(MaxLineBytes + 1, 'x'));
    ASSERT_TRUE(device.Get(line));
    EXPECT_EQ(line, "y");
  }
  {
    // "ソ" typed 2000 times in UTF-8: 4097 bytes keep 1365 characters and
    // two bytes of the next.
    std::string typed;
    for (int i = 0; i < 2000; ++i) typed += "\xE3\x82\xBD";
    std::istringstream in(typed + "\ny\n");
    std::ostringstream out;
    TerminalConsole device(in, out, {true, true, "UTF-8"});
    std::string expected;
    for (int i = 0; i < 1365; ++i) expected += "ソ"_cp;
    std::string line;
    ASSERT_TRUE(device.Get(line));
    EXPECT_EQ(line, expected + "??");
    ASSERT_TRUE(device.Get(line));
    EXPECT_EQ(line, "y");
  }
}

// A stream whose reading fails, as a read error of the system would.
class BrokenBuffer : public std::streambuf {
 protected:
  int_type underflow() override { throw std::runtime_error("read error"); }
};

TEST(ReadBoundedLine, AReadErrorIsNotTheEndOfInput) {
  BrokenBuffer broken;
  std::istream in(&broken);
  std::ostringstream out;
  StreamConsole device(in, out);
  Console console;
  console.Bind(device);
  EXPECT_EQ(RunGuarded(console, [&] { WaitEnter(console); }), 1);
  EXPECT_TRUE(test::IsFailureReport(out.str(), "標準入力を読めません"_cp)) << test::Cp932ToUtf8(out.str());
}

}  // namespace
}  // namespace velkor
