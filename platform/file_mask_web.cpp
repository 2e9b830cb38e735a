// The file mask of a WebAssembly program: Node's own; in the browser the
// usual 022.
#include <emscripten.h>
#include <sys/stat.h>

namespace velkor::platform {

namespace {

// clang-format off
EM_JS(int, HostFileMask, (), {
  return typeof process === "object" && typeof process.umask === "function" ? process.umask() : 0o022;
});
// clang-format on

// Emscripten's C library starts with a mask of 0777, which would leave every
// save without permissions (unreadable by the page, and on Node's real disk).
// Process-wide because the mask is; set before main in every web program
// (platform/CMakeLists.txt links this file into each).
[[maybe_unused]] const mode_t InitialFileMask = ::umask(static_cast<mode_t>(HostFileMask()));

}  // namespace

}  // namespace velkor::platform
