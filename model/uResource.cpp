#include "model/uResource.h"

#include <algorithm>
#include <limits>

#include "model/uRandom.h"

void TResourceField::Reset(int count, int rows, int cols) {
  count = std::max(0, count);
  rows = std::max(0, rows);
  cols = std::max(0, cols);
  // When the new block cannot be allocated the field stays as it was.
  Data.assign(static_cast<size_t>(count) * rows * cols, 0);
  Count = count;
  Rows = rows;
  Cols = cols;
}

void TResourceField::Reshape(int count, int rows, int cols) {
  count = std::max(0, count);
  rows = std::max(0, rows);
  cols = std::max(0, cols);
  if (rows == Rows && cols == Cols) {
    Data.resize(static_cast<size_t>(count) * rows * cols, 0);
    Count = count;
    return;
  }
  std::vector<int32_t> next(static_cast<size_t>(count) * rows * cols, 0);
  const int keepCount = std::min(count, Count), keepRows = std::min(rows, Rows), keepCols = std::min(cols, Cols);
  for (int res = 0; res < keepCount; ++res)
    for (int r = 0; r < keepRows; ++r) {
      const int32_t* from = Data.data() + (static_cast<size_t>(res) * Rows + r) * Cols;
      int32_t* to = next.data() + (static_cast<size_t>(res) * rows + r) * cols;
      std::copy(from, from + keepCols, to);
    }
  Data.swap(next);
  Count = count;
  Rows = rows;
  Cols = cols;
}

void TResourceField::EraseLayer(int res) {
  auto first = Data.begin() + static_cast<std::ptrdiff_t>(res) * static_cast<std::ptrdiff_t>(LayerSize());
  Data.erase(first, first + static_cast<std::ptrdiff_t>(LayerSize()));
  --Count;
}

void TResourceField::ZeroLayer(int res) {
  std::fill(Layer(res), Layer(res) + LayerSize(), 0);
}

TResourceObject::TResourceObject(int32_t count, int32_t rows, int32_t cols)
    : Count(std::max(0, count)), RowCount(rows), ColCount(cols) {
  if (Count > 0) {
    Params.resize(Count);
    Field.Reset(Count, rows, cols);
  }
  EmptyColor = clWhite;
}

void TResourceObject::Add(const std::string& name, int32_t brushValue, int32_t slur, TColor color) {
  TResourceParameter p;
  p.Name = name;
  p.BrushValue = brushValue;
  p.Slur = slur;
  p.Color = color;
  // The layer first, then the record, then the count: a failed allocation
  // leaves the store as it was.
  Field.Reshape(Count + 1, RowCount, ColCount);
  try {
    Params.push_back(std::move(p));
  } catch (...) {
    Field.Reshape(Count, RowCount, ColCount);  // gives the new layer back; allocates nothing
    throw;
  }
  ++Count;
}

void TResourceObject::SetParameter(int32_t index, const std::string& name, int32_t brushValue, int32_t slur,
                                   TColor color) {
  TResourceParameter& p = Params[index];
  p.Name = name;
  p.BrushValue = brushValue;
  p.Slur = slur;
  p.Color = color;
}

void TResourceObject::Delete(int32_t index) {
  Params.erase(Params.begin() + index);
  Field.EraseLayer(index);
  --Count;
}

void TResourceObject::SetCount(int32_t count) {
  count = std::max(0, count);
  // What may fail to be allocated comes first, while the store is unchanged:
  // room for the records, then the layers. Nothing after them allocates.
  Params.reserve(static_cast<size_t>(count));
  Field.Reset(count, RowCount, ColCount);
  Params.resize(static_cast<size_t>(count));
  Count = count;
  for (TResourceParameter& p : Params) {
    p.CellCount = 0;
    p.Total = 0;
  }
}

void TResourceObject::SetSize(int32_t rows, int32_t cols) {
  Field.Reshape(Count, rows, cols);  // the store stays as it was when this fails
  RowCount = rows;
  ColCount = cols;
  for (int32_t res = 0; res < Count; ++res) Recount(res);
}

