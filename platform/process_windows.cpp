// The process set-up on Windows: no signal for a file size limit or a closed
// pipe (such writes fail as they are), and no file mask.
#include "platform/process.h"
#include "platform/signals.h"

namespace velkor::platform {

void SetUpProcess(ProcessRole role) {
  if (role == ProcessRole::Game) HandleEndSignals();
}

}  // namespace velkor::platform
