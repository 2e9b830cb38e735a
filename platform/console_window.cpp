#include "platform/console_window.h"

#include <ios>

namespace velkor::platform {

namespace {

constexpr const char* WindowCharset = "UTF-16LE";
constexpr std::size_t ReadUnits = 1024;
constexpr char16_t EndOfInput = 0x1A;  // Ctrl-Z

std::u16string FromBytes(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  return text;
}

std::string ToBytes(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

ConsoleWindowOutput::ConsoleWindowOutput(ConsoleWindow& window)
    : window_(window), toWindow_(WindowCharset, GameCharset, CharsetConverter::Walk::Cp932Pairs) {}

ConsoleWindowOutput::~ConsoleWindowOutput() {
  sync();
  if (!pending_.empty()) window_.Write(u"?");
}

ConsoleWindowOutput::int_type ConsoleWindowOutput::overflow(int_type c) {
  if (!traits_type::eq_int_type(c, traits_type::eof())) pending_ += traits_type::to_char_type(c);
  return traits_type::not_eof(c);
}

std::streamsize ConsoleWindowOutput::xsputn(const char* data, std::streamsize count) {
  pending_.append(data, static_cast<std::size_t>(count));
  return count;
}

int ConsoleWindowOutput::sync() {
  const std::size_t whole = WholeCp932Prefix(pending_);
  if (whole == 0) return 0;
  std::string shown;
  toWindow_.Lenient(std::string_view(pending_).substr(0, whole), shown);
  pending_.erase(0, whole);
  return window_.Write(FromBytes(shown)) ? 0 : -1;
}

ConsoleWindowInput::ConsoleWindowInput(ConsoleWindow& window)
    : window_(window), fromWindow_(GameCharset, WindowCharset) {}

ConsoleWindowInput::int_type ConsoleWindowInput::underflow() {
  while (gptr() == egptr()) {
    if (ended_) return traits_type::eof();
    std::u16string typed;
    switch (window_.ReadSome(typed, ReadUnits)) {
      case ConsoleWindow::Read::Text:
        break;
      case ConsoleWindow::Read::End:
        ended_ = true;
        continue;
      case ConsoleWindow::Read::Failed:
        // The stream that asked turns bad.
        throw std::ios_base::failure("the console window cannot be read");
    }
    if (typed.empty()) continue;
    if (atLineStart_ && typed.front() == EndOfInput) {
      ended_ = true;
      continue;
    }
    atLineStart_ = typed.back() == u'\n';
    if (heldHigh_ != 0) {
      typed.insert(typed.begin(), heldHigh_);
      heldHigh_ = 0;
    }
    if (IsHighSurrogate(typed.back())) {
      heldHigh_ = typed.back();
      typed.pop_back();
    }
    buffer_.clear();
    fromWindow_.Lenient(ToBytes(typed), buffer_);
    setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
  }
  return traits_type::to_int_type(*gptr());
}

}  // namespace velkor::platform
