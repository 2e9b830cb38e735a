// The run report: the line, and its file.

#include "persist/report_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "console/failure.h"
#include "console/to_cp932.h"
#include "data/fighter.h"
#include "persist/report_line.h"
#include "persist/tests/moment.h"
#include "platform/clock.h"
#include "platform/cp932_literal.h"
#include "platform/file_writer.h"
#include "testsupport/console_script.h"
#include "testsupport/environment.h"
#include "testsupport/system.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

using test::ConsoleScript;
using test::Moment;

ReportLocale TwentyFourHour() { return ReportLocale{}; }  // 2026/12/06 15:04:05

ReportLocale TwelveHour(bool markerFirst, bool leadingZero) {
  ReportLocale locale;
  locale.TwelveHour = true;
  locale.HourLeadingZero = leadingZero;
  locale.MorningText = markerFirst ? "午前"_cp : "AM";
  locale.AfternoonText = markerFirst ? "午後"_cp : "PM";
  locale.MarkerBeforeTime = markerFirst;
  return locale;
}

ReportLocale Dotted() {
  ReportLocale locale;
  locale.DatePattern = "%d/%m/%Y";
  locale.DateSeparator = ".";
  locale.TimeSeparator = ".";
  locale.HourLeadingZero = false;
  return locale;
}

TEST(ReportLine, PiecesInOrder) {
  struct Case {
    const char* what;
    std::int32_t kills;
    std::string titles;
    std::string name;
    std::tm when;
    ReportLocale locale;
    std::string expected;
  };
  const Case cases[] = {
      {"the example", 5, "【鬼殺し】【悪魔殺し】"_cp, "ミナト"_cp, Moment(2026, 12, 6, 15, 4, 5),
       TwentyFourHour(), "【5人斬り】【鬼殺し】【悪魔殺し】／VELKOR／[2026/12/06 15:04:05]／ミナト"_cp},
      {"first battle lost", 0, "", "ソウ"_cp, Moment(2026, 1, 2, 9, 8, 7), TwentyFourHour(),
       "【0人斬り】／VELKOR／[2026/01/02 09:08:07]／ソウ"_cp},
      {"the ending", 12, "【鬼殺し】【悪魔殺し】【竜殺し】【魔女の心を溶かした者】【黒野】"_cp,
       "ABCDEFGHIJKLMNOP", Moment(2026, 12, 31, 23, 59, 59), TwentyFourHour(),
       "【12人斬り】【鬼殺し】【悪魔殺し】【竜殺し】【魔女の心を溶かした者】【黒野】／VELKOR／"_cp
       "[2026/12/31 23:59:59]／ABCDEFGHIJKLMNOP"_cp},
      {"12-hour, marker after", 1, "", "x", Moment(2026, 12, 6, 15, 4, 5), TwelveHour(false, true),
       "【1人斬り】／VELKOR／[2026/12/06 03:04:05 PM]／x"_cp},
      {"12-hour, marker first", 1, "", "x", Moment(2026, 12, 6, 15, 4, 5), TwelveHour(true, false),
       "【1人斬り】／VELKOR／[2026/12/06 午後 3:04:05]／x"_cp},
      {"12-hour, just after midnight", 1, "", "x", Moment(2026, 12, 6, 0, 0, 1), TwelveHour(true, false),
       "【1人斬り】／VELKOR／[2026/12/06 午前 12:00:01]／x"_cp},
      {"12-hour, noon", 1, "", "x", Moment(2026, 12, 6, 12, 0, 0), TwelveHour(false, true),
       "【1人斬り】／VELKOR／[2026/12/06 12:00:00 PM]／x"_cp},
      {"12-hour, a minute before noon", 1, "", "x", Moment(2026, 12, 6, 11, 59, 0), TwelveHour(false, false),
       "【1人斬り】／VELKOR／[2026/12/06 11:59:00 AM]／x"_cp},
      {"exactly midnight", 3, "【鬼殺し】"_cp, "x", Moment(2026, 12, 7, 0, 0, 0), TwentyFourHour(),
       "【3人斬り】【鬼殺し】／VELKOR／[2026/12/07]／x"_cp},
      {"exactly midnight, 12-hour", 3, "", "x", Moment(2026, 12, 7, 0, 0, 0), TwelveHour(true, true),
       "【3人斬り】／VELKOR／[2026/12/07]／x"_cp},
      {"other separators, no leading zero", 2, "", "x", Moment(2026, 3, 4, 5, 6, 7), Dotted(),
       "【2人斬り】／VELKOR／[04.03.2026 5.06.07]／x"_cp},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReportLine(c.kills, c.titles, c.name, c.when, c.locale), c.expected) << c.what;
}

