#include "console/failure.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <new>

#include "console/console_io.h"
#include "platform/cp932_literal.h"
#include "platform/failure_location.h"

namespace velkor {

namespace {

// Held back while the game runs and given up when memory runs out, so that
// the report of it can still be built and written. At file scope, so that
// the compiler cannot drop the unused allocation; process-wide because the
// memory it stands in for is the process's, not one run's.
constexpr std::size_t ReserveBytes = 64 * 1024;
std::unique_ptr<char[]> reserve;

// Writes the report on the console. A console that is gone, or memory
// that is short even now, leaves only the exit status to tell.
void ReportOnConsole(Console& console, const GameFailure& failure) {
  try {
    if (!console.AtLineStart()) console.Write(LineEnd);
    console.Write(FailureReport(failure));
    console.FlushOutput();
  } catch (const GameFailure&) {
  } catch (const std::bad_alloc&) {
  }
}

// The quit is calm: the line after what was shown, and nothing more.
void SayQuitLine(Console& console) {
  try {
    if (!console.AtLineStart()) console.Write(LineEnd);
    if (!console.QuitLine().empty()) console.WriteLine(console.QuitLine());
    console.FlushOutput();
  } catch (const GameFailure&) {
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

__attribute__((noinline)) void RaiseFailure(std::string_view kind, std::string_view message) {
  throw GameFailure(kind, message, platform::ImageOffset(__builtin_return_address(0)));
}

std::string CannotOpenMessage(std::string_view fileName) {
  return "ファイル "_cp + std::string(fileName) + " は開けません"_cp;
}

std::string FailureReport(const GameFailure& failure) {
  char location[2 + 16 + 1];
  std::snprintf(location, sizeof location, "%08" PRIXPTR, failure.Location());
  std::string report = failure.Kind();
  report += "がモジュール "_cp;
  report += ModuleName;
  report += " の "_cp;
  report += location;
  report += " で発生しました。"_cp;
  report += LineEnd;
  report += failure.Message();
  report += LineEnd;
  return report;
}

int RunGuarded(Console& console, const std::function<void()>& body) {
  if (!reserve) reserve.reset(new (std::nothrow) char[ReserveBytes]);
  try {
    try {
      body();
      console.FlushOutput();
      return 0;
    } catch (const std::bad_alloc&) {
      reserve.reset();
      RaiseFailure(KindOutOfMemory, OutOfMemoryMessage);
    }
  } catch (const PlayerQuit&) {
    SayQuitLine(console);
    return 0;
  } catch (const GameFailure& failure) {
    ReportOnConsole(console, failure);
    return 1;
  } catch (const std::bad_alloc&) {
    return 1;  // not even the failure itself could be made
  }
}

}  // namespace velkor
