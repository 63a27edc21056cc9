#include "model/uPlant.h"

#include <algorithm>
#include <cstddef>

TPlantField TPlantField::Reshaped(int rows, int cols) const {
  TPlantField next;
  next.Reset(rows, cols);
  const int keepRows = std::min(rows, Rows), keepCols = std::min(cols, Cols);
  for (int r = 0; r < keepRows; ++r)
    std::copy(Cells.begin() + static_cast<std::ptrdiff_t>(r) * Cols,
              Cells.begin() + static_cast<std::ptrdiff_t>(r) * Cols + keepCols,
              next.Cells.begin() + static_cast<std::ptrdiff_t>(r) * cols);
  return next;
}

namespace {

// The entry holding `value`, or the place where it belongs. Values of a
// parameter mostly form an unbroken run (mutation moves them one step at a
// time), so the entry is usually found straight from the first value.
TStatArray::iterator FindStat(int32_t value, TStatArray& histogram) {
  if (!histogram.empty()) {
    const int64_t offset = static_cast<int64_t>(value) - histogram.front().Value;
    if (offset >= 0 && offset < static_cast<int64_t>(histogram.size()) && histogram[offset].Value == value)
      return histogram.begin() + offset;
  }
  return std::lower_bound(histogram.begin(), histogram.end(), value,
                          [](const TStatItem& item, int32_t v) { return item.Value < v; });
}

// Makes sure the next StatAdd into the histogram allocates nothing, so that
// a placement that cannot get the memory fails before it changes anything.
void RoomForOneMore(TStatArray& histogram) {
  if (histogram.size() == histogram.capacity()) histogram.reserve(std::max<size_t>(4, 2 * histogram.size()));
}

}  // namespace

void StatAdd(int32_t value, TStatArray& histogram) {
  auto it = FindStat(value, histogram);
  if (it != histogram.end() && it->Value == value) {
    ++it->Num;
    return;
  }
  histogram.insert(it, TStatItem{value, 1});
}

void TPlantObject::StatRemove(int32_t value, TStatArray& histogram) {
  if (histogram.empty()) return;
  auto it = FindStat(value, histogram);
  if (it == histogram.end() || it->Value != value) return;
  if (--it->Num <= 0) histogram.erase(it);
}

TPlantObject::TPlantObject(int32_t count, int32_t rows, int32_t cols)
    : Count(std::max(0, count)), RowCount(rows), ColCount(cols) {
  // The grid is allocated even without species, so that the grid always has
  // RowCount x ColCount cells whatever is called next.
  Params.resize(Count);
  Field.Reset(std::max(0, rows), std::max(0, cols));
  EmptyColor = clWhite;
}

void TPlantObject::Add(const TPlantParameter& record) {
  Params.push_back(record);
  ++Count;
  ClearStat(Count - 1);
}

void TPlantObject::SetParameter(int32_t index, const TPlantParameter& record) {
  TPlantParameter copy = record;  // a failed copy leaves the record as it was
  Params[index] = std::move(copy);
}

void TPlantObject::Delete(int32_t index) {
  Clear(index);
  Params.erase(Params.begin() + index);
  --Count;
  const size_t n = Field.Size();
  TPlantCell* cells = Field.Data();
  for (size_t i = 0; i < n; ++i)
    if (cells[i].Mass > 0 && cells[i].Species > index) --cells[i].Species;
}

void TPlantObject::ResourceDeleted(int32_t deleted) {
  auto renumbered = [deleted](int32_t v) { return v > deleted ? v - 1 : (v == deleted ? 0 : v); };
  // The distributions of the two resource values, renumbered, are built
  // first: when they cannot be allocated the store stays as it was. Nothing
  // after them allocates.
  std::vector<std::array<TStatArray, 2>> histograms(static_cast<size_t>(Count));
  for (int32_t s = 0; s < Count; ++s)
    for (int j = 0; j < 2; ++j) {
      TStatArray& h = histograms[s][j];
      h = Params[s].Stat.Histogram[gResourceIn + j];
      for (TStatItem& item : h) item.Value = renumbered(item.Value);
      std::sort(h.begin(), h.end(), [](const TStatItem& a, const TStatItem& b) { return a.Value < b.Value; });
      // The organisms that named the deleted resource join those of resource 0.
      auto out = h.begin();
      for (auto it = h.begin(); it != h.end(); ++it)
        if (out != h.begin() && (out - 1)->Value == it->Value)
          (out - 1)->Num += it->Num;
        else
          *out++ = *it;
      h.erase(out, h.end());
    }
  for (int32_t s = 0; s < Count; ++s) {
    TPlantParameter& p = Params[s];
    p.Param.ResourceIn() = renumbered(p.Param.ResourceIn());
    p.Param.ResourceOut() = renumbered(p.Param.ResourceOut());
    for (int j = 0; j < 2; ++j) p.Stat.Histogram[gResourceIn + j].swap(histograms[s][j]);
  }
  const size_t n = Field.Size();
  TPlantCell* cells = Field.Data();
  for (size_t i = 0; i < n; ++i) {
    if (cells[i].Mass <= 0) continue;
    for (int k : {gResourceIn, gResourceOut}) cells[i].Genome[k] = renumbered(cells[i].Genome[k]);
  }
}

