// The time category of a locale in WebAssembly. In the browser the host
// gives a language tag (Module.velkorLocale) and Intl tells how it writes a
// date and a time; under Node the environment names a locale as on Linux,
// and the pictures are those the GNU C library has for it (its locale
// sources), since the C library here knows only the C locale.
#include <emscripten.h>

#include <cstdlib>
#include <string_view>

#include "platform/locale.h"

namespace velkor::platform {

namespace {

// clang-format off
EM_JS(int, HasLanguageTag, (), {
  return typeof Module.velkorLocale === "string" && Module.velkorLocale !== "" ? 1 : 0;
});

// The host's language tag as Intl describes it: the date picture, the time
// picture, the 12-hour picture, and the morning's and afternoon's markers,
// each ended by a 0x1F; or -1 when the host gives no tag.
EM_JS(int, IntlPictures, (char* buffer, int size), {
  const tag = Module.velkorLocale;
  if (typeof tag !== "string" || tag === "") return -1;
  const picture = (options, when) => {
    let format;
    try { format = new Intl.DateTimeFormat(tag, options); } catch (e) { format = new Intl.DateTimeFormat("en-US", options); }
    const fields = {year: "%Y", month: "%m", day: "%d", minute: "%M", second: "%S", dayPeriod: "%p"};
    const twelve = format.resolvedOptions().hour12;
    let text = "";
    for (const part of format.formatToParts(when)) {
      if (part.type === "hour") text += twelve ? "%I" : "%H";
      else if (fields[part.type]) text += fields[part.type];
      else text += part.value.replace(/%/g, "%%");
    }
    return [text, format, twelve];
  };
  const morning = new Date(2001, 1, 3, 4, 5, 6);
  const evening = new Date(2001, 1, 3, 16, 5, 6);
  const date = picture({year: "numeric", month: "2-digit", day: "2-digit"}, morning)[0];
  const [time, format, twelve] = picture({hour: "2-digit", minute: "2-digit", second: "2-digit"}, morning);
  const marker = (when) => {
    const part = format.formatToParts(when).find((p) => p.type === "dayPeriod");
    return part ? part.value : "";
  };
  const texts = [date, time, twelve ? time : "", twelve ? marker(morning) : "", twelve ? marker(evening) : ""];
  const mark = String.fromCharCode(31);
  const joined = texts.join(mark) + mark;
  stringToUTF8(joined, buffer, size);
  return lengthBytesUTF8(joined);
});
// clang-format on

// What the GNU C library's locale sources give, by language and territory.
// The texts are UTF-8, written as escapes so that no build converts them.
struct KnownLocale {
  std::string_view name;
  std::string_view date, time, timeAmPm, am, pm;
};

// ja_JP reads "%Y年%m月%d日", "%H時%M分%S秒", "%p%I時%M分%S秒", "午前", "午後".
constexpr KnownLocale KnownLocales[] = {
    {"C", "%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM"},
    {"POSIX", "%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM"},
    {"ja_JP", "%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "%H\xE6\x99\x82%M\xE5\x88\x86%S\xE7\xA7\x92",
     "%p%I\xE6\x99\x82%M\xE5\x88\x86%S\xE7\xA7\x92", "\xE5\x8D\x88\xE5\x89\x8D", "\xE5\x8D\x88\xE5\xBE\x8C"},
    {"en_US", "%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM"},
    {"en_GB", "%d/%m/%y", "%T", "%l:%M:%S %P %Z", "am", "pm"},
    {"de_DE", "%d.%m.%Y", "%T", "", "", ""},
    {"fr_FR", "%d/%m/%Y", "%T", "", "", ""},
};

LocaleTimeTexts FromIntl() {
  char buffer[512];
  const int size = IntlPictures(buffer, sizeof buffer);
  LocaleTimeTexts texts;
  texts.Codeset = "UTF-8";
  if (size < 0 || size >= static_cast<int>(sizeof buffer)) return ReadLocaleTimeTexts("C");
  std::string* fields[] = {&texts.DateFormat, &texts.TimeFormat, &texts.TimeFormatAmPm, &texts.AmText,
                           &texts.PmText};
  std::string_view rest(buffer, static_cast<std::size_t>(size));
  for (std::string* field : fields) {
    const std::size_t end = rest.find('\x1f');
    field->assign(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  return texts;
}

}  // namespace

LocaleTimeTexts ReadLocaleTimeTexts() {
  if (HasLanguageTag() == 1) return FromIntl();
  // As setlocale(LC_TIME, "") chooses.
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return ReadLocaleTimeTexts(value);
  }
  return ReadLocaleTimeTexts("C");
}

LocaleTimeTexts ReadLocaleTimeTexts(const std::string& name) {
  // "ja_JP.UTF-8@modifier" is known by "ja_JP"; the texts here are UTF-8
  // whatever set the name asks for, and convert to the same bytes.
  const std::string_view base = std::string_view(name).substr(0, name.find_first_of(".@"));
  const KnownLocale* known = &KnownLocales[0];
  for (const KnownLocale& locale : KnownLocales)
    if (locale.name == base) known = &locale;
  LocaleTimeTexts texts;
  texts.DateFormat = known->date;
  texts.TimeFormat = known->time;
  texts.TimeFormatAmPm = known->timeAmPm;
  texts.AmText = known->am;
  texts.PmText = known->pm;
  texts.Codeset = "UTF-8";
  return texts;
}

}  // namespace velkor::platform
