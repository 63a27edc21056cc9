#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Invariants.h"
#include "model/uRandom.h"
#include "model/uResource.h"

namespace {

TResourceObject MakeStore(int rows, int cols, int32_t brush, int32_t slur) {
  TResourceObject r(0, rows, cols);
  r.Add("A", brush, slur, clYellow);
  return r;
}

}  // namespace

TEST(ResourceBrush, SpreadZeroDropsOnlyTheCentre) {
  TResourceObject r = MakeStore(7, 9, 25, 0);
  RandSeed = 1;
  r.Brush(0, 3, 4);
  EXPECT_EQ(r.Amount(0, 3, 4), 25);
  EXPECT_EQ(r.Params[0].CellCount, 1);
  EXPECT_EQ(r.Params[0].Total, 25);
  EXPECT_EQ(RandSeed, 1u) << "no draw is made when the first ring is empty";
}

TEST(ResourceBrush, RingsFollowTheDrawOrder) {
  // Replays the brush by hand with the same seed: ring amounts 17, 11, 7, 4, 2, 1;
  // per row a draw for the left then the right column, then per column the top then the bottom row.
  const int rows = 6, cols = 8, row = 0, col = 7;  // a corner cell: rings are clamped
  TResourceObject r = MakeStore(rows, cols, 25, 70);
  RandSeed = 4242;
  r.Brush(0, row, col);

  std::vector<int32_t> expect(rows * cols, 0);
  RandSeed = 4242;
  expect[row * cols + col] += 25;
  int32_t a = 25;
  std::vector<int32_t> rings;
  for (int d = 1;; ++d) {
    a = a * 70 / 100;
    if (a == 0) break;
    rings.push_back(a);
    const int r0 = std::max(0, row - d), r1 = std::min(rows - 1, row + d);
    const int c0 = std::max(0, col - d), c1 = std::min(cols - 1, col + d);
    for (int rr = r0; rr <= r1; ++rr) {
      expect[rr * cols + c0] += Random(2) * a;
      expect[rr * cols + c1] += Random(2) * a;
    }
    for (int cc = c0; cc <= c1; ++cc) {
      expect[r0 * cols + cc] += Random(2) * a;
      expect[r1 * cols + cc] += Random(2) * a;
    }
  }
  EXPECT_EQ(rings, (std::vector<int32_t>{17, 11, 7, 4, 2, 1}));
  for (int rr = 0; rr < rows; ++rr)
    for (int cc = 0; cc < cols; ++cc) EXPECT_EQ(r.Amount(0, rr, cc), expect[rr * cols + cc]) << rr << "," << cc;
  ExpectResourceCountersMatchLayers(r);
}

namespace {

// The brush loop replayed by hand: the centre gets the brush value, then ring
// after ring the amount shrinks to value * spread / 100; every cell of a ring,
// clamped to the field, is drawn in the same order as the store draws. The
// rings go on until the amount is 0; only with a spread of 100, where it never
// shrinks, do they end after the ring that first reaches past every edge.
std::vector<int32_t> ReplayBrush(int rows, int cols, int row, int col, int32_t value, int32_t slur) {
  std::vector<int32_t> cells(static_cast<size_t>(rows) * cols, 0);
  cells[row * cols + col] += value;
  const int lastRing = std::max({row, rows - 1 - row, col, cols - 1 - col}) + 1;
  int64_t a = value;
  for (int d = 1;; ++d) {
    a = a * slur / 100;
    if (a == 0 || (slur == 100 && d > lastRing)) break;
    const int r0 = std::max(0, row - d), r1 = std::min(rows - 1, row + d);
    const int c0 = std::max(0, col - d), c1 = std::min(cols - 1, col + d);
    for (int r = r0; r <= r1; ++r) {
      cells[r * cols + c0] += Random(2) * static_cast<int32_t>(a);
      cells[r * cols + c1] += Random(2) * static_cast<int32_t>(a);
    }
    for (int c = c0; c <= c1; ++c) {
      cells[r0 * cols + c] += Random(2) * static_cast<int32_t>(a);
      cells[r1 * cols + c] += Random(2) * static_cast<int32_t>(a);
    }
  }
  return cells;
}

}  // namespace

TEST(ResourceBrush, EveryRingIsDrawnBelowFullSpread) {
  struct TPlace {
    int Rows, Cols, Row, Col;
  } places[] = {{45, 45, 22, 22}, {45, 45, 0, 0}, {45, 45, 44, 3}, {5, 10, 2, 4}, {5, 10, 0, 9}};
  for (const TPlace& at : places)
    for (int32_t slur : {0, 50, 90, 95, 99, 100}) {
      const std::string what = std::to_string(at.Rows) + "x" + std::to_string(at.Cols) + " at " +
                               std::to_string(at.Row) + "," + std::to_string(at.Col) + " spread " +
                               std::to_string(slur);
      TResourceObject r = MakeStore(at.Rows, at.Cols, 100, slur);
      RandSeed = 777;
      r.Brush(0, at.Row, at.Col);
      const uint32_t seedAfter = RandSeed;
      RandSeed = 777;
      const std::vector<int32_t> expect = ReplayBrush(at.Rows, at.Cols, at.Row, at.Col, 100, slur);
      EXPECT_EQ(seedAfter, RandSeed) << what << ": the same number of draws";
      int64_t sum = 0;
      for (int rr = 0; rr < at.Rows; ++rr)
        for (int cc = 0; cc < at.Cols; ++cc) {
          ASSERT_EQ(r.Amount(0, rr, cc), expect[rr * at.Cols + cc]) << what << " cell " << rr << "," << cc;
          sum += expect[rr * at.Cols + cc];
        }
      EXPECT_EQ(r.Params[0].Total, sum) << what;
      ExpectResourceCountersMatchLayers(r);
    }
}

