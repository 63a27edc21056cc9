#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "files/uDataFile.h"
#include "files/uResourceSet.h"
#include "model/uPlant.h"
#include "platform/IniFile.h"
#include "platform/Cp1251.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"

namespace {

// Each test has its own program folder, and its own user folders.
class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program.isValid());
    ASSERT_TRUE(user.isValid());
    path = program.path() + "/";
    qputenv("XDG_CONFIG_HOME", (user.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (user.path() + "/data").toUtf8());
  }
  void TearDown() override { SetFolderWritableProbe({}); }

  std::string Ini() const { return (path + "omra.ini").toStdString(); }
  void Write(const std::string& text) {
    QFile f(path + "omra.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.c_str());
  }
  TSettingsData Read() {
    TIniFile ini(Ini());
    return ReadSettingsData(ini, path, "tester");
  }

  QTemporaryDir program, user;
  QString path;
};

}  // namespace

TEST_F(SettingsFolder, NoFileGivesEveryDefault) {
  const TSettingsData d = Read();
  EXPECT_TRUE(d.FirstRun);
  EXPECT_EQ(d.StoredVersion, "0.6.2");
  EXPECT_EQ(d.MainTop, 78);
  EXPECT_EQ(d.MainLeft, 230);
  EXPECT_TRUE(d.Snap);
  EXPECT_FALSE(d.View.Top.has_value());
  EXPECT_EQ(d.View.Width, 453);
  EXPECT_EQ(d.View.Height, 475);
  EXPECT_TRUE(d.View.Visible);
  EXPECT_EQ(d.View.Dockable, 1);
  EXPECT_EQ(d.Statistic.Width, 222);
  EXPECT_EQ(d.Statistic.Height, 363);
  EXPECT_EQ(d.Statistic.PageIndex, 1);
  EXPECT_EQ(d.Statistic.Dockable, 2);
  EXPECT_TRUE(d.Statistic.Visible);
  EXPECT_EQ(d.StatColWidthsMain, 120);
  EXPECT_FALSE(d.Parameter.Visible);
  EXPECT_EQ(d.Parameter.Dockable, 3);
  EXPECT_EQ(d.PathDocument, path.toStdString());
  EXPECT_EQ(d.PathSaveShot, path.toStdString());
  EXPECT_EQ(d.FieldC, 45);
  EXPECT_EQ(d.FieldR, 45);
  EXPECT_EQ(d.CellSize, 9);
  EXPECT_EQ(d.Brush, 0);
  EXPECT_EQ(d.FieldColor, 0xF0FBFF);
  EXPECT_EQ(d.StatColor, 0xF0FBFF);
  EXPECT_EQ(d.Refresh, 10);
  EXPECT_EQ(d.UserName, "tester");
  EXPECT_TRUE(d.AutoComment);
  EXPECT_EQ(d.ResourceCount, -1);
  EXPECT_EQ(d.PlantCount, -1);
}

