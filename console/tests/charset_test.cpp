#include "console/to_cp932.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp932_literal.h"

// Texts here are code page 932 ("..."_cp); UTF-8 is written as \x escapes.

namespace velkor {
namespace {

TEST(CharsetConverter, ExactFailsOnAnythingThatDoesNotConvert) {
  struct Case {
    const char* to;
    const char* from;
    std::string text;
    bool ok;
    std::string out;  // what stands in out afterwards
  };
  const Case cases[] = {
      {"CP932", "UTF-8", "a\xE3\x82\xBD\xE3\x83\x9D", true, "aソポ"_cp},
      {"CP932", "UTF-8", "", true, ""},
      {"UTF-8", "CP932", "ソ\\~"_cp, true, "\xE3\x82\xBD\\~"},
      {"CP932", "UTF-8",
       "ab\xFF"
       "c",
       false, "ab"},                                  // not UTF-8
      {"CP932", "UTF-8", "ab\xE3\x82", false, "ab"},  // a character cut short
      {"CP932", "UTF-8", "ab\xC3\xA9", false, "ab"},  // no code page 932 form
      {"UTF-8", "CP932", "a\x85\x40", false, "a"},    // a pair with nothing assigned
      {"CP932", "NO-SUCH-CHARSET", "abc", false, ""},
  };
  for (const Case& c : cases) {
    CharsetConverter converter(c.to, c.from);
    std::string out;
    EXPECT_EQ(converter.Exact(c.text, out), c.ok) << c.out;
    EXPECT_EQ(out, c.out);
  }
}

TEST(CharsetConverter, OneConverterServesCallAfterCall) {
  CharsetConverter converter(GameCharset, "UTF-8");
  std::string out;
  EXPECT_FALSE(converter.Exact("\xE3\x82", out));  // cut short: nothing may carry over
  out.clear();
  EXPECT_FALSE(converter.Exact("\x82\xBD", out));
  out.clear();
  ASSERT_TRUE(converter.Exact("\xE3\x82\xBD", out));
  EXPECT_EQ(out, "ソ"_cp);
  converter.Lenient("\xE3\x82x", out);  // appends
  converter.Lenient("\xE3\x83\x9D", out);
  EXPECT_EQ(out, "ソ??xポ"_cp);
}

// A pair of code page 932 with nothing assigned to it: read by the decoder
// it is a bad lead byte and a letter; walked by pairs it is one character.
TEST(CharsetConverter, LenientWalksTheSourceCharactersAsAsked) {
  CharsetConverter decoded("UTF-8", GameCharset);
  CharsetConverter pairs("UTF-8", GameCharset, CharsetConverter::Walk::Cp932Pairs);
  std::string byDecoder, byPairs;
  decoded.Lenient("\x85\x40x\x83\x5C", byDecoder);
  pairs.Lenient("\x85\x40x\x83\x5C", byPairs);
  EXPECT_EQ(byDecoder, "?@x\xE3\x82\xBD");
  EXPECT_EQ(byPairs, "?x\xE3\x82\xBD");
}

TEST(Cp932Characters, ALeadByteTakesTheNextByteWithIt) {
  const std::string text = "aソ"_cp + std::string("\x83");  // ソ is 83 5C; a lone lead byte at the end
  EXPECT_EQ(Cp932CharacterLength(text, 0), 1u);
  EXPECT_EQ(Cp932CharacterLength(text, 1), 2u);
  EXPECT_EQ(Cp932CharacterLength(text, 3), 1u);
}

}  // namespace
}  // namespace velkor