TEST(ResourceBrush, FullSpreadEndsPastTheFieldEdges) {
  TResourceObject r = MakeStore(5, 10, 1000, 100);
  RandSeed = 7;
  r.Brush(0, 2, 3);  // must return
  ExpectResourceCountersMatchLayers(r);
  EXPECT_GT(r.Params[0].CellCount, 1);
  r.Brush(0, -1, 3);  // a position outside the grid does nothing
  r.ClearCell(0, 2, -1);
  ExpectResourceCountersMatchLayers(r);
}

TEST(ResourceStore, TakeAmountEmptiesAndCounts) {
  TResourceObject r = MakeStore(5, 10, 1, 0);
  r.AddAmount(0, 1, 1, 3);
  EXPECT_EQ(r.TakeAmount(0, 1, 1, 5), 3);
  EXPECT_EQ(r.Amount(0, 1, 1), 0);
  EXPECT_EQ(r.Params[0].CellCount, 0);
  EXPECT_EQ(r.Params[0].Total, 0);
  EXPECT_EQ(r.TakeAmount(0, 1, 1, 5), 0);
  r.AddAmount(0, 2, 2, 4);
  EXPECT_EQ(r.TakeAmount(0, 2, 2, 0), 0);
  EXPECT_EQ(r.TakeAmount(0, 2, 2, 1), 1);
  EXPECT_EQ(r.Amount(0, 2, 2), 3);
  EXPECT_EQ(r.Params[0].MaxTotal, 4);
}

TEST(ResourceStore, CountersAlwaysEqualARecount) {
  TResourceObject r(0, 6, 11);
  r.Add("A", 9, 60, clYellow);
  r.Add("B", 4, 90, clLime);
  r.Add("C", 30, 30, clRed);
  RandSeed = 99;
  for (int i = 0; i < 4000; ++i) {
    const int res = Random(r.Count), row = Random(r.RowCount), col = Random(r.ColCount);
    switch (Random(7)) {
      case 0: r.AddAmount(res, row, col, 1 + Random(20)); break;
      case 1: r.TakeAmount(res, row, col, Random(20)); break;
      case 2: r.Brush(res, row, col); break;
      case 3: r.ClearCell(res, row, col); break;
      case 4: if (Random(50) == 0) r.Clear(Random(2) ? -1 : res); break;
      case 5: if (Random(40) == 0) r.SetSize(5 + Random(8), 10 + Random(8)); break;
      case 6: if (Random(200) == 0) r.AddAmountEverywhere(res, 1 + Random(5)); break;
    }
  }
  ExpectResourceCountersMatchLayers(r);
}

TEST(ResourceStore, ClearKeepsMaximaAndColorsPreferLowerIndex) {
  TResourceObject r(0, 5, 10);
  r.Add("A", 25, 70, clYellow);
  r.Add("B", 25, 70, clLime);
  RandSeed = 3;
  r.Brush(0, 2, 2);
  const auto maxTotal = r.Params[0].MaxTotal;
  const auto maxCells = r.Params[0].MaxCellCount;
  r.Clear(-1);
  EXPECT_EQ(r.Params[0].Total, 0);
  EXPECT_EQ(r.Params[0].MaxTotal, maxTotal);
  EXPECT_EQ(r.Params[0].MaxCellCount, maxCells);

  r.EmptyColor = clFieldDefault;
  EXPECT_EQ(r.GetColor(0, 0), clFieldDefault);
  EXPECT_EQ(r.GetColor(-1, 0), clFieldDefault);
  r.AddAmount(1, 0, 0, 5);
  r.AddAmount(0, 0, 0, 5);
  EXPECT_EQ(r.GetColor(0, 0), clYellow);
  r.AddAmount(1, 0, 0, 1);
  EXPECT_EQ(r.GetColor(0, 0), clLime);
  EXPECT_EQ(r.GetResourceColor(0, 0, 0), clYellow);
  EXPECT_EQ(r.GetResourceColor(0, 1, 1), clFieldDefault);
}

TEST(ResourceStore, DeleteMovesLaterLayersDown) {
  TResourceObject r(0, 5, 10);
  r.Add("A", 1, 0, clYellow);
  r.Add("B", 2, 0, clLime);
  r.Add("C", 3, 0, clRed);
  r.AddAmount(0, 0, 0, 1);
  r.AddAmount(1, 1, 1, 2);
  r.AddAmount(2, 2, 2, 3);
  r.Delete(0);
  ASSERT_EQ(r.Count, 2);
  EXPECT_EQ(r.Params[0].Name, "B");
  EXPECT_EQ(r.Params[1].Name, "C");
  EXPECT_EQ(r.Amount(0, 1, 1), 2);
  EXPECT_EQ(r.Amount(1, 2, 2), 3);
  EXPECT_EQ(r.Params[1].Total, 3);
}

TEST(ResourceStore, ResizeKeepsCellsAndRecounts) {
  TResourceObject r = MakeStore(5, 10, 1, 0);
  r.AddAmount(0, 4, 9, 7);
  r.AddAmount(0, 1, 1, 2);
  r.SetSize(5, 9);  // cuts the last column away
  EXPECT_EQ(r.Params[0].Total, 2);
  EXPECT_EQ(r.Params[0].CellCount, 1);
  r.SetSize(8, 12);
  EXPECT_EQ(r.Amount(0, 1, 1), 2);
  EXPECT_EQ(r.Amount(0, 7, 11), 0);
  ExpectResourceCountersMatchLayers(r);
  r.SetCount(2);
  EXPECT_EQ(r.Count, 2);
  EXPECT_EQ(r.Params[0].Name, "A");
  EXPECT_EQ(r.Params[0].Total, 0);
  ExpectResourceCountersMatchLayers(r);
}
