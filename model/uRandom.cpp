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
