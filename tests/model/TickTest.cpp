#include <gtest/gtest.h>

#include "Invariants.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

struct World {
  TResourceObject Resource{0, 5, 10};
  TPlantObject Plant{0, 5, 10};
  int32_t Step = 0;
  World(int rows = 5, int cols = 10) {
    Resource.SetSize(rows, cols);
    Plant.SetSize(rows, cols);
    Resource.Add("Food", 25, 70, clYellow);
    Resource.Add("Waste", 25, 70, clRed);
  }
  void Tick() { ::Tick(Resource, Plant, Step); }
};

}  // namespace

TEST(Tick, AgeingFeedingAndDeathIntoWaste) {
  World w;
  w.Plant.Add(MakeSpecies("A", 1, 2, 100, 3, 1, 0, 0, 1));
  w.Plant.Place(0, 2, 2);
  w.Resource.AddAmount(0, 2, 2, 100);
  w.Tick();
  EXPECT_EQ(w.Step, 1);
  EXPECT_EQ(w.Plant.Field(2, 2).Mass, 3);
  EXPECT_EQ(w.Plant.Field(2, 2).Age, 1);
  EXPECT_EQ(w.Resource.Amount(0, 2, 2), 98);
  w.Tick();
  w.Tick();  // age 3 = AgeMax after this tick
  EXPECT_EQ(w.Plant.Field(2, 2).Age, 3);
  EXPECT_EQ(w.Plant.Field(2, 2).Mass, 7);
  w.Tick();  // dies, leaving its mass as waste
  EXPECT_EQ(w.Plant.Field(2, 2).Mass, 0);
  EXPECT_EQ(w.Resource.Amount(1, 2, 2), 7);
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 0);
  ExpectPlantCountersMatchGrid(w.Plant);
}

TEST(Tick, HungerAndZeroFoodKill) {
  World w;
  w.Plant.Add(MakeSpecies("A", 2, 1, 100, 50, 1, 0, 0, 1));
  w.Plant.Add(MakeSpecies("NoEat", 3, 0, 100, 50, 1, 0, 0, 0));
  w.Plant.Place(0, 1, 1);  // no food in its cell
  w.Resource.AddAmount(0, 3, 3, 10);
  w.Plant.Place(1, 3, 3);  // asks for 0: takes nothing and dies
  w.Tick();
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 0);
  EXPECT_EQ(w.Plant.Params[1].Const.Count, 0);
  EXPECT_EQ(w.Resource.Amount(1, 1, 1), 2);
  EXPECT_EQ(w.Resource.Amount(0, 3, 3), 13);
}

TEST(Tick, ReproducesOnlyWhenHeavyEnough) {
  // ChildrenCount 3, ResourceBegin 1: reproduces only with a mass of at least 4 after eating.
  World w;
  w.Plant.Add(MakeSpecies("A", 1, 2, 1, 100, 3, 0, 0, 1));
  w.Plant.Place(0, 2, 5);
  w.Resource.AddAmount(0, 2, 5, 1000);
  w.Tick();  // mass 3: 3 * 1 < 3 fails
  EXPECT_EQ(w.Plant.Field(2, 5).Mass, 3);
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 1);
  const int64_t before = TotalMatter(w.Resource, w.Plant);
  w.Tick();  // mass 5: gives 3 away
  EXPECT_EQ(w.Plant.Field(2, 5).Mass, 2);
  EXPECT_EQ(TotalMatter(w.Resource, w.Plant), before);
  ExpectPlantCountersMatchGrid(w.Plant);
}