void TResourceObject::Recount(int32_t res) {
  const int32_t* a = Field.Layer(res);
  const size_t n = Field.LayerSize();
  int32_t cells = 0;
  int64_t total = 0;
  for (size_t i = 0; i < n; ++i) {
    cells += a[i] > 0;
    total += a[i];
  }
  Params[res].CellCount = cells;
  Params[res].Total = total;
}

void TResourceObject::Clear(int32_t index) {
  for (int32_t res = 0; res < Count; ++res) {
    if (index != -1 && res != index) continue;
    Params[res].CellCount = 0;
    Params[res].Total = 0;
    Field.ZeroLayer(res);
  }
}

void TResourceObject::AddAmountEverywhere(int32_t res, int32_t amount) {
  // An amount of 0 would count empty cells as filled; nothing is added then.
  if (amount <= 0) return;
  for (int32_t r = 0; r < RowCount; ++r)
    for (int32_t c = 0; c < ColCount; ++c) AddToCell(res, r, c, amount);
  RaiseMaxima(res);
}

void TResourceObject::ClearCell(int32_t res, int32_t row, int32_t col) {
  if (row == -1 || col == -1) return;
  int32_t& cell = Field(res, row, col);
  if (cell > 0) {
    --Params[res].CellCount;
    Params[res].Total -= cell;
  }
  cell = 0;
}

void TResourceObject::Brush(int32_t res, int32_t row, int32_t col) {
  if (row == -1 || col == -1) return;
  const TResourceParameter& p = Params[res];
  AddToCell(res, row, col, p.BrushValue);
  int64_t a = p.BrushValue;
  int32_t d = 0;
  // A spread above 100 (never set by the editor) counts as 100, so that the
  // ring amount cannot grow.
  const int64_t slur = std::min<int32_t>(p.Slur, 100);
  // With a spread of 100 the ring amount never shrinks and the rings would go
  // on for ever: the brush then stops after the ring that first reaches past
  // every edge of the field. Below 100 every ring is drawn until the amount
  // reaches 0, also those that lie wholly on the clamped edges.
  const int32_t lastRing =
      slur >= 100 ? std::max({row, RowCount - 1 - row, col, ColCount - 1 - col}) + 1 : INT32_MAX;
  while (a > 0) {
    a = a * slur / 100;
    if (a <= 0) break;
    if (d == lastRing) break;
    ++d;
    const int32_t r0 = std::max(0, row - d), r1 = std::min(RowCount - 1, row + d);
    const int32_t c0 = std::max(0, col - d), c1 = std::min(ColCount - 1, col + d);
    const int32_t ring = static_cast<int32_t>(a);
    for (int32_t r = r0; r <= r1; ++r) {
      int32_t x = Random(2) * ring;
      if (x > 0) AddToCell(res, r, c0, x);
      int32_t y = Random(2) * ring;
      if (y > 0) AddToCell(res, r, c1, y);
    }
    for (int32_t c = c0; c <= c1; ++c) {
      int32_t x = Random(2) * ring;
      if (x > 0) AddToCell(res, r0, c, x);
      int32_t y = Random(2) * ring;
      if (y > 0) AddToCell(res, r1, c, y);
    }
  }
  RaiseMaxima(res);
}

TColor TResourceObject::GetColor(int32_t row, int32_t col) const {
  if (row < 0 || col < 0) return EmptyColor;
  TColor color = EmptyColor;
  int32_t best = 0;
  for (int32_t res = 0; res < Count; ++res) {
    const int32_t a = Field(res, row, col);
    if (a > best) {
      best = a;
      color = Params[res].Color;
    }
  }
  return color;
}

TColor TResourceObject::GetResourceColor(int32_t res, int32_t row, int32_t col) const {
  if (Count == 0 || Field(res, row, col) < 1) return EmptyColor;
  return Params[res].Color;
}
