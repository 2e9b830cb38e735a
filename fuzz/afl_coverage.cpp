// Coverage for afl-fuzz from GCC's own instrumentation. GCC calls
// __sanitizer_cov_trace_pc at every basic block of code compiled with
// -fsanitize-coverage=trace-pc; each call marks the edge from the block
// before in AFL++'s shared map, which its runtime (afl-compiler-rt.o, linked
// into the harness) sets up together with the fork server and the
// persistent loop. AFL++'s own GCC instrumentation cannot be used: its
// plugin refuses Debian's GCC 12, and its classic assembler mode has no
// persistent loop, which runs an input here some twenty times faster than
// a fork for each.
#include <cstdint>

#include "fuzz/afl_coverage.h"

extern "C" std::uint8_t* __afl_area_ptr;  // AFL++'s map, 64 KiB as fuzz/run.sh sets it
// Where the program is loaded, from the linker. Blocks are told apart by
// their offset from it: their addresses move with every process.
extern "C" const char __executable_start[];

namespace {

constexpr std::uintptr_t MapMask = 0xFFFF;
thread_local std::uintptr_t previousBlock = 0;

}  // namespace

extern "C" __attribute__((no_sanitize_coverage)) void __sanitizer_cov_trace_pc() {
  // The block's offset, mixed so that nearby blocks spread over the map;
  // shifted once for the edge, so that A->B and B->A differ.
  auto block = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) -
               reinterpret_cast<std::uintptr_t>(__executable_start);
  block = ((block >> 4) ^ (block << 8)) & MapMask;
  std::uint8_t& hits = __afl_area_ptr[block ^ previousBlock];
  hits =
      static_cast<std::uint8_t>(hits == 255 ? 1 : hits + 1);  // a count that wraps to 0 would hide the edge
  previousBlock = block >> 1;
}

namespace velkor::fuzz {

__attribute__((no_sanitize_coverage)) void ForgetPreviousBlock() { previousBlock = 0; }

}  // namespace velkor::fuzz
