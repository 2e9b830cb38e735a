#include "persist/locale_time.h"

#include <string_view>
#include <vector>

#include "console/to_cp932.h"

namespace velkor {

namespace {

// One piece of a strftime format: a conversion ("%-d") or a run of text.
struct Field {
  bool IsConversion = false;
  char Flag = 0;  // '-', '_', '0', '^', '#' or 0
  char Spec = 0;  // the conversion's letter; 0 for one that is not ASCII
  std::string Text;
};

void AddText(std::vector<Field>& fields, std::string_view text) {
  if (fields.empty() || fields.back().IsConversion) fields.push_back(Field{});
  fields.back().Text += text;
}

std::vector<Field> Tokenize(std::string_view format) {
  std::vector<Field> fields;
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      const std::size_t n = Cp932CharacterLength(format, i);
      AddText(fields, format.substr(i, n));
      i += n;
      continue;
    }
    std::size_t j = i + 1;
    char flag = 0;
    if (j < format.size() && std::string_view("-_0^#").find(format[j]) != std::string_view::npos)
      flag = format[j++];
    while (j < format.size() && format[j] >= '0' && format[j] <= '9') ++j;  // a width: not used
    if (j < format.size() && (format[j] == 'E' || format[j] == 'O')) ++j;   // other eras and digits
    if (j >= format.size()) {
      AddText(fields, format.substr(i));  // a "%" at the end stands for itself
      break;
    }
    const std::size_t n = Cp932CharacterLength(format, j);
    if (format[j] == '%') {
      AddText(fields, "%");
    } else {
      fields.push_back(Field{true, flag, n == 1 ? format[j] : '\0', {}});
    }
    i = j + n;
  }
  return fields;
}

// Replaces the conversions that stand for a whole format by that format.
std::vector<Field> Expand(const std::vector<Field>& fields, std::string_view amPmFormat, int depth = 0) {
  std::vector<Field> out;
  for (const Field& field : fields) {
    std::string_view inner;
    if (field.IsConversion) {
      switch (field.Spec) {
        case 'D':
          inner = "%m/%d/%y";
          break;
        case 'F':
          inner = "%Y-%m-%d";
          break;
        case 'T':
          inner = "%H:%M:%S";
          break;
        case 'R':
          inner = "%H:%M";
          break;
        case 'r':
          inner = depth == 0 ? amPmFormat : std::string_view("%I:%M:%S %p");
          break;
        default:
          break;
      }
    }
    if (inner.empty()) {
      if (field.IsConversion) {
        out.push_back(field);
      } else {
        AddText(out, field.Text);
      }
      continue;
    }
    for (const Field& part : Expand(Tokenize(inner), amPmFormat, depth + 1)) {
      if (part.IsConversion) {
        out.push_back(part);
      } else {
        AddText(out, part.Text);
      }
    }
  }
  return out;
}

bool IsAsciiPunctuation(const std::string& text) {
  if (text.size() != 1) return false;
  const char c = text[0];
  // "?" is what a character without a code became: no separator.
  return c > ' ' && c < 0x7F && c != '%' && c != '?' && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
         !(c >= 'a' && c <= 'z');
}

