#include "console/console_io.h"

#include <istream>
#include <ostream>

#include "console/failure.h"
#include "console/line_reader.h"
#include "platform/cp932_literal.h"

namespace velkor {

void StreamConsole::Put(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  if (!out_) RaiseFailure(KindInOut, "標準出力に書き込めません"_cp);
}

bool StreamConsole::Get(std::string& line) { return ReadBoundedLine(in_, line); }

void Console::Bind(ConsoleDevice& device) {
  FlushOutput();
  bound_ = &device;
  atLineStart_ = true;
}

void Console::Unbind() { Bind(null_); }

void Console::Write(std::string_view text) {
  if (text.empty()) return;
  pending_.append(text);
  atLineStart_ = text.back() == '\n';
}

void Console::WriteLine(std::string_view text) {
  pending_.append(text);
  pending_.append(LineEnd);
  atLineStart_ = true;
}

std::string Console::ReadLine() {
  FlushOutput();
  std::string line;
  if (!bound_->Get(line)) {
    if (endOfInputQuits_) throw PlayerQuit();
    RaiseFailure(KindInOut, "標準入力が終わりました"_cp);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  // The player's Enter ended whatever line was open on the screen.
  atLineStart_ = true;
  return line;
}

void Console::FlushOutput() {
  if (pending_.empty()) return;
  std::string out;
  out.swap(pending_);  // a failing device must not see the same text twice
  bound_->Put(out);
}

}  // namespace velkor
