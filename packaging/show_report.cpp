// Only on POSIX systems, for the velkor command's --report.
// velkor-show-report FILE: shows the run report FILE (code page 932, one run
// a line) on standard output as text in the user's character set, the way
// the game shows its own text at a terminal: every control byte but the
// line end as "?", and "?" for what does not convert, so that no report,
// shared or edited, can drive the terminal, and no byte stops the rest. At
// most the last ShownLines lines, after one that says how many were left
// out; a line longer than any run's is cut.
//
// Exit status 0 when the report was shown or there is none yet; 1 when it
// is not a regular file (a FIFO is never waited on), cannot be read, or
// cannot be written out.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "console/terminal_binding.h"
#include "platform/charset.h"
#include "platform/console.h"

namespace {

using velkor::platform::CharsetConverter;

constexpr std::uint64_t ShownLines = 10000;
// A run's line is under 200 bytes; more of one line is not shown.
constexpr std::size_t LongestLine = 4096;

// Says what went wrong, as the velkor command, and gives the status 1.
int Refuse(const std::string& what) {
  std::fprintf(stderr, "velkor: %s\n", what.c_str());
  return 1;
}

// The report as the terminal shows it.
class Screen {
 public:
  Screen() {
    const velkor::TerminalBinding binding =
        velkor::DecideTerminalBinding(false, true, velkor::platform::TerminalCharset());
    if (!binding.convertOutput) return;
    converter_ = std::make_unique<CharsetConverter>(binding.charset, velkor::platform::GameCharset,
                                                    CharsetConverter::Walk::Cp932Pairs);
    if (!converter_->IsOpen()) converter_.reset();
  }

  // One line of the report, without its line end; cut says that more of it
  // was left out.
  void Show(std::string line, bool cut) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // No second byte of a code page 932 character is a control byte, so
    // each one is a character of its own; a lone CR too.
    for (char& byte : line) {
      const auto b = static_cast<unsigned char>(byte);
      if (b < 0x20 || b == 0x7F) byte = velkor::platform::StandIn;
    }
    std::string shown;
    if (converter_)
      converter_->Lenient(line, shown);
    else
      shown.swap(line);
    if (cut) shown += "...";
    shown += '\n';
    std::fwrite(shown.data(), 1, shown.size(), stdout);
  }

 private:
  std::unique_ptr<CharsetConverter> converter_;
};

// Reads the file from its start to its end, or to at most left bytes,
// calling line for each line (cut to LongestLine bytes on a whole
// character); the bytes read, or -1 when the file cannot be read.
template <class Line>
long long EachLine(int fd, std::uint64_t left, Line line) {
  if (::lseek(fd, 0, SEEK_SET) != 0) return -1;
  std::string current;
  bool cut = false;
  char buffer[65536];
  long long read = 0;
  while (left > 0) {
    const ssize_t got =
        ::read(fd, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof buffer)));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    left -= static_cast<std::uint64_t>(got);
    read += got;
    std::string_view rest(buffer, static_cast<std::size_t>(got));
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      const std::string_view part = rest.substr(0, end);
      // Past LongestLine the line is cut on a whole character: a lead byte
      // left at the end goes.
      const std::size_t room = cut ? 0 : LongestLine - current.size();
      current.append(part.substr(0, room));
      if (part.size() > room && !cut) {
        current.resize(velkor::platform::WholeCp932Prefix(current));
        cut = true;
      }
      if (end == std::string_view::npos) break;
      line(current, cut);
      current.clear();
      cut = false;
      rest.remove_prefix(end + 1);
    }
  }
  if (!current.empty() || cut) line(current, cut);
  return read;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Refuse("usage: velkor-show-report FILE");
  const std::string path = argv[1];
  // Without blocking, so that a FIFO is refused rather than waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 && errno == ENOENT && ::lstat(path.c_str(), &info) != 0) {
    std::printf("No run has been reported yet (%s does not exist).\n", path.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (fd < 0 && errno != ENOENT) return Refuse("cannot read " + path + ": " + std::strerror(errno));
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
    return Refuse(path + " is not a regular file; it is not shown");
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return Refuse("cannot read " + path + ": " + std::strerror(errno));

  // The lines as they stand now: a run that ends meanwhile is not shown.
  std::uint64_t lines = 0;
  const long long size = EachLine(fd, UINT64_MAX, [&lines](const std::string&, bool) { ++lines; });
  if (size < 0) return Refuse("cannot read " + path + ": " + std::strerror(errno));
  const std::uint64_t skipped = lines > ShownLines ? lines - ShownLines : 0;
  if (skipped > 0)
    std::printf("(%llu earlier lines of the report are not shown.)\n",
                static_cast<unsigned long long>(skipped));
  Screen screen;
  std::uint64_t number = 0;
  if (EachLine(fd, static_cast<std::uint64_t>(size), [&](const std::string& line, bool cut) {
        if (number++ >= skipped) screen.Show(line, cut);
      }) < 0)
    return Refuse("cannot read " + path + ": " + std::strerror(errno));
  ::close(fd);
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
    return Refuse("cannot write the report: " + std::string(std::strerror(errno)));
  return 0;
}
