#include "model/uEngine.h"

#include <algorithm>

#include "model/uRandom.h"

namespace {

// The child's genome after a mutation: each value moves by its draw's step of
// -1, 0 or +1 (the seeds in genome order), never past the 32-bit limit, and is
// then held in the range the tick keeps: ResourceBegin .. ChildrenCount at
// least 0 (ChildrenCount at most MaxChildrenCount), Mutation 0..100, the two
// resource indexes 0 .. lastResource.
TGenome Mutated(const TGenome& g, const uint32_t* seeds, int32_t lastResource) {
  const int64_t top[GeneCount] = {INT32_MAX, INT32_MAX, INT32_MAX,    INT32_MAX,
                                  MaxChildrenCount, 100, lastResource, lastResource};
  TGenome child;
  for (int k = 0; k < GeneCount; ++k) {
    const int64_t v = static_cast<int64_t>(g[k]) + RandomBelow(seeds[k], 3) - 1;
    child[k] = static_cast<int32_t>(v < 0 ? 0 : (v > top[k] ? top[k] : v));
  }
  return child;
}

// The draws of one child: row offset, column offset, the mutation test, and
// eight steps when it mutates.
constexpr int ChildDraws = 3 + GeneCount;

// How far ahead of the scan the next row's cells are fetched into the cache:
// children land there before the scan does.
constexpr int32_t FetchAhead = 16;

}  // namespace

void Tick(TResourceObject& resource, TPlantObject& plant, int32_t& step) {
  const int32_t R = plant.RowCount, C = plant.ColCount;
  const bool hasResources = resource.Count > 0;
  const int32_t lastResource = std::max(0, resource.Count - 1);
  TPlantCell* const cells = plant.Field.Data();
  // Amount of resource k in cell n: amounts[k * layerSize + n].
  int32_t* const amounts = hasResources ? resource.Field.Layer(0) : nullptr;
  const size_t layerSize = resource.Field.LayerSize();
  TRandomAhead ahead;
  const uint32_t* draws = ahead.Start(RandSeed);
  for (int32_t i = 0; i < R; ++i) {
    // Where the rows above, of and below the organism start, wrapped at the
    // field's edges: a child's row offset of -1, 0, +1 picks one.
    const size_t rows[3] = {static_cast<size_t>(i > 0 ? i - 1 : R - 1) * C, static_cast<size_t>(i) * C,
                            static_cast<size_t>(i + 1 < R ? i + 1 : 0) * C};
    const TPlantCell* const fetchLast = cells + rows[2] + (C - 1);
    const TPlantCell* fetch = cells + rows[2] + FetchAhead;
    for (int32_t j = 0; j < C; ++j, ++fetch) {
      __builtin_prefetch(std::min(fetch, fetchLast), 1);
      const size_t here = rows[1] + static_cast<size_t>(j);
      TPlantCell& c = cells[here];
      // A child born ahead of the scan waits for the next tick.
      if (c.BornAhead || c.Mass <= 0) {
        c.BornAhead = false;
        continue;
      }
      const int32_t species = c.Species;
      TPlantParameter& S = plant.Params[species];
      const int32_t out = c.Genome.ResourceOut();
      int32_t eaten = 0;
      if (c.Age != c.Genome.AgeMax() && hasResources) {
        const int32_t in = c.Genome.ResourceIn();
        eaten = resource.TakeAmountFrom(in, amounts[static_cast<size_t>(in) * layerSize + here], c.Genome.ResourceEat());
      }
      if (eaten == 0) {
        // Death of age or hunger: the whole mass stays here as waste (on a
        // field without any resource there is nothing to eat and nowhere to leave it).
        if (hasResources) resource.AddAmountTo(out, amounts[static_cast<size_t>(out) * layerSize + here], c.Mass);
        plant.Kill(species, i, j);
        continue;
      }
      // Mass and age stop at the 32-bit limit (a mass beyond it is lost, as
      // the resource store drops an amount beyond it).
      const int32_t grown = c.Mass > INT32_MAX - eaten ? INT32_MAX : c.Mass + eaten;
      int64_t massChange = grown - c.Mass;
      c.Mass = grown;
      c.Age += c.Age != INT32_MAX;
      const int32_t begin = c.Genome.ResourceBegin(), children = c.Genome.ChildrenCount();
      const int32_t ageReproduct = c.Genome.AgeReproduct();
      if ((c.Age >= ageReproduct) & (ageReproduct > 0) & (begin > 0) & (children >= 1) &&
          static_cast<int64_t>(children) * begin < grown) {
        // The parent gives ResourceBegin to each child; a child whose target
        // is taken leaves it there as the parent's waste. The counters of the
        // species and of the waste resource take the sums once the children
        // are placed: nothing reads them meanwhile, and the waste only grows.
        c.Mass = grown - children * begin;
        massChange -= static_cast<int64_t>(children) * begin;
        const size_t cols[3] = {static_cast<size_t>(j > 0 ? j - 1 : C - 1), static_cast<size_t>(j),
                                static_cast<size_t>(j + 1 < C ? j + 1 : 0)};
        int32_t* const waste = amounts + static_cast<size_t>(out) * layerSize;
        // The mutation test "Mutation > 100 * real draw", done exactly in integers:
        // the real draw is seed / 2^32, so the test is Mutation * 2^32 > 100 * seed.
        const int32_t mutation = c.Genome.Mutation();
        const uint64_t mutationBound = mutation > 0 ? static_cast<uint64_t>(mutation) << 32 : 0;
        int32_t wastedCells = 0, born = 0;
        int64_t wasted = 0;
        for (int32_t n = 0; n < children; ++n) {
          draws = ahead.Reserve(draws, ChildDraws);
          const size_t target = rows[RandomBelow(draws[1], 3)] + cols[RandomBelow(draws[2], 3)];
          const bool mutates = mutationBound > static_cast<uint64_t>(draws[3]) * 100u;
          TPlantCell& t = cells[target];
          if (t.Mass != 0) {
            draws += mutates ? ChildDraws : 3;
            wastedCells += waste[target] == 0;
            wasted += TResourceObject::AddSaturated(waste[target], begin);
            continue;
          }
          if (mutates) {
            t.Genome = Mutated(c.Genome, draws + 4, lastResource);
            draws += ChildDraws;
          } else {
            t.Genome = c.Genome;
            draws += 3;
          }
          ++born;
          t.Mass = begin;
          t.Species = species;
          t.Age = 0;
          t.BornAhead = target > here;  // later in the scan
          plant.StatAddCell(S.Stat, t);
        }
        massChange += static_cast<int64_t>(born) * begin;
        S.Const.Count += born;
        if (born < children) resource.CountAdded(out, wastedCells, wasted);
      }
      S.Const.Mass += massChange;
      S.Stat.MaxCount = std::max(S.Stat.MaxCount, S.Const.Count);
      S.Stat.MaxMass = std::max(S.Stat.MaxMass, S.Const.Mass);
    }
  }
  RandSeed = *draws;
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
