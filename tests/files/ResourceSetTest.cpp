// The resource-set file: export of ticked rows, the 6 + 5n + 12m line count,
// and the import rules (duplicates without regard to case, unticked rows,
// older versions, broken counts, species naming unknown resources).
#include <algorithm>

#include "FileTestUtil.h"
#include "files/uResourceSet.h"
#include "model/uLimits.h"
#include "platform/Cp1251.h"

namespace {

// The parameter editor's lists as the import sees them: the store names.
class TListHost : public TResourceSetHost {
 public:
  TListHost(TResourceObject& r, TPlantObject& p) : Res(r), Plant(p) {}
  int32_t ResourceIndex(const std::string& name) override {
    for (int32_t i = 0; i < Res.Count; ++i)
      if (SameTextCI(Res.Params[i].Name, name)) return i;
    return -1;
  }
  bool HasPlant(const std::string& name) override {
    for (const auto& p : Plant.Params)
      if (SameTextCI(p.Const.Name, name)) return true;
    return false;
  }
  int32_t PlantCount() override { return Plant.Count; }
  void AddResource(const std::string& name) override { AddedResources.push_back(name); }
  void AddPlant(const TPlantParameter& p) override {
    TPlantParameter copy = p;
    copy.Const.Count = 0;
    copy.Const.Mass = 0;
    Plant.Add(copy);
  }
  void UpdateView() override { ++Updates; }
  TResourceObject& Res;
  TPlantObject& Plant;
  std::vector<std::string> AddedResources;
  int Updates = 0;
};

struct TEmpty {
  TResourceObject Res{0, 5, 10};
  TPlantObject Plant{0, 5, 10};
  TListHost Host{Res, Plant};
  TEmpty() { Plant.Field.Reset(5, 10); }
};

std::vector<std::string> Names(const TPlantObject& p) {
  std::vector<std::string> out;
  for (const auto& s : p.Params) out.push_back(s.Const.Name);
  return out;
}

}  // namespace

TEST(ResourceSetExport, NothingTickedWritesSixLines) {
  TTempDir dir;
  TModel m;
  const std::string f = dir.File("none.zor");
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, {}));
  EXPECT_EQ(ReadAll(f), "[FileDataVersion]\r\n0.5.2\r\n[ResourceCount]\r\n0\r\n[PlantCount]\r\n0\r\n");
}

TEST(ResourceSetExport, TickedRecordsAreNumberedInTheSetAndNameTheirResources) {
  TTempDir dir;
  TModel m;
  m.Res.Add("Третий", 3, 4, 5);
  const std::string f = dir.File("some.zor");
  // Resources 0 and 2 of three, species 1 (whose food is the unticked resource 1).
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, {{true, false, true}, {false, true, false}}));
  const auto lines = Lines(ReadAll(f));
  EXPECT_EQ(lines.size(), 6u + 5 * 2 + 12 * 1);
  const std::vector<std::string> expected = {
      "[FileDataVersion]", "0.5.2", "[ResourceCount]", "2",
      "[Resource0]", Utf8ToCp1251("Ресурс Жёлтый"), "25", "70", std::to_string(clYellow),
      "[Resource1]", Utf8ToCp1251("Третий"), "3", "4", "5",
      "[PlantCount]", "1",
      "[Plant0]", "Beta", "Water", Utf8ToCp1251("Ресурс Жёлтый"), "10", std::to_string(RGBColor(10, 20, 30)),
      std::to_string(clRed), "2", "1", "5", "10", "3"};
  EXPECT_EQ(lines, expected);
}

TEST(ResourceSetExport, AFailedExportLeavesTheOldFileWhole) {
  TTempDir dir;
  TModel m;
  std::string error;
  const std::string f = dir.File("no/such/folder.zor");
  EXPECT_FALSE(ExportResourceSet(f, m.Res, m.Plant, {{true}, {}}, &error));
  EXPECT_EQ(error, "Файл \"" + f + "\" не удалось сохранить. Папка этого файла не существует.");
  EXPECT_FALSE(fs::exists(f));
}

