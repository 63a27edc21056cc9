// The data file: round trips, the line count, every refusal, the older
// versions, comments, captions and lists, and whole-or-nothing saving.
#include "FileTestUtil.h"
#include "platform/Cp1251.h"
#include "tests/FileSizeLimit.h"
#include "tests/platform/Blocking.h"

#include <sys/stat.h>

namespace {

void ExpectSameModel(const TModel& a, const TResourceObject& res, const TPlantObject& plant) {
  ASSERT_EQ(res.Count, a.Res.Count);
  ASSERT_EQ(plant.Count, a.Plant.Count);
  ASSERT_EQ(res.RowCount, a.Res.RowCount);
  ASSERT_EQ(res.ColCount, a.Res.ColCount);
  ASSERT_EQ(plant.RowCount, a.Plant.RowCount);
  for (int32_t i = 0; i < res.Count; ++i) {
    const auto &x = a.Res.Params[i], &y = res.Params[i];
    EXPECT_EQ(x.Name, y.Name);
    EXPECT_EQ(x.CellCount, y.CellCount);
    EXPECT_EQ(x.Total, y.Total);
    EXPECT_EQ(x.BrushValue, y.BrushValue);
    EXPECT_EQ(x.Slur, y.Slur);
    EXPECT_EQ(x.Color, y.Color);
    for (int32_t r = 0; r < res.RowCount; ++r)
      for (int32_t c = 0; c < res.ColCount; ++c) EXPECT_EQ(a.Res.Amount(i, r, c), res.Amount(i, r, c));
  }
  for (int32_t s = 0; s < plant.Count; ++s) {
    const auto &x = a.Plant.Params[s], &y = plant.Params[s];
    EXPECT_EQ(x.Const.Name, y.Const.Name);
    EXPECT_EQ(x.Const.Count, y.Const.Count);
    EXPECT_EQ(x.Const.Mass, y.Const.Mass);
    EXPECT_EQ(x.Const.Color, y.Const.Color);
    EXPECT_EQ(x.Const.ColorMutant, y.Const.ColorMutant);
    EXPECT_EQ(x.Param, y.Param);
    EXPECT_EQ(x.Stat.MaxMass, y.Stat.MaxMass);
    EXPECT_EQ(x.Stat.MaxCount, y.Stat.MaxCount);
    for (int k = 0; k < GeneCount; ++k) {
      EXPECT_EQ(x.Stat.Histogram[k], y.Stat.Histogram[k]);
      EXPECT_DOUBLE_EQ(static_cast<double>(x.Stat.Average[k]), static_cast<double>(y.Stat.Average[k]));
    }
  }
  for (int32_t r = 0; r < plant.RowCount; ++r)
    for (int32_t c = 0; c < plant.ColCount; ++c) {
      const TPlantCell &x = a.Plant.Field(r, c), &y = plant.Field(r, c);
      EXPECT_EQ(x.Mass, y.Mass);
      EXPECT_EQ(x.Species, y.Species);
      EXPECT_EQ(x.Age, y.Age);
      EXPECT_EQ(x.Genome, y.Genome);
    }
}

// A second model to load into: different sizes, records and cells.
struct TTarget {
  TResourceObject Res{1, 45, 45};
  TPlantObject Plant{1, 45, 45};
  TDataFileDocument Doc;
  TFakeHost Host;
  TTarget() {
    Res.Params[0].Name = "Old";
    Plant.Params[0].Const.Name = "OldSpecies";
    Plant.Params[0].Param.ResourceBegin() = 1;
    Plant.Place(0, 3, 3);
    Doc.Author = "Прежний";
    Doc.Created = "прежде";
  }
  bool Load(const std::string& file, bool showComments = true) {
    return LoadDataFile(file, showComments, Res, Plant, Doc, Host);
  }
  // Saves what was loaded to `file`: the same lines as `text` but for the
  // time of writing (line 2).
  void ExpectSavesAs(const std::string& file, const std::string& text) {
    TFakeHost host;
    ASSERT_TRUE(SaveDataFile(file, Res, Plant, Doc, host));
    std::vector<std::string> a = Lines(text), b = Lines(ReadAll(file));
    ASSERT_EQ(a.size(), b.size());
    a[2] = b[2] = "";
    EXPECT_EQ(a, b);
  }
};

std::string Saved(TModel& m, const std::string& file) {
  TFakeHost host;
  EXPECT_TRUE(SaveDataFile(file, m.Res, m.Plant, m.Doc, host));
  return ReadAll(file);
}

std::string FormatText(const std::string& f) { return "Ошибка|" + BadFormatText(f); }

}  // namespace

