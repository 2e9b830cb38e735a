#pragma once
// The fuzz build's coverage, as afl-fuzz reads it (fuzz/afl_coverage.cpp).

#include <cstdint>

// AFL++'s persistent loop (afl-compiler-rt.o): true while afl-fuzz has
// another input for this process, at most count times; once without it.
extern "C" int __afl_persistent_loop(unsigned int count);

namespace velkor::fuzz {

// Each input starts its first edge from nowhere, so that the same input
// always marks the same edges.
void ForgetPreviousBlock();

}  // namespace velkor::fuzz
