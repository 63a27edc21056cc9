#pragma once
// The resource store: one layer of integer amounts per resource over the field,
// and one record per resource with its name, brush settings, colour and counters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/uColor.h"

struct TResourceParameter {
  std::string Name;
  int32_t CellCount = 0;     // cells whose amount is above 0
  int64_t Total = 0;         // sum of the layer (64-bit: a filled 1000 x 1000 field passes 2^31)
  int32_t MaxCellCount = 0;  // running maximum of CellCount
  int64_t MaxTotal = 0;      // running maximum of Total
  int32_t BrushValue = 1;    // amount dropped at the brush centre
  int32_t Slur = 0;          // percent of a ring's amount passed on to the next ring
  TColor Color = clBlack;
};

// Amounts indexed by resource, then row, then column, in one row-major block.
class TResourceField {
 public:
  void Reset(int count, int rows, int cols);
  int32_t& operator()(int res, int row, int col) { return Data[Index(res, row, col)]; }
  int32_t operator()(int res, int row, int col) const { return Data[Index(res, row, col)]; }
  int32_t* Layer(int res) { return Data.data() + static_cast<size_t>(res) * LayerSize(); }
  const int32_t* Layer(int res) const { return Data.data() + static_cast<size_t>(res) * LayerSize(); }
  size_t LayerSize() const { return static_cast<size_t>(Rows) * static_cast<size_t>(Cols); }
  int LayerCount() const { return Count; }
  // Reshapes to (count, rows, cols); amounts inside both shapes stay, new ones are 0.
  void Reshape(int count, int rows, int cols);
  void EraseLayer(int res);
  void ZeroLayer(int res);

 private:
  size_t Index(int res, int row, int col) const {
    return (static_cast<size_t>(res) * Rows + static_cast<size_t>(row)) * Cols + static_cast<size_t>(col);
  }
  std::vector<int32_t> Data;
  int Count = 0, Rows = 0, Cols = 0;
};

class TResourceObject {
 public:
  TResourceObject(int32_t count, int32_t rows, int32_t cols);

  int32_t Count = 0;
  int32_t RowCount = 0;
  int32_t ColCount = 0;
  TResourceField Field;
  std::vector<TResourceParameter> Params;
  TColor EmptyColor = clWhite;

  void Add(const std::string& name, int32_t brushValue, int32_t slur, TColor color);
  void SetParameter(int32_t index, const std::string& name, int32_t brushValue, int32_t slur, TColor color);
  void Delete(int32_t index);
  void SetCount(int32_t count);
  // Resizes every layer; the counters are recounted from what the field then holds.
  void SetSize(int32_t rows, int32_t cols);
  void Clear(int32_t index);  // -1: every resource
  void AddAmount(int32_t res, int32_t row, int32_t col, int32_t amount) {
    AddAmountTo(res, Field(res, row, col), amount);
  }
  int32_t TakeAmount(int32_t res, int32_t row, int32_t col, int32_t amount) {
    return TakeAmountFrom(Params[res], Field(res, row, col), amount);
  }
  // AddAmount on an amount of resource `res` that the caller has found in its
  // layer (Field.Layer(res)), as the tick does.
  void AddAmountTo(int32_t res, int32_t& cell, int32_t amount) {
    AddToCell(Params[res], cell, amount);
    RaiseMaxima(res);
  }
  // TakeAmount on such an amount, given the resource's record.
  static int32_t TakeAmountFrom(TResourceParameter& p, int32_t& cell, int32_t amount) {
    if (cell == 0) return 0;
    int32_t taken = amount;
    if (cell - amount < 1) {
      taken = cell;
      cell = 0;
      if (p.CellCount > 0) --p.CellCount;
    } else {
      cell -= amount;
    }
    if (p.Total > 0) p.Total -= taken;
    return taken;
  }
  // Takes into the counters of a resource, given its record, amounts that the
  // caller has already added straight into its layer (each through AddSaturated):
  // `filledCells` cells that held 0 before, `added` in all (what did fit).
  // Then raises the maxima, as AddAmount does after each addition; the tick
  // adds a parent's waste this way, once for all its children.
  static void CountAdded(TResourceParameter& p, int32_t filledCells, int64_t added) {
    p.CellCount += filledCells;
    p.Total += added;
    RaiseMaxima(p);
  }
  // Adds an amount of at least 0 to a cell, stopping at the 32-bit limit;
  // returns the part that did not fit (0 below the limit).
  static int32_t AddSaturated(int32_t& cell, int32_t amount) {
    if (!__builtin_add_overflow(cell, amount, &cell)) return 0;
    // The sum wrapped past the limit by what did not fit, less one.
    const int32_t lost = static_cast<int32_t>(static_cast<int64_t>(cell) - INT32_MIN + 1);
    cell = INT32_MAX;
    return lost;
  }
  void AddAmountEverywhere(int32_t res, int32_t amount);
  void ClearCell(int32_t res, int32_t row, int32_t col);
  void Brush(int32_t res, int32_t row, int32_t col);
  TColor GetColor(int32_t row, int32_t col) const;
  TColor GetResourceColor(int32_t res, int32_t row, int32_t col) const;

  int32_t Amount(int32_t res, int32_t row, int32_t col) const { return Field(res, row, col); }
  // Recounts CellCount and Total of one resource from its layer.
  void Recount(int32_t res);

 private:
  // Adds to one cell without touching the maxima; saturates at the 32-bit limit.
  static void AddToCell(TResourceParameter& p, int32_t& cell, int32_t amount) {
    if (cell == 0) ++p.CellCount;
    p.Total += amount - AddSaturated(cell, amount);
  }
  void AddToCell(int32_t res, int32_t row, int32_t col, int32_t amount) {
    AddToCell(Params[res], Field(res, row, col), amount);
  }
  void RaiseMaxima(int32_t res) { RaiseMaxima(Params[res]); }
  static void RaiseMaxima(TResourceParameter& p) {
    // Selects rather than branches: the tick raises them hundreds of
    // thousands of times, with the total going up and down around its maximum.
    p.MaxTotal = p.Total > p.MaxTotal ? p.Total : p.MaxTotal;
    p.MaxCellCount = p.CellCount > p.MaxCellCount ? p.CellCount : p.MaxCellCount;
  }
};
