// The file routines on a POSIX system.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>

#include "platform/file_events.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/read_limited.h"
#include "platform/signals.h"
#include "platform/temporary_name.h"

namespace velkor::platform {

std::ptrdiff_t SystemWrite(FileHandle file, const void* data, std::size_t size) {
  return ::write(static_cast<int>(file), data, size);
}

namespace {

// Past the file size limit a write then fails with EFBIG, as on a full disk,
// instead of raising the signal that would end the process on the spot.
void IgnoreFileSizeSignal() {
  static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  static_cast<void>(ignored);
}

struct WriteResult {
  bool complete;
  std::size_t count;  // the bytes that did go in
};

WriteResult WriteCounting(int fd, std::string_view bytes, FileWriter write) {
  IgnoreFileSizeSignal();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::ptrdiff_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {false, done};
    done += static_cast<std::size_t>(n);
  }
  return {true, done};
}

bool WriteAll(int fd, std::string_view bytes, FileWriter write) {
  return WriteCounting(fd, bytes, write).complete;
}

// Reads up to size bytes; the count read, or -1 on an error.
ssize_t ReadUpTo(int fd, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// A file descriptor that is closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  // Closes now; false when the close reports a failure (a write that did not
  // reach the file after all).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

enum class OpenResult { Regular, Missing, NotRegular, Failed };

// Opens path for reading without blocking (a FIFO without a writer or a
// device would otherwise stop the game here) and keeps it only when it is a
// regular file; reads then block as usual.
OpenResult OpenRegular(const std::string& path, Descriptor& file, off_t& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? OpenResult::Missing : OpenResult::Failed;
  file.Reset(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return OpenResult::Failed;
  if (!S_ISREG(info.st_mode)) return OpenResult::NotRegular;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return OpenResult::Failed;
  size = info.st_size;
  return OpenResult::Regular;
}

ReadStatus AsReadStatus(OpenResult result) {
  return result == OpenResult::Missing ? ReadStatus::Missing : ReadStatus::Refused;
}

// At most limit bytes from the start of a regular file; with wholeOnly, a
// file longer than that is refused instead.
ReadStatus ReadRegular(const std::string& path, std::size_t limit, bool wholeOnly, std::string& bytes) {
  bytes.clear();
  Descriptor file;
  off_t size = 0;
  const OpenResult opened = OpenRegular(path, file, size);
  if (opened != OpenResult::Regular) return AsReadStatus(opened);
  if (wholeOnly) {
    if (static_cast<std::uintmax_t>(size) > limit) return ReadStatus::Refused;  // not read at all
    bytes.reserve(static_cast<std::size_t>(size));
  }
  const int fd = file.Get();
  return ReadWithinLimit([fd](char* data, std::size_t count) { return ReadUpTo(fd, data, count); }, limit,
                         wholeOnly, bytes);
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

// A new file beside a target, created exclusively under a unique name, so
// that nothing standing at any fixed name can redirect or block it. It is
// removed when it goes, unless it was renamed over the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    for (int attempt = 0; attempt < 100 && !IsOpen(); ++attempt) {
      path_ = target + std::string(TemporaryMark) + "XXXXXX";
      // mkostemp creates with O_EXCL: an existing name, a link included, is
      // never opened; it tries other names instead.
      const int fd = ::mkostemp(path_.data(), O_CLOEXEC);
      if (fd < 0) break;
      // Locked while it lives, so that a start-up's clean-up of leftovers
      // knows it is in use; if one removed it before the lock was taken, a
      // new name is drawn.
      if (::flock(fd, LOCK_EX) == 0 && IsAt(fd, path_)) {
        file_.Reset(fd);
      } else {
        ::close(fd);
      }
    }
    if (!IsOpen()) {
      path_.clear();
      return;
    }
    const int fd = file_.Get();
    // mkostemp gives 0600; a save gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return file_.Get() >= 0; }
  int Get() const { return file_.Get(); }

  // Flushes the bytes to the disk and renames the file over target.
  bool Commit(const std::string& target) {
    const bool synced = ::fsync(file_.Get()) == 0;
    if (!file_.Close() || !synced) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    // The rename itself lasts through a crash once its folder is synced;
    // a folder that cannot be synced still holds the whole new file.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      ::fsync(folder);
      ::close(folder);
    }
    return true;
  }

 private:
  // Taken first and let go last: an end signal waits until the file is
  // renamed or removed.
  SignalHold hold_;
  std::string path_;
  Descriptor file_;
};

}  // namespace

