// Whatever a data file holds that the reader accepts must be safe for the
// ticks that follow: values at the ends of the 32-bit range in masses, ages,
// amounts, genomes and the tick counter, then 100 ticks with every counter
// equal to a recount after each one. Run under the sanitizers too.
#include <climits>
#include <functional>
#include <random>

#include "FileTestUtil.h"
#include "model/Invariants.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

// A 5 x 10 model changed by `edit`, saved as it stands, loaded into a fresh
// model and ticked 100 times.
void LoadAndTick(const std::string& what, const std::function<void(TModel&)>& edit,
                 const std::function<void(TResourceObject&, TPlantObject&, int tick)>& check = {}) {
  SCOPED_TRACE(what);
  TTempDir dir;
  TModel m(5, 10);
  m.Populate();
  edit(m);
  const std::string f = dir.File("edge.zod");
  TFakeHost saveHost;
  ASSERT_TRUE(SaveDataFile(f, m.Res, m.Plant, m.Doc, saveHost));
  TResourceObject res(0, 5, 10);
  TPlantObject plant(0, 5, 10);
  TDataFileDocument doc;
  TFakeHost host;
  ASSERT_TRUE(LoadDataFile(f, false, res, plant, doc, host));
  RandSeed = 99;
  int32_t step = doc.Step;
  for (int tick = 0; tick < 100; ++tick) {
    const int32_t before = step;
    Tick(res, plant, step);
    ASSERT_GE(step, before) << "tick " << tick;
    ExpectPlantCountersMatchGrid(plant);
    ExpectResourceCountersMatchLayers(res);
    if (check) check(res, plant, tick);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "after tick " << tick;
      return;
    }
  }
}

TPlantCell& Living(TModel& m, int32_t row, int32_t col, int32_t species = 0) {
  if (m.Plant.Field(row, col).Mass <= 0) m.Plant.Place(species, row, col);
  return m.Plant.Field(row, col);
}

}  // namespace

TEST(TickAfterLoad, ValuesAtTheLimitsOfTheRange) {
  LoadAndTick("a mass at the limit keeps eating", [](TModel& m) {
    TPlantCell& c = Living(m, 2, 2);
    c.Genome = TGenome(1, 5, 0, 1000, 1, 0, 0, 1);
    c.Mass = INT_MAX - 7;
    m.Res.AddAmount(0, 2, 2, 100000);
  });
  LoadAndTick("an age past the maximum age", [](TModel& m) {
    TPlantCell& c = Living(m, 1, 1);
    c.Genome = TGenome(1, 1, 0, 5, 1, 0, 0, 1);
    c.Age = INT_MAX;
    m.Res.AddAmount(0, 1, 1, 100000);
  });
  LoadAndTick("the tick counter at the limit", [](TModel& m) { m.Doc.Step = INT_MAX; });
  LoadAndTick("amounts at the limit take waste", [](TModel& m) {
    for (int32_t r = 0; r < 5; ++r)
      for (int32_t c = 0; c < 10; ++c)
        for (int32_t k = 0; k < 2; ++k) m.Res.Field(k, r, c) = INT_MAX;
  });
  LoadAndTick("genomes at the limit", [](TModel& m) {
    for (int32_t c = 0; c < 10; ++c) {
      TPlantCell& cell = Living(m, 4, c, c % 3);
      cell.Genome = TGenome(INT_MAX, INT_MAX, c % 2, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
      cell.Mass = INT_MAX;
      cell.Age = INT_MAX - 1;
    }
    m.Plant.Params[1].Param = TGenome(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  });
}

TEST(TickAfterLoad, AHugeChildrenCountIsBoundedSoATickStaysShort) {
  // One organism of about 2.1e9 units asking for about 2.1e9 children per tick.
  int64_t lastMass = -1;
  LoadAndTick(
      "huge parent",
      [](TModel& m) {
        for (int32_t s = 0; s < m.Plant.Count; ++s) m.Plant.Clear(s);
        TPlantCell& c = Living(m, 2, 5);
        c.Genome = TGenome(1, 1, 1, 1000000, 2100000000, 0, 0, 1);
        c.Mass = 2100000000;
        c.Age = 3;
        m.Res.AddAmount(0, 2, 5, 1000);
      },
      [&](TResourceObject&, TPlantObject& plant, int tick) {
        const TPlantCell& parent = plant.Field(2, 5);
        ASSERT_GT(parent.Mass, 0);
        EXPECT_EQ(parent.Genome.ChildrenCount(), MaxChildrenCount);
        // Each tick it eats 1 and gives exactly MaxChildrenCount units away.
        if (tick > 0) {
          EXPECT_EQ(parent.Mass, lastMass + 1 - MaxChildrenCount);
        }
        lastMass = parent.Mass;
      });
}

TEST(TickAfterLoad, RandomValuesOverTheWholeRange) {
  std::mt19937 gen(31337);
  auto any = [&] { return static_cast<int32_t>(gen()); };
  auto nonNegative = [&] { return static_cast<int32_t>(gen() >> 1); };
  for (int round = 0; round < 12; ++round) {
    LoadAndTick("round " + std::to_string(round), [&](TModel& m) {
      for (int32_t r = 0; r < 5; ++r)
        for (int32_t c = 0; c < 10; ++c) {
          for (int32_t k = 0; k < 2; ++k) m.Res.Field(k, r, c) = gen() % 3 == 0 ? nonNegative() : 0;
          if (gen() % 2) continue;
          TPlantCell& cell = Living(m, r, c, static_cast<int32_t>(gen() % 3));
          for (int k = 0; k < GeneCount; ++k) cell.Genome[k] = gen() % 2 ? any() : static_cast<int32_t>(gen() % 6);
          cell.Mass = gen() % 2 ? nonNegative() : 1 + static_cast<int32_t>(gen() % 50);
          cell.Age = gen() % 2 ? nonNegative() : static_cast<int32_t>(gen() % 10);
        }
      for (int32_t s = 0; s < m.Plant.Count; ++s)
        for (int k = 0; k < GeneCount; ++k) m.Plant.Params[s].Param[k] = any();
      m.Doc.Step = nonNegative();
    });
  }
}
