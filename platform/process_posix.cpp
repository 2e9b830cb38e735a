// The process set-up on a POSIX system: the mask is the user's as inherited.
#include <csignal>

#include "platform/process.h"
#include "platform/signals.h"

namespace velkor::platform {

void SetUpProcess(ProcessRole role) {
  // Past the file size limit a write then fails with EFBIG.
  std::signal(SIGXFSZ, SIG_IGN);
  if (role == ProcessRole::Game) {
    HandleEndSignals();
  } else {
    // A closed pipe then fails the write with EPIPE.
    std::signal(SIGPIPE, SIG_IGN);
  }
}

}  // namespace velkor::platform
