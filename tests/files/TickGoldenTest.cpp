// Fixed runs whose every value was recorded once: the generator's seed, every
// cell, every resource layer and every counter after chosen ticks, and the data
// file saved at the end. A change to the tick that moves a single draw or a
// single unit of matter shows up here; a change that only makes it faster
// does not.
#include <climits>
#include <functional>
#include <sstream>

#include "FileTestUtil.h"
#include "model/Invariants.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

// 64-bit FNV-1a over values taken eight bytes at a time, low byte first.
class TDigest {
 public:
  void Add(int64_t v) {
    for (int b = 0; b < 8; ++b) {
      H ^= static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * b));
      H *= 1099511628211ull;
    }
  }
  void AddText(const std::string& s) {
    for (unsigned char ch : s) {
      H ^= ch;
      H *= 1099511628211ull;
    }
  }
  uint64_t Value() const { return H; }

 private:
  uint64_t H = 14695981039346656037ull;
};

// Both stores in one line: the seed; a digest of every cell (genome, species,
// mass, age, flag, in scan order); a digest of each resource layer; each
// resource's counters; each species' counters and a digest of its histograms.
std::string Describe(const TResourceObject& res, const TPlantObject& plant) {
  std::ostringstream out;
  out << "seed " << RandSeed << std::hex;
  TDigest cells;
  for (int32_t r = 0; r < plant.RowCount; ++r)
    for (int32_t c = 0; c < plant.ColCount; ++c) {
      const TPlantCell& cell = plant.Field(r, c);
      for (int k = 0; k < GeneCount; ++k) cells.Add(cell.Genome[k]);
      cells.Add(cell.Species);
      cells.Add(cell.Mass);
      cells.Add(cell.Age);
      cells.Add(cell.BornAhead);
    }
  out << " cells " << cells.Value();
  for (int32_t k = 0; k < res.Count; ++k) {
    TDigest layer;
    for (int32_t r = 0; r < res.RowCount; ++r)
      for (int32_t c = 0; c < res.ColCount; ++c) layer.Add(res.Amount(k, r, c));
    const TResourceParameter& p = res.Params[k];
    out << std::dec << " | r" << k << " " << p.CellCount << " " << p.Total << " " << p.MaxCellCount << " "
        << p.MaxTotal << std::hex << " " << layer.Value();
  }
  for (int32_t s = 0; s < plant.Count; ++s) {
    const TPlantParameter& p = plant.Params[s];
    TDigest histograms;
    for (const TStatArray& h : p.Stat.Histogram) {
      histograms.Add(static_cast<int64_t>(h.size()));
      for (const TStatItem& item : h) {
        histograms.Add(item.Value);
        histograms.Add(item.Num);
      }
    }
    out << std::dec << " | s" << s << " " << p.Const.Count << " " << p.Const.Mass << " " << p.Stat.MaxCount << " "
        << p.Stat.MaxMass << std::hex << " " << histograms.Value();
  }
  return out.str();
}

// The saved file without its third line, the date and time of the save.
uint64_t FileDigest(const std::string& path) {
  std::vector<std::string> lines = Lines(ReadAll(path));
  EXPECT_GT(lines.size(), 3u);
  if (lines.size() > 2) lines.erase(lines.begin() + 2);
  TDigest d;
  d.AddText(JoinCrLf(lines));
  return d.Value();
}

// Ticks the stores `ticks` times, comparing them with the recorded line after
// each tick that has one, then calling `afterTick` with the tick's number.
void TickAndCompare(TResourceObject& res, TPlantObject& plant, int32_t& step, int ticks,
                    const std::vector<std::pair<int, std::string>>& expected,
                    const std::function<void(int)>& afterTick = {}) {
  size_t next = 0;
  for (int tick = 1; tick <= ticks; ++tick) {
    Tick(res, plant, step);
    if (next < expected.size() && expected[next].first == tick) {
      EXPECT_EQ(Describe(res, plant), expected[next].second) << "after tick " << tick;
      ++next;
    }
    if (afterTick) afterTick(tick);
  }
  EXPECT_EQ(next, expected.size());
}

// A 200 x 200 field, two resources, three species that mutate at 10, 30 and
// 70 percent, eating and leaving both resources; all three still live after
// 500 ticks.
struct TGoldenWorld {
  TResourceObject Res{0, 200, 200};
  TPlantObject Plant{0, 200, 200};
  int32_t Step = 0;