TEST(DataFileRoundTrip, LoadGivesTheSameModelAndASecondSaveTheSameBytes) {
  TTempDir dir;
  TModel m;
  m.Populate();
  const std::string f1 = dir.File("one.zod"), f2 = dir.File("two.zod");
  const std::string first = Saved(m, f1);

  TTarget t;
  ASSERT_TRUE(t.Load(f1));
  EXPECT_TRUE(t.Host.Messages.empty());
  ExpectSameModel(m, t.Res, t.Plant);
  ExpectStoresValid(t.Res, t.Plant);
  EXPECT_EQ(t.Doc.Step, 77);
  EXPECT_EQ(t.Doc.Author, "Иван");
  EXPECT_EQ(t.Doc.FileDataVersion, "0.5.2");

  t.Doc.Created = m.Doc.Created;  // both saves stamp the time; compare the rest
  ASSERT_NO_FATAL_FAILURE(t.ExpectSavesAs(f2, first));
}

TEST(DataFileRoundTrip, SaveTellsTheWindowsAndStampsTheTime) {
  TTempDir dir;
  TModel m;
  TFakeHost host;
  const std::string f = dir.File("stamp.zod");
  ASSERT_TRUE(SaveDataFile(f, m.Res, m.Plant, m.Doc, host));
  EXPECT_NE(m.Doc.Created, "01.02.2003 04:05:06");
  EXPECT_EQ(m.Doc.Created.size(), std::string("dd.mm.yyyy hh:mm:ss").size());
  EXPECT_EQ(host.Recent, std::vector<std::string>{f});
  EXPECT_EQ(host.FileCaption, "stamp.zod");
  EXPECT_EQ(host.ViewCaptionText, "Наблюдение 0.5.2 - Иван " + m.Doc.Created);
  const auto lines = Lines(ReadAll(f));
  EXPECT_EQ(lines[0], "[Author]");
  EXPECT_EQ(lines[1], Utf8ToCp1251("Иван"));
  EXPECT_EQ(lines[2], m.Doc.Created);
  EXPECT_EQ(lines[3], "[FileDataVersion]");
  EXPECT_EQ(lines[4], "0.5.2");
}

TEST(DataFileFormat, LineCountFollowsTheShape) {
  TTempDir dir;
  struct TShape {
    int rows, cols, n, m, comments;
  } shapes[] = {{5, 10, 0, 0, 0}, {6, 12, 2, 3, 0}, {7, 11, 3, 1, 2}, {5, 10, 1, 0, 1}};
  for (const TShape& s : shapes) {
    TResourceObject res(0, s.rows, s.cols);
    TPlantObject plant(0, s.rows, s.cols);
    plant.Field.Reset(s.rows, s.cols);
    for (int i = 0; i < s.n; ++i) res.Add("R" + std::to_string(i), 1, 0, clYellow);
    for (int i = 0; i < s.m; ++i) plant.Add(Species("P" + std::to_string(i), 0, 0, clLime));
    TDataFileDocument doc;
    // A loaded document's comments end with the information line, never written.
    for (int i = 0; i < s.comments; ++i) doc.Comment.push_back("строка " + std::to_string(i));
    if (s.comments) doc.Comment.push_back("info");
    TFakeHost host;
    const std::string f = dir.File("shape.zod");
    ASSERT_TRUE(SaveDataFile(f, res, plant, doc, host));
    const size_t expected = 18 + s.comments + 7 * s.n + 16 * s.m + static_cast<size_t>(s.rows) * s.cols * (s.n + 11);
    EXPECT_EQ(Lines(ReadAll(f)).size(), expected) << s.rows << "x" << s.cols << " n=" << s.n << " m=" << s.m;
  }
}

