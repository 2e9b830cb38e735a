#pragma once
// The signals that ask the program to end: TERM, HUP and INT on POSIX;
// Ctrl-C, Ctrl-Break and closing the console window on Windows. They end the
// program as usual, except while a SignalHold lives: then they wait until
// the last hold goes, so that a file being replaced is never left half-way
// and no temporary file stays behind.

#include <string_view>

namespace velkor::platform {

// Called once when such a signal is about to end the program, after any
// hold has gone and just before the program ends by the signal's own
// default action. On POSIX it runs inside the signal handler, so it may use
// only async-signal-safe calls (write(2), not iostreams or malloc); on
// Windows it runs on the console's control thread. Null says nothing.
using EndSignalHook = void (*)(int signal);

// Takes the signals over, once, before anything is written (the game's
// process set-up, process.h, does): from then on they end the program
// through the hook. Safe to call again with another hook (the last one
// counts). A terminal that the line editor holds gets its line mode back
// first (terminal_mode.h).
void HandleEndSignals(EndSignalHook hook = nullptr);

// The bytes written to standard output when an end signal ends the program,
// before the hook: at a terminal, the calm line that says the game ends and
// whether the character is saved, already in the terminal's character set.
// Empty writes nothing. Kept to its first 1024 bytes; set it outside any
// handler (it is changed under a SignalHold, so a signal never sees half).
void SetEndSignalLine(std::string_view bytes);

// Holds the end signals off while it lives; holds nest. A signal that
// arrives meanwhile ends the program when the outermost hold goes.
class SignalHold {
 public:
  SignalHold();
  ~SignalHold();
  SignalHold(const SignalHold&) = delete;
  SignalHold& operator=(const SignalHold&) = delete;
};

}  // namespace velkor::platform
