// The file routines' policy, the same on every system: how a file is read
// within a limit, replaced through a temporary file, appended to with an
// exact undo, and how a killed writer's leftovers go. What each step does on
// the system is file_system.h's, given by files_posix.cpp or
// files_windows.cpp.
#include "platform/files.h"

#include "platform/file_system.h"
#include "platform/read_limited.h"
#include "platform/signals.h"

namespace velkor::platform {

namespace fs = file_system;

namespace {

struct WriteResult {
  bool complete;
  std::size_t count;  // the bytes that did go in
};

WriteResult WriteCounting(FileHandle file, std::string_view bytes, FileWriter write) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::ptrdiff_t n = write.Write(file, bytes.data() + done, bytes.size() - done);
    if (n < 0 && fs::WriteWasInterrupted()) continue;
    if (n <= 0) return {false, done};
    done += static_cast<std::size_t>(n);
  }
  return {true, done};
}

// A file that is closed when it goes.
class OpenFile {
 public:
  OpenFile() = default;
  ~OpenFile() { Close(); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  FileHandle& Handle() { return file_; }
  bool Close() {
    const FileHandle file = file_;
    file_ = fs::NoFile;
    return file == fs::NoFile || fs::Close(file);
  }

 private:
  FileHandle file_ = fs::NoFile;
};

// At most limit bytes from the start of a regular file; with wholeOnly, a
// file longer than that is refused instead.
ReadStatus ReadRegular(const std::string& path, std::size_t limit, bool wholeOnly, std::string& bytes) {
  bytes.clear();
  OpenFile file;
  std::uint64_t size = 0;
  switch (fs::OpenRegular(path, file.Handle(), size)) {
    case fs::OpenResult::Regular:
      break;
    case fs::OpenResult::Missing:
      return ReadStatus::Missing;
    case fs::OpenResult::NotRegular:
    case fs::OpenResult::Failed:
      return ReadStatus::Refused;
  }
  if (wholeOnly) {
    if (size > limit) return ReadStatus::Refused;  // not read at all
    bytes.reserve(static_cast<std::size_t>(size));
  }
  const FileHandle handle = file.Handle();
  return ReadWithinLimit(
      [handle](char* data, std::size_t count) { return fs::ReadUpTo(handle, data, count); }, limit, wholeOnly,
      bytes);
}

// A new file beside a target under a unique name, so that nothing standing
// at any fixed name can redirect or block it. It is removed when it goes,
// unless it was moved over the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) { file_.Handle() = fs::CreateTemporary(target, path_); }
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) fs::Remove(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() { return file_.Handle() != fs::NoFile; }
  FileHandle Get() { return file_.Handle(); }

  // Flushes the bytes to the disk and moves the file over target. The file
  // stays open, and so locked, until it has its new name: a clean-up by
  // another game never finds it finished and unlocked under its temporary
  // name.
  bool Commit(const std::string& target, const FileWriter& write) {
    if (!fs::FlushToDisk(file_.Handle())) return false;
    if (write.BeforeMove != nullptr) write.BeforeMove();
    if (!fs::MoveOver(file_.Handle(), path_, target)) return false;
    path_.clear();
    // The bytes reached the disk before the move: a close that complains
    // now no longer changes what the target holds.
    file_.Close();
    return true;
  }

 private:
  // Taken first and let go last: an end signal waits until the file is
  // renamed or removed.
  SignalHold hold_;
  std::string path_;
  OpenFile file_;
};

// Moves what stands at target aside as keepOldAs, when asked to, and tells
// whether anything was moved; a folder stays, and the replace then fails
// over it.
bool KeepOld(const std::string& target, const std::string& keepOldAs, bool& kept) {
  const RenameStatus renamed = keepOldAs.empty() ? RenameStatus::Missing : RenameFile(target, keepOldAs);
  kept = renamed == RenameStatus::Renamed;
  return renamed != RenameStatus::Failed;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
  return ReadRegular(path, limit, true, bytes);
}

ReadStatus ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  return ReadRegular(path, count, false, bytes);
}

bool ReplaceFile(const std::string& target, std::string_view bytes, const std::string& keepOldAs,
                 FileWriter write, const FileHooks& hooks) {
  TemporaryFile temporary(target);
  bool kept = false;
  if (!temporary.IsOpen() || !WriteCounting(temporary.Get(), bytes, write).complete ||
      !KeepOld(target, keepOldAs, kept) || !temporary.Commit(target, write))
    return false;
  return hooks.Replaced(target, kept ? keepOldAs : std::string());
}

void RemoveStaleTemporaries(const std::string& target, std::size_t largest) {
  fs::ForEachTemporary(target, [largest](const std::string& path) { fs::RemoveIfStale(path, largest); });
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  // Each folder from the top down; one that cannot be made (a root, a
  // drive, a folder of someone else's) may still stand, which the last tells.
  for (std::size_t at = 1; at < path.size(); ++at) {
    if (path[at] != '/' && path[at] != FolderSeparator()) continue;
    if (path[at - 1] == '/' || path[at - 1] == FolderSeparator() || path[at - 1] == ':') continue;
    fs::MakeFolder(path.substr(0, at));
  }
  return fs::MakeFolder(path);
}

AppendStatus AppendToFile(const std::string& path, std::string_view bytes, FileWriter write,
                          const FileHooks& hooks) {
  fs::AppendFile file;
  const fs::AppendOpen opened = fs::OpenToAppend(path, file);
  if (opened == fs::AppendOpen::Failed) return AppendStatus::CannotOpen;
  const bool created = opened == fs::AppendOpen::Created;
  // Another game appending to the same file waits until this line and its
  // undo are done. Where the system cannot lock, the undo below still cuts
  // only bytes of this call's own.
  std::uint64_t before = 0;
  const bool sized = fs::LockAndMeasure(file, before);

  const WriteResult result = WriteCounting(file.file, bytes, write);
  bool written = result.complete;
  if (!written && sized && !created && result.count > 0) {
    // Cut off the part of the bytes that did go in, and only that: when the
    // file is not exactly that much longer, another writer came in between
    // and its bytes stay.
    std::uint64_t after = 0;
    if (fs::SizeNow(file, after) && after == before + result.count) fs::CutTo(file, before);
  }
  written = fs::CloseAppend(file) && written;
  if (!written && created) fs::Remove(path);
  if (!written || !hooks.Appended(path, bytes)) return AppendStatus::CannotWrite;
  return AppendStatus::Appended;
}

}  // namespace velkor::platform