TEST(DataFileFormat, CyrillicIsStoredInCodePage1251) {
  TTempDir dir;
  TModel m;
  const std::string text = Saved(m, dir.File("cp.zod"));
  EXPECT_NE(text.find(Utf8ToCp1251("Ресурс Жёлтый") + "\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Ресурс"), std::string::npos);  // no UTF-8 in the file
  TTarget t;
  ASSERT_TRUE(t.Load(dir.File("cp.zod")));
  EXPECT_EQ(t.Res.Params[0].Name, "Ресурс Жёлтый");
  EXPECT_EQ(t.Plant.Params[2].Const.Name, "Гамма");
  EXPECT_EQ(t.Plant.Params[2].Const.Color, -2147483643);
}

TEST(DataFileLoad, FillsTheWindows) {
  TTempDir dir;
  TModel m;
  m.Populate();
  const std::string f = dir.File("windows.zod");
  Saved(m, f);
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_EQ(t.Host.FileCaption, "windows.zod");
  EXPECT_EQ(t.Host.ViewCaptionText, "Наблюдение 0.5.2 - Иван " + m.Doc.Created);
  EXPECT_EQ(t.Host.Recent, std::vector<std::string>{f});
  EXPECT_EQ(t.Host.StepShown, 77);
  EXPECT_EQ(t.Host.ResourceList, (std::vector<std::string>{"Ресурс Жёлтый", "Water"}));
  EXPECT_EQ(t.Host.PlantList, (std::vector<std::string>{"Организм А", "Beta", "Гамма"}));
  EXPECT_EQ(t.Host.ResourceSelected, 1);
  EXPECT_EQ(t.Host.PlantSelected, 1);
  EXPECT_EQ(t.Host.Rows, 6);
  EXPECT_EQ(t.Host.Cols, 12);
  EXPECT_EQ(t.Host.Layouts, 1);
  EXPECT_EQ(t.Host.CommentActionEnabled, 0);
  EXPECT_EQ(t.Host.CommentWindowClosed, 1);
}

TEST(DataFileLoad, CommentsSurviveWithoutGrowingAndShowOnlyWhenAsked) {
  TTempDir dir;
  TModel m;
  m.Doc.Comment = {"Первая строка", "second", "info line that is never written"};
  const std::string f = dir.File("comments.zod");
  const std::string text = Saved(m, f);
  EXPECT_NE(text.find("Comment=" + Utf8ToCp1251("Первая строка") + "\r\nComment=second\r\n[Step]"), std::string::npos);

  for (bool option : {true, false})
    for (bool show : {true, false}) {
      TTarget t;
      t.Host.CommentOption = option;
      ASSERT_TRUE(t.Load(f, show));
      ASSERT_EQ(t.Doc.Comment.size(), 3u);
      EXPECT_EQ(t.Doc.Comment[0], "Первая строка");
      EXPECT_EQ(t.Doc.Comment[2], "Автор файла: <b>Иван</b>. Время создания: " + m.Doc.Created +
                                      ". Версия формата данных: 0.5.2.");
      EXPECT_EQ(t.Host.CommentActionEnabled, 1);
      EXPECT_EQ(t.Host.CommentWindowClosed, 0);
      const bool shown = !t.Host.Messages.empty();
      EXPECT_EQ(shown, option && show);
      if (shown) {
        EXPECT_EQ(t.Host.Messages[0].Kind, 2);
        EXPECT_EQ(t.Host.Messages[0].Caption, "Комментарии");
        EXPECT_EQ(t.Host.Messages[0].Lines, t.Doc.Comment);
      }
      // Saved again, the file carries the same two comment lines.
      ASSERT_NO_FATAL_FAILURE(t.ExpectSavesAs(dir.File("again.zod"), text));
    }
}

