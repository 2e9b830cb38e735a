#pragma once
// A calendar moment for the report tests, as localtime would give it.

#include <ctime>

namespace velkor::test {

// weekday counts from Sunday (0), for the day names.
inline std::tm Moment(int year, int month, int day, int hour, int minute, int second, int weekday = 0) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  when.tm_wday = weekday;
  return when;
}

}  // namespace velkor::test