TEST(ResourceSetImport, RoundTripIntoAnEmptyModelAndAgainAddsNothing) {
  TTempDir dir;
  TModel m;
  const std::string f = dir.File("all.zor");
  const TResourceSetSelection all{{true, true}, {true, true, true}};
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, all));

  TEmpty t;
  EXPECT_EQ(ImportSetFile(f, t.Res, all, t.Host), 5);
  ASSERT_EQ(t.Res.Count, 2);
  EXPECT_EQ(t.Res.Params[0].Name, "Ресурс Жёлтый");
  EXPECT_EQ(t.Res.Params[1].BrushValue, 7);
  EXPECT_EQ(t.Res.Params[1].Slur, 30);
  EXPECT_EQ(t.Host.AddedResources, (std::vector<std::string>{"Ресурс Жёлтый", "Water"}));
  ASSERT_EQ(t.Plant.Count, 3);
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(t.Plant.Params[s].Param, m.Plant.Params[s].Param) << s;
    EXPECT_EQ(t.Plant.Params[s].Const.Color, m.Plant.Params[s].Const.Color);
    EXPECT_EQ(t.Plant.Params[s].Const.ColorMutant, m.Plant.Params[s].Const.ColorMutant);
  }
  EXPECT_EQ(t.Host.Updates, 1);

  // Into the model it came from: every name exists already.
  TListHost same(m.Res, m.Plant);
  EXPECT_EQ(ImportSetFile(f, m.Res, all, same), 0);
  EXPECT_EQ(m.Res.Count, 2);
  EXPECT_EQ(m.Plant.Count, 3);
}

TEST(ResourceSetImport, NamesDifferingOnlyInCaseAreNotImported) {
  TTempDir dir;
  const std::string f = dir.File("case.zor");
  WriteAll(f, JoinCrLf({"[FileDataVersion]", "0.5.2", "[ResourceCount]", "2", "[Resource0]",
                        Utf8ToCp1251("ВОДА"), "1", "2", "3", "[Resource1]", "Sand", "1", "2", "3", "[PlantCount]", "1",
                        "[Plant0]", Utf8ToCp1251("ЁЖИК"), "sand", Utf8ToCp1251("вода"), "1", "2", "3", "4", "5", "6", "7",
                        "8"}));
  TEmpty t;
  t.Res.Add("вода", 9, 9, 9);
  t.Plant.Add(Species("ёжик", 0, 0, 1));
  EXPECT_EQ(ImportSetFile(f, t.Res, {{true, true}, {true}}, t.Host), 1);
  EXPECT_EQ(t.Res.Count, 2);
  EXPECT_EQ(t.Res.Params[1].Name, "Sand");
  EXPECT_EQ(t.Plant.Count, 1);
}

TEST(ResourceSetImport, UntickedRowsUnknownResourcesAndMissingRows) {
  TTempDir dir;
  TModel m;
  const std::string f = dir.File("all.zor");
  ASSERT_TRUE(ExportResourceSet(f, m.Res, m.Plant, {{true, true}, {true, true, true}}));
  {
    // Only Water ticked: the species naming "Ресурс Жёлтый" as food or waste
    // find no such resource and are left out; "Гамма" lives on Water alone.
    TEmpty t;
    EXPECT_EQ(ImportSetFile(f, t.Res, {{false, true}, {true, true, true}}, t.Host), 2);
    EXPECT_EQ(t.Res.Count, 1);
    EXPECT_EQ(Names(t.Plant), std::vector<std::string>{"Гамма"});
    EXPECT_EQ(t.Plant.Params[0].Param.ResourceIn(), 0);  // Water's index here
    EXPECT_EQ(t.Plant.Params[0].Param.ResourceOut(), 0);
  }
  {
    // A species whose food resource comes from the same set gets its new index.
    TEmpty t;
    t.Res.Add("Other", 1, 1, 1);
    EXPECT_EQ(ImportSetFile(f, t.Res, {{true, true}, {false, true, false}}, t.Host), 3);
    ASSERT_EQ(t.Plant.Count, 1);
    EXPECT_EQ(t.Plant.Params[0].Param.ResourceIn(), 2);   // Water
    EXPECT_EQ(t.Plant.Params[0].Param.ResourceOut(), 1);  // Ресурс Жёлтый
  }
  {
    // The check list has fewer rows than the set: the import ends there.
    TEmpty t;
    EXPECT_EQ(ImportSetFile(f, t.Res, {{true}, {true}}, t.Host), 1);
    EXPECT_EQ(t.Res.Count, 1);
    EXPECT_EQ(t.Plant.Count, 0);
    EXPECT_EQ(t.Host.Updates, 1);
  }
}