TEST(DataFileRefusal, MissingUnreadableWrongTagAndLaterVersion) {
  TTempDir dir;
  TModel m;
  const std::string good = Saved(m, dir.File("good.zod"));
  auto lines = Lines(good);

  {
    TTarget t;
    const std::string f = dir.File("nothere.zod");
    EXPECT_FALSE(t.Load(f));
    EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{"Ошибка|Файл \"" + f + "\" не найден. Проверьте корректность имени файла."});
  }
  {
    TTarget t;
    const std::string f = dir.File("folder.zod");
    fs::create_directory(f);
    EXPECT_FALSE(t.Load(f));
    EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{"Ошибка|Файл \"" + f + "\" не удалось открыть. Это папка, а не файл."});
  }
  {
    auto bad = lines;
    bad[3] = "[FileVersion]";
    const std::string f = dir.File("notag.zod");
    WriteAll(f, JoinCrLf(bad));
    TTarget t;
    EXPECT_FALSE(t.Load(f));
    EXPECT_EQ(t.Host.Errors(),
              std::vector<std::string>{"Ошибка|Не удалось открыть файл \"" + f + "\". Возможно, неверный формат данных."});
    EXPECT_EQ(t.Doc.Author, "Иван");  // read before the refusal
    EXPECT_EQ(t.Host.Recent.size(), 0u);
    EXPECT_EQ(t.Res.Params[0].Name, "Old");
  }
  for (const char* later : {"0.5.3", "1.0", "0.6", "0.5.2a"}) {
    auto bad = lines;
    bad[4] = later;
    const std::string f = dir.File("later.zod");
    WriteAll(f, JoinCrLf(bad));
    TTarget t;
    EXPECT_FALSE(t.Load(f));
    EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{"Ошибка|Не удалось открыть файл \"" + f +
                                                        "\". Возможно, файл имеет более поздний формат данных ."})
        << later;
    EXPECT_EQ(t.Doc.FileDataVersion, later);
    EXPECT_TRUE(t.Host.FileCaption.empty());
    EXPECT_EQ(t.Res.Params[0].Name, "Old");
    EXPECT_EQ(t.Plant.Params[0].Const.Count, 1);
  }
}

TEST(DataFileRefusal, EmptyFileIsRefusedAndChangesNothing) {
  TTempDir dir;
  const std::string f = dir.File("empty.zod");
  WriteAll(f, "");
  TTarget t;
  EXPECT_FALSE(t.Load(f));
  EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{FormatText(f)});
  EXPECT_EQ(t.Res.RowCount, 45);
  EXPECT_EQ(t.Plant.Params[0].Const.Count, 1);
  EXPECT_TRUE(t.Host.FileCaption.empty());
  EXPECT_TRUE(t.Host.Recent.empty());
}

TEST(DataFileRefusal, UntrustedValuesAreRefusedWithTheFormatMessage) {
  TTempDir dir;
  TModel m;
  m.Populate();
  const auto lines = Lines(Saved(m, dir.File("good.zod")));
  // Lines (0-based) of this file: rows 8, columns 10, [ResourceCount] 11, n 12,
  // resource 0 at 13..19, [PlantCount] 27, m 28, species 0 at 29..44, [Field] 77.
  ASSERT_EQ(lines[11], "[ResourceCount]");
  ASSERT_EQ(lines[27], "[PlantCount]");
  ASSERT_EQ(lines[77], "[Field]");
  const size_t firstCell = 80;
  size_t living = firstCell;  // the Mass line of a living cell
  for (size_t i = firstCell; i < lines.size(); i += 13)
    if (lines[i + 2] != "0") {
      living = i + 2;
      break;
    }
  ASSERT_NE(living, firstCell);

  struct TCase {
    const char* what;
    size_t line;
    std::string value;
  } cases[] = {
      {"rows below 5", 8, "4"},
      {"columns above 1000", 10, "1001"},
      {"field rows above 1000", 78, "1001"},
      {"field columns below 10", 79, "9"},
      {"negative resource count", 12, "-1"},
      {"resource count beyond the file", 12, "900"},
      {"resource count not a number", 12, "2x"},
      {"negative species count", 28, "-3"},
      {"species count beyond the file", 28, "999"},
      {"record tag out of order", 20, "[Resource7]"},
      {"a number that is not one", 15, "many"},
      {"a number out of 32-bit range", 16, "99999999999"},
      {"resource colour with trailing text", 19, "255 red"},
      {"negative tick counter", 6, "-1"},
      {"negative amount", firstCell, "-5"},
      {"negative amount of the last resource", firstCell + 1, "-2147483648"},
      {"negative mass", living, "-3"},
      {"negative age", living + 2, "-1"},
  };
  for (const TCase& c : cases) {
    auto bad = lines;
    bad[c.line] = c.value;
    const std::string f = dir.File("bad.zod");
    WriteAll(f, JoinCrLf(bad));
    TTarget t;
    EXPECT_FALSE(t.Load(f)) << c.what;
    EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{FormatText(f)}) << c.what;
    ExpectStoresValid(t.Res, t.Plant);
  }
  // A field that ends early: every cell would promise more lines than there are.
  for (size_t keep : {lines.size() - 1, lines.size() - 200, firstCell + 5, size_t{80}}) {
    std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<long>(keep));
    const std::string f = dir.File("cut.zod");
    WriteAll(f, JoinCrLf(cut));
    TTarget t;
    EXPECT_FALSE(t.Load(f)) << keep;
    EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{FormatText(f)}) << keep;
    ExpectStoresValid(t.Res, t.Plant);
  }
}

