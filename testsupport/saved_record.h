#pragma once
// The record a save.dat holds, read back for a test to look at.

#include <gtest/gtest.h>

#include <string>

#include "data/fighter.h"

namespace velkor::test {

// The record of a file's bytes; a file that is not one image fails the test.
inline TPlayer RecordOf(const std::string& file) {
  EXPECT_EQ(file.size(), PlayerImageSize);
  return FromImageBytes(file);
}

}  // namespace velkor::test