  TGoldenWorld() {
    Res.Add("Ресурс Жёлтый", 25, 70, clYellow);
    Res.Add("Water", 7, 30, RGBColor(0, 0, 255));
    Plant.Add(NewPlantParameter("Организм А", TGenome(1, 1, 3, 12, 3, 10, 0, 1), clLime));
    Plant.Add(NewPlantParameter("Beta", TGenome(2, 2, 4, 15, 2, 30, 1, 0), RGBColor(10, 20, 30)));
    Plant.Add(NewPlantParameter("Гамма", TGenome(1, 2, 2, 20, 5, 70, 1, 0), clRed));
    Res.AddAmountEverywhere(0, 30);
    Res.AddAmountEverywhere(1, 20);
    for (int32_t r = 0; r < 200; ++r)
      for (int32_t c = 0; c < 200; ++c) {
        if ((r * 7 + c * 3) % 11 == 0) Res.AddAmount(1, r, c, 50 + r);
        const uint32_t h = static_cast<uint32_t>(r * 2654435761u) ^ static_cast<uint32_t>(c * 40503u);
        if (h % 5 < 3) Plant.Place(static_cast<int32_t>(h / 5 % 3), r, c);
      }
    RandSeed = 20240611;
  }
};

}  // namespace

TEST(TickGolden, FiveHundredTicksOnABusyFieldGiveTheRecordedValues) {
  TGoldenWorld w;
  const std::vector<std::pair<int, std::string>> expected = {
      {1,
       "seed 20240611 cells 3a00832b9fea7f60"
       " | r0 40000 1192006 40000 1200000 8c568a45ad3fc2c5"
       " | r1 40000 1311892 40000 1343776 5d92e248d1fe6007"
       " | s0 7994 15988 7994 15988 459ab435c427b4b6"
       " | s1 8025 32100 8025 32100 32f5f3400b2f23f"
       " | s2 7917 23751 7917 23751 f0f40d75f2a07d02"},
      {50,
       "seed 4260271115 cells c3854d3bbe98065e"
       " | r0 36593 997791 40000 1510291 6d533c99a00adb08"
       " | r1 38123 1344503 40000 1344515 6be75afbeea3c416"
       " | s0 7706 25005 15849 44896 5503a33a87b64553"
       " | s1 3715 24138 10496 64200 c69ce8d7276576a3"
       " | s2 23781 184300 23787 184428 e066278dafc867e6"},
      {100,
       "seed 2441621746 cells 61eda0e1d0538fac"
       " | r0 36635 964963 40000 1510291 8279c3b50f740bf0"
       " | r1 36606 1322953 40000 1434666 f4ad5518074cdbe5"
       " | s0 4390 14650 15849 44896 a5060fb0867f44d4"
       " | s1 3928 26987 10496 64200 e6cc9338a684541d"
       " | s2 27764 246184 27936 246871 e9e94fb263d180a0"},
      {101,
       "seed 1224715802 cells d339d4fb4d616d5c"
       " | r0 36586 967306 40000 1510291 5482d63f4fa1a35d"
       " | r1 36554 1320497 40000 1434666 284f2620da9db4f6"
       " | s0 4406 14988 15849 44896 8f0046fdb373764d"
       " | s1 3971 27019 10496 64200 adad720a16daf931"
       " | s2 27705 245841 27936 247044 e553268096011b96"},
      {500,
       "seed 3079985486 cells 94241d8719913d41"
       " | r0 37418 1206851 40000 1510291 b27d51b7f372a2fb"
       " | r1 37493 1151374 40000 1434666 3fea628c8ad8f6ac"
       " | s0 26617 122315 26633 122375 76dedc4743e282b8"
       " | s1 9595 71790 10496 74401 670045186cbbc586"
       " | s2 2118 23321 27936 253592 1850541c075e4910"},
  };
  TickAndCompare(w.Res, w.Plant, w.Step, 500, expected, [&](int tick) {
    if (tick != 100) return;
    // Painting between two ticks of a run draws from the same generator:
    // the next tick goes on from the seed the painting left.
    for (int n = 0; n < 20; ++n) {
      const int32_t r = Random(200), c = Random(200);
      w.Plant.Place(Random(3), r, c);
    }
  });
  EXPECT_EQ(w.Step, 500);
  ExpectPlantCountersMatchGrid(w.Plant);
  ExpectResourceCountersMatchLayers(w.Res);

  TTempDir dir;
  const std::string f = dir.File("golden.zod");
  TDataFileDocument doc;
  doc.Author = "Иван";
  doc.Step = w.Step;
  TFakeHost host;
  ASSERT_TRUE(SaveDataFile(f, w.Res, w.Plant, doc, host));
  std::ostringstream digest;
  digest << std::hex << FileDigest(f);
  EXPECT_EQ(digest.str(), "b4018fc1067b7f4a");
}

