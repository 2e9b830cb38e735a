#include "console/console_io.h"

#include <gtest/gtest.h>

#include <new>
#include <sstream>

#include "console/failure.h"
#include "console/prompts.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

// Counts the device's writes, to show that output goes out once per exchange.
class CountingDevice : public ConsoleDevice {
 public:
  void Put(std::string_view bytes) override {
    ++puts;
    out.append(bytes);
  }
  bool Get(std::string& line) override {
    line = "typed";
    return true;
  }
  int puts = 0;
  std::string out;
};

TEST(ConsoleIo, ReadDropsLfAndOneCrBeforeIt) {
  std::istringstream in("plain\ncrlf\r\ntwo\r\r\n\r\nlast");
  std::ostringstream out;
  StreamConsole device(in, out);
  Console console;
  console.Bind(device);
  EXPECT_EQ(console.ReadLine(), "plain");
  EXPECT_EQ(console.ReadLine(), "crlf");
  EXPECT_EQ(console.ReadLine(), "two\r");
  EXPECT_EQ(console.ReadLine(), "");
  EXPECT_EQ(console.ReadLine(), "last");  // a last line without a line end still counts
  EXPECT_THROW(console.ReadLine(), GameFailure);
}

TEST(ConsoleIo, OutputIsFlushedOncePerExchange) {
  CountingDevice device;
  Console console;
  console.Bind(device);
  console.Write("a");
  console.WriteLine("b");
  console.Write("(yn)");
  EXPECT_EQ(device.puts, 0);
  console.ReadLine();
  EXPECT_EQ(device.puts, 1);
  EXPECT_EQ(device.out, "ab\r\n(yn)");
  console.ReadLine();
  EXPECT_EQ(device.puts, 1) << "nothing pending, nothing written";
}

TEST(ConsoleIo, UnbindingFlushesToTheOldDeviceThenDropsOutputAndHasNoInput) {
  CountingDevice device;
  Console console;
  console.Bind(device);
  console.Write("last words");
  console.Unbind();
  EXPECT_EQ(device.out, "last words");
  console.WriteLine("unheard");
  console.FlushOutput();
  EXPECT_THROW(console.ReadLine(), GameFailure);
  EXPECT_EQ(device.out, "last words");
  EXPECT_EQ(device.puts, 1);
}

TEST(ConsoleIo, Cp932BytesPassThroughUnharmed) {
  // "ソ" ends in 0x5C and "ポ" in 0x7C: both are ASCII bytes inside a character.
  EXPECT_EQ(std::string("～"_cp), "\x81\x60");
  EXPECT_EQ(std::string("／"_cp), "\x81\x5E");
  EXPECT_EQ(std::string("≪"_cp), "\x81\xE1");
  EXPECT_EQ(std::string("…"_cp), "\x81\x63");
  EXPECT_EQ(std::string("ソ"_cp), "\x83\x5C");
  test::ConsoleScript script({"ソポ"_cp});
  Console& console = script.Console();
  const std::string typed = console.ReadLine();
  EXPECT_EQ(typed, "\x83\x5C\x83\x7C");
  console.Write(typed);
  console.WriteLine(typed);
  RuleLine(console, typed);
  EXPECT_EQ(script.Output(), typed + typed + "\r\n--" + typed + std::string(18, '-') + "\r\n");
}

TEST(Failure, EndOfInputIsReportedOnANewLine) {
  test::ConsoleScript script({});
  Console& console = script.Console();
  const int status = RunGuarded(console, [&] { AskYesNo(console, "Q"); });
  EXPECT_EQ(status, 1);
  const std::string output = script.Output();
  const std::string prompt = "Q(y/n)\r\n(yn)\r\n";
  ASSERT_EQ(output.substr(0, prompt.size()), prompt);
  EXPECT_TRUE(test::IsFailureReport(output.substr(prompt.size()), "標準入力が終わりました"_cp)) << output;
}

TEST(Failure, NormalEndGivesZeroAndFlushes) {
  test::ConsoleScript script({});
  Console& console = script.Console();
  EXPECT_EQ(RunGuarded(console, [&] { console.Write("bye"); }), 0);
  EXPECT_EQ(script.Output(), "bye");
}

// Running out of memory anywhere is a failure like the others: reported
// after what was already written, with status 1, never an abort.
TEST(Failure, RunningOutOfMemoryIsReported) {
  test::ConsoleScript script({});
  Console& console = script.Console();
  console.Write("before");
  EXPECT_EQ(RunGuarded(console, [] { throw std::bad_alloc(); }), 1);
  const std::string output = script.Output();
  ASSERT_EQ(output.substr(0, 8), "before\r\n");
  EXPECT_TRUE(test::IsFailureReport(output.substr(8), OutOfMemoryMessage, KindOutOfMemory))
      << test::Cp932ToUtf8(output);
  // The memory given up for the report is held back again for the next run.
  EXPECT_EQ(RunGuarded(console, [] { throw std::bad_alloc(); }), 1);
  EXPECT_EQ(RunGuarded(console, [&] { console.Write("fine"); }), 0);
}

// A console that cannot take even the report: the exit status still tells.
class StarvedDevice : public ConsoleDevice {
 public:
  void Put(std::string_view) override { throw std::bad_alloc(); }
  bool Get(std::string&) override { return false; }
};

TEST(Failure, AReportThatCannotBeWrittenStillEndsWithOne) {
  StarvedDevice device;
  Console console;
  console.Bind(device);
  EXPECT_EQ(RunGuarded(console, [] { throw std::bad_alloc(); }), 1);
  EXPECT_EQ(RunGuarded(console, [] { RaiseFailure(KindInOut, "x"); }), 1);
  EXPECT_EQ(RunGuarded(console, [&] { WaitEnter(console); }), 1);
}

TEST(Failure, CannotOpenNamesTheFile) {
  EXPECT_EQ(CannotOpenMessage("dat/0.dat"), "ファイル dat/0.dat は開けません"_cp);
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

TEST(Transcript, ShowsOutputInUtf8AndTypedLinesEchoed) {
  test::ConsoleScript script({"ソ"_cp});
  Console& console = script.Console();
  console.Write("名前＞"_cp);
  console.ReadLine();
  console.WriteLine("～"_cp);
  // The echo marks are U+27E8 and U+27E9, written as UTF-8 bytes.
  const std::string expected = test::Cp932ToUtf8("名前＞"_cp) + "\xE2\x9F\xA8" + test::Cp932ToUtf8("ソ"_cp) +
                               "\xE2\x9F\xA9\n" + test::Cp932ToUtf8("～\r\n"_cp);
  EXPECT_EQ(script.Transcript(), expected);
  EXPECT_EQ(test::Cp932ToUtf8("～"_cp), "\xEF\xBD\x9E");  // U+FF5E, code page 932's own mapping
}

}  // namespace
}  // namespace velkor
