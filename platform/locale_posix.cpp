// The time category of a locale on a POSIX system, from the C library.

#include <langinfo.h>
#include <locale.h>

#include "platform/locale.h"

namespace velkor::platform {

namespace {

std::string Item(nl_item item, locale_t locale) {
  const char* text = nl_langinfo_l(item, locale);
  return text != nullptr ? text : "";
}

}  // namespace

LocaleTimeTexts ReadLocaleTimeTexts() {
  // setlocale finds the name that the environment gives LC_TIME; the process
  // itself stays in the locale it had.
  const char* previous = setlocale(LC_TIME, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  const char* chosen = setlocale(LC_TIME, "");
  const std::string name = chosen != nullptr ? chosen : "C";
  setlocale(LC_TIME, saved.c_str());
  return ReadLocaleTimeTexts(name);
}

LocaleTimeTexts ReadLocaleTimeTexts(const std::string& name) {
  // The texts of LC_TIME are in that locale's own character set, which may
  // differ from the one LC_CTYPE names: read both from the same locale.
  locale_t locale = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, name.c_str(), static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0))
    locale = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, "C", static_cast<locale_t>(0));
  LocaleTimeTexts texts;
  if (locale == static_cast<locale_t>(0)) return texts;

  texts.DateFormat = Item(D_FMT, locale);
  texts.TimeFormat = Item(T_FMT, locale);
  texts.TimeFormatAmPm = Item(T_FMT_AMPM, locale);
  texts.AmText = Item(AM_STR, locale);
  texts.PmText = Item(PM_STR, locale);
  texts.Codeset = Item(CODESET, locale);
  constexpr nl_item months[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                  MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  constexpr nl_item shortMonths[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                       ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
  constexpr nl_item days[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
  constexpr nl_item shortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
  for (std::size_t i = 0; i < 12; ++i) {
    texts.MonthNames[i] = Item(months[i], locale);
    texts.MonthAbbreviations[i] = Item(shortMonths[i], locale);
  }
  for (std::size_t i = 0; i < 7; ++i) {
    texts.DayNames[i] = Item(days[i], locale);
    texts.DayAbbreviations[i] = Item(shortDays[i], locale);
  }
  freelocale(locale);
  return texts;
}

}  // namespace velkor::platform
