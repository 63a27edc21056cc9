#include <gtest/gtest.h>

#include <limits>

#include "Invariants.h"
#include "model/uEngine.h"
#include "model/uFieldEdit.h"
#include "model/uRandom.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

}  // namespace

TEST(FillAmount, DecimalIntegersWithBlanksAndSignsElseZero) {
  EXPECT_EQ(ReadFillAmount("12"), 12);
  EXPECT_EQ(ReadFillAmount("  12\t"), 12);
  EXPECT_EQ(ReadFillAmount("+12"), 12);
  EXPECT_EQ(ReadFillAmount(" +7 "), 7);
  EXPECT_EQ(ReadFillAmount("-3"), -3);
  EXPECT_EQ(ReadFillAmount("007"), 7);
  EXPECT_EQ(ReadFillAmount("2147483647"), kMax);
  EXPECT_EQ(ReadFillAmount("-2147483648"), std::numeric_limits<int32_t>::min());
  // Not an integer, or not a 32-bit one: 0.
  for (const char* text : {"", "   ", "+", "-", "+-1", "1 2", "12a", "a12", "1.5", "1e3", "$10", "0x10",
                           "2147483648", "99999999999999999999", "-2147483649", "１２"})
    EXPECT_EQ(ReadFillAmount(text), 0) << '"' << text << '"';
}

TEST(FillField, AddsToEveryCellOfChosenResourcesAndSaturates) {
  TResourceObject r(0, 45, 45);
  r.Add("A", 25, 70, clYellow);
  r.Add("B", 25, 70, clRed);
  r.Add("C", 25, 70, clBlack);
  r.AddAmount(1, 3, 4, 5);
  FillField(r, {12, 0, -4});
  EXPECT_EQ(r.Params[0].Total, 24300);  // 45 x 45 x 12
  EXPECT_EQ(r.Params[0].CellCount, 45 * 45);
  EXPECT_EQ(r.Params[0].MaxTotal, 24300);
  EXPECT_EQ(r.Params[1].Total, 5) << "an amount of 0 fills nothing";
  EXPECT_EQ(r.Params[1].CellCount, 1);
  EXPECT_EQ(r.Params[2].Total, 0) << "a negative amount fills nothing";
  EXPECT_EQ(r.Params[2].CellCount, 0);

  // Near the 32-bit limit a cell stops there; the total counts what was added.
  r.AddAmount(1, 0, 0, kMax - 10);
  FillField(r, {0, 100});
  EXPECT_EQ(r.Amount(1, 0, 0), kMax);
  EXPECT_EQ(r.Amount(1, 3, 4), 105);
  EXPECT_EQ(r.Amount(1, 44, 44), 100);
  FillField(r, {0, kMax, 0, 7, 7});  // entries beyond the resources are ignored
  EXPECT_EQ(r.Amount(1, 44, 44), kMax);
  ExpectResourceCountersMatchLayers(r);
  EXPECT_EQ(r.Params[1].Total, int64_t{kMax} * 45 * 45);
  EXPECT_EQ(r.Params[1].MaxTotal, r.Params[1].Total);
  EXPECT_EQ(r.GetColor(0, 0), clRed);
}

TEST(ClearField, ClearsOnlyTheChosenLayersAndSpecies) {
  TResourceObject r(0, 20, 30);
  TPlantObject p(0, 20, 30);
  r.Add("Food", 25, 70, clYellow);
  r.Add("Waste", 25, 70, clRed);
  for (const char* name : {"A", "B", "C"}) p.Add(MakeSpecies(name, 2, 1, 3, 12, 2, 40, 0, 1));
  FillField(r, {50, 3});
  RandSeed = 77;
  for (int row = 0; row < 20; row += 2)
    for (int col = 0; col < 30; col += 3) p.Place((row + col) % 3, row, col);
  int32_t step = 0;
  for (int i = 0; i < 6; ++i) Tick(r, p, step);
  CalcAverages(p);
  ASSERT_GT(p.Params[0].Const.Count, 0);
  ASSERT_GT(p.Params[1].Const.Count, 0);
  ASSERT_GT(p.Params[2].Const.Count, 0);
  const TPlantParameter a = p.Params[0], c = p.Params[2];
  const TResourceParameter waste = r.Params[1];
  const int64_t foodMax = r.Params[0].MaxTotal;

  ClearField(r, p, {true, false}, {false, true, false, true});
  EXPECT_EQ(r.Params[0].Total, 0);
  EXPECT_EQ(r.Params[0].CellCount, 0);
  EXPECT_EQ(r.Params[0].MaxTotal, foodMax) << "the maxima stay";
  EXPECT_EQ(r.Params[1].Total, waste.Total);
  EXPECT_EQ(r.Params[1].CellCount, waste.CellCount);

  const TPlantParameter& b = p.Params[1];
  EXPECT_EQ(b.Const.Count, 0);
  EXPECT_EQ(b.Const.Mass, 0);
  EXPECT_EQ(b.Stat.MaxCount, 0);
  EXPECT_EQ(b.Stat.MaxMass, 0);
  for (int k = 0; k < GeneCount; ++k) {
    EXPECT_TRUE(b.Stat.Histogram[k].empty());
    EXPECT_EQ(b.Stat.Average[k], 0);
  }
  // The other two species keep their organisms and every counter, as a recount confirms.
  ExpectPlantCountersMatchGrid(p);
  ExpectResourceCountersMatchLayers(r);
  EXPECT_EQ(p.Params[0].Const.Count, a.Const.Count);
  EXPECT_EQ(p.Params[0].Const.Mass, a.Const.Mass);
  EXPECT_EQ(p.Params[0].Stat.MaxCount, a.Stat.MaxCount);
  EXPECT_EQ(p.Params[2].Const.Mass, c.Const.Mass);
  EXPECT_EQ(p.Params[2].Stat.Histogram, c.Stat.Histogram);
  EXPECT_EQ(p.Params[2].Stat.Average, c.Stat.Average);
  for (int row = 0; row < 20; ++row)
    for (int col = 0; col < 30; ++col)
      if (p.Field(row, col).Mass > 0) {
        EXPECT_NE(p.Field(row, col).Species, 1);
      }

  // The field goes on living after the clear.
  Tick(r, p, step);
  ExpectPlantCountersMatchGrid(p);
}
