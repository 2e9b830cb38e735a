#include <gtest/gtest.h>

#include "persist/save_file.h"
#include "platform/cp932_literal.h"

namespace velkor {
namespace {

TPlayer Sample() {
  TPlayer p{};
  p.Name.Assign("ユウ"_cp);
  p.BaseStats = {100, 30, 25, 25};
  p.CurStats = p.BaseStats;
  p.Talents = {0, 1, 0, 0};
  return p;
}

TEST(CalcChecksum, TenLettersThatIgnoreTheStoredChecksum) {
  const TPlayer plain = Sample();
  const std::string letters = CalcChecksum(plain);
  ASSERT_EQ(letters.size(), 10u);
  for (const char c : letters) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) << c;

  TPlayer sealed = plain;
  StoreChecksum(sealed);
  EXPECT_EQ(sealed.Checksum.Length, 10);
  EXPECT_EQ(sealed.Checksum.Text(), letters);
  TPlayer wrong = plain;
  wrong.Checksum.Assign("zzzzzzzzzz");
  TPlayer shortField = plain;
  shortField.Checksum.Assign("abc");
  for (const TPlayer& p : {sealed, wrong, shortField}) EXPECT_EQ(CalcChecksum(p), letters);
}

TEST(CalcChecksum, LeavesTheRecordAsItWas) {
  TPlayer p = Sample();
  p.Checksum.Assign("abc");
  p.TailGap = 9;
  const PlayerImage before = ToImage(p);
  CalcChecksum(p);
  EXPECT_EQ(ToImage(p), before);
}

// Saved files must stay loadable from one build to the next: these letters
// pin the sealing constants and the image layout.
TEST(CalcChecksum, SealOfAKnownRecordNeverChanges) {
  TPlayer p = Sample();
  EXPECT_EQ(CalcChecksum(p), "bWFoKvlagR");
  p.Name.Assign("");  // the name's bytes stay in its storage and still count
  p.BaseStats = {};
  p.CurStats = {};
  p.Talents = {};
  EXPECT_EQ(CalcChecksum(p), "ixAzVCUlHs");
}

}  // namespace
}  // namespace velkor