TEST_F(SettingsFolder, WrittenValuesComeBackAndTheFileSaysItIsNoLongerTheFirstRun) {
  TSettingsData d;
  d.StoredVersion = "0.7.0.68";
  d.MainTop = 10;
  d.MainLeft = 20;
  d.View.Top = 300;
  d.View.Left = 40;
  d.Statistic.Width = 180;
  d.FieldC = 120;
  d.FieldR = 60;
  d.CellSize = 4;
  d.Brush = 2;
  d.FieldColor = 0x123456;
  d.AutoStop = false;
  d.Refresh = 25;
  d.UserName = "Анна";
  d.FileList[0] = {true, "a.zod", "/x/a.zod"};
  d.Resources = {{"Трава", 40, 50, 0x00AA00}, {"Отходы", 5, 0, 0x333333}};
  TPlantParameter p = DefaultSettingsPlant();
  p.Const.Name = "Корова";
  p.Param.ResourceIn() = 0;
  p.Param.ResourceOut() = 1;
  p.Param.Mutation() = 0;
  d.Plants = {p};
  bool htmlCalled = false;
  {
    TIniFile ini(Ini());
    WriteSettingsData(ini, d, [&](TIniFile& f) {
      htmlCalled = true;
      f.WriteInteger("Comment", "Height", 321);
    });
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_TRUE(htmlCalled);
  const TSettingsData r = Read();
  EXPECT_FALSE(r.FirstRun);
  EXPECT_EQ(r.StoredVersion, "0.7.0.68");
  EXPECT_EQ(r.MainTop, 10);
  EXPECT_EQ(r.View.Top, 300);
  EXPECT_EQ(r.View.Left, 40);
  EXPECT_EQ(r.Statistic.Width, 180);
  EXPECT_EQ(r.FieldC, 120);
  EXPECT_EQ(r.FieldR, 60);
  EXPECT_EQ(r.CellSize, 4);
  EXPECT_EQ(r.Brush, 2);
  EXPECT_EQ(r.FieldColor, 0x123456);
  EXPECT_FALSE(r.AutoStop);
  EXPECT_EQ(r.Refresh, 25);
  EXPECT_EQ(r.UserName, "Анна");
  EXPECT_TRUE(r.FileList[0].Visible);
  EXPECT_EQ(r.FileList[0].FileName, "/x/a.zod");
  ASSERT_EQ(r.ResourceCount, 2);
  EXPECT_EQ(r.Resources[1].Name, "Отходы");
  EXPECT_EQ(r.Resources[0].BrushValue, 40);
  EXPECT_EQ(r.Resources[0].Color, 0x00AA00);
  ASSERT_EQ(r.PlantCount, 1);
  EXPECT_EQ(r.Plants[0].Const.Name, "Корова");
  EXPECT_EQ(r.Plants[0].Param.ResourceOut(), 1);
  EXPECT_EQ(r.Plants[0].Param.Mutation(), 0);
  TIniFile ini(Ini());
  EXPECT_EQ(ini.ReadInteger("Comment", "Height", 0), 321);
}

TEST_F(SettingsFolder, OlderVersionsAndResourceIndexDefaults) {
  Write("[Plant]\r\nPlantCount=1\r\nPlant.Value0=Old\r\nOld.ResourceIndex=2\r\n"
        "[Resource]\r\nResourceCount=3\r\n");
  const TSettingsData d = Read();
  EXPECT_TRUE(VersionLower(d.StoredVersion, "0.6.3"));
  EXPECT_TRUE(VersionLower("0.6.10", "0.6.3"));
  EXPECT_FALSE(VersionLower("0.7.0.68", "0.6.3"));
  ASSERT_EQ(d.Plants.size(), 1u);
  EXPECT_EQ(d.Plants[0].Param.ResourceIn(), 2);
  EXPECT_EQ(d.Plants[0].Param.ResourceOut(), 2);
  EXPECT_EQ(d.Resources[0].Name, "Ресурс 0");  // names absent: the default names
  EXPECT_FALSE(d.FirstRun == false);             // no FirstRun key: still the first run
}

TEST_F(SettingsFolder, CountsZeroAbsentAndTheFirstRunFlag) {
  Write("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=0\r\n[Plant]\r\nPlantCount=0\r\n");
  TSettingsData d = Read();
  EXPECT_FALSE(d.FirstRun);
  EXPECT_EQ(d.ResourceCount, 0);
  EXPECT_EQ(d.PlantCount, 0);
  // Resources present, species absent: no first run, the default species.
  Write("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=1\r\n");
  d = Read();
  EXPECT_FALSE(d.FirstRun);
  EXPECT_EQ(d.PlantCount, -1);
  // No resource count: a first run whatever the flag says.
  Write("[MainForm]\r\nFirstRun=0\r\n");
  EXPECT_TRUE(Read().FirstRun);
}

TEST_F(SettingsFolder, HandEditedValuesAreBroughtIntoRange) {
  Write("[Field]\r\nFieldC=5000\r\nFieldR=-3\r\nCellSize=1\r\nSubBrushResource=-4\r\nSubBrushPlant=-1\r\n"
        "[Resource]\r\nResourceCount=-7\r\n[Plant]\r\nPlantCount=-2\r\n"
        "[Statistic]\r\nRefresh=0\r\n[FormView]\r\nTop=abc\r\n");
  TSettingsData d = Read();
  EXPECT_EQ(d.FieldC, 1000);
  EXPECT_EQ(d.FieldR, 5);
  EXPECT_EQ(d.CellSize, 3);
  EXPECT_EQ(d.SubBrushResource, 0);
  EXPECT_EQ(d.SubBrushPlant, 0);
  EXPECT_EQ(d.ResourceCount, -1);  // treated as absent: the default resource
  EXPECT_TRUE(d.FirstRun);
  EXPECT_EQ(d.PlantCount, -1);
  EXPECT_EQ(d.Refresh, 10);
  EXPECT_FALSE(d.View.Top.has_value());  // not a number: the default place

  Write("[Resource]\r\nResourceCount=2\r\nResource.Value0=A\r\nA.Resource=-5\r\nA.Slur=400\r\n"
        "[Plant]\r\nPlantCount=1\r\nPlant.Value0=P\r\nP.ResourceIn=9\r\nP.ResourceOut=-1\r\n"
        "P.Mutation=250\r\nP.AgeMax=-3\r\n");
  d = Read();
  EXPECT_EQ(d.Resources[0].BrushValue, 1);
  EXPECT_EQ(d.Resources[0].Slur, 100);
  // The ranges of every reader: an index past the list names resource 0, a negative age is 0.
  EXPECT_EQ(d.Plants[0].Param.ResourceIn(), 0);
  EXPECT_EQ(d.Plants[0].Param.ResourceOut(), 0);
  EXPECT_EQ(d.Plants[0].Param.Mutation(), 100);
  EXPECT_EQ(d.Plants[0].Param.AgeMax(), 0);
}

TEST_F(SettingsFolder, DuplicateAndEmptyNamesGetNamesOfTheirOwnAndChildrenAreBounded) {
  Write("[Resource]\r\nResourceCount=3\r\nResource.Value0=Water\r\nResource.Value1=WATER\r\nResource.Value2=\r\n"
        "[Plant]\r\nPlantCount=2\r\nPlant.Value0=P\r\nPlant.Value1=p\r\nP.ChildrenCount=2000000000\r\n");
  const TSettingsData d = Read();
  ASSERT_EQ(d.Resources.size(), 3u);
  EXPECT_EQ(d.Resources[0].Name, "Water");
  EXPECT_EQ(d.Resources[1].Name, "WATER (2)");
  EXPECT_EQ(d.Resources[2].Name, "Ресурс 2");
  ASSERT_EQ(d.Plants.size(), 2u);
  EXPECT_EQ(d.Plants[1].Const.Name, "p (2)");
  EXPECT_EQ(d.Plants[0].Param.ChildrenCount(), MaxChildrenCount);
}

TEST_F(SettingsFolder, PathsOutsideTheCodePageComeBackUnchangedAndNamesAsTheDataFileCarriesThemWithTheirValues) {
  TSettingsData d;
  d.UserName = "Łukasz Żółć";
  d.PathDocument = "/home/łukasz/文档/";
  d.PathSaveShot = "/tmp/☃ pictures/";
  d.FileList[0] = {true, "é.zod", "/home/łukasz/文档/é.zod"};
  d.Resources = {{"Вода ☔", 40, 50, 0x00AA00}, {"Вода ☀", 5, 0, 0x333333}};
  {
    TIniFile ini(Ini());
    WriteSettingsData(ini, d);
    ASSERT_TRUE(ini.UpdateFile());
  }
  for (int start = 0; start < 2; ++start) {  // a second exit writes them back the same way
    const TSettingsData r = Read();
    // The author as the data file carries it, so the caption and the file agree.
    EXPECT_EQ(r.UserName, "?ukasz ????");
    EXPECT_EQ(r.PathDocument, d.PathDocument);
    EXPECT_EQ(r.PathSaveShot, d.PathSaveShot);
    EXPECT_EQ(r.FileList[0].ShortFileName, d.FileList[0].ShortFileName);
    EXPECT_EQ(r.FileList[0].FileName, d.FileList[0].FileName);
    ASSERT_EQ(r.Resources.size(), 2u);
    // Names are brought to what the data file carries, each still its own,
    // with the values stored under its old name.
    EXPECT_EQ(r.Resources[0].Name, "Вода ?");
    EXPECT_EQ(r.Resources[1].Name, "Вода ? (2)");
    EXPECT_EQ(r.Resources[0].BrushValue, 40);
    EXPECT_EQ(r.Resources[1].BrushValue, 5) << "each keeps its own values";
    TIniFile ini(Ini());
    WriteSettingsData(ini, r);
    ASSERT_TRUE(ini.UpdateFile());
  }
}

TEST_F(SettingsFolder, NamesALineCannotHoldAsTheyStandComeBackWithTheirValues) {
  // Names a data file or a resource set may bring, and one after them.
  const std::vector<std::string> names = {"Овца=Баран", "[Мох", "  Вода  ", "=", "\tКамень;", "&#61;", "Песок"};
  TSettingsData d;
  for (size_t i = 0; i < names.size(); ++i) {
    const int v = static_cast<int>(i) + 1;
    d.Resources.push_back({names[i], 10 * v, v, 0x010101 * v});
    d.Plants.push_back(NewPlantParameter(names[i], TGenome(v, v + 1, v + 2, v + 3, v + 4, v + 5, v % 3, v % 2),
                                         0x020202 * v, 0x030303 * v));
  }
  for (int exit = 0; exit < 2; ++exit) {  // what was read is written back the same way
    {
      TIniFile ini(Ini());
      WriteSettingsData(ini, d);
      ASSERT_TRUE(ini.UpdateFile());
    }
    const TSettingsData r = Read();
    ASSERT_EQ(r.Resources.size(), names.size());
    ASSERT_EQ(r.Plants.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(r.Resources[i].Name, names[i]);
      EXPECT_EQ(r.Resources[i].BrushValue, d.Resources[i].BrushValue) << names[i];
      EXPECT_EQ(r.Resources[i].Slur, d.Resources[i].Slur) << names[i];
      EXPECT_EQ(r.Resources[i].Color, d.Resources[i].Color) << names[i];
      EXPECT_EQ(r.Plants[i].Const.Name, names[i]);
      EXPECT_EQ(r.Plants[i].Param, d.Plants[i].Param) << names[i];
      EXPECT_EQ(r.Plants[i].Const.Color, d.Plants[i].Const.Color) << names[i];
      EXPECT_EQ(r.Plants[i].Const.ColorMutant, d.Plants[i].Const.ColorMutant) << names[i];
    }
    d = r;
  }
  // No name opened a section of its own.
  QFile f(path + "omra.ini");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  // The nine sections the settings have, the first at the top of the file.
  EXPECT_EQ(text.count("\r\n["), 8) << text.toStdString();
}

// Names an older version wrote as they stood, "&#" in them, keep their names
// and values; the next exit writes both so that they come back again, and
// nothing raw (a NUL, a line end) goes into the file.
TEST_F(SettingsFolder, OlderNamesHoldingCharacterReferenceTextKeepTheirNamesAndValues) {
  const std::string names[] = {"Соль&Перец&#1", "Вид&#65;", "Нуль&#0;Имя", "Снег&#09731;"};
  std::string text = "[Resource]\r\nResourceCount=4\r\n";
  for (int i = 0; i < 4; ++i) {
    const std::string& n = names[i];
    const std::string v = std::to_string(i + 1);
    text += "Resource.Value" + std::to_string(i) + "=" + n + "\r\n" + n + ".Resource=1" + v + "\r\n" + n +
            ".Slur=2" + v + "\r\n" + n + ".Color=3" + v + "\r\n";
  }
  text += "[Plant]\r\nPlantCount=4\r\n";
  for (int i = 0; i < 4; ++i) {
    const std::string& n = names[i];
    const std::string v = std::to_string(i + 1);
    text += "Plant.Value" + std::to_string(i) + "=" + n + "\r\n" + n + ".Color=4" + v + "\r\n" + n +
            ".ColorMutant=5" + v + "\r\n" + n + ".AgeMax=6" + v + "\r\n" + n + ".ResourceIndex=" +
            std::to_string(3 - i) + "\r\n";
  }
  Write(Utf8ToCp1251(text));
  for (int start = 0; start < 2; ++start) {  // as an older version wrote them, then as the exit did
    const TSettingsData r = Read();
    ASSERT_EQ(r.Resources.size(), 4u);
    ASSERT_EQ(r.Plants.size(), 4u);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(r.Resources[i].Name, names[i]);
      EXPECT_EQ(r.Resources[i].BrushValue, 11 + i) << names[i];
      EXPECT_EQ(r.Resources[i].Slur, 21 + i) << names[i];
      EXPECT_EQ(r.Resources[i].Color, 31 + i) << names[i];
      EXPECT_EQ(r.Plants[i].Const.Name, names[i]);
      EXPECT_EQ(r.Plants[i].Const.Color, 41 + i) << names[i];
      EXPECT_EQ(r.Plants[i].Const.ColorMutant, 51 + i) << names[i];
      EXPECT_EQ(r.Plants[i].Param.AgeMax(), 61 + i) << names[i];
      EXPECT_EQ(r.Plants[i].Param.ResourceIn(), 3 - i) << names[i];
      EXPECT_EQ(r.Plants[i].Param.ResourceOut(), 3 - i) << names[i];
    }
    TIniFile ini(Ini());
    WriteSettingsData(ini, r);
    ASSERT_TRUE(ini.UpdateFile());
  }
  QFile f(path + "omra.ini");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_FALSE(bytes.contains('\0'));
  EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
  EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
}

