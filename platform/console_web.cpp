// The standard console in WebAssembly: the host's hooks (see
// web/host-contract.md). A line is awaited from Module.velkorReadLine, which
// suspends the game (asyncify) until it comes; output is kept until the game
// flushes, once before each read, and handed to Module.velkorWrite whole.
// Under Node the module's defaults put these on process.stdin and stdout.
#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <streambuf>
#include <vector>

#include "platform/charset.h"
#include "platform/console.h"

namespace velkor::platform {

namespace {

// clang-format off
EM_ASYNC_JS(int, AwaitLine, (), {
  const line = await Module.velkorReadLine();
  if (line === null || line === undefined) return -1;
  Module.velkorLine = line;
  return line.length;
});

EM_JS(void, TakeLine, (char* buffer), {
  HEAPU8.set(Module.velkorLine, buffer);
  Module.velkorLine = null;
});

EM_JS(void, WriteBytes, (const char* data, int size), {
  Module.velkorWrite(HEAPU8.subarray(data, data + size));
});

EM_JS(int, ConsoleFlag, (const char* name), {
  const console = Module.velkorConsole;
  return console && console[UTF8ToString(name)] ? 1 : 0;
});

// The host's character set into buffer; its length, or -1 when none is given.
EM_JS(int, ConsoleCharset, (char* buffer, int size), {
  const console = Module.velkorConsole;
  if (!console || typeof console.charset !== "string") return -1;
  stringToUTF8(console.charset, buffer, size);
  return lengthBytesUTF8(console.charset);
});
// clang-format on

// Each line awaited from the host, with the LF that the host took off.
class LineBuffer : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const int size = AwaitLine();
    if (size < 0) return traits_type::eof();
    line_.resize(static_cast<std::size_t>(size) + 1);
    TakeLine(line_.data());
    line_.back() = '\n';
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<char> line_;
};

// Output kept until the next flush.
class FlushedBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int sync() override {
    if (!pending_.empty()) WriteBytes(pending_.data(), static_cast<int>(pending_.size()));
    pending_.clear();
    return 0;
  }

 private:
  std::string pending_;
};

// The set named after the "." of a locale name such as "ja_JP.UTF-8@euro",
// as the C library of Linux names it.
std::string CharsetOfLocale(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return "ANSI_X3.4-1968";
  name.remove_prefix(dot + 1);
  const std::string charset(name.substr(0, name.find('@')));
  return FoldedCharsetName(charset) == "UTF8" ? "UTF-8" : charset;
}

}  // namespace

std::string TerminalCharset() {
  char buffer[64];
  const int size = ConsoleCharset(buffer, sizeof buffer);
  if (size >= 0) return std::string(buffer, static_cast<std::size_t>(std::min<int>(size, sizeof buffer - 1)));
  // Under Node: the environment's locale, as on Linux.
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return CharsetOfLocale(value);
  }
  return CharsetOfLocale("C");
}

const StandardConsole& OpenStandardConsole() {
  static LineBuffer input;
  static FlushedBuffer output;
  static std::istream in(&input);
  static std::ostream out(&output);
  // What is still kept is written when the program ends, as std::cout's is.
  static const int flushAtExit = std::atexit([] { out.flush(); });
  static_cast<void>(flushAtExit);
  static const StandardConsole console{in, out, ConsoleFlag("inputIsTerminal") == 1,
                                       ConsoleFlag("outputIsTerminal") == 1, TerminalCharset()};
  return console;
}

// Neither Node's terminal nor the page goes away when the game ends.
bool WindowClosesWithGame() { return false; }

}  // namespace velkor::platform
