#pragma once
// The system's own file operations that the file routines (files.cpp) are
// written over: each system gives these and nothing of the policy, which is
// written once. Names are UTF-8, as in files.h.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_writer.h"
#include "platform/files.h"

namespace velkor::platform::file_system {

// No file: what a handle holds when nothing is open.
inline constexpr FileHandle NoFile = -1;

// Closes file; false when the close reports a failure (a write that did not
// reach the file after all).
bool Close(FileHandle file);

// Whether the write that just failed was only interrupted by a signal and
// can simply be made again.
bool WriteWasInterrupted();

enum class OpenResult { Regular, Missing, NotRegular, Failed };

// Opens path for reading without ever waiting on it (a FIFO or a device is
// NotRegular), and keeps it only when it is a regular file; then file holds
// it and size its size. Whatever the result, an open file is left in file.
OpenResult OpenRegular(const std::string& path, FileHandle& file, std::uint64_t& size);

// Reads up to size bytes, fewer only at the end of the file; the count read,
// or -1 on an error.
long long ReadUpTo(FileHandle file, char* data, std::size_t size);

// Creates a new file beside target under a unique temporary name
// (temporary_name.h), never opening what stands at any name, and holds it so
// that RemoveStaleTemporaries knows it is in use. Gives the open file and its
// name, or NoFile.
FileHandle CreateTemporary(const std::string& target, std::string& path);

// Flushes what was written to file to the disk.
bool FlushToDisk(FileHandle file);

// Renames the file at path, still open as file (from CreateTemporary, and so
// still held), over target so that the rename lasts through a crash; false,
// and nothing renamed, where the system would not replace target.
bool MoveOver(FileHandle file, const std::string& path, const std::string& target);

// Makes one folder at path; true when a folder stands there afterwards.
bool MakeFolder(const std::string& path);

// Removes the file at path, if it can.
void Remove(const std::string& path);

// Calls found with the path of every entry of the folder that holds target
// whose name (the part after the folder) is a temporary name of target's.
void ForEachTemporary(const std::string& target, const std::function<void(const std::string& path)>& found);

// Removes the file at path when it is a regular file (never through a link)
// of at most largest bytes that no live writer holds.
void RemoveIfStale(const std::string& path, std::size_t largest);

// A file opened to append to, with what undoing a failed append needs.
struct AppendFile {
  FileHandle file = NoFile;
  // On Windows a second handle, which may cut the file and holds the lock.
  FileHandle undo = NoFile;
  bool locked = false;
};

enum class AppendOpen { Opened, Created, Failed };

// Opens path to append to without waiting on it, or creates it exclusively
// (never through a link) when nothing stands there. A file this call created
// and could not make ready is removed again.
AppendOpen OpenToAppend(const std::string& path, AppendFile& file);

// Takes the lock that other appends to the file take as well, where the
// system can, and gives the file's size then: false when it has none (not a
// regular file) or cannot tell.
bool LockAndMeasure(AppendFile& file, std::uint64_t& size);

// The file's size now; false when it cannot tell.
bool SizeNow(const AppendFile& file, std::uint64_t& size);

// Cuts the file back to size; a cut that fails leaves nothing more to try.
void CutTo(const AppendFile& file, std::uint64_t size);

// Closes the file, letting the lock go; false when closing the file written
// to reports a failure.
bool CloseAppend(AppendFile& file);

}  // namespace velkor::platform::file_system