TEST_F(SettingsFolder, ASpeciesWithZerosReadsBackTheSameFromEveryFileAndPaintsNothing) {
  TResourceObject res(0, 5, 10);
  res.Add("A", 25, 70, clYellow);
  res.Add("B", 25, 70, clYellow);
  TPlantObject plant(0, 5, 10);
  const TPlantParameter zero = NewPlantParameter("Ноль", TGenome(0, 0, 0, 0, 0, 0, 1, 0), clLime, clRed);
  plant.Add(zero);

  // A data file.
  TNullDataFileHost windows;
  TDataFileDocument doc;
  const std::string zod = (path + "zero.zod").toStdString();
  ASSERT_TRUE(SaveDataFile(zod, res, plant, doc, windows));
  TResourceObject loadedRes(1, 45, 45);
  TPlantObject loaded(1, 45, 45);
  ASSERT_TRUE(LoadDataFile(zod, false, loadedRes, loaded, doc, windows));
  ASSERT_EQ(loaded.Count, 1);
  EXPECT_EQ(loaded.Params[0].Param, zero.Param);

  // A resource set, imported into an empty model.
  const std::string zor = (path + "zero.zor").toStdString();
  ASSERT_TRUE(ExportResourceSet(zor, res, plant, {{true, true}, {true}}));
  struct TListHost : TResourceSetHost {
    TResourceObject& Res;
    TPlantObject& Plant;
    TListHost(TResourceObject& r, TPlantObject& p) : Res(r), Plant(p) {}
    int32_t ResourceIndex(const std::string& name) override {
      for (int32_t i = 0; i < Res.Count; ++i)
        if (SameTextCI(Res.Params[i].Name, name)) return i;
      return -1;
    }
    bool HasPlant(const std::string&) override { return false; }
    int32_t PlantCount() override { return Plant.Count; }
    void AddResource(const std::string&) override {}
    void AddPlant(const TPlantParameter& p) override { Plant.Add(p); }
    void UpdateView() override {}
  };
  TResourceObject importedRes(0, 5, 10);
  TPlantObject imported(0, 5, 10);
  TListHost host(importedRes, imported);
  TResourceSet set;
  ASSERT_TRUE(ReadResourceSet(zor, set));
  ASSERT_EQ(ImportResourceSet(set, importedRes, {{true, true}, {true}}, host), 3);
  EXPECT_EQ(imported.Params[0].Param, zero.Param);

  // The settings.
  TSettingsData d;
  d.Resources = {{"A", 25, 70, clYellow}, {"B", 25, 70, clYellow}};
  d.Plants = {zero};
  {
    TIniFile ini(Ini());
    WriteSettingsData(ini, d);
    ASSERT_TRUE(ini.UpdateFile());
  }
  const TSettingsData r = Read();
  ASSERT_EQ(r.Plants.size(), 1u);
  EXPECT_EQ(r.Plants[0].Param, zero.Param);

  // Painting it places no organism of no mass, also over a living one.
  plant.Add(NewPlantParameter("Один", TGenome(1, 1, 5, 10, 3, 10, 0, 0)));
  plant.Place(1, 3, 3);
  plant.Place(0, 2, 2);
  plant.Place(0, 3, 3);
  EXPECT_EQ(plant.Params[0].Const.Count, 0);
  EXPECT_EQ(plant.Params[0].Const.Mass, 0);
  EXPECT_TRUE(plant.Params[0].Stat.Histogram[gResourceBegin].empty());
  EXPECT_EQ(plant.Field(2, 2).Mass, 0);
  EXPECT_EQ(plant.Field(3, 3).Species, 1);
  EXPECT_EQ(plant.Params[1].Const.Count, 1);
}

