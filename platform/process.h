#pragma once
// What a program of VELKOR sets in its process once, first thing in main:
// the settings that belong to the whole process rather than to one run.

namespace velkor::platform {

enum class ProcessRole {
  // The game: TERM, HUP and INT end it through HandleEndSignals
  // (signals.h), after a save under way has finished.
  Game,
  // velkor-sim, the fuzz driver and the test programs: the signals keep
  // their usual actions, except that a write to a closed pipe fails like
  // any failed write instead of ending the process, so that the program
  // says so and ends with its own status.
  Tool,
};

// Sets the process up for role. For every role, a write past the file size
// limit (ulimit -f) fails like a full disk instead of ending the process,
// and new files get the permissions that the user's file mask leaves (in
// WebAssembly, whose C library starts with a mask of 0777, the host's mask
// is set).
void SetUpProcess(ProcessRole role);

}  // namespace velkor::platform