TEST(ResourceSetImport, OlderVersionsAndBrokenCounts) {
  TTempDir dir;
  const std::vector<std::string> resources = {"[ResourceCount]", "1", "[Resource0]", "A", "1", "2", "3"};
  auto species = [](bool out, bool mutant) {
    std::vector<std::string> l = {"[PlantCount]", "1", "[Plant0]", "P", "A"};
    if (out) l.push_back("A");
    l.insert(l.end(), {"11", "12"});
    if (mutant) l.push_back("13");
    l.insert(l.end(), {"14", "15", "16", "17", "18"});
    return l;
  };
  struct TCase {
    std::vector<std::string> head;
    bool out, mutant;
    int32_t colorMutant;
  } cases[] = {
      {{"[FileDataVersion]", "0.5.2"}, true, true, 13},
      {{"[FileDataVersion]", "0.7"}, true, true, 13},  // later versions read as 0.5.2
      {{"[FileDataVersion]", "0.5.1"}, true, false, 255},
      {{"[FileDataVersion]", "0.4"}, false, false, 255},
      {{"no version tag"}, false, false, 255},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> l = c.head;
    l.insert(l.end(), resources.begin(), resources.end());
    const auto s = species(c.out, c.mutant);
    l.insert(l.end(), s.begin(), s.end());
    const std::string f = dir.File("old.zor");
    WriteAll(f, JoinCrLf(l));
    TEmpty t;
    EXPECT_EQ(ImportSetFile(f, t.Res, {{true}, {true}}, t.Host), 2) << c.head[0];
    ASSERT_EQ(t.Plant.Count, 1);
    const TPlantParameter& p = t.Plant.Params[0];
    EXPECT_EQ(p.Const.ColorMutant, c.colorMutant);
    EXPECT_EQ(p.Param.Mutation(), 11);
    EXPECT_EQ(p.Const.Color, 12);
    EXPECT_EQ(p.Param.ChildrenCount(), 18);
  }
  {
    // A species count that is not a number: the resources come in, no species.
    std::vector<std::string> l = {"[FileDataVersion]", "0.5.2"};
    l.insert(l.end(), resources.begin(), resources.end());
    auto s = species(true, true);
    s[1] = "one";
    l.insert(l.end(), s.begin(), s.end());
    const std::string f = dir.File("nocount.zor");
    WriteAll(f, JoinCrLf(l));
    TEmpty t;
    EXPECT_EQ(ImportSetFile(f, t.Res, {{true}, {true}}, t.Host), 1);
    EXPECT_EQ(t.Plant.Count, 0);
  }
  {
    // A brush value that is not a number ends the import; a huge count does not hang.
    const std::string f = dir.File("broken.zor");
    WriteAll(f, JoinCrLf({"[FileDataVersion]", "0.5.2", "[ResourceCount]", "2000000000", "[Resource0]", "A", "x", "2", "3"}));
    TEmpty t;
    EXPECT_EQ(ImportSetFile(f, t.Res, {{true}, {}}, t.Host), 0);
    EXPECT_EQ(t.Res.Count, 0);
    EXPECT_EQ(t.Host.Updates, 1);
    // A missing file is ignored without a word.
    EXPECT_EQ(ImportSetFile(dir.File("absent.zor"), t.Res, {{true}, {}}, t.Host), 0);
  }
}

TEST(ResourceSetImport, ValuesAreBroughtIntoTheRangesTheTickAndTheBrushKeep) {
  TTempDir dir;
  const std::vector<std::string> l = {
      "[FileDataVersion]", "0.5.2", "[ResourceCount]", "1", "[Resource0]", "A", "-4", "400", "255",
      "[PlantCount]", "1", "[Plant0]", "P", "A", "A", "-3", "1", "2",
      "0", "-1", "7", "2147483647", "2147483647"};  // Begin, Eat, Reproduct, Max, Children
  const std::string f = dir.File("wide.zor");
  WriteAll(f, JoinCrLf(l));
  TEmpty t;
  ASSERT_EQ(ImportSetFile(f, t.Res, {{true}, {true}}, t.Host), 2);
  EXPECT_EQ(t.Res.Params[0].BrushValue, 1);
  EXPECT_EQ(t.Res.Params[0].Slur, 100);
  EXPECT_EQ(t.Plant.Params[0].Param, TGenome(0, 0, 7, 2147483647, MaxChildrenCount, 0, 0, 0));
}

