#include "model/uEngine.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/uRandom.h"

namespace {

// The child's genome after a mutation: each value moves by its draw's step of
// -1, 0 or +1 (the draws in genome order, from position pos + 1), never past
// the 32-bit limit, and is then held in the range the tick keeps:
// ResourceBegin .. ChildrenCount at least 0 (ChildrenCount at most
// MaxChildrenCount), Mutation 0..100, the two resource indexes 0 .. lastResource.
TGenome Mutated(const TGenome& g, const TRandomAhead& draws, std::ptrdiff_t pos, int32_t lastResource) {
  const int64_t top[GeneCount] = {INT32_MAX, INT32_MAX, INT32_MAX,    INT32_MAX,
                                  MaxChildrenCount, 100, lastResource, lastResource};
  TGenome child;
  for (int k = 0; k < GeneCount; ++k) {
    const int64_t v = static_cast<int64_t>(g[k]) + RandomBelow(draws.Seed(pos + 1 + k), 3) - 1;
    child[k] = static_cast<int32_t>(v < 0 ? 0 : (v > top[k] ? top[k] : v));
  }
  return child;
}

// MutationBound[m]: the seeds below it pass the mutation test of an organism
// whose Mutation is m, Mutation * 2^32 > 100 * seed (m * 2^32 / 100, rounded
// up); none at 0 and below, all at 100 and above.
constexpr auto MutationBound = [] {
  std::array<uint64_t, 101> bound{};
  for (uint64_t m = 0; m <= 100; ++m) bound[m] = ((m << 32) + 99) / 100;
  return bound;
}();

// The draws of one child: row offset, column offset, the mutation test, and
// eight steps when it mutates.
constexpr int ChildDraws = 3 + GeneCount;

// How far ahead of the scan the cells of the neighbouring rows are fetched
// into the cache: children land there.
constexpr int32_t FetchAhead = 16;

// Where a child lands, as an offset from its parent's cell, for each pair of
// offset draws (row draw * 3 + column draw), with the field's edges wrapped:
// one table for the columns inside the field and one for each edge column
// (index: 1 for the first column, 2 for the last, 3 for a single column).
struct TLanding {
  int64_t Offset[4][9];

  TLanding(int32_t R, int32_t C, int32_t i) {
    const int64_t rowUp = (i > 0 ? -1 : R - 1) * static_cast<int64_t>(C);
    const int64_t rowDown = (i + 1 < R ? 1 : 1 - R) * static_cast<int64_t>(C);
    const int64_t rows[3] = {rowUp, 0, rowDown};
    for (int edge = 0; edge < 4; ++edge) {
      const int64_t cols[3] = {edge & 1 ? C - 1 : -1, 0, edge & 2 ? 1 - C : 1};
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Offset[edge][r * 3 + c] = rows[r] + cols[c];
    }
  }
};

// Births and deaths counted for the species' histograms during one tick and
// put into them when the scan ends. Nothing reads the histograms meanwhile,
// and since a histogram counts exactly the values of its species' living
// organisms (every operation of the store keeps it so), each removal finds
// its value there and the histogram left behind does not depend on the order
// of the changes. Each histogram gets a window of Window values starting one
// below its lowest, where nearly every change falls (a child's value is at
// most one step from its parent's); a value outside it goes straight to the
// histogram. Add and Remove are calls of their own, so that the scan keeps its
// registers.
class THistogramChanges {
 public:
  static constexpr uint32_t Window = 64;
  // A change tests all eight window positions at once by or-ing them.
  static_assert((Window & (Window - 1)) == 0, "the window must be a power of two");

  explicit THistogramChanges(TPlantObject& plant) : Plant(plant), Species(plant.Params.size()) {
    for (size_t s = 0; s < Species.size(); ++s)
      for (int k = 0; k < GeneCount; ++k) {
        const TStatArray& h = plant.Params[s].Stat.Histogram[k];
        Species[s].First[k] = h.empty() || h.front().Value == INT32_MIN ? INT32_MIN : h.front().Value - 1;
      }
  }

  __attribute__((noinline)) void Add(int32_t species, const TGenome& g) { Change(species, g, 1); }
  __attribute__((noinline)) void Remove(int32_t species, const TGenome& g) { Change(species, g, -1); }

