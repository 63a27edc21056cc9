// Broken copies of a valid data file and resource set: every prefix and random
// byte changes must give a clean load or a refusal, never a crash, and the
// stores must hold only valid indexes afterwards. Run under AddressSanitizer too.
#include <random>

#include "FileTestUtil.h"
#include "files/uResourceSet.h"
#include "model/uEngine.h"

namespace {

void LoadBroken(const std::string& file, const std::string& bytes, const std::string& what, bool saveAgain) {
  WriteAll(file, bytes);
  TResourceObject res(1, 8, 12);
  TPlantObject plant(1, 8, 12);
  plant.Params[0].Param.ResourceBegin() = 1;
  plant.Place(0, 7, 11);
  TDataFileDocument doc;
  TFakeHost host;
  const bool ok = LoadDataFile(file, true, res, plant, doc, host);
  if (ok) {
    EXPECT_TRUE(host.Errors().empty()) << what;
  } else {
    EXPECT_EQ(host.Errors().size(), 1u) << what;
  }
  ExpectStoresValid(res, plant);
  if (ok) {
    // What the reader accepted is safe for the ticks that follow.
    int32_t step = doc.Step;
    for (int tick = 0; tick < 3; ++tick) Tick(res, plant, step);
    ExpectStoresValid(res, plant);
  }
  if (!ok && !saveAgain) return;
  // Whatever stayed in the stores can be saved and read back.
  TFakeHost again;
  const std::string copy = file + ".copy";
  ASSERT_TRUE(SaveDataFile(copy, res, plant, doc, again)) << what;
  TResourceObject res2(0, 5, 10);
  TPlantObject plant2(0, 5, 10);
  TDataFileDocument doc2;
  EXPECT_TRUE(LoadDataFile(copy, false, res2, plant2, doc2, again)) << what;
}

}  // namespace

TEST(DataFileFuzz, EveryPrefixLoadsOrIsRefused) {
  TTempDir dir;
  TModel m(5, 10);
  m.Populate();
  m.Doc.Comment = {"note", "info"};
  TFakeHost host;
  const std::string good = dir.File("good.zod");
  ASSERT_TRUE(SaveDataFile(good, m.Res, m.Plant, m.Doc, host));
  const std::string bytes = ReadAll(good);
  const std::string file = dir.File("prefix.zod");
  // Every prefix up to the end of the header and the first cells, then every 7th.
  for (size_t len = 0; len < bytes.size(); len += (len < 900 ? 1 : 7))
    LoadBroken(file, bytes.substr(0, len), "prefix " + std::to_string(len), len % 16 == 0);
}

TEST(DataFileFuzz, RandomByteChangesLoadOrAreRefused) {
  TTempDir dir;
  TModel m(5, 10);
  m.Populate();
  TFakeHost host;
  const std::string good = dir.File("good.zod");
  ASSERT_TRUE(SaveDataFile(good, m.Res, m.Plant, m.Doc, host));
  const std::string bytes = ReadAll(good);
  const std::string file = dir.File("flip.zod");
  std::mt19937 gen(20240607);
  const char alphabet[] = "0123456789-\r\n []x9";
  for (int round = 0; round < 400; ++round) {
    std::string b = bytes;
    const int changes = 1 + static_cast<int>(gen() % 4);
    for (int i = 0; i < changes; ++i) {
      const size_t at = gen() % b.size();
      switch (gen() % 3) {
        case 0: b[at] = static_cast<char>(gen() & 0xFF); break;
        case 1: b[at] = alphabet[gen() % (sizeof alphabet - 1)]; break;
        default: b.erase(at, 1 + gen() % 3); break;
      }
    }
    LoadBroken(file, b, "round " + std::to_string(round), round % 16 == 0);
  }
}

namespace {

class TSetHost : public TResourceSetHost {
 public:
  TSetHost(TResourceObject& r, TPlantObject& p) : Res(r), Plant(p) {}
  int32_t ResourceIndex(const std::string& name) override {
    for (int32_t i = 0; i < Res.Count; ++i)
      if (Res.Params[i].Name == name) return i;
    return -1;
  }
  bool HasPlant(const std::string& name) override {
    for (const auto& p : Plant.Params)
      if (p.Const.Name == name) return true;
    return false;
  }
  int32_t PlantCount() override { return Plant.Count; }
  void AddResource(const std::string&) override {}
  void AddPlant(const TPlantParameter& p) override { Plant.Add(p); }
  void UpdateView() override {}
  TResourceObject& Res;
  TPlantObject& Plant;
};

}  // namespace

TEST(ResourceSetFuzz, BrokenSetsNeverLeaveInvalidIndexes) {
  TTempDir dir;
  TModel m;
  TResourceSetSelection all{{true, true}, {true, true, true}};
  const std::string good = dir.File("good.zor");
  ASSERT_TRUE(ExportResourceSet(good, m.Res, m.Plant, all));
  const std::string bytes = ReadAll(good);
  std::mt19937 gen(7);
  const std::string file = dir.File("broken.zor");
  for (int round = 0; round < 300 + static_cast<int>(bytes.size()); ++round) {
    std::string b = round < static_cast<int>(bytes.size()) ? bytes.substr(0, static_cast<size_t>(round)) : bytes;
    if (round >= static_cast<int>(bytes.size())) b[gen() % b.size()] = "0123456789-\n[]x"[gen() % 15];
    WriteAll(file, b);
    TResourceObject res(0, 5, 10);
    TPlantObject plant(0, 5, 10);
    plant.Field.Reset(5, 10);
    TSetHost host(res, plant);
    TResourceSetSelection ticks{std::vector<bool>(8, true), std::vector<bool>(8, true)};
    ImportSetFile(file, res, ticks, host);
    ExpectStoresValid(res, plant);
    for (const auto& p : plant.Params) {
      EXPECT_LT(p.Param.ResourceIn(), res.Count);
      EXPECT_LT(p.Param.ResourceOut(), res.Count);
    }
  }
}
