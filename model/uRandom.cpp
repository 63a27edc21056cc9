#include "model/uRandom.h"

#include <time.h>

uint32_t RandSeed = 0;

void Randomize() {
  timespec ts{};
  if (clock_gettime(CLOCK_MONOTONIC, &ts) == 0) {
    uint64_t ns = static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
    RandSeed = static_cast<uint32_t>(ns ^ (ns >> 32));
  } else {
    RandSeed = static_cast<uint32_t>(time(nullptr));
  }
}

namespace {

// A_k and C_k of the seed k steps on, for k = 0 .. Block.
struct TJumps {
  uint32_t A[TRandomAhead::Block + 1];
  uint32_t C[TRandomAhead::Block + 1];
};

constexpr TJumps MakeJumps() {
  TJumps j{};
  j.A[0] = 1;
  j.C[0] = 0;
  for (int k = 1; k <= TRandomAhead::Block; ++k) {
    j.A[k] = j.A[k - 1] * RandMultiplier;
    j.C[k] = j.C[k - 1] * RandMultiplier + RandIncrement;
  }
  return j;
}

constexpr TJumps Jumps = MakeJumps();

// Built twice, for processors with AVX2 (eight seeds in one multiply) and for
// the rest; the loader picks one.
__attribute__((target_clones("avx2", "default"))) void FillSeeds(uint32_t* seeds, uint32_t seed) {
  for (int k = 0; k <= TRandomAhead::Block; ++k) seeds[k] = Jumps.A[k] * seed + Jumps.C[k];
}

}  // namespace

void TRandomAhead::Fill(uint32_t seed) { FillSeeds(Seeds, seed); }