  // Puts the counted changes into the histograms.
  void Apply() {
    for (size_t s = 0; s < Species.size(); ++s)
      for (int k = 0; k < GeneCount; ++k) {
        const int32_t* count = Species[s].Count[k];
        if (std::all_of(count, count + Window, [](int32_t n) { return n == 0; })) continue;
        const int64_t first = Species[s].First[k];
        TStatArray& h = Plant.Params[s].Stat.Histogram[k];
        TStatArray merged;
        merged.reserve(h.size() + 2);
        auto it = h.begin();
        for (; it != h.end() && it->Value < first; ++it) merged.push_back(*it);
        for (uint32_t n = 0; n < Window && first + n <= INT32_MAX; ++n) {
          const int32_t value = static_cast<int32_t>(first + n);
          int64_t num = count[n];
          if (it != h.end() && it->Value == value) num += (it++)->Num;
          if (num > 0) merged.push_back(TStatItem{value, static_cast<int32_t>(num)});
        }
        merged.insert(merged.end(), it, h.end());
        h.swap(merged);
      }
  }

 private:
  // One value per heritable parameter counted in (delta 1) or out (delta -1).
  __attribute__((always_inline)) void Change(int32_t species, const TGenome& g, int32_t delta) {
    TCounts& counts = Species[species];
    uint32_t at[GeneCount], anyAt = 0;
    for (int k = 0; k < GeneCount; ++k) {
      at[k] = static_cast<uint32_t>(g[k]) - static_cast<uint32_t>(counts.First[k]);
      anyAt |= at[k];
    }
    if (anyAt >= Window) return ChangeOutside(species, g, delta);
    // Every value inside its window, as nearly always: no test per value.
    for (int k = 0; k < GeneCount; ++k) counts.Count[k][at[k]] += delta;
  }
  // Change where some value falls outside its window.
  __attribute__((noinline)) void ChangeOutside(int32_t species, const TGenome& g, int32_t delta) {
    TCounts& counts = Species[species];
    for (int k = 0; k < GeneCount; ++k) {
      const uint32_t at = static_cast<uint32_t>(g[k]) - static_cast<uint32_t>(counts.First[k]);
      TStatArray& h = Plant.Params[species].Stat.Histogram[k];
      if (at < Window)
        counts.Count[k][at] += delta;
      else if (delta > 0)
        StatAdd(g[k], h);
      else
        Plant.StatRemove(g[k], h);
    }
  }

  struct TCounts {
    int32_t First[GeneCount];
    int32_t Count[GeneCount][Window] = {};
  };
  TPlantObject& Plant;
  std::vector<TCounts> Species;
};

}  // namespace