TEST(ItemLimit, AModelAtTheLimitComesBackWholeAndNothingComesInBeyondIt) {
  TTempDir dir;
  // A model at the limit is saved and read back whole.
  TModel m(5, 10);
  while (m.Res.Count < MaxItemCount) m.Res.Add("R" + std::to_string(m.Res.Count), 1, 0, clYellow);
  while (m.Plant.Count < MaxItemCount) m.Plant.Add(Species("P" + std::to_string(m.Plant.Count), 0, 1, clLime));
  const std::string full = dir.File("full.zod");
  TFakeHost saved;
  ASSERT_TRUE(SaveDataFile(full, m.Res, m.Plant, m.Doc, saved));
  auto load = [](const std::string& f, TFakeHost& host, TResourceObject& res, TPlantObject& plant) {
    TDataFileDocument doc;
    return LoadDataFile(f, false, res, plant, doc, host);
  };
  {
    TResourceObject res(1, 45, 45);
    TPlantObject plant(1, 45, 45);
    TFakeHost host;
    ASSERT_TRUE(load(full, host, res, plant));
    EXPECT_EQ(res.Count, MaxItemCount);
    EXPECT_EQ(plant.Count, MaxItemCount);
  }
  // A count above it is refused with its own message, however large.
  const std::vector<std::string> lines = Lines(ReadAll(full));
  const auto at = [&](const char* tag) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), tag) - lines.begin()) + 1;
  };
  const struct {
    size_t line;
    int32_t count;
    const char* what;
  } cases[] = {{at("[ResourceCount]"), MaxItemCount + 1, "ресурсов"},
               {at("[ResourceCount]"), 2000000000, "ресурсов"},
               {at("[PlantCount]"), MaxItemCount + 1, "организмов"},
               {at("[PlantCount]"), 99999, "организмов"}};
  for (const auto& c : cases) {
    auto bad = lines;
    bad[c.line] = std::to_string(c.count);
    const std::string f = dir.File("many.zod");
    WriteAll(f, JoinCrLf(bad));
    TResourceObject res(1, 45, 45);
    TPlantObject plant(1, 45, 45);
    TFakeHost host;
    EXPECT_FALSE(load(f, host, res, plant)) << c.count;
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"Ошибка|" + TooManyItemsText(f, c.what, c.count)});
    ExpectStoresValid(res, plant);
  }
  // The import adds up to the limit and no further.
  const std::string set = dir.File("more.zor");
  WriteAll(set, JoinCrLf({"[FileDataVersion]", "0.5.2", "[ResourceCount]", "2", "[Resource0]", "A", "5", "10", "255",
                          "[Resource1]", "B", "5", "10", "255", "[PlantCount]", "2", "[Plant0]", "P", "T0", "T0", "10",
                          "1", "255", "1", "1", "5", "10", "3", "[Plant1]", "Q", "T0", "T0", "10", "1", "255", "1", "1",
                          "5", "10", "3"}));
  TEmpty t;
  while (t.Res.Count < MaxItemCount - 1) t.Res.Add("T" + std::to_string(t.Res.Count), 1, 0, clYellow);
  while (t.Plant.Count < MaxItemCount - 1) t.Plant.Add(Species("S" + std::to_string(t.Plant.Count), 0, 0, clLime));
  EXPECT_EQ(ImportSetFile(set, t.Res, {{true, true}, {true, true}}, t.Host), 2);
  EXPECT_EQ(t.Res.Count, MaxItemCount);
  EXPECT_EQ(t.Res.Params.back().Name, "A");
  EXPECT_EQ(t.Plant.Count, MaxItemCount);
  EXPECT_EQ(t.Plant.Params.back().Const.Name, "P");
}