// A recent entry whose path is longer than any path (4095 bytes) names no
// file: it is dropped when read, the later ones move up. One whose menu text
// alone is that long keeps its place and gets its text from its path again.
TEST_F(SettingsFolder, RecentEntriesLongerThanAnyPathAreDroppedAndDamagedMenuTextsAreMadeAgain) {
  const std::string longest = "/" + std::string(4094, 'a');  // as long as a path can be
  const std::string tooLong = "/" + std::string(4095, 'b');
  std::string text = "[MainForm]\r\n";
  auto entry = [&](int i, const std::string& shortName, const std::string& name) {
    const std::string p = "FileList" + std::to_string(i);
    text += p + ".Visible=1\r\n" + p + ".ShortFileName=" + shortName + "\r\n" + p + ".FileName=" + name + "\r\n";
  };
  entry(0, tooLong, "/home/user/data/models/2024/march/a.zod");
  entry(1, "b.zod", "/data/b.zod");
  entry(2, "c.zod", tooLong);
  entry(3, "Ж.zod", longest);
  entry(4, std::string(10 << 20, 'e'), "/data/e.zod");
  Write(Utf8ToCp1251(text));
  const TSettingsData d = Read();
  EXPECT_EQ(d.FileList[0].FileName, "/home/user/data/models/2024/march/a.zod");
  EXPECT_EQ(d.FileList[0].ShortFileName, "/home/user/data/models/2024/…/a.zod");
  EXPECT_TRUE(d.FileList[0].Visible);
  EXPECT_EQ(d.FileList[1].FileName, "/data/b.zod");
  EXPECT_EQ(d.FileList[1].ShortFileName, "b.zod");
  EXPECT_EQ(d.FileList[2].FileName, longest);
  EXPECT_EQ(d.FileList[2].ShortFileName, "Ж.zod");
  EXPECT_EQ(d.FileList[3].FileName, "/data/e.zod");
  EXPECT_EQ(d.FileList[3].ShortFileName, "/data/e.zod");
  EXPECT_TRUE(d.FileList[3].Visible);
  EXPECT_FALSE(d.FileList[4].Visible);
  EXPECT_EQ(d.FileList[4].ShortFileName, "");
  EXPECT_EQ(d.FileList[4].FileName, "");
  // A menu text that is empty, tabs (which read back empty) or a blank kept
  // exactly is made again from the path too.
  text = "[MainForm]\r\n";
  entry(0, "", "/data/f.zod");
  entry(1, "\t\t", "/data/g.zod");
  entry(2, "&#9;", "/data/h.zod");
  Write(text);
  const TSettingsData blank = Read();
  EXPECT_EQ(blank.FileList[0].ShortFileName, "/data/f.zod");
  EXPECT_EQ(blank.FileList[1].ShortFileName, "/data/g.zod");
  EXPECT_EQ(blank.FileList[2].ShortFileName, "/data/h.zod");
}