char FolderSeparator() { return '/'; }

ReadStatus ReadWholeFile(const std::string& path, std::size_t limit, std::string& bytes) {
  return ReadRegular(path, limit, true, bytes);
}

ReadStatus ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  return ReadRegular(path, count, false, bytes);
}

namespace {

// Moves what stands at target aside as keepOldAs, when asked to; a folder
// stays, and the replace then fails over it.
bool KeepOld(const std::string& target, const std::string& keepOldAs) {
  return keepOldAs.empty() || RenameFile(target, keepOldAs) != RenameStatus::Failed;
}

}  // namespace

bool ReplaceFile(const std::string& target, std::string_view bytes, const std::string& keepOldAs,
                 FileWriter write) {
  TemporaryFile temporary(target);
  if (!temporary.IsOpen() || !WriteAll(temporary.Get(), bytes, write) || !KeepOld(target, keepOldAs) ||
      !temporary.Commit(target))
    return false;
  TellFileReplaced(target);
  return true;
}

void RemoveStaleTemporaries(const std::string& target, std::size_t largest) {
  const std::string folder = FolderOf(target);
  const std::size_t slash = target.rfind('/');
  const std::string prefix =
      target.substr(slash == std::string::npos ? 0 : slash + 1) + std::string(TemporaryMark);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name, prefix)) continue;
    const std::string path = slash == std::string::npos ? name : folder + "/" + name;
    // Never through a link, never waiting on a FIFO.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > largest)
      continue;
    // A live writer holds the lock; a killed one holds nothing.
    if (::flock(file.Get(), LOCK_EX | LOCK_NB) == 0 && IsAt(file.Get(), path)) ::unlink(path.c_str());
  }
  ::closedir(listing);
}

RenameStatus RenameFile(const std::string& source, const std::string& target) {
  struct stat info {};
  if (::lstat(source.c_str(), &info) != 0)
    return errno == ENOENT ? RenameStatus::Missing : RenameStatus::Failed;
  if (S_ISDIR(info.st_mode)) return RenameStatus::Folder;
  return ::rename(source.c_str(), target.c_str()) == 0 ? RenameStatus::Renamed : RenameStatus::Failed;
}

AppendStatus AppendToFile(const std::string& path, std::string_view bytes, FileWriter write) {
  // Without blocking: a FIFO without a reader fails here instead of waiting.
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  bool created = false;
  if (fd < 0 && errno == ENOENT) {
    // Exclusively, so that this call knows the file is its own to remove,
    // and never through a link that points nowhere.
    fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    created = fd >= 0;
  }
  if (fd < 0) return AppendStatus::CannotOpen;
  Descriptor file(fd);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    file.Close();
    if (created) ::unlink(path.c_str());
    return AppendStatus::CannotOpen;
  }
  struct stat before {};
  const bool regular = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
  // Another game appending to the same file waits until this line and its
  // undo are done; the lock goes with the descriptor. Where the system
  // cannot lock, the undo below still cuts only bytes of this call's own.
  if (regular && ::flock(fd, LOCK_EX) == 0) ::fstat(fd, &before);

  const WriteResult result = WriteCounting(fd, bytes, write);
  bool written = result.complete;
  if (!written && regular && !created && result.count > 0) {
    // Cut off the part of the bytes that did go in, and only that: when the
    // file is not exactly that much longer, another writer came in between
    // and its bytes stay.
    struct stat after {};
    if (::fstat(fd, &after) == 0 && after.st_size == before.st_size + static_cast<off_t>(result.count)) {
      // A cut that fails leaves nothing more to try: the write is reported
      // as failed all the same.
      [[maybe_unused]] const int cut = ::ftruncate(fd, before.st_size);
    }
  }
  written = file.Close() && written;
  if (!written && created) ::unlink(path.c_str());
  if (!written) return AppendStatus::CannotWrite;
  TellFileAppended(path, bytes);
  return AppendStatus::Appended;
}

}  // namespace velkor::platform
