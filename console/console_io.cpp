#include "console/console_io.h"

#include <istream>
#include <ostream>

#include "console/failure.h"
#include "console/line_reader.h"

namespace velkor {

namespace {

// Used until start-up binds the real console: swallows output, has no input.
class NullConsole : public ConsoleDevice {
 public:
  void Put(std::string_view) override {}
  bool Get(std::string&) override { return false; }
};

NullConsole nullConsole;
ConsoleDevice* bound = &nullConsole;
std::string pending;
bool atLineStart = true;
bool endOfInputQuits = false;

}  // namespace

void StreamConsole::Put(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  if (!out_) RaiseFailure(KindInOut, "標準出力に書き込めません");
}

bool StreamConsole::Get(std::string& line) { return ReadBoundedLine(in_, line); }

void BindConsole(ConsoleDevice& device) {
  FlushOutput();
  bound = &device;
  atLineStart = true;
}

void UnbindConsole() { BindConsole(nullConsole); }

void Write(std::string_view text) {
  if (text.empty()) return;
  pending.append(text);
  atLineStart = text.back() == '\n';
}

void WriteLine(std::string_view text) {
  pending.append(text);
  pending.append(LineEnd);
  atLineStart = true;
}

std::string ReadLine() {
  FlushOutput();
  std::string line;
  if (!bound->Get(line)) {
    if (endOfInputQuits) throw PlayerQuit();
    RaiseFailure(KindInOut, "標準入力が終わりました");
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  // The player's Enter ended whatever line was open on the screen.
  atLineStart = true;
  return line;
}

void FlushOutput() {
  if (pending.empty()) return;
  std::string out;
  out.swap(pending);  // a failing device must not see the same text twice
  bound->Put(out);
}

std::string ShownOnScreen(std::string_view text) { return bound->Shown(text); }

bool AtLineStart() { return atLineStart; }

void SetEndOfInputQuits(bool quits) { endOfInputQuits = quits; }

bool EndOfInputQuits() { return endOfInputQuits; }

}  // namespace velkor
