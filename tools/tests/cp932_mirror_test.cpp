// The copies of the sources that clang compiles: the texts of ordinary
// literals as code page 932 escapes, everything else as it was.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/cp932_literal.h"
#include "tools/cp932_mirror.h"

namespace velkor::tools {
namespace {

// u8 literals stay UTF-8 under GCC's conversion and in the copies alike,
// so the sources below are what a developer types.
std::string Bytes(std::u8string_view text) { return {text.begin(), text.end()}; }

struct Case {
  const char* what;
  std::u8string_view source;
  std::u8string_view mirrored;
};

const Case Cases[] = {
    {"trail byte 0x7C (po)", u8R"(a = "ポ";)", u8R"(a = "\203\174";)"},
    {"trail byte 0x5C (so, hyo)", u8R"("ソ表")", u8R"("\203\134\225\134")"},
    {"half-width katakana is one byte", u8R"("ｱｲ")", u8R"("\261\262")"},
    {"a hex digit after the text stays a character", u8R"("ア1F" "\x41ア")",
     u8R"("\203\1011F" "\x41\203\101")"},
    {"escapes already there", u8R"("\"ア\\" "\n表\t")", u8R"("\"\203\101\\" "\n\225\134\t")"},
    {"universal character names", u8R"("\u30BD\U00008868")", u8R"("\203\134\225\134")"},
    {"wave dash and fullwidth tilde as iconv has them", u8R"("〜～")", u8R"("\201\140\201\140")"},
    {"character literals", u8R"(c = 'ｱ'; d = 'ア'; e = '\'';)", u8R"(c = '\261'; d = '\203\101'; e = '\'';)"},
    {"digit separators open no literal", u8R"(n = 1'000'000 + 'ア';)", u8R"(n = 1'000'000 + '\203\101';)"},
    {"encoding prefixes keep their text", u8R"src(u8"ア" u"ソ" U'ア' L"表" u8R"(ア)" LR"x(表)x")src",
     u8R"src(u8"ア" u"ソ" U'ア' L"表" u8R"(ア)" LR"x(表)x")src"},
    {"a raw string becomes a literal a line", u8"R\"(ア\"\\\nb)\";", u8"\"\\203\\101\\\"\\\\\\n\"\n\"b\";"},
    {"a raw string with a delimiter", u8R"src(R"x(ソ)")x")src", u8R"src("\203\134)\"")src"},
    {"an ASCII raw string is kept", u8R"src(R"(\n")")src", u8R"src(R"(\n")")src"},
    {"an identifier ending in R is no prefix", u8R"(ABR"ア")", u8R"(ABR"\203\101")"},
    {"comments with quotes", u8"// \"ア\" don't\n/* 'ソ' \"*/ \"表\" // ア \\\n\"ア\"\n",
     u8"// \"ア\" don't\n/* 'ソ' \"*/ \"\\225\\134\" // ア \\\n\"ア\"\n"},
    {"an apostrophe in a directive's text", u8"#error don't use ア\n\"ア\"",
     u8"#error don't use ア\n\"\\203\\101\""},
    {"a line splice inside a literal", u8"\"ア\\\nイ\"", u8"\"\\203\\101\\\n\\203\\103\""},
    {"non-ASCII outside literals", u8"int ア = 0; // 表", u8"int ア = 0; // 表"},
};

TEST(Cp932Mirror, RewritesOnlyTheTextsOfOrdinaryLiterals) {
  for (const Case& c : Cases) {
    const MirroredSource result = MirrorLiterals(Bytes(c.source));
    EXPECT_EQ(result.error, "") << c.what;
    EXPECT_EQ(result.text, Bytes(c.mirrored)) << c.what;
  }
}

// The bytes of a mirrored literal "\ooo\ooo...".
std::string OctalBytes(std::string_view literal) {
  std::string bytes;
  for (std::size_t i = 1; i + 4 < literal.size(); i += 4)
    bytes +=
        static_cast<char>((literal[i + 1] - '0') * 64 + (literal[i + 2] - '0') * 8 + (literal[i + 3] - '0'));
  return bytes;
}

TEST(Cp932Mirror, MakesTheBytesTheGccBuildMakes) {
  // Kanji of both halves, the NEC and IBM rows, the duplicated signs,
  // half-width katakana: under GCC the second literal is GCC's own
  // conversion.
  const MirroredSource result = MirrorLiterals(Bytes(u8"\"ポソ表能予①Ⅰⅰ∵￢¬～〜－−‖∥ｱﾟ髙¥‾\""));
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(OctalBytes(result.text), "ポソ表能予①Ⅰⅰ∵￢¬～〜－−‖∥ｱﾟ髙¥‾"_cp);
}

TEST(Cp932Mirror, NamesTheLineOfATextThatCannotBeConverted) {
  const struct {
    const char* what;
    std::string source;
    std::size_t line;
    std::string error;
  } faults[] = {
      {"no code page 932 form", Bytes(u8"a\n\"ア😀\""), 2, "U+1F600 has no code page 932 form"},
      {"universal character name", "// x\n\n'\\u00E9'", 3, "U+00E9 has no code page 932 form"},
      {"raw string", Bytes(u8"R\"(\nア\n😀)\""), 3, "U+1F600 has no code page 932 form"},
      {"not UTF-8", "\"\xff\"", 1, "a literal holds bytes that are not UTF-8"},
      {"cut short", "\"\xe3\x82\"", 1, "a literal holds bytes that are not UTF-8"},
  };
  for (const auto& f : faults) {
    const MirroredSource result = MirrorLiterals(f.source);
    EXPECT_EQ(result.error, f.error) << f.what;
    EXPECT_EQ(result.errorLine, f.line) << f.what;
  }
}

}  // namespace
}  // namespace velkor::tools
