// The tick against a plain reference: every organism in scan order, one draw
// from the generator at a time, through the stores' own operations. Both run
// from the same state on fields of every small shape (where the wrapped
// neighbours coincide), with values at the 32-bit limits, with maxima below
// the counters (as after loading a file), and with families large enough to
// need more draws than the tick works out at once; after each tick every cell,
// amount, counter, histogram and the generator's seed must be equal.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "Invariants.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

void ReferenceTick(TResourceObject& resource, TPlantObject& plant, int32_t& step) {
  const int32_t R = plant.RowCount, C = plant.ColCount;
  const bool hasResources = resource.Count > 0;
  const int32_t lastResource = std::max(0, resource.Count - 1);
  for (int32_t i = 0; i < R; ++i)
    for (int32_t j = 0; j < C; ++j) {
      TPlantCell& c = plant.Field(i, j);
      if (c.BornAhead) {
        c.BornAhead = false;
        continue;
      }
      if (c.Mass <= 0) continue;
      TPlantParameter& S = plant.Params[c.Species];
      int32_t eaten = 0;
      if (c.Age != c.Genome.AgeMax() && hasResources)
        eaten = resource.TakeAmount(c.Genome.ResourceIn(), i, j, c.Genome.ResourceEat());
      if (eaten == 0) {
        if (hasResources) resource.AddAmount(c.Genome.ResourceOut(), i, j, c.Mass);
        plant.Kill(c.Species, i, j);
        continue;
      }
      const int32_t grown = c.Mass > INT32_MAX - eaten ? INT32_MAX : c.Mass + eaten;
      S.Const.Mass += grown - c.Mass;
      c.Mass = grown;
      if (c.Age != INT32_MAX) ++c.Age;
      const TGenome g = c.Genome;
      if (c.Age >= g.AgeReproduct() && g.AgeReproduct() > 0 && g.ResourceBegin() > 0 && g.ChildrenCount() >= 1 &&
          static_cast<int64_t>(g.ChildrenCount()) * g.ResourceBegin() < c.Mass) {
        for (int32_t n = 0; n < g.ChildrenCount(); ++n) {
          c.Mass -= g.ResourceBegin();
          S.Const.Mass -= g.ResourceBegin();
          int32_t tr = i + Random(3) - 1;
          int32_t tc = j + Random(3) - 1;
          if (tr < 0) tr += R;
          if (tc < 0) tc += C;
          if (tr > R - 1) tr -= R;
          if (tc > C - 1) tc -= C;
          const bool mutates = g.Mutation() > 100.0L * static_cast<long double>(Random());
          TGenome child = g;
          if (mutates)
            for (int k = 0; k < GeneCount; ++k) {
              const int64_t v = static_cast<int64_t>(child[k]) + Random(3) - 1;
              const int64_t top = k == gChildrenCount ? MaxChildrenCount
                                  : k == gMutation    ? 100
                                  : k >= gResourceIn  ? lastResource
                                                      : INT32_MAX;
              child[k] = static_cast<int32_t>(std::clamp<int64_t>(v, 0, top));
            }
          TPlantCell& t = plant.Field(tr, tc);
          if (t.Mass != 0) {
            resource.AddAmount(g.ResourceOut(), tr, tc, g.ResourceBegin());
            continue;
          }
          S.Const.Count += 1;
          S.Const.Mass += g.ResourceBegin();
          t.Genome = child;
          t.Mass = g.ResourceBegin();
          t.Species = c.Species;
          t.Age = 0;
          t.BornAhead = tr > i || (tr == i && tc > j);
          plant.StatAddCell(S.Stat, t);
        }
      }
      S.Stat.MaxCount = std::max(S.Stat.MaxCount, S.Const.Count);
      S.Stat.MaxMass = std::max(S.Stat.MaxMass, S.Const.Mass);
    }
  if (step != INT32_MAX) ++step;
}

