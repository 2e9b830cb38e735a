// Holds the WebAssembly build's code page 932 table to iconv, which only POSIX systems have here.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>

#include "platform/cp932_table.h"

namespace velkor::platform {
namespace {

// iconv's exact conversion of in, or nothing when it refuses or approximates.
std::optional<std::string> Iconv(iconv_t cd, std::string_view in) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* from = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char out[16];
  char* to = out;
  std::size_t room = sizeof out;
  if (iconv(cd, &from, &left, &to, &room) != 0 || left != 0) return std::nullopt;
  return std::string(out, sizeof out - room);
}

class Cp932Table : public ::testing::Test {
 protected:
  void SetUp() override {
    decode_ = iconv_open("UTF-32LE", "CP932");
    encode_ = iconv_open("CP932", "UTF-32LE");
    ASSERT_NE(decode_, reinterpret_cast<iconv_t>(-1));
    ASSERT_NE(encode_, reinterpret_cast<iconv_t>(-1));
  }
  void TearDown() override {
    iconv_close(decode_);
    iconv_close(encode_);
  }
  iconv_t decode_{};
  iconv_t encode_{};
};

// Every byte and every lead byte with every second byte: the table reads
// what iconv reads as one character, and nothing else.
TEST_F(Cp932Table, DecodesEveryCodeAsIconvDoes) {
  int differences = 0;
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    const bool pair = code >= 0x100;
    if (pair && (code >> 8) < 0x81) continue;
    std::string bytes;
    if (pair) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    std::optional<char32_t> expected;
    if (const auto utf32 = Iconv(decode_, bytes); utf32 && utf32->size() == 4) {
      const auto* b = reinterpret_cast<const unsigned char*>(utf32->data());
      expected =
          static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
    }
    const std::optional<char32_t> actual = Cp932ToUnicode(static_cast<std::uint16_t>(code));
    if (actual != expected && ++differences <= 10) ADD_FAILURE() << "code 0x" << std::hex << code;
  }
  EXPECT_EQ(differences, 0);
}

// Every Unicode character: the table writes the bytes iconv chooses,
// including its choice among the duplicated NEC and IBM rows.
TEST_F(Cp932Table, EncodesEveryCharacterAsIconvDoes) {
  int differences = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const char utf32[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF),
                           static_cast<char>(c >> 16 & 0xFF), static_cast<char>(c >> 24)};
    std::optional<std::uint16_t> expected;
    if (const auto bytes = Iconv(encode_, std::string_view(utf32, 4)); bytes && !bytes->empty()) {
      const auto* b = reinterpret_cast<const unsigned char*>(bytes->data());
      expected = static_cast<std::uint16_t>(bytes->size() == 1 ? b[0] : b[0] << 8 | b[1]);
    }
    if (UnicodeToCp932(c) != expected && ++differences <= 10)
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c);
  }
  EXPECT_EQ(differences, 0);
}

// The characters whose code a player can tell apart: the wave dash and the
// rows that code page 932 holds twice.
TEST_F(Cp932Table, KnownDuplicates) {
  const struct {
    char32_t character;
    std::uint16_t code;
  } cases[] = {
      {U'\uFF5E', 0x8160},  // FULLWIDTH TILDE, iconv's "～"
      {U'\u00AC', 0x81CA},  // NOT SIGN: the JIS row, not the IBM one
      {U'\u2235', 0x81E6},  // BECAUSE: the JIS row, not NEC's 0x879A
      {U'\u2170', 0xFA40},  // small roman one: IBM's row, not NEC's selected 0xEEEF
      {U'\u7E8A', 0xFA5C},  // IBM extension, not NEC's selected 0xED40
  };
  for (const auto& c : cases) EXPECT_EQ(UnicodeToCp932(c.character), c.code) << std::hex << c.code;
  EXPECT_EQ(Cp932ToUnicode(0x8160), U'\uFF5E');
  EXPECT_EQ(Cp932ToUnicode(0xEEEF), U'\u2170');
  EXPECT_EQ(Cp932ToUnicode(0x5C), U'\\');
  EXPECT_EQ(Cp932ToUnicode(0x879A), U'\u2235');  // NEC's row still reads
  EXPECT_EQ(Cp932ToUnicode(0x80), std::nullopt);
}

}  // namespace
}  // namespace velkor::platform
