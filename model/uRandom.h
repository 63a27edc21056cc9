#pragma once
// The program's one random generator: a 32-bit linear congruential sequence.
// Every draw of the simulation goes through it, so a run is repeatable from a seed.
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
// that is already there instead of waiting for the one before it. The seeds
// are exactly those NextRandSeed would give, in the same order.
//
// The loop keeps a cursor: a pointer to the seed reached so far, whose next
// seeds are those of the coming draws (cursor[1] the next draw's, and so on).
// Taking k draws moves the cursor k places on; when the loop ends, the seed
// under the cursor is what RandSeed must hold.
//
// The seed k steps on is A_k * seed + C_k, so Lanes seeds follow at once from
// one, and each later seed from the one Lanes places before it.
class TRandomAhead {
 public:
  static constexpr int Lanes = 8;
  static constexpr int Block = 1024;     // seeds worked out at a time
  static constexpr int MaxReserve = 64;  // most seeds one Reserve may ask for

  // The cursor at `seed`.
  const uint32_t* Start(uint32_t seed) { return Fill(seed); }
  // The cursor at the same seed with at least n seeds (n <= MaxReserve) after it.
  const uint32_t* Reserve(const uint32_t* cursor, int n) {
    return cursor + n <= Seeds + Block ? cursor : Fill(*cursor);
  }

 private:
  // A_k and C_k for k = 0 .. Lanes.
  struct TJump {
    uint32_t A[Lanes + 1];
    uint32_t C[Lanes + 1];
  };
  static constexpr TJump Jump = [] {
    TJump j{};
    j.A[0] = 1;
    j.C[0] = 0;
    for (int k = 1; k <= Lanes; ++k) {
      j.A[k] = j.A[k - 1] * RandMultiplier;
      j.C[k] = j.C[k - 1] * RandMultiplier + RandIncrement;
    }
    return j;
  }();

  const uint32_t* Fill(uint32_t seed) {
    Seeds[0] = seed;
    for (int k = 1; k <= Lanes; ++k) Seeds[k] = Jump.A[k] * seed + Jump.C[k];
    for (int k = Lanes + 1; k <= Block; ++k) Seeds[k] = Jump.A[Lanes] * Seeds[k - Lanes] + Jump.C[Lanes];
    return Seeds;
  }

  uint32_t Seeds[Block + 1];
};