void ExpectSameStores(const TResourceObject& r1, const TPlantObject& p1, const TResourceObject& r2,
                      const TPlantObject& p2) {
  for (int32_t k = 0; k < r1.Count; ++k) {
    const TResourceParameter &a = r1.Params[k], &b = r2.Params[k];
    EXPECT_EQ(a.CellCount, b.CellCount) << "resource " << k;
    EXPECT_EQ(a.Total, b.Total) << "resource " << k;
    EXPECT_EQ(a.MaxCellCount, b.MaxCellCount) << "resource " << k;
    EXPECT_EQ(a.MaxTotal, b.MaxTotal) << "resource " << k;
    for (int32_t r = 0; r < r1.RowCount; ++r)
      for (int32_t c = 0; c < r1.ColCount; ++c)
        ASSERT_EQ(r1.Amount(k, r, c), r2.Amount(k, r, c)) << "resource " << k << " at " << r << "," << c;
  }
  for (int32_t s = 0; s < p1.Count; ++s) {
    const TPlantParameter &a = p1.Params[s], &b = p2.Params[s];
    EXPECT_EQ(a.Const.Count, b.Const.Count) << "species " << s;
    EXPECT_EQ(a.Const.Mass, b.Const.Mass) << "species " << s;
    EXPECT_EQ(a.Stat.MaxCount, b.Stat.MaxCount) << "species " << s;
    EXPECT_EQ(a.Stat.MaxMass, b.Stat.MaxMass) << "species " << s;
    for (int k = 0; k < GeneCount; ++k) EXPECT_EQ(a.Stat.Histogram[k], b.Stat.Histogram[k]) << "species " << s;
  }
  for (int32_t r = 0; r < p1.RowCount; ++r)
    for (int32_t c = 0; c < p1.ColCount; ++c) {
      const TPlantCell &a = p1.Field(r, c), &b = p2.Field(r, c);
      ASSERT_TRUE(a.Genome == b.Genome && a.Species == b.Species && a.Mass == b.Mass && a.Age == b.Age &&
                  a.BornAhead == b.BornAhead)
          << "cell " << r << "," << c;
    }
}

// Ticks two copies of a state, one with each tick, comparing after every tick.
void RunBoth(const std::string& what, const TResourceObject& resource, const TPlantObject& plant, uint32_t seed,
             int ticks) {
  SCOPED_TRACE(what);
  TResourceObject r1 = resource, r2 = resource;
  TPlantObject p1 = plant, p2 = plant;
  int32_t s1 = 0, s2 = 0;
  uint32_t seed1 = seed, seed2 = seed;
  for (int t = 0; t < ticks; ++t) {
    RandSeed = seed1;
    Tick(r1, p1, s1);
    seed1 = RandSeed;
    RandSeed = seed2;
    ReferenceTick(r2, p2, s2);
    seed2 = RandSeed;
    ASSERT_EQ(seed1, seed2) << "tick " << t;
    ASSERT_EQ(s1, s2);
    ExpectSameStores(r1, p1, r2, p2);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "after tick " << t;
      return;
    }
  }
  ExpectPlantCountersMatchGrid(p1);
}

// A busy field: amounts and organisms everywhere, genomes that breed fast.
void Populate(TResourceObject& resource, TPlantObject& plant, std::mt19937& gen, int32_t children, int32_t mutation) {
  for (int k = 0; k < 2; ++k) resource.Add("R" + std::to_string(k), 25, 70, clYellow);
  for (int s = 0; s < 3; ++s)
    plant.Add(NewPlantParameter(
        "S" + std::to_string(s),
        TGenome(1 + s % 2, 1 + s, 1 + s, 6 + 3 * s, children + s % 2, s == 0 ? mutation : 30 * s, s % 2, (s + 1) % 2)));
  for (int32_t r = 0; r < plant.RowCount; ++r)
    for (int32_t c = 0; c < plant.ColCount; ++c) {
      for (int k = 0; k < 2; ++k)
        if (gen() % 4) resource.AddAmount(k, r, c, 1 + static_cast<int32_t>(gen() % 60));
      if (gen() % 3) plant.Place(static_cast<int32_t>(gen() % 3), r, c);
    }
}

}  // namespace

