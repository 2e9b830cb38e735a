// The game's texts as the compiler makes them: "..."_cp holds the bytes
// iconv's CP932 writes, and serves where a string literal does.
#include "platform/cp932_literal.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <type_traits>

namespace velkor::platform {
namespace {

// A text as a template argument, to ask whether it converts: the literal
// itself stops the compile where it does not.
template <std::size_t N>
struct Text {
  char Bytes[N];
  consteval Text(const char (&text)[N]) {  // NOLINT(google-explicit-constructor)
    for (std::size_t i = 0; i < N; ++i) Bytes[i] = text[i];
  }
  consteval Text(const char8_t (&text)[N]) {  // NOLINT(google-explicit-constructor)
    for (std::size_t i = 0; i < N; ++i) Bytes[i] = static_cast<char>(text[i]);
  }
};

template <Text T>
concept Converts = requires {
  typename std::integral_constant<std::size_t, ConvertToCp932(T.Bytes).Size>;
};

static_assert(Converts<u8"ア表ｱ~\\">);
static_assert(!Converts<u8"ア😀">, "a character code page 932 lacks");
static_assert(!Converts<u8"caf\u00E9">, "no code page 932 form for an e with an acute accent");
static_assert(!Converts<"a\xFF">, "not UTF-8");
static_assert(!Converts<"a\xE3\x82">, "a character cut short");
static_assert(!Converts<"\xC1\xBF">, "an overlong form");
static_assert(!Converts<"\xED\xA0\x80">, "a surrogate");

// An array of const char with its final zero, as a literal is.
static_assert(std::is_same_v<decltype("ア"_cp), const char (&)[3]>);
static_assert(sizeof("ｱ"_cp) == 2);
static_assert(std::string_view("攻撃"_cp).size() == 4);
// One array for a text, however often it is written.
static_assert(&"攻撃"_cp == &"攻撃"_cp);

TEST(Cp932Literal, HoldsTheBytesIconvWrites) {
  const struct {
    const char* what;
    std::string_view converted;
    std::string_view expected;
  } cases[] = {
      {"trail byte 0x7C (po)", "ポ"_cp, "\x83\x7C"},
      {"trail byte 0x5C (so, hyo)", "ソ表"_cp, "\x83\x5C\x95\x5C"},
      {"half-width katakana is one byte", "ｱｲ"_cp, "\xB1\xB2"},
      {"wave dash and fullwidth tilde", "〜～"_cp, "\x81\x60\x81\x60"},
      {"the JIS row, not NEC's", "∵"_cp, "\x81\xE6"},
      {"IBM's row, not NEC's selected one", "ⅰ"_cp, "\xFA\x40"},
      {"both not signs", "￢¬"_cp, "\x81\xCA\x81\xCA"},
      {"NEC's row where only it has the character", "①"_cp, "\x87\x40"},
      {"yen sign and overline as ASCII", "¥‾"_cp, "\\~"},
      {"ASCII and escapes as they are", "\"a\\\tア\n"_cp, "\"a\\\t\x83\x41\n"},
      {"universal character names", "\u30BD\U00008868"_cp, "\x83\x5C\x95\x5C"},
      {"adjacent literals join first",
       "ア"_cp
       "イ"_cp,
       "\x83\x41\x83\x43"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.converted, c.expected) << c.what;
  EXPECT_EQ(std::string_view("ア\0イ"_cp, sizeof "ア\0イ"_cp), std::string_view("\x83\x41\0\x83\x43", 6))
      << "a zero inside, and the final one";
}

TEST(Cp932Literal, ServesWhereAStringLiteralDoes) {
  const char* pointer = "攻撃"_cp;
  const std::string joined = "を"_cp + std::string(pointer) + "だ"_cp;
  EXPECT_EQ(joined, "\x82\xF0\x8D\x55\x8C\x82\x82\xBE");
  constexpr std::string_view Names[] = {"ＨＰ"_cp, "素早さ"_cp};
  EXPECT_EQ(Names[1].size(), 6u);
  EXPECT_EQ(std::string(pointer).size(), sizeof "攻撃"_cp - 1);
}

}  // namespace
}  // namespace velkor::platform