TEST(DataFileRefusal, AFieldLargerThanTheFileIsRefusedBeforeTheStoresGrow) {
  TTempDir dir;
  TModel m(5, 10);
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  // The header promises a field of a million cells; the file holds a few hundred bytes.
  lines[8] = "1000";
  lines[10] = "1000";
  lines.resize(40);
  const std::string f = dir.File("short.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  EXPECT_FALSE(t.Load(f));
  EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{FormatText(f)});
  EXPECT_EQ(t.Res.RowCount, 45) << "the stores keep their size";
  EXPECT_EQ(t.Plant.Field.Size(), 45u * 45u);
  EXPECT_EQ(t.Plant.Params[0].Const.Count, 1);
}

TEST(DataFileLoad, IndexesOutsideTheListsAreMendedAndTheWholeFileRead) {
  TTempDir dir;
  // 50 organisms on 250 units, as an earlier version saved them after a
  // resource was deleted without renumbering the organisms.
  TModel m(5, 10);
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 10; ++c) {
      m.Plant.Place(0, r, c);
      m.Res.AddAmount(0, r, c, 5);
    }
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  const size_t firstCell = 80, cellLines = 13;
  auto cell = [&](int r, int c) { return firstCell + (static_cast<size_t>(r) * 10 + c) * cellLines; };
  lines[cell(0, 0) + 2 + 8] = "7";   // food resource 7 of 2
  lines[cell(2, 3) + 2 + 9] = "-1";  // waste resource -1
  lines[cell(4, 9) + 2 + 1] = "9";   // species 9 of 3
  lines[33] = "2";                   // species 0 eats resource 2 of 2
  const std::string f = dir.File("old.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_TRUE(t.Host.Errors().empty());
  ExpectStoresValid(t.Res, t.Plant);
  EXPECT_EQ(t.Plant.Params[0].Const.Count, 49) << "only the organism of no species stays out";
  EXPECT_EQ(t.Res.Params[0].Total, 250);
  EXPECT_EQ(t.Plant.Field(0, 0).Genome.ResourceIn(), 0);
  EXPECT_EQ(t.Plant.Field(2, 3).Genome.ResourceOut(), 0);
  EXPECT_EQ(t.Plant.Field(4, 9).Mass, 0);
  EXPECT_EQ(t.Plant.Params[0].Param.ResourceIn(), 0);
  EXPECT_EQ(t.Plant.Field(1, 1).Genome, m.Plant.Field(1, 1).Genome) << "the others as they were";
}

TEST(DataFileLoad, ValuesAreBroughtIntoTheRangesTheTickAndTheBrushKeep) {
  TTempDir dir;
  TModel m(5, 10);
  m.Res.Params[0].BrushValue = -3;
  m.Res.Params[1].Slur = 150;
  m.Plant.Params[1].Param = TGenome(-1, 0, 0, 2000000000, 2000000000, 250, 1, 0);
  m.Plant.Place(1, 2, 2);
  m.Plant.Field(2, 2).Mass = 4;
  m.Plant.Field(2, 2).Genome = TGenome(0, -7, 3, 0, 1001, -4, 1, 1);
  m.Plant.Place(0, 3, 3);
  m.Plant.Field(3, 3).Genome = TGenome(0, 0, 0, 0, 0, 0, 0, 0);  // zeros occur in real runs
  const std::string f = dir.File("wide.zod");
  Saved(m, f);
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_TRUE(t.Host.Errors().empty());
  EXPECT_EQ(t.Res.Params[0].BrushValue, 1);
  EXPECT_EQ(t.Res.Params[1].Slur, 100);
  EXPECT_EQ(t.Plant.Params[1].Param, TGenome(0, 0, 0, 2000000000, MaxChildrenCount, 100, 1, 0));
  EXPECT_EQ(t.Plant.Field(2, 2).Genome, TGenome(0, 0, 3, 0, MaxChildrenCount, 0, 1, 1));
  EXPECT_EQ(t.Plant.Field(3, 3).Genome, TGenome(0, 0, 0, 0, 0, 0, 0, 0));
  ExpectStoresValid(t.Res, t.Plant);
}