void TPlantObject::SetSize(int32_t rows, int32_t cols) {
  // The new grid is made before anything changes: when it cannot be
  // allocated the store stays as it was. The organisms removed below lie
  // outside what it keeps.
  const bool reshape = !Field.HasShape(rows, cols);
  TPlantField next;
  if (reshape) next = Field.Reshaped(rows, cols);
  if (rows < RowCount || cols < ColCount) {
    for (int32_t r = 0; r < RowCount; ++r)
      for (int32_t c = 0; c < ColCount; ++c) {
        if (r < rows && c < cols) continue;
        const TPlantCell& cell = Field(r, c);
        if (cell.Mass > 0) Kill(cell.Species, r, c);
      }
  }
  if (reshape) Field = std::move(next);
  RowCount = rows;
  ColCount = cols;
}

void TPlantObject::Clear(int32_t index) {
  for (int32_t s = 0; s < Count; ++s) {
    if (index != -1 && s != index) continue;
    TPlantParameter& p = Params[s];
    p.Const.Count = 0;
    p.Const.Mass = 0;
    p.Stat.MaxMass = 0;
    p.Stat.MaxCount = 0;
    p.Stat.Average.fill(0);
    ClearStat(s);
  }
  const size_t n = Field.Size();
  TPlantCell* cells = Field.Data();
  for (size_t i = 0; i < n; ++i)
    if (index == -1 || cells[i].Species == index) cells[i] = TPlantCell{};
}

void TPlantObject::ClearStat(int32_t index) {
  for (auto& h : Params[index].Stat.Histogram) h.clear();
}

void TPlantObject::StatAddCell(TStatistic& stat, const TPlantCell& cell) {
  for (int k = 0; k < GeneCount; ++k) StatAdd(cell.Genome[k], stat.Histogram[k]);
}

void TPlantObject::Place(int32_t species, int32_t row, int32_t col) {
  if (row == -1 || col == -1) return;
  TPlantParameter& p = Params[species];
  // A newborn of no mass would be counted without being alive: such a
  // species places nothing.
  if (p.Param.ResourceBegin() <= 0) return;
  for (TStatArray& h : p.Stat.Histogram) RoomForOneMore(h);
  TPlantCell& cell = Field(row, col);
  if (cell.Mass > 0) {
    TPlantParameter& old = Params[cell.Species];
    --old.Const.Count;
    old.Const.Mass -= cell.Mass;
    for (int k = 0; k < GeneCount; ++k) StatRemove(cell.Genome[k], old.Stat.Histogram[k]);
  }
  ++p.Const.Count;
  p.Stat.MaxCount = std::max(p.Stat.MaxCount, p.Const.Count);
  p.Const.Mass += p.Param.ResourceBegin();
  p.Stat.MaxMass = std::max(p.Stat.MaxMass, p.Const.Mass);
  cell.Species = species;
  cell.Mass = p.Param.ResourceBegin();
  cell.Age = 0;
  cell.BornAhead = false;
  cell.Genome = p.Param;
  StatAddCell(p.Stat, cell);
  CalcAverage(species);
}

void TPlantObject::Kill(int32_t species, int32_t row, int32_t col) {
  if (row == -1 || col == -1) return;
  TPlantCell& cell = Field(row, col);
  if (cell.Mass <= 0 || cell.Species != species) return;
  TPlantParameter& p = Params[species];
  --p.Const.Count;
  p.Const.Mass -= cell.Mass;
  for (int k = 0; k < GeneCount; ++k) StatRemove(cell.Genome[k], p.Stat.Histogram[k]);
  cell = TPlantCell{};
}

TColor TPlantObject::GetColor(int32_t row, int32_t col) const {
  if (Count == 0 || row < 0 || col < 0) return EmptyColor;
  const TPlantCell& cell = Field(row, col);
  if (cell.Mass < 1) return EmptyColor;
  return Params[cell.Species].Const.Color;
}

TColor TPlantObject::GetSpeciesColor(int32_t species, int32_t row, int32_t col) const {
  if (row < 0 || col < 0) return EmptyColor;
  const TPlantCell& cell = Field(row, col);
  if (cell.Mass > 0 && cell.Species == species) return Params[species].Const.Color;
  return EmptyColor;
}

bool TPlantObject::IsMutant(int32_t row, int32_t col) const {
  const TPlantCell& cell = Field(row, col);
  if (cell.Mass == 0) return false;
  return !(cell.Genome == Params[cell.Species].Param);
}

void TPlantObject::CalcAverage(int32_t index) {
  TPlantParameter& p = Params[index];
  p.Stat.Average.fill(0);
  if (p.Const.Count < 1) return;
  for (int k = 0; k < GeneCount; ++k) {
    long double sum = 0;
    for (const TStatItem& item : p.Stat.Histogram[k])
      sum += static_cast<long double>(static_cast<int64_t>(item.Value) * item.Num);
    p.Stat.Average[k] = sum / p.Const.Count;
  }
}
