// The file primitives on a POSIX system (file_system.h), and the renames and
// the folder separator of files.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/temporary_name.h"

namespace velkor::platform {

std::ptrdiff_t SystemWrite(FileHandle file, const void* data, std::size_t size) {
  return ::write(static_cast<int>(file), data, size);
}

namespace {

int Fd(FileHandle file) { return static_cast<int>(file); }

// Waits as usual again on a file opened without blocking.
bool Blocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// The folder that holds path, for syncing a rename in it.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether the file open as fd is the one at path (not a link, not removed
// or replaced meanwhile).
bool IsAt(int fd, const std::string& path) {
  struct stat open {};
  struct stat named {};
  return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

}  // namespace

namespace file_system {

bool Close(FileHandle file) { return ::close(Fd(file)) == 0; }

bool WriteWasInterrupted() { return errno == EINTR; }

OpenResult OpenRegular(const std::string& path, FileHandle& file, std::uint64_t& size) {
  // Without blocking: a FIFO without a writer or a device would otherwise
  // stop the game here; reads then block as usual.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
  file = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0) return OpenResult::Failed;
  if (!S_ISREG(info.st_mode)) return OpenResult::NotRegular;
  if (!Blocking(fd)) return OpenResult::Failed;
  size = static_cast<std::uint64_t>(info.st_size);
  return OpenResult::Regular;
}

long long ReadUpTo(FileHandle file, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(Fd(file), data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long long>(done);
}

FileHandle CreateTemporary(const std::string& target, std::string& path) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    path = DrawTemporaryName(target, static_cast<std::uint64_t>(now.tv_sec) * 1000000000ULL ^
                                         static_cast<std::uint64_t>(now.tv_nsec) ^
                                         (static_cast<std::uint64_t>(::getpid()) << 32) ^
                                         (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ULL));
    // O_EXCL never opens what stands at the name, a link included; another
    // name is tried instead. 0666: the file gets what the file mask leaves,
    // as any new file does.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      break;
    }
    // Locked while it lives, so that a start-up's clean-up of leftovers
    // knows it is in use; if one removed it before the lock was taken, a
    // new name is drawn.
    if (::flock(fd, LOCK_EX) == 0 && IsAt(fd, path)) return fd;
    ::close(fd);
  }
  path.clear();
  return NoFile;
}

bool FlushToDisk(FileHandle file) { return ::fsync(Fd(file)) == 0; }

bool MoveOver(FileHandle, const std::string& path, const std::string& target) {
  // The lock goes with the open descriptor, not the name: it holds across.
  if (::rename(path.c_str(), target.c_str()) != 0) return false;
  // The rename itself lasts through a crash once its folder is synced; a
  // folder that cannot be synced still holds the whole new file.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void Remove(const std::string& path) { ::unlink(path.c_str()); }

bool MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  struct stat info {};
  return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void ForEachTemporary(const std::string& target, const std::function<void(const std::string& path)>& found) {
  const std::string folder = FolderOf(target);
  const std::size_t slash = target.rfind('/');
  const std::string prefix =
      target.substr(slash == std::string::npos ? 0 : slash + 1) + std::string(TemporaryMark);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (IsTemporaryName(name, prefix)) found(slash == std::string::npos ? name : folder + "/" + name);
  }
  ::closedir(listing);
}

void RemoveIfStale(const std::string& path, std::size_t largest) {
  // Never through a link, never waiting on a FIFO.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  // A live writer holds the lock; a killed one holds nothing.
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uintmax_t>(info.st_size) <= largest && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      IsAt(fd, path))
    ::unlink(path.c_str());
  ::close(fd);
}

AppendOpen OpenToAppend(const std::string& path, AppendFile& file) {
  // Without blocking: a FIFO without a reader fails here instead of waiting.
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  bool created = false;
  if (fd < 0 && errno == ENOENT) {
    // Exclusively, so that the caller knows the file is its own to remove,
    // and never through a link that points nowhere.
    fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    created = fd >= 0;
  }
  if (fd < 0) return AppendOpen::Failed;
  if (!Blocking(fd)) {
    ::close(fd);
    if (created) ::unlink(path.c_str());
    return AppendOpen::Failed;
  }
  file.file = fd;
  file.undo = fd;  // the same descriptor cuts, and holds the lock
  return created ? AppendOpen::Created : AppendOpen::Opened;
}

bool LockAndMeasure(AppendFile& file, std::uint64_t& size) {
  struct stat before {};
  if (::fstat(Fd(file.file), &before) != 0 || !S_ISREG(before.st_mode)) return false;
  // The lock goes with the descriptor; measured again once it is held.
  file.locked = ::flock(Fd(file.file), LOCK_EX) == 0;
  if (file.locked) ::fstat(Fd(file.file), &before);
  size = static_cast<std::uint64_t>(before.st_size);
  return true;
}

bool SizeNow(const AppendFile& file, std::uint64_t& size) {
  struct stat now {};
  if (::fstat(Fd(file.undo), &now) != 0) return false;
  size = static_cast<std::uint64_t>(now.st_size);
  return true;
}

void CutTo(const AppendFile& file, std::uint64_t size) {
  [[maybe_unused]] const int cut = ::ftruncate(Fd(file.undo), static_cast<off_t>(size));
}

bool CloseAppend(AppendFile& file) {
  const bool closed = ::close(Fd(file.file)) == 0;
  file.file = file.undo = NoFile;
  file.locked = false;
  return closed;
}

}  // namespace file_system

char FolderSeparator() { return '/'; }

RenameStatus RenameFile(const std::string& source, const std::string& target) {
  struct stat info {};
  if (::lstat(source.c_str(), &info) != 0)
    return errno == ENOENT ? RenameStatus::Missing : RenameStatus::Failed;
  if (S_ISDIR(info.st_mode)) return RenameStatus::Folder;
  return ::rename(source.c_str(), target.c_str()) == 0 ? RenameStatus::Renamed : RenameStatus::Failed;
}

}  // namespace velkor::platform
