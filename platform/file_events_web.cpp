// In WebAssembly the host's hooks are awaited (web/host-contract.md), so that
// the page has stored a change before the game goes on; a host without the
// hook (Node, whose files are the real ones) is not asked.
#include <emscripten.h>
#include <sys/stat.h>

#include "platform/file_events.h"

namespace velkor::platform {

namespace {

// clang-format off
EM_ASYNC_JS(void, AwaitFileReplaced, (const char* path), {
  if (typeof Module.velkorFileReplaced !== "function") return;
  const name = UTF8ToString(path);
  await Module.velkorFileReplaced(name, FS.readFile(name));
});

EM_ASYNC_JS(void, AwaitFileAppended, (const char* path, const char* data, int size), {
  if (typeof Module.velkorFileAppended !== "function") return;
  await Module.velkorFileAppended(UTF8ToString(path), HEAPU8.slice(data, data + size));
});

EM_JS(int, HasHook, (const char* name), {
  return typeof Module[UTF8ToString(name)] === "function" ? 1 : 0;
});

EM_JS(int, HostUmask, (), {
  return typeof process === "object" && typeof process.umask === "function" ? process.umask() : 0o022;
});
// clang-format on

// Emscripten's C library starts with a umask that masks every permission,
// so a replaced save.dat would be made unreadable even to its player; the
// process takes the host's umask instead (Node's, or 022 in the browser).
// Process-wide, as a umask is.
[[maybe_unused]] const mode_t HostUmaskTaken = ::umask(static_cast<mode_t>(HostUmask()));

}  // namespace

void TellFileReplaced(const std::string& path) {
  // Without a hook the game is not suspended at all.
  if (HasHook("velkorFileReplaced") == 1) AwaitFileReplaced(path.c_str());
}

void TellFileAppended(const std::string& path, std::string_view bytes) {
  if (HasHook("velkorFileAppended") == 1)
    AwaitFileAppended(path.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace velkor::platform
