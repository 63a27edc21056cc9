#pragma once
// The program's one random generator: a 32-bit linear congruential sequence.
// Every draw of the simulation goes through it, so a run is repeatable from a seed.
#include <cstdint>

extern uint32_t RandSeed;

// Next seed: seed * 134775813 + 1 (mod 2^32).
inline uint32_t NextRandSeed() {
  RandSeed = RandSeed * 134775813u + 1u;
  return RandSeed;
}

// An integer in [0, n): the high 32 bits of (new seed * n). n <= 0 gives 0.
inline int32_t Random(int32_t n) {
  uint32_t s = NextRandSeed();
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(s) * static_cast<uint32_t>(n)) >> 32);
}

// A real in [0, 1): the new seed taken unsigned, times 2^-32.
inline double Random() {
  return static_cast<double>(NextRandSeed()) * (1.0 / 4294967296.0);
}

// Seeds the generator from the monotonic high-resolution clock.
void Randomize();
