// Windows' date and time pictures as strftime formats, so that the settings
// of either system are described the same way.
#include "platform/locale.h"

namespace velkor::platform {

namespace {

// The strftime form of a run of count letters; null for a letter that is
// not a field, empty text for a field that has no form.
const char* FieldFor(char letter, std::size_t count) {
  switch (letter) {
    case 'd':
      return count == 1 ? "%-d" : count == 2 ? "%d" : count == 3 ? "%a" : "%A";
    case 'M':
      return count == 1 ? "%-m" : count == 2 ? "%m" : count == 3 ? "%b" : "%B";
    case 'y':
      return count == 1 ? "%-y" : count == 2 ? "%y" : "%Y";
    case 'h':
      return count == 1 ? "%-I" : "%I";
    case 'H':
      return count == 1 ? "%-H" : "%H";
    case 'm':
      return count == 1 ? "%-M" : "%M";
    case 's':
      return count == 1 ? "%-S" : "%S";
    case 't':
      return "%p";
    case 'g':
      return "";  // the era: no strftime form
    default:
      return nullptr;
  }
}

}  // namespace

std::string StrftimeFromPicture(std::string_view picture) {
  std::string format;
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      // Quoted text, where "''" is one quote; so is "''" outside quotes.
      std::size_t j = i + 1;
      if (j < picture.size() && picture[j] == '\'') {
        format += '\'';
        i = j + 1;
        continue;
      }
      while (j < picture.size()) {
        if (picture[j] == '\'' && j + 1 < picture.size() && picture[j + 1] == '\'') {
          format += '\'';
          j += 2;
        } else if (picture[j] == '\'') {
          break;
        } else {
          format += picture[j] == '%' ? std::string("%%") : std::string(1, picture[j]);
          ++j;
        }
      }
      i = j + 1;
      continue;
    }
    std::size_t count = 1;
    while (i + count < picture.size() && picture[i + count] == c) ++count;
    const char* field = FieldFor(c, count);
    if (field == nullptr) {
      format += c == '%' ? "%%" : std::string(1, c);
      ++i;
      continue;
    }
    if (*field == '\0') return {};
    format += field;
    i += count;
  }
  return format;
}

}  // namespace velkor::platform
