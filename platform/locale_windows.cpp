// The time settings of a locale on Windows, from GetLocaleInfoEx: pictures in
// Windows' notation turned into strftime formats, texts in UTF-8.
#include <windows.h>

#include "platform/locale.h"

namespace velkor::platform {

namespace {

// The locale's value as UTF-8; empty when the system has none.
std::string Item(const wchar_t* locale, LCTYPE item) {
  wchar_t wide[256];
  const int length = GetLocaleInfoEx(locale, item, wide, static_cast<int>(std::size(wide)));
  if (length <= 1) return {};
  const int wideLength = length - 1;  // without the terminating null
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, text.data(), size, nullptr, nullptr);
  return text;
}

LocaleTimeTexts Read(const wchar_t* locale) {
  LocaleTimeTexts texts;
  texts.Codeset = "UTF-8";
  texts.DateFormat = StrftimeFromPicture(Item(locale, LOCALE_SSHORTDATE));
  texts.TimeFormat = StrftimeFromPicture(Item(locale, LOCALE_STIMEFORMAT));
  texts.TimeFormatAmPm = "%I:%M:%S %p";
  texts.AmText = Item(locale, LOCALE_S1159);
  texts.PmText = Item(locale, LOCALE_S2359);
  for (std::size_t i = 0; i < 12; ++i) {
    texts.MonthNames[i] = Item(locale, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i));
    texts.MonthAbbreviations[i] = Item(locale, LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(i));
  }
  // Windows counts the days from Monday; the texts count them from Sunday.
  for (std::size_t i = 0; i < 7; ++i) {
    const auto fromMonday = static_cast<LCTYPE>((i + 6) % 7);
    texts.DayNames[i] = Item(locale, LOCALE_SDAYNAME1 + fromMonday);
    texts.DayAbbreviations[i] = Item(locale, LOCALE_SABBREVDAYNAME1 + fromMonday);
  }
  return texts;
}

}  // namespace

LocaleTimeTexts ReadLocaleTimeTexts() { return Read(LOCALE_NAME_USER_DEFAULT); }

LocaleTimeTexts ReadLocaleTimeTexts(const std::string& name) {
  std::wstring wide;
  for (const char c : name) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));  // names are ASCII
  if (!IsValidLocaleName(wide.c_str())) return Read(LOCALE_NAME_INVARIANT);
  return Read(wide.c_str());
}

}  // namespace velkor::platform