// The date part of the description: D_FMT in the pattern notation of
// ReportLocale, with its separator taken out when it has one.
void DescribeDate(const std::string& dateFormat, std::string_view amPmFormat, ReportLocale& locale) {
  const std::vector<Field> fields = Expand(Tokenize(dateFormat), amPmFormat);
  bool anyConversion = false;
  for (const Field& field : fields) {
    if (!field.IsConversion) continue;
    if (std::string_view("YyCmdebhBaA").find(field.Spec) == std::string_view::npos || field.Spec == '\0')
      return;  // a field the report cannot show: keep the default pattern
    anyConversion = true;
  }
  if (!anyConversion) return;

  // The separator is the single mark between the first two fields, unless a
  // "/" elsewhere would then be taken for it.
  std::string separator;
  bool slashElsewhere = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].IsConversion) continue;
    const bool between = i > 0 && i + 1 < fields.size();
    if (between && separator.empty() && IsAsciiPunctuation(fields[i].Text)) {
      separator = fields[i].Text;
    } else if (fields[i].Text.find('/') != std::string::npos) {
      slashElsewhere = true;
    }
  }
  if (separator != "/" && slashElsewhere) separator.clear();

  std::string pattern;
  for (const Field& field : fields) {
    if (field.IsConversion) {
      pattern += '%';
      if (field.Flag == '-' || field.Flag == '_' || field.Flag == '0') pattern += field.Flag;
      pattern += field.Spec;
      continue;
    }
    for (std::size_t i = 0; i < field.Text.size();) {
      const std::size_t n = Cp932CharacterLength(field.Text, i);
      const std::string_view c = std::string_view(field.Text).substr(i, n);
      if (c == "%") {
        pattern += "%%";
      } else if (!separator.empty() && c == separator) {
        pattern += '/';
      } else {
        pattern += c;
      }
      i += n;
    }
  }
  locale.DatePattern = pattern;
  locale.DateSeparator = separator.empty() ? "/" : separator;
}

std::size_t FindConversion(const std::vector<Field>& fields, std::string_view specs) {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].IsConversion && fields[i].Spec != '\0' &&
        specs.find(fields[i].Spec) != std::string_view::npos)
      return i;
  return fields.size();
}

// The text between fields[at] and a following conversion spec, if that is how
// the format goes on.
bool TextBefore(const std::vector<Field>& fields, std::size_t at, char spec, std::string& text) {
  if (at + 2 >= fields.size() || fields[at + 1].IsConversion || !fields[at + 2].IsConversion ||
      fields[at + 2].Spec != spec)
    return false;
  text = fields[at + 1].Text;
  return true;
}

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

void DescribeTime(const std::string& timeFormat, std::string_view amPmFormat, ReportLocale& locale) {
  const std::vector<Field> fields = Expand(
      Tokenize(timeFormat.empty() ? std::string_view("%H:%M:%S") : std::string_view(timeFormat)), amPmFormat);
  const std::size_t hour = FindConversion(fields, "HkIl");
  if (hour == fields.size()) return;  // no hour at all: keep the 24-hour default
  const char spec = fields[hour].Spec;
  const char flag = fields[hour].Flag;
  locale.TwelveHour = spec == 'I' || spec == 'l';
  locale.HourLeadingZero = (spec == 'H' || spec == 'I') ? (flag != '-' && flag != '_') : flag == '0';

  const std::size_t marker = FindConversion(fields, "pP");
  locale.MarkerBeforeTime = marker < hour;
  if (marker < fields.size() && fields[marker].Spec == 'P') {
    locale.MorningText = AsciiLower(locale.MorningText);
    locale.AfternoonText = AsciiLower(locale.AfternoonText);
  }

  // One mark for both places (":" or "."); 時 and 分 are not one.
  std::string first;
  std::string second;
  if (TextBefore(fields, hour, 'M', first) && IsAsciiPunctuation(first) &&
      (!TextBefore(fields, hour + 2, 'S', second) || second == first))
    locale.TimeSeparator = first;
}

// value in decimal, padded to width as the flag asks (or by the default pad).
std::string Number(long long value, int width, char flag, char pad) {
  std::string digits = std::to_string(value);
  if (flag == '-') return digits;
  if (flag == '_') pad = ' ';
  if (flag == '0') pad = '0';
  if (digits.size() < static_cast<std::size_t>(width))
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), pad);
  return digits;
}

template <std::size_t N>
const std::string& Name(const std::array<std::string, N>& names, int index) {
  return names[static_cast<std::size_t>(((index % static_cast<int>(N)) + static_cast<int>(N)) %
                                        static_cast<int>(N))];
}