// Only the report line changes the name: a name can never break the line or
// take the CR of its end, second bytes that look like ASCII stay, and what
// code page 932 does not define becomes "?", one for each byte or pair.
TEST(ReportName, ControlBytesAndUndefinedCodesBecomeQuestionMarks) {
  struct Case {
    const char* what;
    std::string name;
    std::string inLine;
  };
  const Case cases[] = {
      {"plain", "ミナト"_cp, "ミナト"_cp},
      {"line ends inside", "a\r\nFAKE\r\nb", "a??FAKE??b"},
      {"every kind of control byte", std::string("\x00\x01\x1F\x7F\t", 5), "?????"},
      {"second bytes 5C and 7C", "ソポ"_cp, "ソポ"_cp},
      {"half-width katakana is one byte", "ｱｲｳ"_cp, "ｱｲｳ"_cp},
      {"a lead byte at the end", "ab\x81", "ab?"},
      {"a lead byte before a control byte", "a\x81\rb", "a??b"},
      {"a lead byte before a NUL", std::string("\x81\x00x", 3), "??x"},
      {"a lead byte before a byte that is no second byte", "\x81 a", "? a"},
      {"a lead byte before DEL", "\x81\x7F", "??"},
      {"undefined single bytes",
       "a\x80\xA0\xFD\xFE\xFF"
       "b",
       "a?????b"},
      {"unassigned pairs, one mark each", "\x81\xAD\x85\x40\xEB\x40", "???"},
      {"a user-defined character stays", "\xF0\x40", "\xF0\x40"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReportName(c.name), c.inLine) << c.what;
}

// Whatever one or two bytes a name holds, the line gets code page 932 that
// converts whole: a reader of the report never stops at a name.
TEST(ReportName, EveryByteAndPairGivesTextThatConverts) {
  CharsetConverter toUtf8("UTF-8", GameCharset);
  ASSERT_TRUE(toUtf8.IsOpen());
  for (int first = 0; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string name(1, static_cast<char>(first));
      if (second >= 0) name += static_cast<char>(second);
      const std::string safe = ReportName(name);
      std::string converted;
      ASSERT_TRUE(toUtf8.Exact(safe, converted)) << first << " " << second;
      for (const char c : safe) ASSERT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << first;
    }
  }
}

// The file tests run in a fresh folder, with the clock read in UTC.
class ReportFolder : public ::testing::Test {
 private:
  test::ScopedTempDir temp_;
  test::ScopedWorkingDir inside_{temp_.Path()};
  test::ScopedEnvironment utc_;

 protected:
  void SetUp() override {
    utc_.Set("TZ", "UTC0");
    ::tzset();
  }
  void TearDown() override {
    utc_.Restore();
    ::tzset();
  }

  static std::string Contents(const std::string& path) { return test::ReadBytes(path); }

  // 2026-12-06 15:04:05 and the midnight that began that day, in UTC.
  static constexpr std::time_t Afternoon = 1796569445;
  static constexpr std::time_t Midnight = 1796515200;
  // The file's name in UTF-8, as a shell lists it.
  const std::string utf8Name = "\xe3\x83\xac\xe3\x83\x9d\xe3\x83\xbc\xe3\x83\x88.txt";
  const std::string folder_ = temp_.Path();
};

TEST_F(ReportFolder, EachCallAddsOneLine) {
  AppendReport(5, "【鬼殺し】【悪魔殺し】"_cp, "ミナト"_cp, Afternoon, ReportLocale{});
  EXPECT_EQ(test::FolderEntries(folder_), std::vector<std::string>{utf8Name});
  const std::string first = "【5人斬り】【鬼殺し】【悪魔殺し】／VELKOR／[2026/12/06 15:04:05]／ミナト\r\n"_cp;
  EXPECT_EQ(Contents(utf8Name), first);

  AppendReport(0, "", "ミナト"_cp, Midnight, ReportLocale{});
  EXPECT_EQ(Contents(utf8Name), first + "【0人斬り】／VELKOR／[2026/12/06]／ミナト\r\n"_cp);
}

