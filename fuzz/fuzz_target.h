#pragma once
// The entry point of every harness, in the form fuzzers share: one input as
// bytes, 0 when it has been run. A fault found aborts the process.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