TEST(Tick, ChildrenWrapAroundEveryEdgeAndAheadOnesWait) {
  // Parents in the four corners, many children each: every child lands in the
  // 3x3 block around its parent, wrapped; none acts in the tick of its birth.
  for (uint32_t seed = 1; seed < 40; ++seed) {
    World w(5, 10);
    w.Plant.Add(MakeSpecies("A", 1, 50, 1, 100, 8, 0, 0, 1));
    const int corners[4][2] = {{0, 0}, {0, 9}, {4, 0}, {4, 9}};
    // Food everywhere: a child the scan did not skip would eat and age at once.
    w.Resource.AddAmountEverywhere(0, 1000);
    for (auto& rc : corners) w.Plant.Place(0, rc[0], rc[1]);
    RandSeed = seed;
    w.Tick();
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 10; ++c) {
        const TPlantCell& cell = w.Plant.Field(r, c);
        if (cell.Mass <= 0) continue;
        bool parent = false;
        for (auto& rc : corners) parent |= rc[0] == r && rc[1] == c;
        if (parent) continue;
        EXPECT_EQ(cell.Age, 0) << "a child never acts in its birth tick";
        EXPECT_EQ(cell.Mass, 1);
        const bool nearCorner = (r == 0 || r == 1 || r == 4 || r == 3) && (c <= 1 || c >= 8);
        EXPECT_TRUE(nearCorner) << r << "," << c;
      }
    ExpectPlantCountersMatchGrid(w.Plant);
  }
}

TEST(Tick, MutationStaysWithinBounds) {
  World w(5, 10);
  w.Plant.Add(MakeSpecies("A", 1, 1, 1, 100, 8, 100, 0, 1));
  w.Plant.Place(0, 2, 5);
  w.Resource.AddAmountEverywhere(0, 1000);
  RandSeed = 11;
  for (int t = 0; t < 30; ++t) w.Tick();
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 10; ++c) {
      const TPlantCell& cell = w.Plant.Field(r, c);
      if (cell.Mass <= 0) continue;
      EXPECT_LE(cell.Genome.Mutation(), 100);
      EXPECT_GE(cell.Genome.ResourceIn(), 0);
      EXPECT_LT(cell.Genome.ResourceIn(), w.Resource.Count);
      EXPECT_LT(cell.Genome.ResourceOut(), w.Resource.Count);
      for (int k = 0; k < gMutation; ++k) EXPECT_GE(cell.Genome[k], 0);
    }
  ExpectPlantCountersMatchGrid(w.Plant);
}

TEST(Tick, ConservesMatterOnABusyField) {
  World w(20, 30);
  w.Plant.Add(MakeSpecies("A", 1, 1, 3, 12, 3, 10, 0, 1));
  w.Plant.Add(MakeSpecies("B", 2, 2, 4, 15, 2, 30, 1, 0));
  w.Plant.Add(MakeSpecies("C", 1, 3, 2, 9, 4, 0, 0, 0));
  RandSeed = 2024;
  w.Resource.AddAmountEverywhere(0, 20);
  w.Resource.AddAmountEverywhere(1, 20);
  for (int r = 0; r < 20; ++r)
    for (int c = 0; c < 30; ++c)
      if (Random(10) < 8) w.Plant.Place(Random(3), r, c);
  const int64_t matter = TotalMatter(w.Resource, w.Plant);
  for (int t = 0; t < 200; ++t) {
    w.Tick();
    ASSERT_EQ(TotalMatter(w.Resource, w.Plant), matter) << "tick " << t;
  }
  ExpectPlantCountersMatchGrid(w.Plant);
  for (int res = 0; res < w.Resource.Count; ++res) {
    int64_t total = 0;
    for (int r = 0; r < 20; ++r)
      for (int c = 0; c < 30; ++c) total += w.Resource.Amount(res, r, c);
    EXPECT_EQ(w.Resource.Params[res].Total, total);
  }
}

TEST(Tick, HugeGenomesDoNotOverflowTheReproductionTest) {
  World w;
  // 3 * 2^30 overflows 32 bits; in 64 bits it is far above the mass, so no birth.
  w.Plant.Add(MakeSpecies("A", 1 << 30, 1, 1, 100, 3, 0, 0, 1));
  w.Plant.Place(0, 2, 2);
  w.Resource.AddAmount(0, 2, 2, 10);
  w.Tick();
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 1);
  EXPECT_GT(w.Plant.Field(2, 2).Mass, 0);
}

