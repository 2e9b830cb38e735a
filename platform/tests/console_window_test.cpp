// A console window read and written in UTF-16, as the game's code page 932
// streams see it. Texts here are code page 932 ("..."_cp); UTF-16 is
// written as u"" escapes.
#include "platform/console_window.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "console/failure.h"
#include "console/line_reader.h"
#include "platform/cp932_literal.h"

namespace velkor::platform {
namespace {

// A window that keeps every write and gives the reads it was told to.
class FakeWindow : public ConsoleWindow {
 public:
  explicit FakeWindow(std::vector<std::u16string> reads = {}, bool failAtEnd = false)
      : reads_(std::move(reads)), failAtEnd_(failAtEnd) {}
  bool Write(std::u16string_view text) override {
    writes.emplace_back(text);
    return !refuseWrites;
  }
  Read ReadSome(std::u16string& text, std::size_t max) override {
    if (next_ == reads_.size()) return failAtEnd_ ? Read::Failed : Read::End;
    // What does not fit waits for the next read, as in a console window.
    text = reads_[next_].substr(0, max);
    reads_[next_].erase(0, text.size());
    if (reads_[next_].empty()) ++next_;
    return Read::Text;
  }
  std::vector<std::u16string> writes;
  bool refuseWrites = false;

 private:
  std::vector<std::u16string> reads_;
  std::size_t next_ = 0;
  bool failAtEnd_;
};

TEST(ConsoleWindowOutput, EachFlushIsOneWriteOfWholeCharacters) {
  FakeWindow window;
  {
    ConsoleWindowOutput buffer(window);
    std::ostream out(&buffer);
    out << "名前＞"_cp << std::flush;
    out << "ab\x83" << std::flush;  // ソ is 83 5C: its lead byte waits
    out << "\x5C\r\n" << std::flush;
    out << std::flush;                     // nothing pending: no write
    out << "\x85\x40x\x80" << std::flush;  // a pair with nothing assigned, a byte that is no character
    out << "end\x83";                      // a lead byte left at the end
  }
  EXPECT_EQ(window.writes,
            (std::vector<std::u16string>{u"\u540D\u524D\uFF1E", u"ab", u"\u30BD\r\n", u"?x?", u"end", u"?"}));
}

TEST(ConsoleWindowOutput, AWindowThatCannotBeWrittenMakesTheStreamBad) {
  FakeWindow window;
  window.refuseWrites = true;
  ConsoleWindowOutput buffer(window);
  std::ostream out(&buffer);
  out << "x" << std::flush;
  EXPECT_TRUE(out.bad());
}

// What the game reads from a window that was typed into in these pieces.
std::vector<std::string> Lines(const std::vector<std::u16string>& typed) {
  FakeWindow window(typed);
  ConsoleWindowInput buffer(window);
  std::istream in(&buffer);
  std::vector<std::string> lines;
  std::string line;
  while (ReadBoundedLine(in, line)) lines.push_back(line);
  return lines;
}

TEST(ConsoleWindowInput, TypedTextArrivesAsCodePage932) {
  struct Case {
    std::vector<std::u16string> typed;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{u"\u30BD\u30DD\u8868\r\n", u"y\r\n"}, {"ソポ表\r"_cp, "y\r"}},
      {{u"\uFF71\u2460\r\n"}, {"ｱ①\r"_cp}},
      // One "?" for each character code page 932 lacks: an emoji (a
      // surrogate pair, even split across two reads) and "é".
      {{u"a\U0001F600b\r\n"}, {"a?b\r"}},
      {{u"a\xD83D",
        u"\xDE00"
        u"b\r\n"},
       {"a?b\r"}},
      {{u"\u00E9t\u00E9\r\n"}, {"?t?\r"}},
      // Both tildes an input method may give are the range's tilde.
      {{u"\u301C\uFF5E\r\n"}, {"～～\r"_cp}},
      // Ctrl-Z at the start of a line ends the input; elsewhere it is a byte.
      {{u"n\r\n", u"\x1A\r\n", u"never\r\n"}, {"n\r"}},
      {{u"a\x1A\r\n"}, {"a\x1A\r"}},
      {{u"last"}, {"last"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.typed), c.lines) << c.lines.front();
}

TEST(ConsoleWindowInput, ALongLineIsBoundedLikeAnyOther) {
  const std::u16string longLine(3 * MaxLineBytes, u'x');
  const std::vector<std::string> lines = Lines({longLine, longLine + u"\r\n", u"next\r\n"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(MaxLineBytes + 1, 'x'));
  EXPECT_EQ(lines[1], "next\r");
}

TEST(ConsoleWindowInput, AWindowThatCannotBeReadRaisesTheInputFailure) {
  FakeWindow window({u"ok\r\n"}, true);
  ConsoleWindowInput buffer(window);
  std::istream in(&buffer);
  std::string line;
  ASSERT_TRUE(ReadBoundedLine(in, line));
  EXPECT_EQ(line, "ok\r");
  try {
    ReadBoundedLine(in, line);
    ADD_FAILURE() << "no failure raised";
  } catch (const GameFailure& failure) {
    EXPECT_EQ(failure.Message(), "標準入力を読めません"_cp);
  }
}

}  // namespace
}  // namespace velkor::platform
