#include "persist/report_file.h"

#include <cstdint>
#include <string>

#include "console/failure.h"
#include "console/to_cp932.h"
#include "data/fighter.h"
#include "persist/report_line.h"
#include "platform/clock.h"
#include "platform/cp932_literal.h"
#include "platform/cp932_table.h"
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
  for (std::size_t i = 0; i < name.size();) {
    const auto first = static_cast<unsigned char>(name[i]);
    const bool pair =
        IsCp932LeadByte(name[i]) && i + 1 < name.size() && platform::IsCp932TrailByte(name[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    const auto code =
        static_cast<std::uint16_t>(pair ? first << 8 | static_cast<unsigned char>(name[i + 1]) : first);
    // Whatever code page 932 does not define (a lead byte without its
    // second byte, an unassigned pair, 0x80, 0xA0, 0xFD to 0xFF) would stop
    // a reader of the file there.
    if (IsControlByte(name[i]) || !platform::Cp932ToUnicode(code))
      safe += platform::StandIn;
    else
      safe.append(name.substr(i, length));
    i += length;
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
                         std::time_t now, const ReportLocale& locale, platform::FileWriter write,
                         const platform::FileHooks& hooks) {
  std::tm local{};
  if (!platform::LocalTime(now, local)) RaiseFailure(KindInOut, "現在の日時を読めません"_cp);
  std::string line = ReportLine(killCount, titleList, playerName, local, locale);
  const std::string bytes = line + "\r\n";
  switch (platform::AppendToFile(ReportPath, bytes, write, hooks)) {
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
                      platform::FileWriter write, const platform::FileHooks& hooks) {
  lastLine_ = AppendReport(killCount, titleList, playerName, clock_(), locale_, write, hooks);
}

}  // namespace velkor
