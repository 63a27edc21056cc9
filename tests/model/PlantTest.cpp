#include <gtest/gtest.h>

#include "Invariants.h"
#include "model/uPlant.h"
#include "model/uRandom.h"

TEST(Histogram, StaysSortedWithoutDuplicatesOrZeros) {
  TStatArray h;
  for (int v : {5, 3, 5, 4}) StatAdd(v, h);
  EXPECT_EQ(h, (TStatArray{{3, 1}, {4, 1}, {5, 2}}));
  TPlantObject p(0, 5, 10);
  p.StatRemove(4, h);
  EXPECT_EQ(h, (TStatArray{{3, 1}, {5, 2}}));
  p.StatRemove(7, h);  // absent: nothing changes
  EXPECT_EQ(h, (TStatArray{{3, 1}, {5, 2}}));
  TStatArray empty;
  p.StatRemove(1, empty);
  EXPECT_TRUE(empty.empty());
}

TEST(PlantStore, PlaceOverAnotherSpeciesMovesTheOrganism) {
  TPlantObject p(0, 5, 10);
  p.SetSize(5, 10);
  p.Add(MakeSpecies("A", 2, 1, 5, 10, 3, 10, 0, 0));
  p.Add(MakeSpecies("B", 7, 1, 5, 10, 3, 10, 0, 0));
  p.Place(0, 1, 1);
  p.Place(1, 1, 1);
  EXPECT_EQ(p.Params[0].Const.Count, 0);
  EXPECT_EQ(p.Params[1].Const.Count, 1);
  EXPECT_EQ(p.Params[1].Const.Mass, 7);
  EXPECT_EQ(p.Params[0].Stat.MaxCount, 1);
  p.Field(1, 1).Mass = 20;  // grown
  p.Params[1].Const.Mass = 20;
  p.Place(1, 1, 1);         // same species: count stays, mass back to the newborn mass
  EXPECT_EQ(p.Params[1].Const.Count, 1);
  EXPECT_EQ(p.Params[1].Const.Mass, 7);
  p.Kill(0, 1, 1);  // wrong species: nothing happens
  EXPECT_EQ(p.Params[1].Const.Count, 1);
  p.Place(1, -1, 3);
  ExpectPlantCountersMatchGrid(p);
  EXPECT_DOUBLE_EQ(static_cast<double>(p.Params[1].Stat.Average[gResourceBegin]), 7.0);
  p.Kill(1, 1, 1);
  p.CalcAverage(1);
  EXPECT_DOUBLE_EQ(static_cast<double>(p.Params[1].Stat.Average[gResourceBegin]), 0.0);
}

TEST(PlantStore, MutantsFollowTheSpeciesRecord) {
  TPlantObject p(0, 5, 10);
  p.SetSize(5, 10);
  p.Add(MakeSpecies("A", 1, 1, 5, 10, 3, 10, 0, 0));
  p.Place(0, 2, 2);
  EXPECT_FALSE(p.IsMutant(2, 2));
  EXPECT_FALSE(p.IsMutant(0, 0));
  p.Params[0].Param.Mutation() = 11;
  EXPECT_TRUE(p.IsMutant(2, 2));
  p.EmptyColor = clFieldDefault;
  p.Params[0].Const.Color = clLime;
  EXPECT_EQ(p.GetColor(2, 2), clLime);
  EXPECT_EQ(p.GetColor(0, 0), clFieldDefault);
  EXPECT_EQ(p.GetSpeciesColor(0, 2, 2), clLime);
}

TEST(PlantStore, ShrinkingAndDeletingKeepCountsAndIndexes) {
  TPlantObject p(0, 6, 10);
  p.SetSize(6, 10);
  for (int s = 0; s < 3; ++s) p.Add(MakeSpecies("S" + std::to_string(s), 1, 1, 5, 10, 3, 10, s % 2, 1));
  RandSeed = 5;
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 10; ++c) p.Place(Random(3), r, c);
  p.SetSize(5, 10);  // drops the last row
  ExpectPlantCountersMatchGrid(p);
  const int32_t countOf2 = p.Params[2].Const.Count;
  p.Delete(0);
  ASSERT_EQ(p.Count, 2);
  EXPECT_EQ(p.Params[0].Const.Name, "S1");
  EXPECT_EQ(p.Params[1].Const.Name, "S2");
  EXPECT_EQ(p.Params[1].Const.Count, countOf2);
  ExpectPlantCountersMatchGrid(p);
  // Resource 0 goes away: food and waste indexes above it move down.
  p.ResourceDeleted(0);
  EXPECT_EQ(p.Params[0].Param.ResourceIn(), 0);
  EXPECT_EQ(p.Params[0].Param.ResourceOut(), 0);
  ExpectPlantCountersMatchGrid(p);
  p.Clear(-1);
  ExpectPlantCountersMatchGrid(p);
  EXPECT_EQ(p.Params[0].Stat.MaxCount, 0);
}
