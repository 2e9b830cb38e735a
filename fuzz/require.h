#pragma once
// A harness's own checks: a check that fails is a fault found, so it ends
// the process the way a crash does, for the fuzzer to keep the input.

#include <cstdio>
#include <cstdlib>

namespace velkor::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::abort();
}

}  // namespace velkor::fuzz
