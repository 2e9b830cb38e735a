// Running a program on Windows: CreateProcessW with pipes, one thread feeding
// the input and one taking the output, so that neither side can stall.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <thread>

#include "testsupport/process_runner.h"
#include "testsupport/test_files.h"

namespace velkor::test {

namespace {

std::wstring Wide(const std::string& utf8) { return PathOf(utf8).wstring(); }

// One argument as the C runtime's parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

class Pipe {
 public:
  Pipe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!::CreatePipe(&read_, &write_, &inherit, 0)) throw std::runtime_error("CreatePipe");
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  HANDLE Read() const { return read_; }
  HANDLE Write() const { return write_; }
  void CloseRead() { Close(read_); }
  void CloseWrite() { Close(write_); }
  // The parent's end is not handed to the child.
  static void KeepOwn(HANDLE handle) { ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0); }

 private:
  static void Close(HANDLE& handle) {
    if (handle != nullptr) ::CloseHandle(handle);
    handle = nullptr;
  }
  HANDLE read_ = nullptr;
  HANDLE write_ = nullptr;
};

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds, const ProcessLimits& limits,
                         bool mergeErrors) {
  if (limits.fileSizeBytes >= 0 || limits.addressSpaceBytes >= 0)
    ADD_FAILURE() << "resource limits are not available on Windows";
  std::wstring commandLine;
  for (const std::string& arg : argv) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(Wide(arg));

  Pipe toChild;
  Pipe fromChild;
  Pipe::KeepOwn(toChild.Write());
  Pipe::KeepOwn(fromChild.Read());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = toChild.Read();
  startup.hStdOutput = fromChild.Write();
  startup.hStdError = mergeErrors ? fromChild.Write() : ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const std::wstring folder = Wide(workDir);
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &startup, &process))
    throw std::runtime_error("CreateProcessW " + argv.front());
  ::CloseHandle(process.hThread);
  toChild.CloseRead();
  fromChild.CloseWrite();

  ProcessResult result;
  // The feeder closes the input when it is all in, so that the child sees
  // its end.
  std::thread feeder([&toChild, &input] {
    const HANDLE inputEnd = toChild.Write();
    const char* data = input.data();
    std::size_t left = input.size();
    while (left > 0) {
      DWORD written = 0;
      if (!::WriteFile(inputEnd, data, static_cast<DWORD>(std::min<std::size_t>(left, 65536)), &written,
                       nullptr))
        break;
      data += written;
      left -= written;
    }
    toChild.CloseWrite();
  });
  const HANDLE outputEnd = fromChild.Read();
  std::thread reader([outputEnd, &result] {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(outputEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
      result.output.append(buffer, got);
  });

  const DWORD waited = ::WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutSeconds) * 1000);
  if (waited != WAIT_OBJECT_0) {
    result.timedOut = true;
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, INFINITE);
  }
  feeder.join();  // ends once the input is all in or the child's end is gone
  reader.join();  // ends once every writer of the output has gone
  DWORD code = 0;
  if (!result.timedOut && ::GetExitCodeProcess(process.hProcess, &code))
    result.exitStatus = static_cast<int>(code);
  ::CloseHandle(process.hProcess);
  return result;
}

}  // namespace velkor::test