TEST(DataFileLoad, DuplicateAndEmptyNamesGetNamesOfTheirOwn) {
  TTempDir dir;
  TModel m(5, 10);
  m.Res.Params[1].Name = "ресурс жёлтый";  // the same as resource 0 but for letter case
  m.Res.Add("", 1, 0, clRed);
  m.Res.Add("Ресурс Жёлтый (2)", 1, 0, clRed);
  m.Plant.Params[1].Const.Name = "";
  m.Plant.Params[2].Const.Name = "организм а";
  const std::string f = dir.File("names.zod");
  Saved(m, f);
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  const std::vector<std::string> resources = {"Ресурс Жёлтый", "ресурс жёлтый (2)", "Ресурс 2", "Ресурс Жёлтый (2) (2)"};
  const std::vector<std::string> plants = {"Организм А", "Организм 1", "организм а (2)"};
  for (int32_t i = 0; i < t.Res.Count; ++i) EXPECT_EQ(t.Res.Params[i].Name, resources[i]);
  for (int32_t i = 0; i < t.Plant.Count; ++i) EXPECT_EQ(t.Plant.Params[i].Const.Name, plants[i]);
  EXPECT_EQ(t.Host.ResourceList, resources);
  EXPECT_EQ(t.Host.PlantList, plants);
}

TEST(DataFileLoad, EveryByteOfANameOrCommentComesBack) {
  TTempDir dir;
  std::string bytes;
  for (int b = 0x20; b < 0x100; ++b) bytes.push_back(static_cast<char>(b));
  TModel m(5, 10);
  m.Res.Params[0].Name = Cp1251ToUtf8(bytes);
  m.Doc.Comment = {Cp1251ToUtf8("comment \x98 " + bytes), "info"};
  const std::string f = dir.File("bytes.zod");
  const std::string first = Saved(m, f);
  EXPECT_NE(first.find(bytes + "\r\n"), std::string::npos);
  EXPECT_NE(first.find("Comment=comment \x98 " + bytes + "\r\n"), std::string::npos);
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_EQ(t.Res.Params[0].Name, m.Res.Params[0].Name);
  t.ExpectSavesAs(dir.File("again.zod"), first);
}

TEST(DataFileLoad, APipeInThePlaceOfTheFileIsRefusedAtOnce) {
  TTempDir dir;
  const std::string f = dir.File("pipe.zod");
  ASSERT_EQ(mkfifo(f.c_str(), 0600), 0);
  TTarget t;
  ExpectNoWaitOnPipe(f, [&] { EXPECT_FALSE(t.Load(f)); });
  EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{"Ошибка|Файл \"" + f + "\" не удалось открыть. Это не обычный файл."});
}

TEST(DataFileSave, ALinkedFileIsUpdatedThroughItsLink) {
  TTempDir dir;
  TModel m(5, 10);
  const std::string real = dir.File("real.zod"), link = dir.File("link.zod");
  WriteAll(real, "old");
  fs::create_symlink(real, link);
  TFakeHost host;
  ASSERT_TRUE(SaveDataFile(link, m.Res, m.Plant, m.Doc, host));
  EXPECT_TRUE(fs::is_symlink(link));
  TTarget t;
  EXPECT_TRUE(t.Load(real));
}