TEST(TickReference, EveryFieldShapeGivesTheSameStores) {
  const int shapes[][2] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 3}, {3, 1}, {2, 3}, {3, 3}, {4, 7}, {5, 10}, {9, 31}};
  std::mt19937 gen(7);
  for (const auto& shape : shapes)
    for (uint32_t seed : {1u, 0xFFFFFFFFu, 20240611u}) {
      TResourceObject resource(0, shape[0], shape[1]);
      TPlantObject plant(0, shape[0], shape[1]);
      Populate(resource, plant, gen, 3, 10);
      RunBoth(std::to_string(shape[0]) + "x" + std::to_string(shape[1]) + " seed " + std::to_string(seed), resource,
              plant, seed, 40);
    }
}

TEST(TickReference, LargeFamiliesAndMutationAtEveryRate) {
  // Up to 40 children each, many more draws than one block of worked-out seeds,
  // and mutation rates 0, 1, 50, 99 and 100.
  std::mt19937 gen(11);
  for (int32_t mutation : {0, 1, 50, 99, 100}) {
    TResourceObject resource(0, 12, 17);
    TPlantObject plant(0, 12, 17);
    Populate(resource, plant, gen, 6, mutation);
    for (int32_t r = 0; r < 12; ++r)
      for (int32_t c = 0; c < 17; ++c) {
        TPlantCell& cell = plant.Field(r, c);
        if (cell.Mass <= 0 || (r + c) % 5) continue;
        TPlantParameter& s = plant.Params[cell.Species];
        for (int k = 0; k < GeneCount; ++k) plant.StatRemove(cell.Genome[k], s.Stat.Histogram[k]);
        cell.Genome.ChildrenCount() = 40;
        s.Const.Mass += 500 - cell.Mass;
        cell.Mass = 500;
        plant.StatAddCell(s.Stat, cell);
      }
    RunBoth("mutation " + std::to_string(mutation), resource, plant, 99u + static_cast<uint32_t>(mutation), 30);
  }
}

TEST(TickReference, LimitsMaximaBelowTheCountersAndNoResources) {
  std::mt19937 gen(3);
  {
    TResourceObject resource(0, 6, 11);
    TPlantObject plant(0, 6, 11);
    Populate(resource, plant, gen, 3, 40);
    for (int32_t r = 0; r < 6; ++r)
      for (int32_t c = 0; c < 11; ++c) {
        if ((r * 11 + c) % 4 == 0) resource.Field(r % 2, r, c) = INT_MAX - static_cast<int32_t>(gen() % 3);
        TPlantCell& cell = plant.Field(r, c);
        if (cell.Mass <= 0 || (r * 11 + c) % 3) continue;
        TPlantParameter& s = plant.Params[cell.Species];
        for (int k = 0; k < GeneCount; ++k) plant.StatRemove(cell.Genome[k], s.Stat.Histogram[k]);
        cell.Genome = TGenome(c % 2 ? INT_MAX : 1, 2, 1, c % 3 ? INT_MAX : 5, c % 4 ? MaxChildrenCount : 2, 100, 1, 0);
        s.Const.Mass += static_cast<int64_t>(INT_MAX - 1) - cell.Mass;
        cell.Mass = INT_MAX - 1;
        cell.Age = c % 2 ? INT_MAX - 1 : 0;
        plant.StatAddCell(s.Stat, cell);
      }
    for (int k = 0; k < resource.Count; ++k) resource.Recount(k);
    RunBoth("values at the limits", resource, plant, 5u, 30);
    // After loading a file the maxima are not known: the tick raises them
    // from 0 at the same moments as the plain scan.
    for (auto& p : resource.Params) p.MaxTotal = p.MaxCellCount = 0;
    for (auto& p : plant.Params) p.Stat.MaxCount = 0, p.Stat.MaxMass = 0;
    RunBoth("maxima below the counters", resource, plant, 6u, 5);
  }
  {
    TResourceObject resource(0, 5, 10);
    TPlantObject plant(0, 5, 10);
    plant.Add(NewPlantParameter("A", TGenome(1, 1, 1, 9, 3, 10, 0, 0)));
    for (int32_t c = 0; c < 10; ++c) plant.Place(0, c % 5, c);
    RunBoth("no resources", resource, plant, 8u, 3);
  }
}
