// The process set-up in WebAssembly: the host's file mask, since the C
// library starts with 0777, which would leave every save without
// permissions (unreadable by the page's hooks, and on Node's real disk).
#include <emscripten.h>
#include <sys/stat.h>

#include "platform/process.h"
#include "platform/signals.h"

namespace velkor::platform {

namespace {

// clang-format off
// The file mask of the host: Node's own; in the browser the usual 022.
EM_JS(int, HostFileMask, (), {
  return typeof process === "object" && typeof process.umask === "function" ? process.umask() : 0o022;
});
// clang-format on

}  // namespace

void SetUpProcess(ProcessRole role) {
  ::umask(static_cast<mode_t>(HostFileMask()));
  if (role == ProcessRole::Game) HandleEndSignals();
}

}  // namespace velkor::platform
