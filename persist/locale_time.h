#pragma once
// How the user's locale writes a date and a time of day, reduced to what the
// run report shows, and the text of one moment in that form.

#include <array>
#include <ctime>
#include <string>

#include "platform/locale.h"

namespace velkor {

// All texts are code page 932.
struct ReportLocale {
  // The short date. "%Y" the year, "%y" its last two digits, "%C" the century,
  // "%m" the month, "%d" the day (two digits each), "%e" the day padded with a
  // blank, "%b" "%h" "%B" the month's short and full name, "%a" "%A" the
  // weekday's; "%-m" drops the padding, "%_m" pads with a blank; "%%" is "%".
  // "/" stands for DateSeparator; every other character is written as it is.
  std::string DatePattern = "%Y/%m/%d";
  std::string DateSeparator = "/";
  std::string TimeSeparator = ":";
  bool TwelveHour = false;
  bool HourLeadingZero = true;
  std::string MorningText;        // 12-hour clock, hours 0 to 11
  std::string AfternoonText;      // 12-hour clock, hours 12 to 23
  bool MarkerBeforeTime = false;  // "午後 3:04:05" rather than "3:04:05 PM"
  std::array<std::string, 12> MonthNames{"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
  std::array<std::string, 12> MonthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> DayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> DayAbbreviations{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

// The date, and unless it is exactly midnight one blank and the time: hour,
// separator, two-digit minutes, separator, two-digit seconds, with the
// morning or afternoon text on a 12-hour clock.
std::string FormatDateTime(const std::tm& when, const ReportLocale& locale);

using platform::LocaleTimeTexts;
using platform::ReadLocaleTimeTexts;

// The description of the report's date and time for a locale's settings
// (platform/locale.h), every text converted to code page 932 (a character
// that has no code is written "?").
// A date format with a field the report cannot show gives "%Y/%m/%d"; a time
// whose separators are not one ASCII mark (as in 15時04分05秒) gives ":".
ReportLocale DescribeLocale(const LocaleTimeTexts& texts);

}  // namespace velkor
