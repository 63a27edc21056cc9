#pragma once
// Recounts both stores from their grids and layers and compares with the counters they keep.
#include <gtest/gtest.h>

#include <map>

#include "model/uPlant.h"
#include "model/uResource.h"

inline void ExpectPlantCountersMatchGrid(const TPlantObject& p) {
  std::vector<int32_t> count(p.Count, 0);
  std::vector<int64_t> mass(p.Count, 0);
  std::vector<std::array<std::map<int32_t, int32_t>, GeneCount>> hist(p.Count);
  for (int r = 0; r < p.RowCount; ++r)
    for (int c = 0; c < p.ColCount; ++c) {
      const TPlantCell& cell = p.Field(r, c);
      ASSERT_FALSE(cell.BornAhead) << "no cell keeps the flag between ticks";
      if (cell.Mass <= 0) continue;
      ASSERT_GE(cell.Species, 0);
      ASSERT_LT(cell.Species, p.Count);
      ++count[cell.Species];
      mass[cell.Species] += cell.Mass;
      for (int k = 0; k < GeneCount; ++k) ++hist[cell.Species][k][cell.Genome[k]];
    }
  for (int s = 0; s < p.Count; ++s) {
    const TPlantParameter& sp = p.Params[s];
    EXPECT_EQ(sp.Const.Count, count[s]) << "species " << s;
    EXPECT_EQ(sp.Const.Mass, mass[s]) << "species " << s;
    EXPECT_GE(sp.Stat.MaxCount, sp.Const.Count);
    EXPECT_GE(sp.Stat.MaxMass, sp.Const.Mass);
    for (int k = 0; k < GeneCount; ++k) {
      const TStatArray& h = sp.Stat.Histogram[k];
      int64_t sum = 0;
      for (size_t i = 0; i < h.size(); ++i) {
        EXPECT_GT(h[i].Num, 0);
        if (i > 0) {
          EXPECT_LT(h[i - 1].Value, h[i].Value) << "sorted, without duplicates";
        }
        sum += h[i].Num;
        EXPECT_EQ(hist[s][k][h[i].Value], h[i].Num);
      }
      EXPECT_EQ(sum, sp.Const.Count);
      EXPECT_EQ(h.size(), hist[s][k].size());
    }
  }
}

// Counters recomputed from the layer, to compare with what the store keeps.
inline void ExpectResourceCountersMatchLayers(const TResourceObject& r) {
  for (int res = 0; res < r.Count; ++res) {
    int32_t cells = 0;
    int64_t total = 0;
    for (int row = 0; row < r.RowCount; ++row)
      for (int col = 0; col < r.ColCount; ++col) {
        const int32_t a = r.Amount(res, row, col);
        ASSERT_GE(a, 0);
        cells += a > 0;
        total += a;
      }
    EXPECT_EQ(r.Params[res].CellCount, cells) << "resource " << res;
    EXPECT_EQ(r.Params[res].Total, total) << "resource " << res;
    EXPECT_GE(r.Params[res].MaxTotal, r.Params[res].Total);
    EXPECT_GE(r.Params[res].MaxCellCount, r.Params[res].CellCount);
  }
}

inline int64_t TotalMatter(const TResourceObject& r, const TPlantObject& p) {
  int64_t sum = 0;
  for (int res = 0; res < r.Count; ++res) sum += r.Params[res].Total;
  for (int s = 0; s < p.Count; ++s) sum += p.Params[s].Const.Mass;
  return sum;
}

inline TPlantParameter MakeSpecies(const std::string& name, int32_t begin, int32_t eat, int32_t ageReproduct,
                                   int32_t ageMax, int32_t children, int32_t mutation, int32_t in, int32_t out) {
  return NewPlantParameter(name, TGenome(begin, eat, ageReproduct, ageMax, children, mutation, in, out));
}
