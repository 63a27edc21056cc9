#include "model/uEngine.h"

#include <algorithm>

#include "model/uRandom.h"

namespace {

inline int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

void MutateGenome(TGenome& g, int32_t resourceCount) {
  const int32_t lastResource = std::max(0, resourceCount - 1);
  for (int k = 0; k < GeneCount; ++k) {
    const int32_t d = Random(3) - 1;
    int32_t v = g[k];
    // Saturating step: a value at the top of the 32-bit range stays there.
    if (!(d > 0 && v == INT32_MAX)) v += d;
    g[k] = k < gResourceIn ? GeneInRange(k, v) : Clamp(v, 0, lastResource);
  }
}

}  // namespace

void Tick(TResourceObject& resource, TPlantObject& plant, int32_t& step) {
  const int32_t R = plant.RowCount, C = plant.ColCount;
  const bool hasResources = resource.Count > 0;
  for (int32_t i = 0; i < R; ++i) {
    TPlantCell* row = plant.Field.Row(i);
    for (int32_t j = 0; j < C; ++j) {
      TPlantCell& c = row[j];
      if (c.BornAhead) {
        c.BornAhead = false;
        continue;
      }
      if (c.Mass <= 0) continue;
      TPlantParameter& S = plant.Params[c.Species];
      int32_t eaten = 0;
      if (c.Age != c.Genome.AgeMax() && hasResources)
        eaten = resource.TakeAmount(c.Genome.ResourceIn(), i, j, c.Genome.ResourceEat());
      if (eaten == 0) {
        // Death of age or hunger: the whole mass stays here as waste (on a
        // field without any resource there is nothing to eat and nowhere to leave it).
        if (hasResources) resource.AddAmount(c.Genome.ResourceOut(), i, j, c.Mass);
        plant.Kill(c.Species, i, j);
        continue;
      }
      // Mass and age stop at the 32-bit limit (a mass beyond it is lost, as
      // the resource store drops an amount beyond it).
      const int32_t grown = c.Mass > INT32_MAX - eaten ? INT32_MAX : c.Mass + eaten;
      S.Const.Mass += grown - c.Mass;
      c.Mass = grown;
      c.Age += c.Age != INT32_MAX;
      const TGenome& g = c.Genome;
      const int32_t begin = g.ResourceBegin(), children = g.ChildrenCount();
      if (c.Age >= g.AgeReproduct() && g.AgeReproduct() > 0 && begin > 0 && children >= 1 &&
          static_cast<int64_t>(children) * begin < c.Mass) {
        for (int32_t n = 0; n < children; ++n) {
          c.Mass -= begin;
          S.Const.Mass -= begin;
          int32_t tr = i + Random(3) - 1;
          int32_t tc = j + Random(3) - 1;
          if (tr < 0) tr += R;
          if (tc < 0) tc += C;
          if (tr > R - 1) tr -= R;
          if (tc > C - 1) tc -= C;
          // The mutation test "Mutation > 100 * real draw", done exactly in integers:
          // the real draw is seed / 2^32, so the test is Mutation * 2^32 > 100 * seed.
          const uint64_t seed = NextRandSeed();
          const bool mutates = g.Mutation() > 0 && (static_cast<uint64_t>(g.Mutation()) << 32) > seed * 100u;
          TPlantCell& t = plant.Field(tr, tc);
          if (mutates) {
            TGenome child = g;
            MutateGenome(child, resource.Count);
            if (t.Mass != 0) {
              resource.AddAmount(g.ResourceOut(), tr, tc, begin);
              continue;
            }
            t.Genome = child;
          } else {
            if (t.Mass != 0) {
              resource.AddAmount(g.ResourceOut(), tr, tc, begin);
              continue;
            }
            t.Genome = g;
          }
          S.Const.Count += 1;
          S.Const.Mass += begin;
          t.Mass = begin;
          t.Species = c.Species;
          t.Age = 0;
          t.BornAhead = tr > i || (tr == i && tc > j);
          plant.StatAddCell(S.Stat, t);
        }
      }
      S.Stat.MaxCount = std::max(S.Stat.MaxCount, S.Const.Count);
      S.Stat.MaxMass = std::max(S.Stat.MaxMass, S.Const.Mass);
    }
  }
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
