#include "console/failure.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <new>

#include "console/console_io.h"
#include "platform/failure_location.h"
#include "platform/signals.h"

namespace velkor {

namespace {

// Held back while the game runs and given up when memory runs out, so that
// the report of it can still be built and written. At file scope, so that
// the compiler cannot drop the unused allocation.
constexpr std::size_t ReserveBytes = 64 * 1024;
std::unique_ptr<char[]> reserve;
std::string quitLine;

// Writes the report on the bound console. A console that is gone, or memory
// that is short even now, leaves only the exit status to tell.
void ReportOnConsole(const GameFailure& failure) {
  try {
    if (!AtLineStart()) Write(LineEnd);
    Write(FailureReport(failure));
    FlushOutput();
  } catch (const GameFailure&) {
  } catch (const std::bad_alloc&) {
  }
}

// The quit is calm: the line after what was shown, and nothing more.
void SayQuitLine() {
  try {
    if (!AtLineStart()) Write(LineEnd);
    if (!quitLine.empty()) WriteLine(quitLine);
    FlushOutput();
  } catch (const GameFailure&) {
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void SetQuitLine(std::string_view line) {
  quitLine = line;
  // Ctrl-C at a terminal says the same line, after whatever the player was
  // typing; through pipes a signal ends the game as it always has.
  const std::string said =
      EndOfInputQuits() && !line.empty()
          ? ShownOnScreen(std::string(LineEnd) + std::string(line) + std::string(LineEnd))
          : std::string();
  platform::SetEndSignalLine(said);
}

__attribute__((noinline)) void RaiseFailure(std::string_view kind, std::string_view message) {
  throw GameFailure(kind, message, platform::ImageOffset(__builtin_return_address(0)));
}

std::string CannotOpenMessage(std::string_view fileName) {
  return "ファイル " + std::string(fileName) + " は開けません";
}

std::string FailureReport(const GameFailure& failure) {
  char location[2 + 16 + 1];
  std::snprintf(location, sizeof location, "%08" PRIXPTR, failure.Location());
  std::string report = failure.Kind();
  report += "がモジュール ";
  report += ModuleName;
  report += " の ";
  report += location;
  report += " で発生しました。";
  report += LineEnd;
  report += failure.Message();
  report += LineEnd;
  return report;
}

int RunGuarded(const std::function<void()>& body) {
  if (!reserve) reserve.reset(new (std::nothrow) char[ReserveBytes]);
  try {
    try {
      body();
      FlushOutput();
      return 0;
    } catch (const std::bad_alloc&) {
      reserve.reset();
      RaiseFailure(KindOutOfMemory, OutOfMemoryMessage);
    }
  } catch (const PlayerQuit&) {
    SayQuitLine();
    return 0;
  } catch (const GameFailure& failure) {
    ReportOnConsole(failure);
    return 1;
  } catch (const std::bad_alloc&) {
    return 1;  // not even the failure itself could be made
  }
}

}  // namespace velkor
