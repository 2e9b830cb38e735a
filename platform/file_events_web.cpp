// In WebAssembly the host's hooks are awaited (web/host-contract.md), so that
// the page has stored a change before the game goes on; a host without the
// hook (Node, whose files are the real ones) is not asked.
#include <emscripten.h>

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

EM_ASYNC_JS(void, AwaitFileRenamed, (const char* source, const char* target), {
  if (typeof Module.velkorFileRenamed !== "function") return;
  await Module.velkorFileRenamed(UTF8ToString(source), UTF8ToString(target));
});

EM_JS(int, HasHook, (const char* name), {
  return typeof Module[UTF8ToString(name)] === "function" ? 1 : 0;
});
// clang-format on

}  // namespace

void TellFileReplaced(const std::string& path) {
  // Without a hook the game is not suspended at all.
  if (HasHook("velkorFileReplaced") == 1) AwaitFileReplaced(path.c_str());
}

void TellFileAppended(const std::string& path, std::string_view bytes) {
  if (HasHook("velkorFileAppended") == 1)
    AwaitFileAppended(path.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

void TellFileRenamed(const std::string& source, const std::string& target) {
  if (HasHook("velkorFileRenamed") == 1) AwaitFileRenamed(source.c_str(), target.c_str());
}

}  // namespace velkor::platform
