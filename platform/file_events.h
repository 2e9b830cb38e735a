#pragma once
// Telling the host that a file changed, for a host that keeps the files
// elsewhere too (the browser page stores them in IndexedDB): called by the
// file layer after each change succeeded. Nothing is told on a system whose
// files are the real ones.
#include <string>
#include <string_view>

namespace velkor::platform {

// path now holds new contents, whole.
void TellFileReplaced(const std::string& path);

// bytes were appended to path.
void TellFileAppended(const std::string& path, std::string_view bytes);

// What stood at source now stands at target (a refused save.dat kept as
// save.dat.bad).
void TellFileRenamed(const std::string& source, const std::string& target);

}  // namespace velkor::platform
