#include "sheet/sheet.h"

#include <gtest/gtest.h>

#include "data/tables.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"

namespace velkor {
namespace {

using test::ConsoleScript;

TFighter Fighter(const std::string& name, std::array<std::int32_t, 4> current,
                 std::array<std::int32_t, 4> base, std::array<std::uint8_t, 4> talents = {}) {
  TFighter f{};
  f.Name.Assign(name);
  f.CurStats = current;
  f.BaseStats = base;
  f.Talents = talents;
  return f;
}

std::string Shown(const TFighter& f, bool isShort, const std::string& caption) {
  ConsoleScript script({});
  ShowSheet(script.Console(), f, isShort, caption);
  return script.Output();
}

TEST(ShowSheet, FullWithoutTalentsGoesStraightToTheCaption) {
  const TFighter f = Fighter("ユウ"_cp, {88, 20, 25, 25}, {100, 20, 25, 25});
  EXPECT_EQ(Shown(f, false, "<デ>\r\n"_cp),
            "-- ユウ ----------------\r\n"_cp
            "ＨＰ     88/  100\r\n"_cp
            "攻撃力   20/   20\r\n"_cp
            "防御力   25/   25\r\n"_cp
            "素早さ   25/   25\r\n"_cp
            "<デ>\r\n"_cp
            "------------------------\r\n");
}

TEST(ShowSheet, AllTalentsWideAndNegativeValues) {
  const TFighter f = Fighter("", {-12, 123456, 0, 5}, {100, 5, 0, 5}, {1, 1, 1, 1});
  EXPECT_EQ(Shown(f, false, ""),
            "--  --------------------\r\n"
            "ＨＰ    -12/  100\r\n"_cp
            "攻撃力123456/    5\r\n"_cp
            "防御力    0/    0\r\n"_cp
            "素早さ    5/    5\r\n"_cp
            "≪魔眼≫≪心眼≫≪クイック≫≪超反応≫\r\n"_cp
            "------------------------\r\n");
}

TEST(ShowSheet, ShortFormShowsOnlyTheStatusWord) {
  const TFighter f = Fighter("鬼"_cp, {100, 30, 25, 20}, {125, 30, 25, 20}, {1, 0, 0, 0});
  EXPECT_EQ(Shown(f, true, "<ガ>\r\n"_cp),
            "-- 鬼 ------------------\r\n"_cp
            "負傷\r\n"_cp
            "<ガ>\r\n"_cp
            "------------------------\r\n");
}

TEST(ShowSheet, HeadingOfALongName) {
  const TFighter f = Fighter("１２３４５６７８"_cp, {0, 0, 0, 0}, {0, 0, 0, 0});  // 16 bytes
  const std::string out = Shown(f, true, "");
  EXPECT_EQ(out.substr(0, out.find("\r\n")), "-- １２３４５６７８ ----"_cp);
}

TEST(StatusWord, EdgesWithBaseHundred) {
  struct Case {
    std::int32_t hp;
    const char* word;
  };
  const Case cases[] = {{101, "十全"_cp}, {100, "十全"_cp}, {99, "負傷"_cp}, {50, "負傷"_cp},
                        {49, "重傷"_cp},  {25, "重傷"_cp},  {24, "瀕死"_cp}, {1, "瀕死"_cp},
                        {0, "死亡"_cp},   {-5, "死亡"_cp}};
  for (const Case& c : cases) {
    EXPECT_EQ(StatusWord(Fighter("", {c.hp, 0, 0, 0}, {100, 0, 0, 0})), c.word) << c.hp;
  }
  // No overflow where four times the HP leaves 32 bits.
  EXPECT_EQ(StatusWord(Fighter("", {1000000000, 0, 0, 0}, {2000000000, 0, 0, 0})), "負傷"_cp);
}

TEST(Fighter, ClearKeepsNameStorageAndChecksum) {
  TPlayer p{};
  p.Name.Assign("ながいなまえ"_cp);
  p.Checksum.Assign("abcdefghij");
  p.BaseStats = {100, 20, 30, 40};
  p.Talents = {1, 0, 1, 0};
  ClearPlayer(p);
  EXPECT_EQ(p.Name.Length, 0);
  EXPECT_EQ(std::string(p.Name.Storage.data(), 12), "ながいなまえ"_cp);
  EXPECT_EQ(p.CurStats, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(p.BaseStats, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(p.Talents, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(p.Checksum.Text(), "abcdefghij");
  // A shorter name leaves the old bytes behind it.
  p.Name.Assign("AB");
  EXPECT_EQ(p.Name.Text(), "AB");
  EXPECT_EQ(std::string(p.Name.Storage.data(), 4), std::string("AB") + "が"_cp);
}

TEST(PlayerImage, LaysOutEveryByte) {
  TPlayer p{};
  p.Name.Assign("ユウ"_cp);
  p.Name.Storage[15] = 'z';
  p.NameGap = {0xA1, 0xA2, 0xA3};
  p.CurStats = {-2, 0x01020304, 3, 4};
  p.BaseStats = {100, 20, 30, 0x7FFFFFFF};
  p.Talents = {1, 0, 1, 2};
  p.Checksum.Assign("abcdefghij");
  p.TailGap = 0xEE;
  const PlayerImage image = ToImage(p);
  ASSERT_EQ(image.size(), 68u);
  EXPECT_EQ(image[0], 4);
  EXPECT_EQ(image[1], 0x83);  // ユ
  EXPECT_EQ(image[2], 0x86);
  EXPECT_EQ(image[16], 'z');
  EXPECT_EQ(image[17], 0xA1);
  EXPECT_EQ(image[19], 0xA3);
  const std::uint8_t minusTwo[] = {0xFE, 0xFF, 0xFF, 0xFF};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image[20 + i], minusTwo[i]);
  const std::uint8_t little[] = {0x04, 0x03, 0x02, 0x01};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image[24 + i], little[i]);
  EXPECT_EQ(image[36], 100);
  EXPECT_EQ(image[48], 0xFF);
  EXPECT_EQ(image[51], 0x7F);
  EXPECT_EQ(image[52], 1);
  EXPECT_EQ(image[55], 2);
  EXPECT_EQ(image[56], 10);
  EXPECT_EQ(image[57], 'a');
  EXPECT_EQ(image[66], 'j');
  EXPECT_EQ(image[67], 0xEE);
  EXPECT_EQ(ToImage(FromImage(image)), image);
  // And any image, whatever its bytes, comes back whole.
  PlayerImage noise{};
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
  EXPECT_EQ(ToImage(FromImage(noise)), noise);
}

}  // namespace
}  // namespace velkor
