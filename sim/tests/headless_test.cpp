// A battle that nobody watches builds no text and asks for no memory. It
// has no console to call: SimulateBattle is given none.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "sim/build.h"
#include "sim/policy_registry.h"
#include "sim/simulation.h"

namespace {
std::atomic<std::size_t> allocations{0};
}  // namespace

// Every allocation of this test program is counted. All the forms are
// replaced, so that none of them meets another's release (the sanitizers
// check that they match).
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace velkor::sim {
namespace {

TEST(Headless, NoTextNoConsoleNoAllocation) {
  for (const char* name : {"greedy", "random"}) {
    const auto policy = MakePolicy(name);
    const TFighter fighter = MakeFighter(Build{{25, 25, 20, 22}, {1, 1, 0, 1}});
    // A first round fills the tables the policies keep.
    for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy)
      for (std::uint32_t seed = 0; seed < 200; ++seed) SimulateBattle(fighter, enemy, *policy, {seed, seed});
    for (std::int32_t enemy = 0; enemy < RosterSize; ++enemy) {
      const std::size_t before = allocations.load();
      for (std::uint32_t seed = 200; seed < 400; ++seed)
        SimulateBattle(fighter, enemy, *policy, {seed, seed});
      EXPECT_EQ(allocations.load(), before) << name << " against " << enemy;
    }
  }
}

}  // namespace
}  // namespace velkor::sim
