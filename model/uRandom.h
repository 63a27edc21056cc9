#pragma once
// The program's one random generator: a 32-bit linear congruential sequence.
// Every draw of the simulation goes through it, so a run is repeatable from a seed.
#include <cstddef>
#include <cstdint>

extern uint32_t RandSeed;

inline constexpr uint32_t RandMultiplier = 134775813u;
inline constexpr uint32_t RandIncrement = 1u;

// Next seed: seed * 134775813 + 1 (mod 2^32).
inline uint32_t NextRandSeed() {
  RandSeed = RandSeed * RandMultiplier + RandIncrement;
  return RandSeed;
}

// The draw below n that a seed stands for: the high 32 bits of seed * n.
inline int32_t RandomBelow(uint32_t seed, uint32_t n) {
  return static_cast<int32_t>((static_cast<uint64_t>(seed) * n) >> 32);
}

// An integer in [0, n): the high 32 bits of (new seed * n). n <= 0 gives 0.
inline int32_t Random(int32_t n) {
  uint32_t s = NextRandSeed();
  if (n <= 0) return 0;
  return RandomBelow(s, static_cast<uint32_t>(n));
}

// A real in [0, 1): the new seed taken unsigned, times 2^-32.
inline double Random() {
  return static_cast<double>(NextRandSeed()) * (1.0 / 4294967296.0);
}

// Seeds the generator from the monotonic high-resolution clock.
void Randomize();

// The generator's seeds worked out ahead, a block at a time, for a loop that
// makes millions of draws while nothing else draws: a draw then reads a seed
// that is already there instead of waiting for the seed before it. The seeds
// are exactly those NextRandSeed would give, in the same order.
//
// The loop keeps a position: Seed(p) is the seed after p draws from the
// block's first seed, so the next draw's seed is Seed(p + 1). Taking k draws
// moves the position k places on; when the loop ends, Seed(p) is what
// RandSeed must hold.
//
// The seed k steps on is A_k * seed + C_k (mod 2^32), so every seed of a
// block follows from its first one at once, without waiting for the others.
class TRandomAhead {
 public:
  static constexpr int Block = 1024;     // seeds worked out at a time
  static constexpr int MaxReserve = 64;  // most draws one Reserve may ask for

  // The position of `seed`.
  std::ptrdiff_t Start(uint32_t seed) {
    Fill(seed);
    return 0;
  }
  // A position at the same seed as `pos` with at least n draws (n <= MaxReserve) after it.
  std::ptrdiff_t Reserve(std::ptrdiff_t pos, int n) {
    if (pos + n <= Block) return pos;
    Fill(Seeds[pos]);
    return 0;
  }
  uint32_t Seed(std::ptrdiff_t pos) const { return Seeds[pos]; }

 private:
  void Fill(uint32_t seed);

  uint32_t Seeds[Block + 1];
};
