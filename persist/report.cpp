#include "persist/report.h"

#include <string>

#include "console/charset.h"
#include "console/failure.h"
#include "data/fighter.h"
#include "persist/report_line.h"
#include "platform/clock.h"
#include "platform/cp932_literal.h"
#include "platform/files.h"

namespace velkor {

namespace {

std::string CannotWriteMessage() {
  return "ファイル "_cp + std::string(ReportFileName) + " に書き込めません"_cp;
}

bool IsControlByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b < 0x20 || b == 0x7F;
}

}  // namespace

void RunReport::ReadLocale() { locale_ = DescribeLocale(ReadLocaleTimeTexts()); }

std::string ReportName(std::string_view name) {
  std::string safe;
  safe.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    if (!IsCp932LeadByte(name[i])) {
      safe += IsControlByte(name[i]) ? '?' : name[i];
      ++i;
    } else if (i + 1 < name.size() && !IsControlByte(name[i + 1])) {
      safe.append(name.substr(i, 2));
      i += 2;
    } else {
      // A lead byte without its second byte would take the next byte of the
      // file (the CR of the line end) as its own: it is dropped.
      ++i;
    }
  }
  return safe;
}

std::string ReportLine(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
                       const std::tm& when, const ReportLocale& locale) {
  std::string line = KillsAndTitles(killCount, titleList);
  line += "／VELKOR／["_cp;
  line += FormatDateTime(when, locale);
  line += "]／"_cp;
  line += ReportName(playerName);
  return line;
}

std::string AppendReport(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
                         std::time_t now, const ReportLocale& locale, platform::FileWriter write) {
  std::tm local{};
  if (!platform::LocalTime(now, local)) RaiseFailure(KindInOut, "現在の日時を読めません"_cp);
  std::string line = ReportLine(killCount, titleList, playerName, local, locale);
  const std::string bytes = line + "\r\n";
  switch (platform::AppendToFile(ReportPath, bytes, write)) {
    case platform::AppendStatus::Appended:
      break;
    case platform::AppendStatus::CannotOpen:
      RaiseFailure(KindInOut, CannotOpenMessage(ReportFileName));
    case platform::AppendStatus::CannotWrite:
      RaiseFailure(KindInOut, CannotWriteMessage());
  }
  return line;
}

void RunReport::Write(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
                      platform::FileWriter write) {
  lastLine_ = AppendReport(killCount, titleList, playerName, clock_(), locale_, write);
}

}  // namespace velkor