TEST_F(ReportFolder, TheFileIsNotKeptOpenBetweenCalls) {
  AppendReport(1, "", "x", Afternoon, ReportLocale{});
  std::filesystem::rename(test::PathOf(utf8Name), "moved.txt");
  AppendReport(2, "", "x", Afternoon, ReportLocale{});
  EXPECT_EQ(Contents("moved.txt"), "【1人斬り】／VELKOR／[2026/12/06 15:04:05]／x\r\n"_cp);
  EXPECT_EQ(Contents(utf8Name), "【2人斬り】／VELKOR／[2026/12/06 15:04:05]／x\r\n"_cp);
}

TEST_F(ReportFolder, AnEarlierFileIsKept) {
  test::WriteBytes(utf8Name, "old line\r\n");
  AppendReport(4, "", "x", Afternoon, ReportLocale{});
  EXPECT_EQ(Contents(utf8Name), "old line\r\n【4人斬り】／VELKOR／[2026/12/06 15:04:05]／x\r\n"_cp);
}

TEST_F(ReportFolder, AFolderInTheFilesPlaceEndsTheRun) {
  ConsoleScript script({});
  ASSERT_TRUE(test::MakeFolder(utf8Name));
  try {
    AppendReport(3, "", "x", Afternoon, ReportLocale{});
    ADD_FAILURE() << "no failure raised";
  } catch (const GameFailure& failure) {
    EXPECT_EQ(failure.Kind(), KindInOut);
    EXPECT_EQ(failure.Message(), "ファイル レポート.txt は開けません"_cp);
  }
  EXPECT_TRUE(test::FolderEntries(folder_ + "/" + utf8Name).empty());

  // Uncaught, it is the failure report and exit status 1.
  script.Console().Write("前の出力"_cp);
  RunReport report;
  EXPECT_EQ(RunGuarded(script.Console(), [&report] { report.Write(3, "", "x"); }), 1);
  EXPECT_TRUE(test::IsFailureReport(script.Output().substr(std::string("前の出力"_cp).size() + 2),
                                    "ファイル レポート.txt は開けません"_cp))
      << test::Cp932ToUtf8(script.Output());
  EXPECT_TRUE(test::FolderEntries(folder_ + "/" + utf8Name).empty());
}

// One run is one line, whatever its name holds; the screen is not changed.
TEST_F(ReportFolder, ANameCanNeverAddOrJoinLines) {
  AppendReport(1, "", "a\r\nFAKE\r\nb", Afternoon, ReportLocale{});
  AppendReport(2, "", "ab\x81", Afternoon, ReportLocale{});  // a lead byte typed alone through a pipe
  EXPECT_EQ(Contents(utf8Name),
            "【1人斬り】／VELKOR／[2026/12/06 15:04:05]／a??FAKE??b\r\n"_cp
            "【2人斬り】／VELKOR／[2026/12/06 15:04:05]／ab?\r\n"_cp);
}

