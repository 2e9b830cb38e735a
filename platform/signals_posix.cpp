// The end signals on a POSIX system: blocked while a hold lives, so that the
// kernel keeps one pending and delivers it when the mask is restored.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/signals.h"
#include "platform/terminal_mode.h"

namespace velkor::platform {

namespace {

constexpr int EndSignals[] = {SIGTERM, SIGHUP, SIGINT};

std::atomic<EndSignalHook> Hook{nullptr};
int HoldDepth = 0;  // one thread holds: the game's
sigset_t MaskBeforeHold;
// The end signal line, in a fixed buffer: the handler may not allocate.
char Line[1024];
std::size_t LineLength = 0;

sigset_t EndSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : EndSignals) sigaddset(&set, signal);
  return set;
}

// Gives a terminal that the line editor holds its line mode back, says the
// end signal line and calls the hook, then ends the program by the signal
// itself, so that the parent sees the usual cause of death. The signal is
// raised in this process alone, never sent to its process group.
void EndBySignal(int signal) {
  RestoreTerminalLineMode();
  for (std::size_t written = 0; written < LineLength;) {
    const ssize_t n = ::write(STDOUT_FILENO, Line + written, LineLength - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const EndSignalHook hook = Hook.load();
  if (hook != nullptr) hook(signal);
  ::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(signal);
}

}  // namespace

void HandleEndSignals(EndSignalHook hook) {
  Hook.store(hook);
  struct sigaction action {};
  action.sa_handler = EndBySignal;
  // The other end signals wait while one is being handled.
  action.sa_mask = EndSignalSet();
  for (const int signal : EndSignals) {
    struct sigaction old {};
    // A signal ignored by whoever started us (nohup) stays ignored.
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

void SetEndSignalLine(std::string_view bytes) {
  const SignalHold hold;
  LineLength = std::min(bytes.size(), sizeof Line);
  std::copy_n(bytes.data(), LineLength, Line);
}

SignalHold::SignalHold() {
  if (HoldDepth++ > 0) return;
  const sigset_t set = EndSignalSet();
  ::sigprocmask(SIG_BLOCK, &set, &MaskBeforeHold);
}

SignalHold::~SignalHold() {
  // Restoring the mask delivers a pending end signal here.
  if (--HoldDepth == 0) ::sigprocmask(SIG_SETMASK, &MaskBeforeHold, nullptr);
}

}  // namespace velkor::platform
