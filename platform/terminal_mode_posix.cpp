// The held terminal on a POSIX system: its modes, and the handlers of the
// signals that stop, continue, resize or quit the program while it is held.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>

#include "platform/terminal_mode.h"

namespace velkor::platform {

namespace {

constexpr int HeldSignals[] = {SIGTSTP, SIGCONT, SIGWINCH, SIGQUIT};

// Process-wide, as the terminal and the signals are; written only while
// these signals are blocked, read by their handlers.
int HeldFd = -1;
termios LineMode{};
termios EditorMode{};
bool EditorModeKnown = false;
struct sigaction Before[std::size(HeldSignals)]{};
std::atomic<int> Change{static_cast<int>(TerminalChange::None)};

// Blocks every signal that reads the held terminal while it lives.
class BlockHandlers {
 public:
  BlockHandlers() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : HeldSignals) sigaddset(&set, signal);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&set, signal);
    ::sigprocmask(SIG_BLOCK, &set, &before_);
  }
  ~BlockHandlers() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }
  BlockHandlers(const BlockHandlers&) = delete;
  BlockHandlers& operator=(const BlockHandlers&) = delete;

 private:
  sigset_t before_;
};

void SetMode(const termios& mode) { ::tcsetattr(HeldFd, TCSADRAIN, &mode); }

// Ends or stops this process by signal with its usual action, and comes
// back here only when it is continued.
void RaiseAsUsual(int signal) {
  struct sigaction usual {};
  usual.sa_handler = SIG_DFL;
  struct sigaction ours {};
  ::sigaction(signal, &usual, &ours);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(signal);
  ::sigaction(signal, &ours, nullptr);
}

void OnHeldSignal(int signal) {
  const int savedErrno = errno;
  switch (signal) {
    case SIGTSTP:
      // The shell gets the terminal as it gave it while the game is stopped.
      SetMode(LineMode);
      RaiseAsUsual(SIGTSTP);
      [[fallthrough]];
    case SIGCONT:
      if (EditorModeKnown) SetMode(EditorMode);
      Change = static_cast<int>(TerminalChange::Resumed);
      break;
    case SIGWINCH:
      if (Change.load() == static_cast<int>(TerminalChange::None))
        Change = static_cast<int>(TerminalChange::Resized);
      break;
    default:  // SIGQUIT: it ends the program with its core as usual
      SetMode(LineMode);
      RaiseAsUsual(signal);
      break;
  }
  errno = savedErrno;
}

}  // namespace

TerminalModeHold::TerminalModeHold(int fd) {
  const BlockHandlers blocked;
  if (::tcgetattr(fd, &LineMode) != 0) return;
  HeldFd = fd;
  EditorModeKnown = false;
  Change = static_cast<int>(TerminalChange::None);
  struct sigaction action {};
  action.sa_handler = OnHeldSignal;
  // No SA_RESTART: the editor's read sees EINTR and asks what changed.
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(HeldSignals); ++i) {
    ::sigaction(HeldSignals[i], nullptr, &Before[i]);
    // A signal ignored by whoever started us stays ignored.
    if (Before[i].sa_handler != SIG_IGN) ::sigaction(HeldSignals[i], &action, nullptr);
  }
}

TerminalModeHold::~TerminalModeHold() {
  const BlockHandlers blocked;
  if (HeldFd < 0) return;
  for (std::size_t i = 0; i < std::size(HeldSignals); ++i) ::sigaction(HeldSignals[i], &Before[i], nullptr);
  HeldFd = -1;
}

void TerminalModeHold::EditorModeSet() {
  const BlockHandlers blocked;
  if (HeldFd >= 0) EditorModeKnown = ::tcgetattr(HeldFd, &EditorMode) == 0;
}

TerminalChange TakeTerminalChange() {
  return static_cast<TerminalChange>(Change.exchange(static_cast<int>(TerminalChange::None)));
}

void RestoreTerminalLineMode() {
  if (HeldFd >= 0) SetMode(LineMode);
}

}  // namespace velkor::platform
