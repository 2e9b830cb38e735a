// From what the C library says about a locale's time category to the date
// and time that the run report shows.

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "console/to_cp932.h"
#include "persist/locale_time.h"
#include "persist/report_file.h"
#include "persist/report_line.h"
#include "persist/tests/moment.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/system.h"

namespace velkor {
namespace {

using test::Moment;

const std::tm Afternoon = Moment(2026, 12, 6, 15, 4, 5, 0);  // a Sunday
const std::tm Morning = Moment(2026, 1, 2, 3, 4, 5, 5);      // a Friday

LocaleTimeTexts Texts(std::string date, std::string time, std::string amPm, std::string am, std::string pm,
                      std::string codeset) {
  LocaleTimeTexts texts;
  texts.DateFormat = std::move(date);
  texts.TimeFormat = std::move(time);
  texts.TimeFormatAmPm = std::move(amPm);
  texts.AmText = std::move(am);
  texts.PmText = std::move(pm);
  texts.Codeset = std::move(codeset);
  return texts;
}

// UTF-8 and EUC-JP bytes of the Japanese settings, as the C library gives them.
const std::string JaDateUtf8 = "%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5";    // %Y年%m月%d日
const std::string JaTimeUtf8 = "%H\xe6\x99\x82%M\xe5\x88\x86%S\xe7\xa7\x92";    // %H時%M分%S秒
const std::string JaAmPmUtf8 = "%p%I\xe6\x99\x82%M\xe5\x88\x86%S\xe7\xa7\x92";  // %p%I時%M分%S秒
const std::string JaAmUtf8 = "\xe5\x8d\x88\xe5\x89\x8d";                        // 午前
const std::string JaPmUtf8 = "\xe5\x8d\x88\xe5\xbe\x8c";                        // 午後
const std::string JaDateEuc = "%Y\xc7\xaf%m\xb7\xee%d\xc6\xfc";
const std::string JaTimeEuc = "%H\xbb\xfe%M\xca\xac%S\xc9\xc3";
const std::string JaAmPmEuc = "%p%I\xbb\xfe%M\xca\xac%S\xc9\xc3";
const std::string JaAmEuc = "\xb8\xe1\xc1\xb0";
const std::string JaPmEuc = "\xb8\xe1\xb8\xe5";

TEST(ReportLocale, DateAndTimeOfCommonLocales) {
  struct Case {
    const char* what;
    LocaleTimeTexts texts;
    std::string afternoon;  // code page 932
    std::string morning;
  };
  const std::string ascii = "ANSI_X3.4-1968";
  const Case cases[] = {
      {"C", Texts("%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM", ascii), "12/06/26 15:04:05",
       "01/02/26 03:04:05"},
      {"en_US", Texts("%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM", "UTF-8"), "12/06/2026 03:04:05 PM",
       "01/02/2026 03:04:05 AM"},
      {"en_GB", Texts("%d/%m/%y", "%T", "%l:%M:%S %P %Z", "am", "pm", "UTF-8"), "06/12/26 15:04:05",
       "02/01/26 03:04:05"},
      {"de_DE", Texts("%d.%m.%Y", "%T", "", "", "", "UTF-8"), "06.12.2026 15:04:05", "02.01.2026 03:04:05"},
      {"cs_CZ", Texts("%-d.%-m.%Y", "%H:%M:%S", "", "", "", "UTF-8"), "6.12.2026 15:04:05",
       "2.1.2026 03:04:05"},
      {"fi_FI", Texts("%d.%m.%Y", "%H.%M.%S", "", "", "", "UTF-8"), "06.12.2026 15.04.05",
       "02.01.2026 03.04.05"},
      {"hu_HU", Texts("%Y-%m-%d", "%H:%M:%S", "%H:%M:%S", "", "", "UTF-8"), "2026-12-06 15:04:05",
       "2026-01-02 03:04:05"},
      {"ja_JP.UTF-8", Texts(JaDateUtf8, JaTimeUtf8, JaAmPmUtf8, JaAmUtf8, JaPmUtf8, "UTF-8"),
       "2026年12月06日 15:04:05"_cp, "2026年01月02日 03:04:05"_cp},
      // Korean has no code page 932 characters: each becomes "?".
      {"ko_KR",
       Texts("%Y\xeb\x85\x84 %m\xec\x9b\x94 %d\xec\x9d\xbc", "%H\xec\x8b\x9c %M\xeb\xb6\x84 %S\xec\xb4\x88",
             "", "", "", "UTF-8"),
       "2026? 12? 06? 15:04:05", "2026? 01? 02? 03:04:05"},
      // A 12-hour clock with its marker in front and no leading zero.
      {"12-hour, marker first", Texts("%Y/%m/%d", "%p %l:%M:%S", "", JaAmUtf8, JaPmUtf8, "UTF-8"),
       "2026/12/06 午後 3:04:05"_cp, "2026/01/02 午前 3:04:05"_cp},
      {"lower-case marker", Texts("%d/%m/%Y", "%l:%M:%S %P", "", "AM", "PM", "UTF-8"),
       "06/12/2026 3:04:05 pm", "02/01/2026 3:04:05 am"},
      {"names", Texts("%d %b, %Y", "%T", "", "", "", "UTF-8"), "06 Dec, 2026 15:04:05",
       "02 Jan, 2026 03:04:05"},
      {"full names", Texts("%A %e %B %Y", "%T", "", "", "", "UTF-8"), "Sunday  6 December 2026 15:04:05",
       "Friday  2 January 2026 03:04:05"},
      {"whole-format fields", Texts("%D", "%R", "", "", "", "UTF-8"), "12/06/26 15:04:05",
       "01/02/26 03:04:05"},
      {"ISO", Texts("%F", "%T", "", "", "", "UTF-8"), "2026-12-06 15:04:05", "2026-01-02 03:04:05"},
      {"other digits", Texts("%Oy/%Om/%Od", "%OH:%OM:%OS", "", "", "", "UTF-8"), "26/12/06 15:04:05",
       "26/01/02 03:04:05"},
      {"two separators", Texts("%d/%m-%Y", "%T", "", "", "", "UTF-8"), "06/12-2026 15:04:05",
       "02/01-2026 03:04:05"},
      {"a slash that is not the separator", Texts("%d-%m/%Y", "%T", "", "", "", "UTF-8"),
       "06-12/2026 15:04:05", "02-01/2026 03:04:05"},
      {"a field the report cannot show", Texts("%G-%j", "%T", "", "", "", "UTF-8"), "2026/12/06 15:04:05",
       "2026/01/02 03:04:05"},
      {"nothing given", Texts("", "", "", "", "", ""), "2026/12/06 15:04:05", "2026/01/02 03:04:05"},
  };
  for (const Case& c : cases) {
    const ReportLocale locale = DescribeLocale(c.texts);
    EXPECT_EQ(FormatDateTime(Afternoon, locale), c.afternoon) << c.what;
    EXPECT_EQ(FormatDateTime(Morning, locale), c.morning) << c.what;
  }
}

// The pattern notation on its own, as a description given by hand.
TEST(ReportLocale, DatePatterns) {
  struct Case {
    std::string pattern;
    std::string separator;
    std::string expected;
  };
  const Case cases[] = {
      {"%Y/%m/%d", "/", "2026/12/06"},
      {"%d/%m/%Y", "-", "06-12-2026"},
      {"%Y年%m月%d日"_cp, "/", "2026年12月06日"_cp},
      {"%-m/%_d/%e/%0e", ".", "12. 6. 6.06"},
      {"%y%C", "/", "2620"},
      {"%Q%Y", "/", "%Q2026"},          // a field it does not know stands as it is
      {"%ソ/%d"_cp, "/", "%ソ/06"_cp},  // ソ ends in the byte of "\"
      {"100%%/%Y%", "/", "100%/2026%"},
  };
  for (const Case& c : cases) {
    ReportLocale locale;
    locale.DatePattern = c.pattern;
    locale.DateSeparator = c.separator;
    EXPECT_EQ(FormatDateTime(Moment(2026, 12, 6, 0, 0, 0, 0), locale), c.expected) << c.expected;
  }
}

TEST(ReportLocale, NamesComeFromTheLocale) {
  LocaleTimeTexts texts = Texts("%Y/%m/%d(%a)", "%T", "", "", "", "UTF-8");
  texts.DayAbbreviations = {"\xe6\x97\xa5", "\xe6\x9c\x88", "\xe7\x81\xab", "\xe6\xb0\xb4",
                            "\xe6\x9c\xa8", "\xe9\x87\x91", "\xe5\x9c\x9f"};  // 日 月 火 水 木 金 土
  const ReportLocale locale = DescribeLocale(texts);
  EXPECT_EQ(FormatDateTime(Afternoon, locale), "2026/12/06(日) 15:04:05"_cp);
  EXPECT_EQ(FormatDateTime(Morning, locale), "2026/01/02(金) 03:04:05"_cp);
}

TEST(ReportLocale, TextsBecomeCodePage932) {
  struct Case {
    std::string text;
    std::string codeset;
    std::string expected;
  };
  const Case cases[] = {
      {"%d.%m.%Y", "UTF-8", "%d.%m.%Y"},
      {JaPmUtf8, "UTF-8", "午後"_cp},
      {"a\xec\x9b\x94z", "UTF-8", "a?z"},              // a character without a code
      {"a\xff\xfez", "UTF-8", "a??z"},                 // bytes that are no UTF-8
      {"\xe5\x8d", "UTF-8", "??"},                     // a character cut short: each byte
      {"a\xe5\x8d\x88z", "NO-SUCH-CODESET", "a???z"},  // a character set iconv does not know
      {"\xb8\xe1", "ANSI_X3.4-1968", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToCp932(c.text, c.codeset), c.expected) << c.codeset;
}

// A Japanese locale of the C library may give its texts in EUC-JP or
// Shift_JIS instead of UTF-8.
TEST(ReportLocale, JapaneseTextsInOtherSetsBecomeCodePage932) {
  VELKOR_NOT_ON_WEB("its locales are UTF-8, and its table converts no other Japanese set");
  const ReportLocale euc = DescribeLocale(Texts(JaDateEuc, JaTimeEuc, JaAmPmEuc, JaAmEuc, JaPmEuc, "EUC-JP"));
  EXPECT_EQ(FormatDateTime(Afternoon, euc), "2026年12月06日 15:04:05"_cp);
  EXPECT_EQ(FormatDateTime(Morning, euc), "2026年01月02日 03:04:05"_cp);
  EXPECT_EQ(ToCp932(JaPmEuc, "EUC-JP"), "午後"_cp);
  EXPECT_EQ(ToCp932("\x8c\xdf\x8c\xe3", "SHIFT_JIS"), "午後"_cp);
}

}  // namespace
}  // namespace velkor
