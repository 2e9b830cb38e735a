#pragma once
// A terminal that the line editor takes out of its line mode while it reads
// a line, put right by the signals that come meanwhile, which the editor
// cannot handle itself: an end signal (signals.h) and QUIT give the
// terminal its line mode back before the program ends, a stop (Ctrl-Z)
// gives it back while the program is stopped and takes the editor's mode
// again when the program goes on, and a change of size is noted. Each
// signal acts on this process alone: nothing is sent to its process group,
// where a wrapper script or a supervisor may be. POSIX systems only.

namespace velkor::platform {

// While it lives, the terminal at fd is looked after. Made before the
// editor takes the terminal, while its mode is still the line mode; at most
// one lives at a time.
class TerminalModeHold {
 public:
  explicit TerminalModeHold(int fd);
  ~TerminalModeHold();
  TerminalModeHold(const TerminalModeHold&) = delete;
  TerminalModeHold& operator=(const TerminalModeHold&) = delete;

  // The editor has set its own mode: the one to take again after a stop.
  void EditorModeSet();
};

enum class TerminalChange {
  None,
  Resized,  // the editor reads the size again
  Resumed,  // the program went on after a stop: the editor draws its line again
};

// What happened to the held terminal since the last call. A read of the
// terminal that such a signal interrupts fails with EINTR, so that the
// editor can ask at once.
TerminalChange TakeTerminalChange();

// From an end signal's handler: gives the held terminal its line mode back;
// nothing when no hold lives. Async-signal-safe.
void RestoreTerminalLineMode();

}  // namespace velkor::platform
