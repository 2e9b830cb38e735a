#pragma once
// The file system as the game uses it. Every routine works on one name in the
// working folder and stands up to whatever a player or another program may
// have put there: a link, a folder, a FIFO, a device or a huge file can make
// a routine fail, but never redirect, block or exhaust it.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_hooks.h"
#include "platform/file_writer.h"

namespace velkor::platform {

// Names are UTF-8 and relative to the working folder, or absolute. Windows
// takes them as its UTF-16 names.

// The mark between a folder and a name in the paths the game names: "/" on
// POSIX, a backslash on Windows.
char FolderSeparator();

enum class ReadStatus {
  Read,     // the bytes are there
  Missing,  // nothing stands at the name (a link to nothing counts as nothing)
  Refused,  // cannot be opened or read, is not a regular file, or is too large
};

// The whole of a regular file of at most limit bytes. The file is opened
// without blocking, so a FIFO or a device at the name is refused at once.
ReadStatus ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes);

// At most count bytes from the start of a regular file, opened the same way;
// fewer when the file is shorter. The rest of the file is never read.
ReadStatus ReadFileStart(const std::string& path, std::size_t count, std::string& bytes);

// Makes target hold exactly bytes, or leaves it as it was. The bytes go to a
// new file created under a unique name beside target (never through a link),
// which is flushed to the disk and only then renamed over target, so that a
// crash or a full disk never leaves a damaged target; the new file is removed
// on every failure. With keepOldAs, what stood at target is first renamed to
// that name (RenameFile), once the new file is whole.
// The bytes go through write. Once the file is in place, hooks tell the host
// of it and of the file kept (one change); a host that did not store it
// makes the replace a failure, as a full disk does.
bool ReplaceFile(const std::string& target, std::string_view bytes, const std::string& keepOldAs = {},
                 FileWriter write = SystemWrite, const FileHooks& hooks = NoFileHooks);

// Removes what a writer killed in the middle of ReplaceFile (or a power cut)
// left beside target: only regular files of at most largest bytes at the
// exact temporary names of target, and only those no live writer holds (a
// writer locks its temporary file while it writes). Nothing else is touched.
void RemoveStaleTemporaries(const std::string& target, std::size_t largest);

enum class RenameStatus {
  Renamed,  // target is now what stood at source
  Missing,  // nothing stands at source
  Folder,   // a folder stands at source: it is left where it is
  Failed,
};

// Gives whatever stands at source (a file, a FIFO, a link itself rather than
// what it points to) the name target, replacing a file there. Nothing is
// copied, so it takes no time and no room whatever the size. No host is told:
// ReplaceFile tells it of the file it keeps.
RenameStatus RenameFile(const std::string& source, const std::string& target);

// Makes the folder at path and the folders above it that are missing; true
// when a folder stands at path at the end (also when it stood there before).
bool MakeFolders(const std::string& path);

enum class AppendStatus {
  Appended,
  CannotOpen,   // neither opened nor created (a FIFO without a reader too)
  CannotWrite,  // opened, but the bytes could not all be written
};

// Appends bytes to the file at path, creating it when nothing stands there.
// The open never blocks. The bytes go in whole under a lock that other
// appends take as well, so lines of games ending together never tear or
// overwrite each other. When the write fails, a file that this call created
// is removed again and a regular file that was there loses exactly the part
// of bytes that went in, so a failure leaves no empty file, no part of bytes
// and every other writer's bytes behind.
// The bytes go through write. Once they are in, hooks tell the host; a host
// that did not store them makes it CannotWrite (its own copy lacks them).
AppendStatus AppendToFile(const std::string& path, std::string_view bytes, FileWriter write = SystemWrite,
                          const FileHooks& hooks = NoFileHooks);

}  // namespace velkor::platform
