#pragma once
// The organism store: the species records with their counters and statistics,
// and the grid of organisms, at most one per cell.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/uColor.h"

// The eight heritable parameters, always in this order.
enum TGene : int {
  gResourceBegin = 0,  // mass of a newborn
  gResourceEat,        // food asked per tick
  gAgeReproduct,       // age from which it reproduces
  gAgeMax,             // age at which it dies
  gChildrenCount,      // children per reproduction
  gMutation,           // percent chance that a child mutates
  gResourceIn,         // index of the resource eaten
  gResourceOut,        // index of the resource excreted
  GeneCount
};

struct TGenome {
  std::array<int32_t, GeneCount> Value{};

  TGenome() = default;
  // The eight values in genome order.
  TGenome(int32_t resourceBegin, int32_t resourceEat, int32_t ageReproduct, int32_t ageMax, int32_t childrenCount,
          int32_t mutation, int32_t resourceIn, int32_t resourceOut)
      : Value{resourceBegin, resourceEat, ageReproduct, ageMax, childrenCount, mutation, resourceIn, resourceOut} {}

  int32_t& operator[](int k) { return Value[k]; }
  int32_t operator[](int k) const { return Value[k]; }
  bool operator==(const TGenome&) const = default;

  int32_t& ResourceBegin() { return Value[gResourceBegin]; }
  int32_t& ResourceEat() { return Value[gResourceEat]; }
  int32_t& AgeReproduct() { return Value[gAgeReproduct]; }
  int32_t& AgeMax() { return Value[gAgeMax]; }
  int32_t& ChildrenCount() { return Value[gChildrenCount]; }
  int32_t& Mutation() { return Value[gMutation]; }
  int32_t& ResourceIn() { return Value[gResourceIn]; }
  int32_t& ResourceOut() { return Value[gResourceOut]; }
  int32_t ResourceBegin() const { return Value[gResourceBegin]; }
  int32_t ResourceEat() const { return Value[gResourceEat]; }
  int32_t AgeReproduct() const { return Value[gAgeReproduct]; }
  int32_t AgeMax() const { return Value[gAgeMax]; }
  int32_t ChildrenCount() const { return Value[gChildrenCount]; }
  int32_t Mutation() const { return Value[gMutation]; }
  int32_t ResourceIn() const { return Value[gResourceIn]; }
  int32_t ResourceOut() const { return Value[gResourceOut]; }
};

// The most children one organism puts out at once. Mutation moves the value
// one step at a time and no run comes near it; the bound keeps a hand-made
// value from stalling a tick, wherever a value enters (files, settings, the
// editor, mutation).
inline constexpr int32_t MaxChildrenCount = 1000;

// One of the first six heritable values (ResourceBegin .. Mutation) brought
// into the range the tick keeps for a mutated genome: counts, amounts and ages
// at least 0, ChildrenCount at most MaxChildrenCount, Mutation 0..100.
inline int32_t GeneInRange(int k, int32_t v) {
  if (v < 0) return 0;
  if (k == gMutation && v > 100) return 100;
  if (k == gChildrenCount && v > MaxChildrenCount) return MaxChildrenCount;
  return v;
}

// A food or waste index outside 0 .. resourceCount-1 becomes 0, as deleting a
// resource does to the organisms that named it (0 also stands when there is
// no resource at all).
inline void KeepResourceIndexesInRange(TGenome& g, int32_t resourceCount) {
  for (int k : {gResourceIn, gResourceOut})
    if (g[k] < 0 || g[k] >= resourceCount) g[k] = 0;
}

// A genome read from a file made safe for the tick: the first six values as
// GeneInRange, the two resource indexes as KeepResourceIndexesInRange. Every
// reader (data file, resource set, settings) takes a species record's values
// through it, zeros kept, so that a record reads back the same from every kind
// of file; the editor asks more of what is typed into it.
inline void KeepGenomeInRange(TGenome& g, int32_t resourceCount) {
  for (int k = 0; k < gResourceIn; ++k) g[k] = GeneInRange(k, g[k]);
  KeepResourceIndexesInRange(g, resourceCount);
}

