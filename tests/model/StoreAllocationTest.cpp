// The stores when memory runs out part way through an operation: every
// allocation an operation makes is failed in turn, and the store must be as it
// was each time, whole enough for the painters and the tick.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "tests/FailingAlloc.h"
#include "Invariants.h"
#include "model/uPlant.h"
#include "model/uResource.h"

namespace {

void ExpectWhole(const TResourceObject& r, const TResourceObject& before) {
  ASSERT_EQ(r.Count, before.Count);
  ASSERT_EQ(r.RowCount, before.RowCount);
  ASSERT_EQ(r.ColCount, before.ColCount);
  ASSERT_EQ(r.Params.size(), static_cast<size_t>(r.Count));
  ASSERT_EQ(r.Field.LayerCount(), r.Count);
  ASSERT_EQ(r.Field.LayerSize(), static_cast<size_t>(r.RowCount) * static_cast<size_t>(r.ColCount));
  ExpectResourceCountersMatchLayers(r);
  for (int32_t i = 0; i < r.Count; ++i) EXPECT_EQ(r.Params[i].Name, before.Params[i].Name);
}

void ExpectWhole(const TPlantObject& p, const TPlantObject& before) {
  ASSERT_EQ(p.Count, before.Count);
  ASSERT_EQ(p.RowCount, before.RowCount);
  ASSERT_EQ(p.ColCount, before.ColCount);
  ASSERT_EQ(p.Params.size(), static_cast<size_t>(p.Count));
  ASSERT_EQ(p.Field.Size(), static_cast<size_t>(p.RowCount) * static_cast<size_t>(p.ColCount));
  ExpectPlantCountersMatchGrid(p);
  for (int32_t s = 0; s < p.Count; ++s) EXPECT_EQ(p.Params[s].Param, before.Params[s].Param);
}

// Runs `op` on a copy of `start` once for every allocation it makes, that
// allocation failing; then once more without a failure.
template <class TStore>
void FailEachAllocation(const char* what, const TStore& start, const std::function<void(TStore&)>& op) {
  for (long n = 0;; ++n) {
    SCOPED_TRACE(testing::Message() << what << ", allocation " << n);
    TStore store = start;
    FailAllocationAfter(n);
    bool thrown = false;
    try {
      op(store);
    } catch (const std::bad_alloc&) {
      thrown = true;
    }
    if (!StopFailingAllocations()) return;  // no allocation was left to fail
    if (thrown) ExpectWhole(store, start);
    ASSERT_LT(n, 100);
  }
}

}  // namespace

TEST(StoreAllocation, EveryOperationLeavesTheStoreAsItWasWhenMemoryRunsOut) {
  TResourceObject res(0, 5, 10);
  res.Add("A", 25, 70, clYellow);
  res.Add("B", 3, 0, clRed);
  res.AddAmount(0, 1, 1, 7);
  res.AddAmount(1, 4, 9, 2);
  FailEachAllocation<TResourceObject>("Add", res, [](TResourceObject& r) { r.Add("C", 5, 10, clLime); });
  FailEachAllocation<TResourceObject>("SetCount", res, [](TResourceObject& r) { r.SetCount(4); });
  FailEachAllocation<TResourceObject>("SetSize", res, [](TResourceObject& r) { r.SetSize(8, 12); });
  FailEachAllocation<TResourceObject>("Delete", res, [](TResourceObject& r) { r.Delete(0); });

  TPlantObject plant(0, 5, 10);
  plant.Add(MakeSpecies("P", 2, 1, 5, 10, 3, 10, 0, 1));
  plant.Add(MakeSpecies("Q", 4, 1, 6, 12, 2, 20, 1, 0));
  plant.Place(0, 1, 1);
  plant.Place(0, 4, 9);
  plant.Place(1, 2, 2);
  TPlantParameter other = MakeSpecies("Другой", 9, 9, 9, 9, 9, 9, 0, 0);
  FailEachAllocation<TPlantObject>("Add", plant, [&](TPlantObject& p) { p.Add(other); });
  FailEachAllocation<TPlantObject>("SetParameter", plant, [&](TPlantObject& p) { p.SetParameter(1, plant.Params[0]); });
  FailEachAllocation<TPlantObject>("SetSize up", plant, [](TPlantObject& p) { p.SetSize(8, 12); });
  FailEachAllocation<TPlantObject>("SetSize down", plant, [](TPlantObject& p) { p.SetSize(3, 10); });
  // A placement of values its species' distributions do not hold yet.
  TPlantObject placing = plant;
  placing.Params[1].Param.AgeMax() = 99;
  FailEachAllocation<TPlantObject>("Place", placing, [](TPlantObject& p) { p.Place(1, 1, 1); });
  FailEachAllocation<TPlantObject>("ResourceDeleted", plant, [](TPlantObject& p) { p.ResourceDeleted(0); });
  FailEachAllocation<TPlantObject>("Delete", plant, [](TPlantObject& p) { p.Delete(0); });
}