TEST(DataFileRefusal, ARefusalAfterTheRecordsKeepsThemAndTheListsMatch) {
  TTempDir dir;
  TModel m;
  m.Populate();
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  // Without "[Field]" the header loop runs again on the field sizes and is refused there.
  ASSERT_EQ(lines[77], "[Field]");
  lines[77] = "[NotField]";
  const std::string f = dir.File("nofield.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  EXPECT_FALSE(t.Load(f));
  EXPECT_EQ(t.Host.Errors(), std::vector<std::string>{FormatText(f)});
  EXPECT_EQ(t.Res.Count, 2);
  EXPECT_EQ(t.Plant.Count, 3);
  EXPECT_EQ(t.Plant.Params[1].Const.Name, "Beta");
  EXPECT_EQ(t.Host.ResourceList, (std::vector<std::string>{"Ресурс Жёлтый", "Water"}));
  EXPECT_EQ(t.Host.PlantList, (std::vector<std::string>{"Организм А", "Beta", "Гамма"}));
  EXPECT_EQ(t.Host.Layouts, 1);
  ExpectStoresValid(t.Res, t.Plant);
  EXPECT_EQ(t.Res.RowCount, 6);  // the sizes under [RowCount] and [ColCount] were applied
}

TEST(DataFileLoad, CountersAreRecountedFromTheCells) {
  TTempDir dir;
  TModel m;
  m.Populate();
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  lines[15] = "123456";  // CellCount of resource 0
  lines[16] = "7";       // Total
  lines[32] = "9999";    // Mass of species 0
  lines[31] = "0";       // Count of species 0
  const std::string f = dir.File("counts.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  ExpectStoresValid(t.Res, t.Plant);
  EXPECT_EQ(t.Res.Params[0].CellCount, m.Res.Params[0].CellCount);
  EXPECT_EQ(t.Res.Params[0].Total, m.Res.Params[0].Total);
  EXPECT_EQ(t.Plant.Params[0].Const.Mass, m.Plant.Params[0].Const.Mass);
}

TEST(DataFileLoad, FirstLineOtherThanAuthorIsDroppedAndAuthorKept) {
  TTempDir dir;
  TModel m;
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  // Replace the author block's three lines by one other line.
  lines.erase(lines.begin(), lines.begin() + 3);
  lines.insert(lines.begin(), "; a note");
  const std::string f = dir.File("noauthor.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_EQ(t.Doc.Author, "Прежний");
  EXPECT_EQ(t.Doc.Created, "прежде");
  EXPECT_EQ(t.Res.Params[1].Name, "Water");

  // With the version tag on the third line the file is refused.
  lines.insert(lines.begin(), "; another");
  WriteAll(f, JoinCrLf(lines));
  TTarget u;
  EXPECT_FALSE(u.Load(f));
  EXPECT_EQ(u.Host.Errors(), std::vector<std::string>{FormatText(f)});
}

TEST(DataFileLoad, NumbersMayFollowBlankLinesAndCarryTrailingText) {
  TTempDir dir;
  TModel m;
  m.Populate();
  auto lines = Lines(Saved(m, dir.File("good.zod")));
  ASSERT_EQ(lines[5], "[Step]");
  lines[6] = "  77   ticks";           // the step, with blanks and a comment
  lines.insert(lines.begin() + 6, "");  // a blank line before it
  lines.insert(lines.begin() + 6, "   ");
  const std::string f = dir.File("blanks.zod");
  WriteAll(f, JoinCrLf(lines));
  TTarget t;
  ASSERT_TRUE(t.Load(f));
  EXPECT_EQ(t.Doc.Step, 77);
  ExpectSameModel(m, t.Res, t.Plant);
}

TEST(DataFileVersions, OlderFormatsTakeMissingValuesFromTheSpecies) {
  TTempDir dir;
  // Builds an old file by hand: 2 resources, 1 species, a 5 x 10 field with
  // one organism at (1, 2).
  auto build = [](const std::string& version) {
    const bool v051 = version >= "0.5.1";
    std::vector<std::string> l = {"[Author]", "Old Author", "1999", "[FileDataVersion]", version,
                                  "[Step]", "5", "[RowCount]", "5", "[ColCount]", "10", "[ResourceCount]", "2"};
    for (int i = 0; i < 2; ++i)
      for (const std::string& s : {"[Resource" + std::to_string(i) + "]", "R" + std::to_string(i), std::string("0"),
                                   std::string("0"), std::string("10"), std::string("50"), std::string("65535")})
        l.push_back(s);
    l.insert(l.end(), {"[PlantCount]", "1", "[Plant0]", "Old", "1", "3", "1"});
    if (v051) l.push_back("0");                                // ResourceOut
    l.insert(l.end(), {"17", "32768"});                       // Mutation, Color
    l.insert(l.end(), {"2", "1", "4", "9", "2", "3", "1"});  // Begin, Eat, Reproduct, Max, Children, MaxMass, MaxCount
    for (int i = 0; i < 10; ++i) l.push_back("x");
    l.insert(l.end(), {"[Field]", "5", "10"});
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 10; ++c) {
        l.push_back(std::to_string(r));
        l.push_back("0");
        const bool alive = r == 1 && c == 2;
        for (const char* v : {alive ? "3" : "0", "0", alive ? "2" : "0", "1", "4", "9", "2", "2"}) l.push_back(v);
      }
    return JoinCrLf(l);
  };
  for (const std::string version : {"0.5.1", "0.5.10", "0.4", ""}) {
    const std::string f = dir.File("old.zod");
    WriteAll(f, build(version));
    TTarget t;
    ASSERT_TRUE(t.Load(f)) << version;
    EXPECT_TRUE(t.Host.Messages.empty());
    ASSERT_EQ(t.Plant.Count, 1);
    const TPlantParameter& p = t.Plant.Params[0];
    EXPECT_EQ(p.Const.ColorMutant, 255);
    EXPECT_EQ(p.Const.Color, 32768);
    EXPECT_EQ(p.Param.ResourceIn(), 1);
    EXPECT_EQ(p.Param.ResourceOut(), version >= "0.5.1" ? 0 : 1) << version;
    EXPECT_EQ(p.Param.Mutation(), 17);
    EXPECT_EQ(p.Param.ChildrenCount(), 2);
    const TPlantCell& cell = t.Plant.Field(1, 2);
    EXPECT_EQ(cell.Mass, 3);
    EXPECT_EQ(cell.Age, 2);
    EXPECT_EQ(cell.Genome.ResourceIn(), 1);
    EXPECT_EQ(cell.Genome.ResourceOut(), p.Param.ResourceOut());
    EXPECT_EQ(cell.Genome.Mutation(), 17);
    EXPECT_EQ(t.Res.Amount(0, 3, 4), 3);
    EXPECT_EQ(t.Res.Params[0].Total, 100);
    EXPECT_EQ(t.Doc.FileDataVersion, version);
    ExpectStoresValid(t.Res, t.Plant);
  }
}

TEST(DataFileSave, AFailedSaveLeavesTheOldFileWhole) {
  TTempDir dir;
  TModel small(5, 10);
  const std::string f = dir.File("keep.zod");
  const std::string before = Saved(small, f);

  // No such folder: the file cannot be created.
  {
    TModel m;
    TFakeHost host;
    const std::string g = dir.File("missing/x.zod");
    EXPECT_FALSE(SaveDataFile(g, m.Res, m.Plant, m.Doc, host));
    EXPECT_EQ(host.Errors(),
              std::vector<std::string>{"Ошибка|Файл \"" + g + "\" не удалось сохранить. Папка этого файла не существует."});
    EXPECT_TRUE(host.Recent.empty());
    EXPECT_EQ(m.Doc.Created, "01.02.2003 04:05:06");
  }
  // The disk refuses in the middle of the file (a file size limit stands in for a full disk).
  {
    TModel big(200, 200);
    big.Populate();
    TFakeHost host;
    const bool ok = WithFileSizeLimit(4096, [&] { return SaveDataFile(f, big.Res, big.Plant, big.Doc, host); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(ReadAll(f), before);
    EXPECT_TRUE(host.Recent.empty());
    EXPECT_TRUE(host.FileCaption.empty());
  }
  // A folder in the target's place is refused, not replaced.
  {
    TModel m;
    TFakeHost host;
    const std::string g = dir.File("adir.zod");
    fs::create_directory(g);
    EXPECT_FALSE(SaveDataFile(g, m.Res, m.Plant, m.Doc, host));
    EXPECT_TRUE(fs::is_directory(g));
  }
  // No temporary file is left behind.
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.Path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
}
