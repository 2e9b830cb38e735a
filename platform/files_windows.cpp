// The file primitives on Windows (file_system.h): wide names, handles opened
// with the sharing a reader or a replacer needs, a replace renamed through
// the handle that holds it; and the renames and the folder separator of
// files.h.
#include <windows.h>
// windows.h names one of its own functions like ours.
#undef ReplaceFile

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/temporary_name.h"

namespace velkor::platform {

std::ptrdiff_t SystemWrite(FileHandle file, const void* data, std::size_t size) {
  DWORD written = 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!::WriteFile(reinterpret_cast<HANDLE>(file), data, count, &written, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(written);
}

namespace {

HANDLE Win(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle Own(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? file_system::NoFile : reinterpret_cast<FileHandle>(handle);
}

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

// A name beside target that no file had a moment ago, drawn from the clock,
// the process and the attempt.
std::string UniqueName(const std::string& target, unsigned attempt) {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return DrawTemporaryName(target, static_cast<std::uint64_t>(counter.QuadPart) ^
                                       (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                                       (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ULL));
}

// The locked byte lies far past any end: Windows locks are mandatory, and
// readers (Notepad) must still read.
OVERLAPPED LockPlace() {
  OVERLAPPED at{};
  at.Offset = 0xFFFFFFF0u;
  at.OffsetHigh = 0x7FFFFFFFu;
  return at;
}

}  // namespace

namespace file_system {

bool Close(FileHandle file) { return ::CloseHandle(Win(file)) != 0; }

bool WriteWasInterrupted() { return false; }

OpenResult OpenRegular(const std::string& path, FileHandle& file, std::uint64_t& size) {
  const std::wstring name = WideName(path);
  if (name.empty()) return OpenResult::Failed;
  // Read-only (a write-protected file opens as well), letting others read,
  // write and rename it meanwhile.
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
  file = Own(handle);
  // A device or a pipe is refused before anything is read.
  if (::GetFileType(handle) != FILE_TYPE_DISK) return OpenResult::NotRegular;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return OpenResult::Failed;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return OpenResult::NotRegular;
  LARGE_INTEGER length{};
  if (!::GetFileSizeEx(handle, &length)) return OpenResult::Failed;
  size = static_cast<std::uint64_t>(length.QuadPart);
  return OpenResult::Regular;
}

long long ReadUpTo(FileHandle file, char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD got = 0;
    if (!::ReadFile(Win(file), data + done, static_cast<DWORD>(size - done), &got, nullptr)) return -1;
    if (got == 0) break;
    done += got;
  }
  return static_cast<long long>(done);
}

FileHandle CreateTemporary(const std::string& target, std::string& path) {
  if (WideName(target).empty()) return NoFile;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string name = UniqueName(target, attempt);
    // CREATE_NEW never opens what stands there; it tries other names
    // instead. Not shared: a clean-up cannot remove it while it is open.
    // DELETE lets MoveOver rename it through this handle.
    const HANDLE handle = ::CreateFileW(WideName(name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      path = name;
      return Own(handle);
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return NoFile;
}

bool FlushToDisk(FileHandle file) { return ::FlushFileBuffers(Win(file)) != 0; }

bool MoveOver(FileHandle file, const std::string&, const std::string& target) {
  const std::wstring to = WideName(target);
  if (to.empty()) return false;
  // Windows refuses to move a file over a write-protected one; asked first,
  // so that every system that runs the game (Wine too) refuses.
  const DWORD attributes = ::GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  const DWORD needed = ::GetFullPathNameW(to.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(to.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return false;
  // Renamed through the handle that holds the file unshared, so that no
  // clean-up can remove it before it has its new name. The buffer is zeroed:
  // the name is followed by a NUL.
  const std::size_t nameBytes = length * sizeof(wchar_t);
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFO, FileName), full.data(), nameBytes);
  if (!::SetFileInformationByHandle(Win(file), FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
    return false;
  // The new name written through, as far as the system lets a handle ask.
  ::FlushFileBuffers(Win(file));
  return true;
}

void Remove(const std::string& path) { ::DeleteFileW(WideName(path).c_str()); }

bool MakeFolder(const std::string& path) {
  const std::wstring name = WideName(path);
  if (name.empty()) return false;
  if (::CreateDirectoryW(name.c_str(), nullptr) != 0) return true;
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void ForEachTemporary(const std::string& target, const std::function<void(const std::string& path)>& found) {
  const std::size_t slash = target.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string prefix = target.substr(folder.size()) + std::string(TemporaryMark);
  const std::wstring pattern = WideName(target + std::string(TemporaryMark) + "*");
  if (pattern.empty()) return;
  WIN32_FIND_DATAW entry{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) continue;
    std::string name(static_cast<std::size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, name.data(), size, nullptr, nullptr);
    if (IsTemporaryName(name, prefix)) found(folder + name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
}

void RemoveIfStale(const std::string& path, std::size_t largest) {
  const std::wstring name = WideName(path);
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (name.empty() || !::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &info)) return;
  const unsigned long long bytes =
      (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (bytes > largest ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
    return;
  // A live writer opened its file without sharing: the delete fails then.
  ::DeleteFileW(name.c_str());
}

AppendOpen OpenToAppend(const std::string& path, AppendFile& file) {
  const std::wstring name = WideName(path);
  if (name.empty()) return AppendOpen::Failed;
  // Append-only: every write lands at the end as it is then, whatever
  // another game appended meanwhile.
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  constexpr DWORD append = FILE_APPEND_DATA | SYNCHRONIZE;
  HANDLE handle =
      ::CreateFileW(name.c_str(), append, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool created = false;
  if (handle == INVALID_HANDLE_VALUE && IsMissingError(::GetLastError())) {
    // CREATE_NEW, so that the caller knows the file is its own to remove.
    handle = ::CreateFileW(name.c_str(), append, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    created = handle != INVALID_HANDLE_VALUE;
  }
  if (handle == INVALID_HANDLE_VALUE) return AppendOpen::Failed;
  file.file = Own(handle);
  // A second handle that may cut the file, for the undo; it also holds the
  // lock that other games' appends wait for.
  if (::GetFileType(handle) == FILE_TYPE_DISK)
    file.undo = Own(::CreateFileW(name.c_str(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return created ? AppendOpen::Created : AppendOpen::Opened;
}

bool LockAndMeasure(AppendFile& file, std::uint64_t& size) {
  if (file.undo == NoFile) return false;
  OVERLAPPED at = LockPlace();
  file.locked = ::LockFileEx(Win(file.undo), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
  return SizeNow(file, size);
}

bool SizeNow(const AppendFile& file, std::uint64_t& size) {
  LARGE_INTEGER now{};
  if (file.undo == NoFile || !::GetFileSizeEx(Win(file.undo), &now)) return false;
  size = static_cast<std::uint64_t>(now.QuadPart);
  return true;
}

void CutTo(const AppendFile& file, std::uint64_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(size);
  if (::SetFilePointerEx(Win(file.undo), at, nullptr, FILE_BEGIN)) ::SetEndOfFile(Win(file.undo));
}

bool CloseAppend(AppendFile& file) {
  const bool closed = ::CloseHandle(Win(file.file)) != 0;
  if (file.locked) {
    OVERLAPPED at = LockPlace();
    ::UnlockFileEx(Win(file.undo), 0, 1, 0, &at);
  }
  if (file.undo != NoFile) ::CloseHandle(Win(file.undo));
  file.file = file.undo = NoFile;
  file.locked = false;
  return closed;
}

}  // namespace file_system

char FolderSeparator() { return '\\'; }

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

}  // namespace velkor::platform
