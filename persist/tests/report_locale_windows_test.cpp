// Only on Windows: the locales the system knows by name (GetLocaleInfoEx).

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "persist/locale_time.h"
#include "persist/tests/moment.h"
#include "platform/cp932_literal.h"

namespace velkor {
namespace {

using test::Moment;

// The whole date and time of the report, from what Windows says of each
// locale; the afternoon shows the 12-hour clock, the morning the padding.
TEST(WindowsLocale, DateAndTimeOfNamedLocales) {
  // Windows pads the day and month of the Japanese and German short dates;
  // Wine, whose settings come from elsewhere, does not: either is right.
  struct Case {
    const char* name;
    std::set<std::string> afternoon;  // code page 932
    std::set<std::string> morning;
  };
  const Case cases[] = {
      {"ja-JP", {"2026/12/06 15:04:05", "2026/12/6 15:04:05"}, {"2026/01/02 3:04:05", "2026/1/2 3:04:05"}},
      {"en-US", {"12/6/2026 3:04:05 PM"}, {"1/2/2026 3:04:05 AM"}},
      {"de-DE", {"06.12.2026 15:04:05", "6.12.2026 15:04:05"}, {"02.01.2026 03:04:05", "2.1.2026 03:04:05"}},
  };
  const std::tm afternoon = Moment(2026, 12, 6, 15, 4, 5, 0);
  const std::tm morning = Moment(2026, 1, 2, 3, 4, 5, 5);
  for (const Case& c : cases) {
    const ReportLocale locale = DescribeLocale(ReadLocaleTimeTexts(c.name));
    EXPECT_EQ(c.afternoon.count(FormatDateTime(afternoon, locale)), 1u)
        << c.name << ": " << FormatDateTime(afternoon, locale);
    EXPECT_EQ(c.morning.count(FormatDateTime(morning, locale)), 1u)
        << c.name << ": " << FormatDateTime(morning, locale);
  }
}

// The names come in the locale's own words, converted to code page 932.
TEST(WindowsLocale, NamesComeFromTheLocale) {
  const LocaleTimeTexts texts = ReadLocaleTimeTexts("de-DE");
  const ReportLocale locale = DescribeLocale(texts);
  EXPECT_EQ(locale.MonthNames[11], "Dezember");
  EXPECT_EQ(locale.DayNames[0], "Sonntag");
  EXPECT_EQ(locale.DayNames[1], "Montag");
  EXPECT_EQ(DescribeLocale(ReadLocaleTimeTexts("ja-JP")).DayNames[0], "日曜日"_cp);
}

// A name Windows does not know reads as the invariant locale.
TEST(WindowsLocale, AnUnknownNameReadsAsTheInvariantLocale) {
  const ReportLocale locale = DescribeLocale(ReadLocaleTimeTexts("xx-NOWHERE"));
  EXPECT_EQ(FormatDateTime(Moment(2026, 12, 6, 15, 4, 5, 0), locale), "12/06/2026 15:04:05");
}

}  // namespace
}  // namespace velkor
