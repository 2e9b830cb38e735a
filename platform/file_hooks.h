#pragma once
// What the file routines tell a host that keeps the player's files elsewhere
// too (the browser page keeps them in IndexedDB), so that it has stored each
// change before the game goes on. A program gives the hooks of its host when
// it starts; where the files are the real ones there is nobody to tell.
#include <string>
#include <string_view>

namespace velkor::platform {

struct FileHooks {
  // target now holds new contents, whole; when keptAs is not empty, what
  // stood at target before now stands at keptAs. The host stores the two as
  // one change. True once it has stored it.
  bool (*Replaced)(const std::string& target, const std::string& keptAs);
  // bytes were appended to path. True once the host has stored them.
  bool (*Appended)(const std::string& path, std::string_view bytes);
};

// The files are the real ones: every change is already where it belongs.
inline constexpr FileHooks NoFileHooks{
    [](const std::string&, const std::string&) { return true; },
    [](const std::string&, std::string_view) { return true; },
};

// The browser page's hooks (web/host-contract.md); only the browser module
// has them.
extern const FileHooks PageFileHooks;

}  // namespace velkor::platform
