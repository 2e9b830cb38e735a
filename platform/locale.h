#pragma once
// What the system tells about how the user's locale writes a date and a time
// of day, as strftime formats and texts.

#include <array>
#include <string>
#include <string_view>

namespace velkor::platform {

// The time settings of a locale, as strftime formats and texts in the
// character set that Codeset names.
struct LocaleTimeTexts {
  std::string DateFormat;                                      // the short date, e.g. "%m/%d/%y"
  std::string TimeFormat;                                      // e.g. "%H:%M:%S" or "%r"
  std::string TimeFormatAmPm;                                  // what "%r" stands for
  std::string AmText;                                          // the morning's marker
  std::string PmText;                                          // the afternoon's marker
  std::string Codeset;                                         // the character set of the texts, e.g. "UTF-8"
  std::array<std::string, 12> MonthNames, MonthAbbreviations;  // empty: the C names
  std::array<std::string, 7> DayNames, DayAbbreviations;       // from Sunday
};

// The user's settings: on POSIX the LC_TIME locale that the environment
// names (as setlocale(LC_TIME, "") chooses it), leaving the process's own
// locale as it was; on Windows the user's default locale.
LocaleTimeTexts ReadLocaleTimeTexts();

// The settings of the locale the system knows by name ("de_DE.UTF-8" on
// POSIX, "de-DE" on Windows); for a name it does not know, those of the C
// locale (on Windows the invariant one).
LocaleTimeTexts ReadLocaleTimeTexts(const std::string& name);

// A date or time picture in Windows' notation ("yyyy/MM/dd", "h:mm:ss tt",
// text in single quotes) as a strftime format; empty when it holds a field
// that strftime has no form for (an era).
std::string StrftimeFromPicture(std::string_view picture);

}  // namespace velkor::platform
