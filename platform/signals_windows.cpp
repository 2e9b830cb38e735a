// The end signals on Windows: the console's control events. The handler runs
// on a thread of its own; it waits for the holds to go by taking the same
// lock that a hold takes, then ends the process as Ctrl-C would.
#include <windows.h>

#include <atomic>
#include <csignal>

#include "platform/signals.h"

namespace velkor::platform {

namespace {

std::atomic<EndSignalHook> Hook{nullptr};

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

// A critical section may be entered again by its owner, so holds nest.
SignalHold::SignalHold() { EnterCriticalSection(&HoldLock()); }

SignalHold::~SignalHold() { LeaveCriticalSection(&HoldLock()); }

}  // namespace velkor::platform
