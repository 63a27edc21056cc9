#pragma once
// A busy field in a fixed state, for the benchmarks that tick: two resources,
// three species on nine cells in ten, settled by 20 ticks. Every timed tick
// starts from the same stores and seed, so that a faster tick is not handed a
// later, different population (the same code gives the same field after the
// same ticks).
#include <string>

#include "model/uEngine.h"
#include "model/uRandom.h"

struct BusyField {
  static constexpr int kRows = 1000, kCols = 1000;
  TResourceObject StartResource, Resource;
  TPlantObject StartPlant, Plant;
  int32_t StartStep = 0, Step = 0;
  uint32_t StartSeed = 0;

  explicit BusyField(int rows = kRows, int cols = kCols)
      : StartResource(0, rows, cols), Resource(0, rows, cols), StartPlant(0, rows, cols), Plant(0, rows, cols) {
    RandSeed = 12345;
    StartResource.Add("A", 25, 70, clYellow);
    StartResource.Add("B", 25, 70, clRed);
    for (int s = 0; s < 3; ++s) {
      StartPlant.Add(NewPlantParameter("S" + std::to_string(s),
                                       TGenome(1, 1 + s, 3 + s, 12 + 2 * s, 3, 10, s % 2, (s + 1) % 2)));
    }
    StartResource.AddAmountEverywhere(0, 40);
    StartResource.AddAmountEverywhere(1, 40);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c)
        if (Random(10) < 9) StartPlant.Place(Random(3), r, c);
    // Let the population settle into a steady state of births and deaths.
    for (int i = 0; i < 20; ++i) Tick(StartResource, StartPlant, StartStep);
    StartSeed = RandSeed;
    Restore();
  }

  // Puts the start state into the given stores and tick counter, and the seed back.
  void RestoreInto(TResourceObject& resource, TPlantObject& plant, int32_t& step) const {
    resource = StartResource;
    plant = StartPlant;
    step = StartStep;
    RandSeed = StartSeed;
  }
  void Restore() { RestoreInto(Resource, Plant, Step); }
};

// The big field, made once per program.
inline BusyField& BigBusyField() {
  static BusyField f;
  return f;
}
