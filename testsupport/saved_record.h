#pragma once
// The record a save.dat holds, read back for a test to look at.

#include <gtest/gtest.h>

#include <string>

#include "data/fighter.h"

namespace velkor::test {

// The record of a file's bytes; a file that is not one image fails the test.
inline TPlayer RecordOf(const std::string& file) {
  PlayerImage image{};
  EXPECT_EQ(file.size(), image.size());
  for (std::size_t i = 0; i < image.size() && i < file.size(); ++i)
    image[i] = static_cast<std::uint8_t>(file[i]);
  return FromImage(image);
}

}  // namespace velkor::test
