// Speed of one tick on a 1000 x 1000 busy field, against two floors: the
// memory floor, one pass that reads and writes every byte of both stores'
// grids; and the draw-chain floor, as many draws from the generator, one
// after the other, as one tick of the same field makes.
//
// A pair on a 100 x 100 field, which the second-level cache holds, shows what
// the processor's guesses at the tick's random outcomes cost: ticked again and
// again from one state, the outcomes repeat and are learnt; ticked from 64
// states in turn, they are as new as on the big field.
#include <benchmark/benchmark.h>

#include <vector>

#include "BusyField.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

constexpr int kRows = BusyField::kRows, kCols = BusyField::kCols;

// Times one tick per iteration, each on the field `pick` gives, put back in
// its start state first; `cells` is the field's cell count.
template <class Pick>
void TimeTicks(benchmark::State& state, int64_t cells, Pick pick) {
  for (auto _ : state) {
    state.PauseTiming();
    BusyField& f = pick();
    f.Restore();
    state.ResumeTiming();
    Tick(f.Resource, f.Plant, f.Step);
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_cell"] = benchmark::Counter(
      static_cast<double>(cells), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Tick(benchmark::State& state) {
  BusyField& f = BigBusyField();
  TimeTicks(state, int64_t{kRows} * kCols, [&]() -> BusyField& { return f; });
  int64_t alive = 0;
  for (const auto& p : f.StartPlant.Params) alive += p.Const.Count;
  state.counters["alive"] = static_cast<double>(alive);
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor: every byte of the organism grid and both resource layers read and written once.
void BM_MemoryFloor(benchmark::State& state) {
  BusyField& f = BigBusyField();
  TPlantCell* cells = f.Plant.Field.Data();
  const size_t n = f.Plant.Field.Size();
  for (auto _ : state) {
    for (size_t i = 0; i < n; ++i) cells[i].Age += 1;
    for (int res = 0; res < f.Resource.Count; ++res) {
      int32_t* a = f.Resource.Field.Layer(res);
      for (size_t i = 0; i < n; ++i) a[i] += 1;
    }
    benchmark::ClobberMemory();
  }
  f.Restore();
  state.counters["bytes"] = static_cast<double>(n * sizeof(TPlantCell) + 2 * n * sizeof(int32_t));
}
BENCHMARK(BM_MemoryFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Draws one tick of the busy field makes: the steps from the seed before the
// tick to the seed after it.
int64_t DrawsPerTick() {
  BusyField& f = BigBusyField();
  f.Restore();
  Tick(f.Resource, f.Plant, f.Step);
  const uint32_t after = RandSeed;
  RandSeed = f.StartSeed;
  int64_t n = 0;
  while (RandSeed != after) {
    NextRandSeed();
    ++n;
  }
  f.Restore();
  return n;
}

// The floor of a tick that makes its draws one after the other: each draw
// waits for the seed of the one before it.
void BM_DrawChainFloor(benchmark::State& state) {
  static const int64_t draws = DrawsPerTick();
  for (auto _ : state) {
    int32_t sum = 0;
    for (int64_t n = 0; n < draws; ++n) sum += Random(3);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["draws"] = static_cast<double>(draws);
}
BENCHMARK(BM_DrawChainFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The small field, settled, then `states` successive states of it; each timed
// tick starts from the next one in turn.
void TickSmall(benchmark::State& state, int states) {
  constexpr int kSmall = 100;
  static BusyField base(kSmall, kSmall);
  std::vector<BusyField> from(states, base);
  for (int n = 1; n < states; ++n) {
    from[n] = from[n - 1];
    RandSeed = from[n].StartSeed;
    Tick(from[n].StartResource, from[n].StartPlant, from[n].StartStep);
    from[n].StartSeed = RandSeed;
  }
  int next = 0;
  TimeTicks(state, int64_t{kSmall} * kSmall, [&]() -> BusyField& {
    BusyField& f = from[next];
    next = (next + 1) % states;
    return f;
  });
}
void BM_TickSmallSameStart(benchmark::State& state) { TickSmall(state, 1); }
void BM_TickSmallNewStarts(benchmark::State& state) { TickSmall(state, 64); }
BENCHMARK(BM_TickSmallSameStart)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_TickSmallNewStarts)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
