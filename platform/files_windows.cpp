// The file routines on Windows: wide names, handles opened with the sharing a
// reader or a replacer needs, and a replace through MoveFileExW.
#include <windows.h>
// windows.h names one of its own functions like ours.
#undef ReplaceFile

#include <array>
#include <cstdint>

#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/read_limited.h"
#include "platform/signals.h"
#include "platform/temporary_name.h"

namespace velkor::platform {

std::ptrdiff_t SystemWrite(FileHandle file, const void* data, std::size_t size) {
  DWORD written = 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!::WriteFile(reinterpret_cast<HANDLE>(file), data, count, &written, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(written);
}

namespace {

// The UTF-8 name as Windows takes it; empty when it is not UTF-8.
std::wstring WideName(const std::string& path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), count);
  return wide;
}

bool IsMissingError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

struct WriteResult {
  bool complete;
  std::size_t count;  // the bytes that did go in
};

WriteResult WriteCounting(HANDLE file, std::string_view bytes, FileWriter write) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::ptrdiff_t n =
        write(reinterpret_cast<FileHandle>(file), bytes.data() + done, bytes.size() - done);
    if (n <= 0) return {false, done};
    done += static_cast<std::size_t>(n);
  }
  return {true, done};
}

bool WriteAll(HANDLE file, std::string_view bytes, FileWriter write) {
  return WriteCounting(file, bytes, write).complete;
}

// Reads up to size bytes; the count read, or -1 on an error.
long long ReadUpTo(HANDLE file, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD got = 0;
    if (!::ReadFile(file, data + done, static_cast<DWORD>(size - done), &got, nullptr)) return -1;
    if (got == 0) break;
    done += got;
  }
  return static_cast<long long>(done);
}

// A handle that is closed when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return handle_; }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Closes now; false when the close reports a failure.
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

enum class OpenResult { Regular, Missing, NotRegular, Failed };

// Opens path for reading only (a write-protected file opens as well), letting
// others read, write and rename it meanwhile, and keeps it only when it is a
// file on a disk: a folder cannot be opened this way, and a device or a pipe
// is refused before anything is read.
OpenResult OpenRegular(const std::string& path, Handle& file) {
  const std::wstring name = WideName(path);
  if (name.empty()) return OpenResult::Failed;
  const HANDLE handle =
      ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (IsMissingError(error)) return OpenResult::Missing;
    // A folder at the name: it holds no bytes.
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return OpenResult::NotRegular;
    return OpenResult::Failed;
  }
  file.Reset(handle);
  if (::GetFileType(handle) != FILE_TYPE_DISK) return OpenResult::NotRegular;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return OpenResult::Failed;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return OpenResult::NotRegular;
  return OpenResult::Regular;
}

ReadStatus ReadRegular(const std::string& path, std::size_t limit, bool wholeOnly, std::string& bytes) {
  bytes.clear();
  Handle file;
  switch (OpenRegular(path, file)) {
    case OpenResult::Regular:
      break;
    case OpenResult::Missing:
      return ReadStatus::Missing;
    default:
      return ReadStatus::Refused;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) return ReadStatus::Refused;
  if (wholeOnly) {
    if (static_cast<unsigned long long>(size.QuadPart) > limit)
      return ReadStatus::Refused;  // not read at all
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  const HANDLE handle = file.Get();
  return ReadWithinLimit([handle](char* data, std::size_t count) { return ReadUpTo(handle, data, count); },
                         limit, wholeOnly, bytes);
}

// A name beside target that no file had a moment ago: the target's name,
// TemporaryMark and six letters drawn from the clock, the process and a
// count.
std::wstring UniqueName(const std::wstring& target, unsigned attempt) {
  static constexpr wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  std::uint64_t mix = static_cast<std::uint64_t>(counter.QuadPart) ^
                      (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                      (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ULL);
  std::wstring name = target + WideName(std::string(TemporaryMark));
  for (std::size_t i = 0; i < TemporaryLetters; ++i) {
    mix = mix * 6364136223846793005ULL + 1442695040888963407ULL;
    name += letters[(mix >> 33) % (std::size(letters) - 1)];
  }
  return name;
}

// A new file beside a target, created under a unique name (CREATE_NEW never
// opens what stands there; it tries other names instead). It is removed when
// it goes, unless it was moved over the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(WideName(target)) {
    if (target_.empty()) return;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
      const std::wstring name = UniqueName(target_, attempt);
      const HANDLE handle =
          ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE) {
        file_.Reset(handle);
        path_ = name;
        return;
      }
      const DWORD error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return;
    }
  }
  ~TemporaryFile() {
    file_.Close();
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return file_.IsOpen(); }
  HANDLE Get() const { return file_.Get(); }

  // Flushes the bytes to the disk and moves the file over the target; the
  // move itself is written through before it returns.
  bool Commit() {
    const bool flushed = ::FlushFileBuffers(file_.Get()) != 0;
    if (!file_.Close() || !flushed) return false;
    // Windows refuses to move a file over a write-protected one; asked
    // first, so that every system that runs the game (Wine too) refuses.
    const DWORD attributes = ::GetFileAttributesW(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    if (!::MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return false;
    path_.clear();
    return true;
  }

 private:
  // Taken first and let go last: an end signal waits until the file is
  // renamed or removed.
  SignalHold hold_;
  std::wstring target_;
  std::wstring path_;
  Handle file_;
};

}  // namespace

