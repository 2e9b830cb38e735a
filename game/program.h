#pragma once
// The whole program as each entry point runs it.

#include "platform/file_hooks.h"

namespace velkor {

// Makes the run, binds its console to the standard streams, seeds its
// random source and plays it; the player's files are told of through hooks,
// the host's (platform::NoFileHooks where the files are the real ones).
// Returns the exit status.
int RunProgram(const platform::FileHooks& hooks);

}  // namespace velkor