void Tick(TResourceObject& resource, TPlantObject& plant, int32_t& step) {
  const int32_t R = plant.RowCount, C = plant.ColCount;
  const bool hasResources = resource.Count > 0;
  const int32_t lastResource = std::max(0, resource.Count - 1);
  TPlantCell* const cells = plant.Field.Data();
  TPlantParameter* const species = plant.Params.data();
  THistogramChanges histograms(plant);
  // Death of age or hunger, as TPlantObject::Kill with the histograms changed
  // at the end; the mass left as waste is the caller's.
  auto die = [&](TPlantCell& c) {
    TPlantParameter& S = species[c.Species];
    --S.Const.Count;
    S.Const.Mass -= c.Mass;
    histograms.Remove(c.Species, c.Genome);
    c = TPlantCell{};
  };
  if (!hasResources) {
    // Nothing to eat and nowhere to leave waste: every organism dies where it
    // stands, and nothing is drawn.
    for (size_t n = 0; n < plant.Field.Size(); ++n) {
      TPlantCell& c = cells[n];
      if (c.BornAhead || c.Mass <= 0)
        c.BornAhead = false;
      else
        die(c);
    }
    histograms.Apply();
    if (step != INT32_MAX) ++step;
    return;
  }
  // The records and layers by index, found with one load per organism.
  std::vector<TPlantParameter*> speciesAt(plant.Params.size());
  for (size_t n = 0; n < speciesAt.size(); ++n) speciesAt[n] = &species[n];
  struct TFood {
    TResourceParameter* Record;
    int32_t* Layer;
  };
  std::vector<TFood> food(resource.Params.size());
  for (size_t n = 0; n < food.size(); ++n) food[n] = {&resource.Params[n], resource.Field.Layer(static_cast<int>(n))};
  // The count of a species rises only with births, so its maximum needs
  // looking at only then; unless a maximum starts below its count (as a
  // hand-edited file may have it), which every surviving organism raises.
  const bool maxCountBehind = std::any_of(plant.Params.begin(), plant.Params.end(),
                                          [](const TPlantParameter& p) { return p.Stat.MaxCount < p.Const.Count; });
  TRandomAhead draws;
  std::ptrdiff_t pos = draws.Start(RandSeed);
  for (int32_t i = 0; i < R && C > 0; ++i) {
    const TLanding landing(R, C, i);
    const int64_t rowStart = static_cast<int64_t>(i) * C;
    // One cell of the row, `here`, its children landing by `offset`.
    auto cell = [&](int64_t here, const int64_t* offset) __attribute__((always_inline)) {
      TPlantCell& c = cells[here];
      // A child born ahead of the scan waits for the next tick.
      if (c.BornAhead || c.Mass <= 0) {
        c.BornAhead = false;
        return;
      }
      TPlantParameter& S = *speciesAt[c.Species];
      const int32_t out = c.Genome.ResourceOut();
      int32_t eaten = 0;
      if (c.Age != c.Genome.AgeMax()) {
        const TFood& f = food[c.Genome.ResourceIn()];
        eaten = TResourceObject::TakeAmountFrom(*f.Record, f.Layer[here], c.Genome.ResourceEat());
      }
      if (eaten == 0) {
        // Death of age or hunger: the whole mass stays here as waste.
        resource.AddAmountTo(out, food[out].Layer[here], c.Mass);
        die(c);
        return;
      }
      // Mass and age stop at the 32-bit limit (a mass beyond it is lost, as
      // the resource store drops an amount beyond it).
      int32_t grown;
      if (__builtin_add_overflow(c.Mass, eaten, &grown)) grown = INT32_MAX;
      int64_t massChange = static_cast<int64_t>(grown) - c.Mass;
      c.Mass = grown;
      if (__builtin_add_overflow(c.Age, 1, &c.Age)) c.Age = INT32_MAX;
      const int32_t begin = c.Genome.ResourceBegin(), children = c.Genome.ChildrenCount();
      const int32_t ageReproduct = c.Genome.AgeReproduct();
      if ((c.Age >= ageReproduct) & (ageReproduct > 0) & (begin > 0) & (children >= 1) &&
          static_cast<int64_t>(children) * begin < grown) {
        // The parent gives ResourceBegin to each child; a child whose target
        // is taken leaves it there as the parent's waste. The counters of the
        // species and of the waste resource take the sums once the children
        // are placed: nothing reads them meanwhile, and the waste only grows.
        c.Mass = grown - children * begin;
        // The parent's cell in the waste layer: a child's target is at the
        // same offset from it as from the parent.
        int32_t* const waste = food[out].Layer + here;
        // The mutation test "Mutation > 100 * real draw", done exactly in
        // integers: the real draw is seed / 2^32.
        const int32_t mutation = c.Genome.Mutation();
        const uint64_t mutationBound = MutationBound[std::clamp(mutation, 0, 100)];
        // Waste of the children whose target is taken: cells that held none
        // of it before, and what an amount at the 32-bit limit could not take.
        int32_t wastedCells = 0, born = 0;
        int64_t overflow = 0;
        // One child: its draws start after position pos.
        auto child = [&] {
          // The target cell as an offset from the parent's.
          const int64_t target = offset[3 * RandomBelow(draws.Seed(pos + 1), 3) + RandomBelow(draws.Seed(pos + 2), 3)];
          const bool mutates = draws.Seed(pos + 3) < mutationBound;
          TPlantCell& t = (&c)[target];
          if (t.Mass != 0) {
            if (mutates) {
              pos += GeneCount;
              // Kept a branch (the empty asm stops the compiler from making it
              // a select): mutations are rare and well guessed, while a select
              // would make every next child wait for this test's seed.
              asm volatile("");
            }
            pos += 3;
            wastedCells += waste[target] == 0;
            overflow += TResourceObject::AddSaturated(waste[target], begin);
            return;
          }
          if (mutates) {
            t.Genome = Mutated(c.Genome, draws, pos + 3, lastResource);
            pos += ChildDraws;
          } else {
            t.Genome = c.Genome;
            pos += 3;
          }
          ++born;
          t.Mass = begin;
          t.Species = c.Species;
          t.Age = 0;
          t.BornAhead = target > 0;  // later in the scan
          histograms.Add(t.Species, t.Genome);
        };
        if (children <= TRandomAhead::MaxReserve / ChildDraws) {
          // The draws of every child at once.
          pos = draws.Reserve(pos, children * ChildDraws);
          for (int32_t n = children; n > 0; --n) child();
        } else {
          for (int32_t n = children; n > 0; --n) {
            pos = draws.Reserve(pos, ChildDraws);
            child();
          }
        }
        massChange -= static_cast<int64_t>(children - born) * begin;
        if (born > 0) {
          S.Const.Count += born;
          S.Stat.MaxCount = std::max(S.Stat.MaxCount, S.Const.Count);
        }
        if (born < children)
          TResourceObject::CountAdded(*food[out].Record, wastedCells,
                                      static_cast<int64_t>(children - born) * begin - overflow);
      }
      S.Const.Mass += massChange;
      if (maxCountBehind) S.Stat.MaxCount = std::max(S.Stat.MaxCount, S.Const.Count);
      S.Stat.MaxMass = std::max(S.Stat.MaxMass, S.Const.Mass);
    };
    // The edge columns with their wrapped tables, the inside ones with the
    // plain table, fetching the rows below and above ahead while that stays
    // inside them.
    const int64_t* const inside = landing.Offset[0];
    const int64_t rowEnd = rowStart + C - 1, fetchEnd = rowStart + std::max(1, C - FetchAhead);
    // The cells of the next row, not yet in the cache, and of the row before,
    // which a row as long as the busy field's pushes out of the nearest cache,
    // are fetched FetchAhead columns ahead of the scan.
    const int64_t fetchAhead = landing.Offset[0][7] + FetchAhead;
    const int64_t fetchAbove = landing.Offset[0][1] + FetchAhead;
    cell(rowStart, landing.Offset[C == 1 ? 3 : 1]);
    for (int64_t here = rowStart + 1; here < fetchEnd; ++here) {
      __builtin_prefetch(cells + here + fetchAhead, 1);
      __builtin_prefetch(cells + here + fetchAbove, 1);
      cell(here, inside);
    }
    for (int64_t here = fetchEnd; here < rowEnd; ++here) cell(here, inside);
    if (C > 1) cell(rowEnd, landing.Offset[2]);
  }
  histograms.Apply();
  RandSeed = draws.Seed(pos);
  if (step != INT32_MAX) ++step;
}

void CalcAverages(TPlantObject& plant) {
  for (int32_t s = 0; s < plant.Count; ++s) plant.CalcAverage(s);
}

void TRunStopRules::Start(const TPlantObject& plant) {
  Snapshot.resize(plant.Count);
  for (int32_t s = 0; s < plant.Count; ++s) Snapshot[s] = plant.Params[s].Const.Count;
}

void TRunStopRules::SpeciesAdded() { Snapshot.push_back(0); }

void TRunStopRules::SpeciesDeleted(int32_t index) {
  if (index >= 0 && index < static_cast<int32_t>(Snapshot.size())) Snapshot.erase(Snapshot.begin() + index);
}

bool TRunStopRules::ShouldStop(const TPlantObject& plant, bool autoStop) {
  bool stop = false;
  int64_t total = 0;
  for (int32_t s = 0; s < plant.Count; ++s) {
    const int32_t count = plant.Params[s].Const.Count;
    total += count;
    if (s < static_cast<int32_t>(Snapshot.size()) && count == 0 && Snapshot[s] > 0) {
      Snapshot[s] = 0;
      if (autoStop) stop = true;
    }
  }
  return stop || total == 0;
}