char FolderSeparator() { return '\\'; }

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
  return temporary.IsOpen() && WriteAll(temporary.Get(), bytes, write) && KeepOld(target, keepOldAs) &&
         temporary.Commit();
}

void RemoveStaleTemporaries(const std::string& target, std::size_t largest) {
  const std::size_t slash = target.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string prefix = target.substr(folder.size()) + std::string(TemporaryMark);
  const std::wstring pattern = WideName(target + std::string(TemporaryMark) + "*");
  if (pattern.empty()) return;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, found.cFileName, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) continue;
    std::string name(static_cast<std::size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, found.cFileName, -1, name.data(), size, nullptr, nullptr);
    const unsigned long long bytes =
        (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (!IsTemporaryName(name, prefix) || bytes > largest ||
        (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
      continue;
    // A live writer opened its file without sharing: the delete fails then.
    ::DeleteFileW(WideName(folder + name).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

RenameStatus RenameFile(const std::string& source, const std::string& target) {
  const std::wstring from = WideName(source);
  const std::wstring to = WideName(target);
  if (from.empty() || to.empty()) return RenameStatus::Failed;
  const DWORD attributes = ::GetFileAttributesW(from.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return IsMissingError(::GetLastError()) ? RenameStatus::Missing : RenameStatus::Failed;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return RenameStatus::Folder;
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? RenameStatus::Renamed
             : RenameStatus::Failed;
}

AppendStatus AppendToFile(const std::string& path, std::string_view bytes, FileWriter write) {
  const std::wstring name = WideName(path);
  if (name.empty()) return AppendStatus::CannotOpen;
  // Append-only: every write lands at the end as it is then, whatever another
  // game appended meanwhile.
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  constexpr DWORD append = FILE_APPEND_DATA | SYNCHRONIZE;
  HANDLE handle =
      ::CreateFileW(name.c_str(), append, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool created = false;
  if (handle == INVALID_HANDLE_VALUE && IsMissingError(::GetLastError())) {
    // CREATE_NEW, so that this call knows the file is its own to remove.
    handle = ::CreateFileW(name.c_str(), append, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    created = handle != INVALID_HANDLE_VALUE;
  }
  if (handle == INVALID_HANDLE_VALUE) return AppendStatus::CannotOpen;
  Handle file(handle);
  // A second handle that may cut the file, for the undo; it also holds the
  // lock that other games' appends wait for. Windows locks are mandatory, so
  // the locked byte lies far past any end: readers (Notepad) still read.
  Handle undo;
  OVERLAPPED lockAt{};
  lockAt.Offset = 0xFFFFFFF0u;
  lockAt.OffsetHigh = 0x7FFFFFFFu;
  bool locked = false;
  if (::GetFileType(handle) == FILE_TYPE_DISK) {
    undo.Reset(::CreateFileW(name.c_str(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    locked = undo.IsOpen() && ::LockFileEx(undo.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockAt);
  }
  LARGE_INTEGER before{};
  const bool sized = undo.IsOpen() && ::GetFileSizeEx(undo.Get(), &before);

  const WriteResult result = WriteCounting(handle, bytes, write);
  bool written = result.complete;
  if (!written && sized && !created && result.count > 0) {
    // Cut off the part of the bytes that did go in, and only that: when the
    // file is not exactly that much longer, another writer came in between
    // and its bytes stay.
    LARGE_INTEGER after{};
    if (::GetFileSizeEx(undo.Get(), &after) &&
        after.QuadPart == before.QuadPart + static_cast<LONGLONG>(result.count) &&
        ::SetFilePointerEx(undo.Get(), before, nullptr, FILE_BEGIN))
      ::SetEndOfFile(undo.Get());
  }
  written = file.Close() && written;
  if (locked) ::UnlockFileEx(undo.Get(), 0, 1, 0, &lockAt);
  undo.Close();
  if (!written && created) ::DeleteFileW(name.c_str());
  return written ? AppendStatus::Appended : AppendStatus::CannotWrite;
}

}  // namespace velkor::platform