TEST(TickGolden, ValuesAtTheLimitsGiveTheRecordedValues) {
  // Masses, ages, amounts and genomes at the top of the 32-bit range (as a
  // data file may hold them), among ordinary organisms that breed and mutate.
  TResourceObject res(0, 12, 20);
  TPlantObject plant(0, 12, 20);
  res.Add("A", 25, 70, clYellow);
  res.Add("B", 25, 70, clRed);
  plant.Add(NewPlantParameter("S0", TGenome(1, 2, 2, 30, 3, 50, 0, 1)));
  plant.Add(NewPlantParameter("S1", TGenome(2, 1, 3, 40, 2, 100, 1, 0)));
  res.AddAmountEverywhere(0, 60);
  res.AddAmountEverywhere(1, 60);
  for (int32_t r = 0; r < 12; ++r)
    for (int32_t c = 0; c < 20; ++c) {
      if ((r + c) % 2 == 0) plant.Place((r * c) % 2, r, c);
      if ((r * 3 + c) % 7 == 0) res.AddAmount(r % 2, r, c, INT_MAX - 60 - r);
    }
  auto set = [&](int32_t r, int32_t c, const TGenome& g, int32_t mass, int32_t age) {
    plant.Place(0, r, c);
    TPlantCell& cell = plant.Field(r, c);
    TPlantParameter& s = plant.Params[0];
    for (int k = 0; k < GeneCount; ++k) plant.StatRemove(cell.Genome[k], s.Stat.Histogram[k]);
    s.Const.Mass += static_cast<int64_t>(mass) - cell.Mass;
    cell.Genome = g;
    cell.Mass = mass;
    cell.Age = age;
    plant.StatAddCell(s.Stat, cell);
  };
  set(0, 0, TGenome(INT_MAX, INT_MAX, 0, INT_MAX, MaxChildrenCount, 100, 1, 1), INT_MAX, INT_MAX - 1);
  set(3, 5, TGenome(1, 5, 1, INT_MAX, MaxChildrenCount, 100, 0, 1), INT_MAX - 3, INT_MAX - 2);
  set(6, 19, TGenome(1 << 30, 1, 1, INT_MAX, 3, 100, 0, 0), INT_MAX, 5);
  set(11, 0, TGenome(1, INT_MAX, 1, 1000, 1, 0, 1, 0), INT_MAX - 1, INT_MAX);
  set(11, 19, TGenome(INT_MAX - 1, 1, INT_MAX, INT_MAX, MaxChildrenCount, 100, 1, 1), 1000, 0);
  RandSeed = 0xFFFFFFFFu;
  int32_t step = INT_MAX - 100;
  const std::vector<std::pair<int, std::string>> expected = {
      {1,
       "seed 3558563946 cells a693259045a1c293"
       " | r0 240 38654718752 240 38654718876 5c835f375f68279"
       " | r1 238 36507235990 240 36507236097 7d93bb8b5b2eae78"
       " | s0 68 8589934769 68 8589935681 e2a7752324b5afb7"
       " | s1 58 174 60 174 7638070d1dc7722a"},
      {60,
       "seed 3308268829 cells 1b47605a6d3cd564"
       " | r0 231 40802196221 240 40802202199 fb9e0f5851b9ee95"
       " | r1 239 38654724393 240 38654725278 bd4d85f9cb154592"
       " | s0 133 2147485952 170 8589935681 42bd4d950d53c193"
       " | s1 103 795 136 805 c3967244e2c9d7e4"},
      {200,
       "seed 245132514 cells bcdd348ed7a4dc69"
       " | r0 226 42949681862 240 42949682687 b6fe9b728c457220"
       " | r1 230 38654719983 240 38654725278 febc5eb9564e575a"
       " | s0 147 3155 170 8589935681 edbc0dcc546330ee"
       " | s1 79 1624 136 2220 916b5615ac064687"},
  };
  TickAndCompare(res, plant, step, 200, expected, [&](int tick) {
    if (tick % 20 != 0) return;
    SCOPED_TRACE("after tick " + std::to_string(tick));
    ExpectPlantCountersMatchGrid(plant);
    ExpectResourceCountersMatchLayers(res);
  });
  EXPECT_EQ(step, INT_MAX);
}
