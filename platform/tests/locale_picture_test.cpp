#include <gtest/gtest.h>

#include <string>

#include "platform/locale.h"

namespace velkor::platform {
namespace {

TEST(StrftimeFromPicture, WindowsPicturesBecomeStrftimeFormats) {
  struct Case {
    const char* picture;
    const char* format;
  };
  const Case cases[] = {
      {"yyyy/MM/dd", "%Y/%m/%d"},
      {"M/d/yyyy", "%-m/%-d/%Y"},
      {"dd.MM.yy", "%d.%m.%y"},
      {"d-M-y", "%-d-%-m-%-y"},
      {"yyyyy", "%Y"},
      {"ddd, MMM d yyyy", "%a, %b %-d %Y"},
      {"dddd d MMMM yyyy", "%A %-d %B %Y"},
      {"H:mm:ss", "%-H:%M:%S"},
      {"HH:mm:ss", "%H:%M:%S"},
      {"h:mm:ss tt", "%-I:%M:%S %p"},
      {"tt hh:mm:ss", "%p %I:%M:%S"},
      {"t h:m:s", "%p %-I:%-M:%-S"},
      // Quoted text stands as it is, letters and "%" included; '' is a quote.
      {"yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'd'\xE6\x97\xA5'", "%Y\xE5\xB9\xB4%-m\xE6\x9C\x88%-d\xE6\x97\xA5"},
      {"H 'h' mm 'min'", "%-H h %M min"},
      {"d''M 'it''s' %", "%-d'%-m it's %%"},
      {"yyyy 'unclosed", "%Y unclosed"},
      // An era has no strftime form.
      {"gg y/M/d", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StrftimeFromPicture(c.picture), c.format) << c.picture;
}

}  // namespace
}  // namespace velkor::platform