struct TStatItem {
  int32_t Value = 0;
  int32_t Num = 0;
  bool operator==(const TStatItem&) const = default;
};

// Distribution of one heritable parameter: ascending by Value, no duplicates, no Num of 0.
using TStatArray = std::vector<TStatItem>;

struct TParameterConst {
  std::string Name;
  int32_t Count = 0;  // living organisms
  int64_t Mass = 0;   // their total mass (64-bit, so a full field never wraps)
  TColor Color = clBlack;
  TColor ColorMutant = clRed;
};

struct TStatistic {
  int64_t MaxMass = 0;
  int32_t MaxCount = 0;
  std::array<long double, GeneCount> Average{};
  std::array<TStatArray, GeneCount> Histogram{};
};

struct TPlantParameter {
  TParameterConst Const;
  TGenome Param;  // the species' current heritable parameters
  TStatistic Stat;
};

struct TPlantCell {
  TGenome Genome;
  int32_t Species = 0;
  int32_t Mass = 0;  // above 0: a living organism
  int32_t Age = 0;
  bool BornAhead = false;
};

// Organism cells indexed by row, then column, in one row-major block.
class TPlantField {
 public:
  void Reset(int rows, int cols) {
    Cells.assign(static_cast<size_t>(rows) * cols, TPlantCell{});  // unchanged when this fails
    Rows = rows;
    Cols = cols;
  }
  bool HasShape(int rows, int cols) const { return rows == Rows && cols == Cols; }
  // A grid of the new shape holding this one's cells inside both shapes; new cells are empty.
  TPlantField Reshaped(int rows, int cols) const;
  TPlantCell& operator()(int row, int col) { return Cells[static_cast<size_t>(row) * Cols + col]; }
  const TPlantCell& operator()(int row, int col) const { return Cells[static_cast<size_t>(row) * Cols + col]; }
  TPlantCell* Row(int row) { return Cells.data() + static_cast<size_t>(row) * Cols; }
  size_t Size() const { return Cells.size(); }
  TPlantCell* Data() { return Cells.data(); }

 private:
  std::vector<TPlantCell> Cells;
  int Rows = 0, Cols = 0;
};

void StatAdd(int32_t value, TStatArray& histogram);

// A species record with no organisms yet: its name, colours and heritable parameters.
inline TPlantParameter NewPlantParameter(const std::string& name, const TGenome& genome, TColor color = clBlack,
                                         TColor colorMutant = clRed) {
  TPlantParameter p;
  p.Const.Name = name;
  p.Const.Color = color;
  p.Const.ColorMutant = colorMutant;
  p.Param = genome;
  return p;
}

class TPlantObject {
 public:
  TPlantObject(int32_t count, int32_t rows, int32_t cols);

  int32_t Count = 0;
  int32_t RowCount = 0;
  int32_t ColCount = 0;
  TPlantField Field;
  std::vector<TPlantParameter> Params;
  TColor EmptyColor = clWhite;

  void Add(const TPlantParameter& record);
  void SetParameter(int32_t index, const TPlantParameter& record);
  // Removes a species and its organisms; organisms of later species are renumbered down.
  void Delete(int32_t index);
  void SetSize(int32_t rows, int32_t cols);
  void Clear(int32_t index);  // -1: every species
  void ClearStat(int32_t index);
  // The organism brush; a species whose ResourceBegin is not above 0 places nothing.
  void Place(int32_t species, int32_t row, int32_t col);
  void Kill(int32_t species, int32_t row, int32_t col);
  TColor GetColor(int32_t row, int32_t col) const;
  TColor GetSpeciesColor(int32_t species, int32_t row, int32_t col) const;
  bool IsMutant(int32_t row, int32_t col) const;
  void StatAddCell(TStatistic& stat, const TPlantCell& cell);
  void CalcAverage(int32_t index);
  void StatRemove(int32_t value, TStatArray& histogram);
  // After resource `deleted` is gone: food and waste indexes above it move down one,
  // and those that named it become 0, in species records and organisms alike.
  void ResourceDeleted(int32_t deleted);
};