std::string FormatDate(const std::tm& when, const ReportLocale& locale) {
  const long long year = static_cast<long long>(when.tm_year) + 1900;
  const std::string_view pattern = locale.DatePattern;
  std::string text;
  for (std::size_t i = 0; i < pattern.size();) {
    const std::size_t n = Cp932CharacterLength(pattern, i);
    if (pattern[i] == '/') {
      text += locale.DateSeparator;
      i += n;
      continue;
    }
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      text += pattern.substr(i, n);
      i += n;
      continue;
    }
    std::size_t j = i + 1;
    const char flag = (pattern[j] == '-' || pattern[j] == '_' || pattern[j] == '0') ? pattern[j++] : '\0';
    if (j >= pattern.size()) {
      text += pattern.substr(i);
      break;
    }
    switch (pattern[j]) {
      case 'Y':
        text += Number(year, 1, flag, '0');
        break;
      case 'y':
        text += Number(((year % 100) + 100) % 100, 2, flag, '0');
        break;
      case 'C':
        text += Number(year / 100, 2, flag, '0');
        break;
      case 'm':
        text += Number(when.tm_mon + 1, 2, flag, '0');
        break;
      case 'd':
        text += Number(when.tm_mday, 2, flag, '0');
        break;
      case 'e':
        text += Number(when.tm_mday, 2, flag, ' ');
        break;
      case 'b':
      case 'h':
        text += Name(locale.MonthAbbreviations, when.tm_mon);
        break;
      case 'B':
        text += Name(locale.MonthNames, when.tm_mon);
        break;
      case 'a':
        text += Name(locale.DayAbbreviations, when.tm_wday);
        break;
      case 'A':
        text += Name(locale.DayNames, when.tm_wday);
        break;
      case '%':
        text += '%';
        break;
      default:  // not ours: as it stands
        text += pattern.substr(i, j + Cp932CharacterLength(pattern, j) - i);
        break;
    }
    i = j + Cp932CharacterLength(pattern, j);
  }
  return text;
}

}  // namespace

std::string FormatDateTime(const std::tm& when, const ReportLocale& locale) {
  std::string text = FormatDate(when, locale);
  if (when.tm_hour == 0 && when.tm_min == 0 && when.tm_sec == 0) return text;  // exactly midnight

  int hour = when.tm_hour;
  if (locale.TwelveHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  std::string time = Number(hour, locale.HourLeadingZero ? 2 : 1, '\0', '0');
  time += locale.TimeSeparator + Number(when.tm_min, 2, '\0', '0');
  time += locale.TimeSeparator + Number(when.tm_sec, 2, '\0', '0');
  if (locale.TwelveHour) {
    const std::string& marker = when.tm_hour < 12 ? locale.MorningText : locale.AfternoonText;
    if (!marker.empty()) time = locale.MarkerBeforeTime ? marker + " " + time : time + " " + marker;
  }
  return text + " " + time;
}

ReportLocale DescribeLocale(const LocaleTimeTexts& texts) {
  const auto convert = [&](const std::string& text) { return ToCp932(text, texts.Codeset); };
  ReportLocale locale;
  locale.MorningText = convert(texts.AmText);
  locale.AfternoonText = convert(texts.PmText);
  const auto names = [&](const auto& from, auto& to) {
    for (std::size_t i = 0; i < from.size(); ++i)
      if (!from[i].empty()) to[i] = convert(from[i]);
  };
  names(texts.MonthNames, locale.MonthNames);
  names(texts.MonthAbbreviations, locale.MonthAbbreviations);
  names(texts.DayNames, locale.DayNames);
  names(texts.DayAbbreviations, locale.DayAbbreviations);

  const std::string amPm = texts.TimeFormatAmPm.empty() ? "%I:%M:%S %p" : convert(texts.TimeFormatAmPm);
  DescribeDate(convert(texts.DateFormat), amPm, locale);
  DescribeTime(convert(texts.TimeFormat), amPm, locale);
  return locale;
}

}  // namespace velkor
