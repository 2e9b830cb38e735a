// Writes the code page 932 table (platform/cp932_table_data.h) from this
// system's iconv: the compiler makes the game's texts with it ("..."_cp), and
// the WebAssembly build converts with it, so that a name typed in the
// browser gives the same save.dat bytes as on Linux. It holds every
// single byte and lead/trail pair that iconv decodes, and for every Unicode
// character the bytes iconv encodes it as (its choice among the duplicated
// NEC and IBM rows). Run: make_cp932_table > platform/cp932_table_data.h
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// One exact conversion of in; false when iconv refuses or approximates.
bool Convert(iconv_t cd, const char* in, std::size_t inSize, char* out, std::size_t outSize,
             std::size_t& written) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* from = const_cast<char*>(in);
  char* to = out;
  std::size_t toLeft = outSize;
  std::size_t inLeft = inSize;
  if (iconv(cd, &from, &inLeft, &to, &toLeft) != 0 || inLeft != 0) return false;
  written = outSize - toLeft;
  return true;
}

}  // namespace

int main() {
  iconv_t decode = iconv_open("UTF-32LE", "CP932");
  iconv_t encode = iconv_open("CP932", "UTF-32LE");
  if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
    std::fputs("iconv knows no CP932\n", stderr);
    return 1;
  }
  std::vector<std::pair<std::uint16_t, std::uint32_t>> decoded;
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    char in[2];
    std::size_t size = 0;
    if (code < 0x100) {
      in[size++] = static_cast<char>(code);
    } else {
      in[size++] = static_cast<char>(code >> 8);
      in[size++] = static_cast<char>(code & 0xFF);
    }
    unsigned char out[8];
    std::size_t written = 0;
    if (!Convert(decode, in, size, reinterpret_cast<char*>(out), sizeof out, written) || written != 4)
      continue;
    if (code >= 0x100 && (code >> 8) < 0x81) continue;  // two characters, not a pair
    const auto byte = [&out](int at) { return static_cast<std::uint32_t>(out[at]); };
    decoded.emplace_back(code, byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  }
  std::vector<std::pair<std::uint32_t, std::uint16_t>> encoded;
  for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                                 static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
    unsigned char out[8];
    std::size_t written = 0;
    if (!Convert(encode, reinterpret_cast<const char*>(in), 4, reinterpret_cast<char*>(out), sizeof out,
                 written))
      continue;
    if (written == 1) encoded.emplace_back(cp, out[0]);
    if (written == 2) encoded.emplace_back(cp, static_cast<std::uint16_t>(out[0] << 8 | out[1]));
  }
  // Every character code page 932 has is in Unicode's first plane. The
  // tables are strings of 16-bit units, which compilers read far faster
  // than lists of numbers: every source with a text includes them.
  const auto beyond = [](const auto& pair) { return pair.first > 0xFFFF || pair.second > 0xFFFF; };
  if (std::any_of(decoded.begin(), decoded.end(), beyond) ||
      std::any_of(encoded.begin(), encoded.end(), beyond)) {
    std::fputs("a character beyond U+FFFF: the tables' 16-bit units cannot hold it\n", stderr);
    return 1;
  }
  std::vector<std::uint16_t> decodedCodes;
  std::vector<std::uint16_t> decodedCharacters;
  for (const auto& [code, cp] : decoded) {
    decodedCodes.push_back(code);
    decodedCharacters.push_back(static_cast<std::uint16_t>(cp));
  }
  // Encoding is looked up directly, since the compiler does it for every
  // character of the game's texts: a page of 256 codes for each high byte
  // that has characters.
  std::vector<std::uint16_t> pages(256);
  std::vector<std::uint16_t> pagedCodes;
  for (const auto& [cp, code] : encoded) {
    if (pages[cp >> 8] == 0) {
      pagedCodes.resize(pagedCodes.size() + 256);
      pages[cp >> 8] = static_cast<std::uint16_t>(pagedCodes.size() / 256);
    }
    pagedCodes[(pages[cp >> 8] - 1u) * 256 + (cp & 0xFF)] = code;
  }
  const auto table = [](const char* name, const std::vector<std::uint16_t>& units) {
    std::printf("inline constexpr char16_t %s[] =", name);
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (i % 16 == 0) std::fputs("\nu\"", stdout);
      if (units[i] == 0) {
        std::fputs("\\0", stdout);
      } else {
        std::printf("\\x%X", static_cast<unsigned>(units[i]));
      }
      if (i % 16 == 15 || i + 1 == units.size()) std::fputs("\"", stdout);
    }
    std::puts(";");
  };
  std::puts("// Made by tools/make_cp932_table.cpp from iconv's CP932; do not edit.");
  std::puts("// clang-format off");
  std::puts("#pragma once\n#include <cstddef>\n\nnamespace velkor::platform::cp932_data {\n");
  std::printf("inline constexpr std::size_t DecodedCount = %zu;\n", decoded.size());
  std::puts("// Code page 932 codes (a byte, or lead << 8 | trail) and their characters, by code.");
  table("DecodedCodes", decodedCodes);
  table("DecodedCharacters", decodedCharacters);
  std::puts("// The code iconv writes each character as: for a character's high byte, the");
  std::puts("// page of EncodedCodes that holds its code at its low byte (pages count from");
  std::puts("// 1; 0 is none). A code of 0 is no character, but for U+0000.");
  table("EncodedPages", pages);
  table("EncodedCodes", pagedCodes);
  std::puts("\n}  // namespace velkor::platform::cp932_data\n// clang-format on");
  iconv_close(decode);
  iconv_close(encode);
  return 0;
}
