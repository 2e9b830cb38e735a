// Only on POSIX systems: the locale that the environment names, from the C library.

#include <gtest/gtest.h>
#include <locale.h>

#include <string>

#include "persist/locale_time.h"
#include "persist/report_file.h"
#include "persist/report_line.h"
#include "testsupport/environment.h"

namespace velkor {
namespace {

// Sets environment variables for one test and puts them back afterwards.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void Set(const std::string& name, const char* value) { environment_.Set(name, value); }
  static bool HasLocale(const char* name) {
    const locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return false;
    freelocale(locale);
    return true;
  }

 private:
  test::ScopedEnvironment environment_;
};

TEST_F(LocaleEnvironment, TheCLocale) {
  Set("LC_ALL", "C");
  const LocaleTimeTexts texts = ReadLocaleTimeTexts();
  EXPECT_EQ(texts.DateFormat, "%m/%d/%y");
  EXPECT_EQ(texts.TimeFormat, "%H:%M:%S");
  EXPECT_EQ(texts.AmText, "AM");
  EXPECT_EQ(texts.MonthAbbreviations[11], "Dec");
  EXPECT_EQ(texts.DayNames[0], "Sunday");

  RunReport report;
  report.ReadLocale();
  EXPECT_EQ(report.Locale().DatePattern, "%m/%d/%y");
  EXPECT_FALSE(report.Locale().TwelveHour);
}

TEST_F(LocaleEnvironment, AnUnknownLocaleReadsAsC) {
  Set("LC_ALL", "xx_NOWHERE.NOCODESET");
  const LocaleTimeTexts texts = ReadLocaleTimeTexts();
  EXPECT_EQ(texts.DateFormat, "%m/%d/%y");
  EXPECT_EQ(texts.TimeFormat, "%H:%M:%S");
}

// The character set is the time category's own, not that of LC_CTYPE, and
// the process keeps the locale it had.
TEST_F(LocaleEnvironment, TheCodesetIsTheTimeCategorysOwn) {
  if (!HasLocale("C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale here";
  Set("LC_ALL", nullptr);
  Set("LANG", "C");
  Set("LC_CTYPE", "C");
  Set("LC_TIME", "C.UTF-8");
  const std::string before = setlocale(LC_TIME, nullptr);
  EXPECT_EQ(ReadLocaleTimeTexts().Codeset, "UTF-8");
  EXPECT_EQ(setlocale(LC_TIME, nullptr), before);

  Set("LC_TIME", "C");
  Set("LC_CTYPE", "C.UTF-8");
  EXPECT_EQ(ReadLocaleTimeTexts().Codeset, "ANSI_X3.4-1968");
}

}  // namespace
}  // namespace velkor
