#pragma once

namespace velkor {

// The whole run of one process after the console is bound and the random
// source seeded: the character (loaded or defined), then the hunt.
// Returns the exit status: 0 after a normal end, 1 after a failure report.
int StartUp();

}  // namespace velkor
