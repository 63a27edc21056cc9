#pragma once
// The engine: one tick over the two stores, the averages refresh, and the
// rules that end a run. No window code here; the main window calls these and
// then does its own display work.
#include <cstdint>
#include <vector>

#include "model/uPlant.h"
#include "model/uResource.h"

// One tick: scans the field row by row, feeds, ages, kills and reproduces
// every organism, then advances the tick counter `step`.
void Tick(TResourceObject& resource, TPlantObject& plant, int32_t& step);

// Recalculates the averages of every species, in index order.
void CalcAverages(TPlantObject& plant);

// The stop rules of a run: a per-species snapshot of the living counts taken
// when the run starts, tested after every tick.
class TRunStopRules {
 public:
  void Start(const TPlantObject& plant);
  // Keeps the snapshot lined up with the species list when one is added
  // (a new entry of 0: it cannot stop the run) or deleted during the run.
  void SpeciesAdded();
  void SpeciesDeleted(int32_t index);
  // Tests after a tick. Returns true when the run should stop: no organism is
  // left, or (with autoStop) a species that was alive at the start died out
  // for the first time in this run.
  bool ShouldStop(const TPlantObject& plant, bool autoStop);
  void Release() { Snapshot.clear(); }
  const std::vector<int32_t>& Entries() const { return Snapshot; }

 private:
  std::vector<int32_t> Snapshot;
};