std::ptrdiff_t FailAtOnce(platform::FileHandle, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

// Writes ten bytes, then fails as a full disk would.
std::ptrdiff_t FailAfterTenBytes(platform::FileHandle fd, const void* data, std::size_t size) {
  static bool wrote = false;
  wrote = !wrote;
  if (!wrote) {
    errno = ENOSPC;
    return -1;
  }
  return platform::SystemWrite(fd, data, std::min<std::size_t>(size, 10));
}

// A write that fails leaves the file as it was: no empty file that was not
// there before, and no part of a line after the old ones.
TEST_F(ReportFolder, AFailedWriteLeavesTheFileAsItWas) {
  struct Case {
    const char* what;
    bool fileBefore;
    platform::FileWriter writer;
  };
  const Case cases[] = {
      {"no file before, nothing written", false, FailAtOnce},
      {"no file before, part written", false, FailAfterTenBytes},
      {"a file before, nothing written", true, FailAtOnce},
      {"a file before, part written", true, FailAfterTenBytes},
  };
  for (const Case& c : cases) {
    test::Remove(utf8Name);
    if (c.fileBefore) test::WriteBytes(utf8Name, "old line\r\n");
    try {
      AppendReport(1, "", "x", Afternoon, ReportLocale{}, c.writer);
      ADD_FAILURE() << c.what << ": no failure raised";
    } catch (const GameFailure& failure) {
      EXPECT_EQ(failure.Message(), "ファイル レポート.txt に書き込めません"_cp) << c.what;
    }
    if (c.fileBefore) {
      EXPECT_EQ(Contents(utf8Name), "old line\r\n") << c.what;
    } else {
      EXPECT_TRUE(test::FolderEntries(folder_).empty()) << c.what;
    }
  }
}

bool HostDidNotStore(const std::string&, std::string_view) { return false; }

// A host that keeps the report elsewhere too (the browser page) and did not
// store the line: the run ends as on a full disk.
TEST_F(ReportFolder, ALineTheHostDidNotStoreIsAFailedWrite) {
  const platform::FileHooks host{platform::NoFileHooks.Replaced, HostDidNotStore};
  try {
    AppendReport(1, "", "x", Afternoon, ReportLocale{}, platform::SystemWrite, host);
    ADD_FAILURE() << "no failure raised";
  } catch (const GameFailure& failure) {
    EXPECT_EQ(failure.Message(), "ファイル レポート.txt に書き込めません"_cp);
  }
}

// What stands in the file's place is never waited on, and a link that
// points nowhere does not create a file somewhere else.
TEST_F(ReportFolder, AFifoOrALinkToNothingEndsTheRunAtOnce) {
  VELKOR_ONLY_ON_POSIX("FIFOs and links");
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const std::string name = utf8Name;
  const Case cases[] = {
      {"a FIFO without a reader", [&name] { ASSERT_TRUE(test::MakeFifo(name.c_str())); }},
      {"a link to nothing", [&name] { ASSERT_TRUE(test::MakeSymlink("elsewhere.txt", name.c_str())); }},
  };
  for (const Case& c : cases) {
    test::Remove(utf8Name);
    c.make();
    try {
      AppendReport(1, "", "x", Afternoon, ReportLocale{});
      ADD_FAILURE() << c.what << ": no failure raised";
    } catch (const GameFailure& failure) {
      EXPECT_EQ(failure.Message(), "ファイル レポート.txt は開けません"_cp) << c.what;
    }
    EXPECT_EQ(test::FolderEntries(folder_), std::vector<std::string>{utf8Name}) << c.what;
  }
}

TEST_F(ReportFolder, AClockThatCannotBeReadWritesNothing) {
  VELKOR_NOT_ON_WEB("time_t has 32 bits there, and its largest value is a readable moment");
  EXPECT_THROW(AppendReport(1, "", "x", std::numeric_limits<std::time_t>::max(), ReportLocale{}),
               GameFailure);
  EXPECT_TRUE(test::FolderEntries(folder_).empty());
}

// A run's report reads its own clock, and keeps the line it appended.
TEST_F(ReportFolder, ARunsReportWritesAtItsClocksTime) {
  RunReport report([] { return Afternoon; });
  EXPECT_EQ(report.LastLine(), "");
  report.Write(2, "【鬼殺し】"_cp, "ミナト"_cp);
  const std::string line = "【2人斬り】【鬼殺し】／VELKOR／[2026/12/06 15:04:05]／ミナト"_cp;
  EXPECT_EQ(Contents(utf8Name), line + "\r\n");
  EXPECT_EQ(report.LastLine(), line);
}

// The real clock, with the default locale description.
TEST_F(ReportFolder, ARunsReportReadsTheClockNowByDefault) {
  RunReport report;
  std::tm before{};
  std::tm after{};
  const std::time_t start = std::time(nullptr);
  platform::LocalTime(start, before);
  report.Write(1, "【鬼殺し】"_cp, "ミナト"_cp);
  const std::time_t end = std::time(nullptr);
  platform::LocalTime(end, after);

  const std::string line = Contents(utf8Name);
  EXPECT_TRUE(line == ReportLine(1, "【鬼殺し】"_cp, "ミナト"_cp, before, report.Locale()) + "\r\n" ||
              line == ReportLine(1, "【鬼殺し】"_cp, "ミナト"_cp, after, report.Locale()) + "\r\n")
      << test::Cp932ToUtf8(line);
}

}  // namespace
}  // namespace velkor
