#include <gtest/gtest.h>

#include "model/uRandom.h"

TEST(Random, FollowsTheLinearCongruentialFormula) {
  RandSeed = 0;
  // seed 0 -> 1 -> 134775814 -> 134775814*134775813+1 mod 2^32
  EXPECT_EQ(Random(10), 0);  // seed 1: (1 * 10) >> 32 = 0
  EXPECT_EQ(RandSeed, 1u);
  EXPECT_EQ(Random(100), 3);  // seed 134775814: 134775814*100 >> 32 = 3
  EXPECT_EQ(RandSeed, 134775814u);
  const uint32_t expect = static_cast<uint32_t>(134775814ull * 134775813ull + 1ull);
  const double r = Random();
  EXPECT_EQ(RandSeed, expect);
  EXPECT_DOUBLE_EQ(r, expect / 4294967296.0);
}

TEST(Random, DrawsStayBelowTheBound) {
  RandSeed = 987654321u;
  for (int i = 0; i < 10000; ++i) {
    const int32_t v = Random(3);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 3);
    const double x = Random();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
  }
  RandSeed = 0xFFFFFFFEu;  // next seed is the largest possible
  EXPECT_LT(Random(2), 2);
}

TEST(Random, SeedsWorkedOutAheadFollowTheGenerator) {
  // Positions move on by uneven steps and reservations of every size, across
  // many blocks; each seed must be the one NextRandSeed gives after as many draws.
  for (uint32_t start : {0u, 1u, 0xFFFFFFFFu, 2024u}) {
    TRandomAhead ahead;
    std::ptrdiff_t pos = ahead.Start(start);
    RandSeed = start;
    EXPECT_EQ(ahead.Seed(pos), start);
    for (int step = 0; step < 5000; ++step) {
      const int want = 1 + (step * 7) % TRandomAhead::MaxReserve;
      pos = ahead.Reserve(pos, want);
      ASSERT_EQ(ahead.Seed(pos), RandSeed) << "the reserved position keeps its seed";
      const uint32_t before = RandSeed;
      for (int k = 1; k <= want; ++k) ASSERT_EQ(ahead.Seed(pos + k), NextRandSeed()) << "step " << step;
      RandSeed = before;
      const int taken = 1 + step % want;
      for (int k = 0; k < taken; ++k) NextRandSeed();
      pos += taken;
      ASSERT_EQ(ahead.Seed(pos), RandSeed);
    }
  }
}
