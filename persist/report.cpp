#include "persist/report.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "console/failure.h"
#include "data/fighter.h"
#include "persist/report_line.h"

namespace velkor {

namespace {

ReportLocale TheLocale;  // read once at start-up

std::string CannotWriteMessage() { return "ファイル " + std::string(ReportFileName) + " に書き込めません"; }

}  // namespace

const ReportLocale& CurrentReportLocale() { return TheLocale; }

void ReadReportLocale() { TheLocale = DescribeLocale(ReadLocaleTimeTexts()); }

std::string ReportLine(std::int32_t killCount, const std::tm& when, const ReportLocale& locale) {
  std::string line = KillsAndTitles(killCount);
  line += "／VELKOR／[";
  line += FormatDateTime(when, locale);
  line += "]／";
  line += GetPlayerName();
  return line;
}

void AppendReport(std::int32_t killCount, std::time_t now, const ReportLocale& locale) {
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) RaiseFailure(KindInOut, "現在の日時を読めません");
  const std::string bytes = ReportLine(killCount, local, locale) + "\r\n";

  const int fd = ::open(ReportPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) RaiseFailure(KindInOut, CannotOpenMessage(ReportFileName));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      RaiseFailure(KindInOut, CannotWriteMessage());
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) RaiseFailure(KindInOut, CannotWriteMessage());
}

void WriteReport(std::int32_t killCount) { AppendReport(killCount, std::time(nullptr), TheLocale); }

}  // namespace velkor
