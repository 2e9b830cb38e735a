// Reading the time category of the user's locale from the C library, and
// bringing its texts into code page 932.

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "persist/locale_time.h"

namespace velkor {

namespace {

constexpr std::uint32_t NoCode = 0xFFFFFFFF;  // bytes that are no character of the codeset

bool IsAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The characters of text as code points; NoCode for each byte that the
// codeset cannot read. Empty result and false when iconv has no such codeset.
bool CodePoints(const std::string& text, const std::string& codeset, std::vector<std::uint32_t>& points) {
  iconv_t cd = iconv_open("UTF-32LE", codeset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input = text;
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::string wide;
  while (inLeft > 0) {
    char buffer[256];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    wide.append(buffer, static_cast<std::size_t>(out - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Not a character of the codeset: one byte becomes one unknown mark.
      for (std::size_t i = 0; i < 4; ++i) wide += static_cast<char>(0xFF);
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  for (std::size_t i = 0; i + 4 <= wide.size(); i += 4) {
    std::uint32_t point = 0;
    for (std::size_t b = 0; b < 4; ++b)
      point |= static_cast<std::uint32_t>(static_cast<unsigned char>(wide[i + b])) << (8 * b);
    points.push_back(point);
  }
  return true;
}

std::string Item(nl_item item, locale_t locale) {
  const char* text = nl_langinfo_l(item, locale);
  return text != nullptr ? text : "";
}

}  // namespace

std::string ToCp932(const std::string& text, const std::string& codeset) {
  if (IsAscii(text)) return text;
  std::vector<std::uint32_t> points;
  if (!CodePoints(text, codeset, points)) {
    std::string result;
    for (const char c : text) result += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return result;
  }
  iconv_t cd = iconv_open("CP932", "UTF-32LE");
  std::string result;
  for (const std::uint32_t point : points) {
    if (point < 0x80) {
      result += static_cast<char>(point);
      continue;
    }
    char in[4];
    for (std::size_t b = 0; b < 4; ++b) in[b] = static_cast<char>((point >> (8 * b)) & 0xFF);
    char out[8];
    char* src = in;
    std::size_t srcLeft = sizeof in;
    char* dst = out;
    std::size_t dstLeft = sizeof out;
    const bool ok = point != NoCode && cd != reinterpret_cast<iconv_t>(-1) &&
                    iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1) && srcLeft == 0;
    if (ok) {
      result.append(out, static_cast<std::size_t>(dst - out));
    } else {
      result += '?';
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return result;
}

LocaleTimeTexts ReadLocaleTimeTexts() {
  // setlocale finds the name that the environment gives LC_TIME; the process
  // itself stays in the locale it had.
  const char* previous = setlocale(LC_TIME, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  const char* chosen = setlocale(LC_TIME, "");
  const std::string name = chosen != nullptr ? chosen : "C";
  setlocale(LC_TIME, saved.c_str());

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

}  // namespace velkor
