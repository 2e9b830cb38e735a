// The end signals on Windows: the console's control events. The handler runs
// on a thread of its own; it waits for the holds to go by taking the same
// lock that a hold takes, then ends the process as Ctrl-C would.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <csignal>

#include "platform/signals.h"

namespace velkor::platform {

namespace {

std::atomic<EndSignalHook> Hook{nullptr};
// The end signal line; read and written only under the hold lock.
char Line[1024];
DWORD LineLength = 0;

// Held by the game's thread while any hold lives.
CRITICAL_SECTION& HoldLock() {
  struct Lock {
    Lock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
  };
  static Lock lock;
  return lock.section;
}

int SignalOf(DWORD event) {
  return event == CTRL_C_EVENT ? SIGINT : event == CTRL_BREAK_EVENT ? SIGBREAK : SIGTERM;
}

BOOL WINAPI EndByEvent(DWORD event) {
  EnterCriticalSection(&HoldLock());  // never left: the process ends here
  DWORD written = 0;
  if (LineLength > 0) WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), Line, LineLength, &written, nullptr);
  const EndSignalHook hook = Hook.load();
  if (hook != nullptr) hook(SignalOf(event));
  // The status a console program ends with on Ctrl-C.
  ExitProcess(static_cast<UINT>(0xC000013AL));
}

}  // namespace

void HandleEndSignals(EndSignalHook hook) {
  Hook.store(hook);
  static const bool installed = ::SetConsoleCtrlHandler(EndByEvent, TRUE) != FALSE;
  static_cast<void>(installed);
}

void SetEndSignalLine(std::string_view bytes) {
  const SignalHold hold;
  LineLength = static_cast<DWORD>(std::min(bytes.size(), sizeof Line));
  std::copy_n(bytes.data(), LineLength, Line);
}

// A critical section may be entered again by its owner, so holds nest.
SignalHold::SignalHold() { EnterCriticalSection(&HoldLock()); }

SignalHold::~SignalHold() { LeaveCriticalSection(&HoldLock()); }

}  // namespace velkor::platform