TEST(StopRules, EmptyFieldAndFirstExtinction) {
  World w;
  w.Plant.Add(MakeSpecies("A", 1, 1, 100, 2, 1, 0, 0, 1));
  w.Plant.Add(MakeSpecies("B", 1, 1, 100, 50, 1, 0, 0, 1));
  TRunStopRules rules;
  rules.Start(w.Plant);
  EXPECT_TRUE(rules.ShouldStop(w.Plant, false)) << "nothing alive";

  w.Resource.AddAmountEverywhere(0, 100);
  w.Plant.Place(0, 1, 1);
  w.Plant.Place(1, 3, 3);
  rules.Start(w.Plant);
  w.Tick();
  EXPECT_FALSE(rules.ShouldStop(w.Plant, true));
  w.Tick();
  w.Tick();  // A dies of age
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 0);
  EXPECT_FALSE(rules.ShouldStop(w.Plant, false)) << "without the option the run goes on";
  EXPECT_FALSE(rules.ShouldStop(w.Plant, true)) << "a species stops a run once";

  rules.Start(w.Plant);
  rules.SpeciesAdded();  // added during a run: an entry that cannot stop it
  w.Plant.Add(MakeSpecies("C", 1, 1, 100, 50, 1, 0, 0, 1));
  EXPECT_EQ(rules.Entries().size(), 3u);
  rules.SpeciesDeleted(0);
  w.Plant.Delete(0);
  EXPECT_EQ(rules.Entries(), (std::vector<int32_t>{1, 0}));
  w.Plant.Kill(0, 3, 3);
  EXPECT_TRUE(rules.ShouldStop(w.Plant, true));
}

TEST(Tick, FieldWithoutResourcesStarvesSafely) {
  TResourceObject resource(0, 5, 10);
  TPlantObject plant(0, 5, 10);  // the grid exists even before the first species
  plant.Add(MakeSpecies("A", 1, 1, 1, 10, 1, 0, 0, 0));
  plant.Place(0, 4, 9);
  int32_t step = 0;
  Tick(resource, plant, step);
  EXPECT_EQ(plant.Params[0].Const.Count, 0);
  plant.Place(0, 4, 9);
  plant.SetSize(5, 10);
  plant.SetSize(5, 9);
  EXPECT_EQ(plant.Params[0].Const.Count, 0);
  ExpectPlantCountersMatchGrid(plant);
}

TEST(Tick, MassAgeAndTickCounterStopAtTheLimit) {
  World w;
  w.Plant.Add(MakeSpecies("A", 1, 5, 0, 50, 1, 0, 0, 1));  // never reproduces
  w.Plant.Place(0, 1, 1);
  w.Plant.Place(0, 3, 3);
  w.Resource.AddAmount(0, 1, 1, 100);
  w.Resource.AddAmount(0, 3, 3, 100);
  // A mass and an age at the top of the 32-bit range, as a data file may hold them.
  TPlantCell& heavy = w.Plant.Field(1, 1);
  w.Plant.Params[0].Const.Mass += INT32_MAX - 2 - heavy.Mass;
  heavy.Mass = INT32_MAX - 2;
  TPlantCell& old = w.Plant.Field(3, 3);
  old.Age = INT32_MAX;
  w.Step = INT32_MAX - 1;
  for (int t = 0; t < 3; ++t) {
    w.Tick();
    ExpectPlantCountersMatchGrid(w.Plant);
  }
  EXPECT_EQ(w.Step, INT32_MAX);
  EXPECT_EQ(w.Plant.Field(1, 1).Mass, INT32_MAX);
  EXPECT_EQ(w.Plant.Field(3, 3).Age, INT32_MAX);
  EXPECT_EQ(w.Plant.Field(3, 3).Mass, 1 + 3 * 5);
  EXPECT_EQ(w.Plant.Params[0].Const.Count, 2);
}

TEST(Tick, MutationKeepsChildrenCountBelowItsBound) {
  World w(5, 10);
  w.Plant.Add(MakeSpecies("A", 1, 1, 1, 3, MaxChildrenCount, 100, 0, 1));
  w.Plant.Place(0, 2, 5);
  w.Plant.Field(2, 5).Mass = 5000;
  w.Plant.Params[0].Const.Mass = 5000;
  w.Resource.AddAmountEverywhere(0, 1000);
  RandSeed = 5;
  int children = 0;
  for (int t = 0; t < 3; ++t) {
    w.Tick();
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 10; ++c) {
        const TPlantCell& cell = w.Plant.Field(r, c);
        if (cell.Mass <= 0) continue;
        ++children;
        EXPECT_LE(cell.Genome.ChildrenCount(), MaxChildrenCount);
      }
  }
  EXPECT_GT(children, 10);
  ExpectPlantCountersMatchGrid(w.Plant);
}