TEST_F(SettingsFolder, MainWindowCornerIsClampedToTheWorkArea) {
  EXPECT_EQ(ClampMainTop(-50, 1024), 0);
  EXPECT_EQ(ClampMainLeft(5000, 1280), 1280);
  EXPECT_EQ(ClampMainLeft(100, 1280), 100);
}

TEST_F(SettingsFolder, StartUpNameSkipsExistingFiles) {
  EXPECT_EQ(StartUpFileName(path), path + "noname1.zod");
  QFile(path + "noname1.zod").open(QIODevice::WriteOnly);
  QFile(path + "noname2.zod").open(QIODevice::WriteOnly);
  EXPECT_EQ(StartUpFileName(path), path + "noname3.zod");
}

TEST_F(SettingsFolder, WritableProgramFolderKeepsEverythingBesideTheProgram) {
  QDir().mkpath(path + "Files");
  const TSettingsPaths p = ResolveSettingsPaths(path);
  EXPECT_FALSE(p.PerUser);
  EXPECT_EQ(p.ReadFile, path + "omra.ini");
  EXPECT_EQ(p.WriteFile, path + "omra.ini");
  EXPECT_EQ(p.PagesPath, path + "Files/");
}

TEST_F(SettingsFolder, ReadOnlyProgramFolderFallsBackToTheUsersFolders) {
  QDir().mkpath(path + "Files");
  Write("[Field]\r\nFieldC=77\r\n");  // shipped beside the program
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(path); });
  TSettingsPaths p = ResolveSettingsPaths(path);
  EXPECT_TRUE(p.PerUser);
  EXPECT_EQ(p.ReadFile, path + "omra.ini");  // the user's file does not exist yet
  EXPECT_TRUE(p.WriteFile.startsWith(user.path() + "/config/"));
  EXPECT_TRUE(p.PagesPath.startsWith(user.path() + "/data/"));
  EXPECT_TRUE(QDir(p.PagesPath).exists());
  {
    TIniFile in(p.ReadFile.toStdString());
    TSettingsData d = ReadSettingsData(in, path, "u");
    EXPECT_EQ(d.FieldC, 77);
    TIniFile out(p.WriteFile.toStdString());
    d.FieldC = 88;
    WriteSettingsData(out, d);
    ASSERT_TRUE(out.UpdateFile());
  }
  // The next start reads the user's own file, and the program's stays as shipped.
  p = ResolveSettingsPaths(path);
  EXPECT_EQ(p.ReadFile, p.WriteFile);
  TIniFile again(p.ReadFile.toStdString());
  EXPECT_EQ(ReadSettingsData(again, path, "u").FieldC, 88);
  TIniFile shipped(Ini());
  EXPECT_EQ(shipped.ReadInteger("Field", "FieldC", 0), 77);
}
