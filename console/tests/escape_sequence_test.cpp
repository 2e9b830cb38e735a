#include "console/escape_sequence.h"

#include <gtest/gtest.h>

#include <string>

namespace velkor {
namespace {

// Feeds what follows the ESC; returns the key and how many characters the
// sequence took, or -1 when it was still not whole at the end.
std::pair<EditingKey, int> Read(const std::u32string& afterEscape) {
  EscapeSequence sequence;
  for (std::size_t i = 0; i < afterEscape.size(); ++i)
    if (sequence.Add(afterEscape[i])) return {sequence.Key(), static_cast<int>(i + 1)};
  return {sequence.Key(), -1};
}

TEST(EscapeSequence, TellsTheEditingKeysAndEndsEachSequenceWhere) {
  struct Case {
    std::u32string afterEscape;
    EditingKey key;
    int length;
  };
  const Case cases[] = {
      // The arrows, Home and End, in both of the modes a terminal sends them.
      {U"[D", EditingKey::Left, 2},
      {U"[C", EditingKey::Right, 2},
      {U"OD", EditingKey::Left, 2},
      {U"OC", EditingKey::Right, 2},
      {U"[H", EditingKey::Home, 2},
      {U"[F", EditingKey::End, 2},
      {U"OH", EditingKey::Home, 2},
      {U"OF", EditingKey::End, 2},
      {U"[1~", EditingKey::Home, 3},
      {U"[7~", EditingKey::Home, 3},
      {U"[4~", EditingKey::End, 3},
      {U"[8~", EditingKey::End, 3},
      {U"[3~", EditingKey::Delete, 3},
      // With Shift, Ctrl or Alt held they still move.
      {U"[1;5D", EditingKey::Left, 5},
      {U"[1;3C", EditingKey::Right, 5},
      {U"[3;5~", EditingKey::Delete, 5},
      {U"\x1b[D", EditingKey::Left, 3},  // Alt-Left as some terminals send it
      // Keys the editor has no use for are still read to their end.
      {U"[A", EditingKey::None, 2},
      {U"[B", EditingKey::None, 2},
      {U"[5~", EditingKey::None, 3},
      {U"[6~", EditingKey::None, 3},
      {U"[2~", EditingKey::None, 3},
      {U"[15~", EditingKey::None, 4},
      {U"[24~", EditingKey::None, 4},
      {U"[13~x", EditingKey::None, 4},  // not Delete: the number is 13, not 3
      {U"OP", EditingKey::None, 2},
      {U"[Z", EditingKey::None, 2},
      {U"[200~", EditingKey::None, 5},  // the marks around a paste
      {U"[[A", EditingKey::None, 3},    // F1 on the Linux console
      {U"[[E", EditingKey::None, 3},
      {U"\x1b[[A", EditingKey::None, 4},
      // Alt with a key, or ESC and then a key: the key goes with it.
      {U"x", EditingKey::None, 1},
      {U"b", EditingKey::None, 1},
      {U"\x30bd", EditingKey::None, 1},
      // Broken off by a key that is no part of a sequence: dropped with it.
      {U"[\r", EditingKey::None, 2},
      {U"[1\x30bd", EditingKey::None, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::u32string(c.afterEscape)));
    const auto [key, length] = Read(c.afterEscape);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(length, c.length);
  }
}

TEST(EscapeSequence, AnEndlessSequenceIsCutAndLeadsNowhere) {
  const auto [key, length] = Read(U"[" + std::u32string(100, U'3') + U"~");
  EXPECT_EQ(key, EditingKey::None);
  EXPECT_EQ(length, 32);
  // A number far past any key's is no key, whatever its last digits.
  EXPECT_EQ(Read(U"[4294967299~").first, EditingKey::None);
  EXPECT_EQ(Read(U"[1000003~").first, EditingKey::None);
}

}  // namespace
}  // namespace velkor
