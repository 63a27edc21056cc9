// Start-up from the settings file and the exit that writes it, with the real
// main window, each test in its own program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "MainFixture.h"
#include "platform/IniFile.h"
#include "platform/qt/HtmlView.h"
#include "windows/ValueListEditor.h"
#include "windows/fHelp.h"
#include "windows/uSettings.h"

namespace {

QString SourceDir() {
  const QString env = qEnvironmentVariable("ZO_SOURCE_DIR");
  return env.isEmpty() ? QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../..").absolutePath() : env;
}

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(program.isValid());
    path = program.path() + "/";
    qputenv("XDG_CONFIG_HOME", (program.path() + "/user-config").toUtf8());
    qputenv("XDG_DATA_HOME", (program.path() + "/user-data").toUtf8());
    // The page folder beside the program, as the build lays it out.
    QDir().mkpath(path + "Files");
    for (const QString& name : QDir(SourceDir() + "/resources/Files").entryList(QDir::Files))
      QFile::copy(SourceDir() + "/resources/Files/" + name, path + "Files/" + name);
    SetProgramFolderOverride(path);
    SetSettingsFileInUse(true);
    // Every modal window that opens is noted and closed.
    watch = new QTimer;
    watch->setInterval(5);
    QObject::connect(watch, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      modalTitles << modal->windowTitle();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) modalTitles << box->text();
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
    watch->start();
  }
  void TearDown() override {
    delete Form;
    Form = nullptr;
    delete watch;
    SetSettingsFileInUse(false);
    SetProgramFolderOverride(QString());
  }
  void CopySample() { QFile::copy(SourceDir() + "/resources/fight_mutation.zod", path + "fight_mutation.zod"); }
  void WriteIni(const char* text) {
    QFile f(path + "omra.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  void Start() { Form = new TMainForm; }
  void Exit() {
    delete Form;
    Form = nullptr;
  }

  QTemporaryDir program;
  QString path;
  QTimer* watch = nullptr;
  QStringList modalTitles;
  TMainForm* Form = nullptr;
};

}  // namespace

TEST_F(StartUp, FirstStartWithoutSettingsLoadsTheSampleUnderTheUnnamedName) {
  CopySample();
  Start();
  EXPECT_TRUE(Form->FirstRun);
  EXPECT_EQ(Form->FileName, path + "noname1.zod");  // Save will ask for a name
  EXPECT_EQ(Form->pos(), QPoint(230, 78));
  EXPECT_EQ(Form->size(), QSize(442, 57));
  EXPECT_TRUE(FormView->isVisible());
  EXPECT_EQ(FormView->size(), QSize(453, 475));
  EXPECT_TRUE(FormStatistic->isVisible());
  EXPECT_EQ(FormStatistic->PageControl->currentIndex(), 1);
  EXPECT_FALSE(FormParameter->isVisible());
  EXPECT_EQ(FormParameter->UpDownCellSize->value(), 9);
  EXPECT_EQ(Form->Refresh, 10);
  // The sample's model with its comments shown.
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Трава");
  ASSERT_EQ(Form->Plant->Count, 2);
  EXPECT_GT(Form->Plant->Params[0].Const.Count, 0);
  EXPECT_EQ(FormParameter->ListBoxPlant->item(1)->text(), "Мутирующий");
  ASSERT_NE(FormComment, nullptr);
  EXPECT_TRUE(FormComment->isVisible());
  EXPECT_TRUE(FormComment->WebBrowser->toPlainText().contains("Мутирующий"));
  EXPECT_TRUE(modalTitles.isEmpty()) << modalTitles.join('|').toStdString();
}

TEST_F(StartUp, TheSamplesColoursAreAllNamedSoTheEditorShowsThem) {
  CopySample();
  Start();
  ASSERT_EQ(Form->Plant->Count, 2);
  const TColor resource = Form->Resource->Params[0].Color;
  const TColor species[] = {Form->Plant->Params[0].Const.Color, Form->Plant->Params[1].Const.Color};
  const TColor mutant[] = {Form->Plant->Params[0].Const.ColorMutant, Form->Plant->Params[1].Const.ColorMutant};
  for (TColor c : {resource, species[0], species[1], mutant[0], mutant[1], Form->Resource->EmptyColor})
    EXPECT_FALSE(TFormParameter::ColorToName(c).isEmpty()) << std::hex << c;
  // Each species and its mutants can be told apart from the rest.
  const std::vector<TColor> apart = {resource, species[0], species[1], mutant[1]};
  EXPECT_EQ(std::set<TColor>(apart.begin(), apart.end()).size(), apart.size());
  EXPECT_NE(mutant[0], species[0]);
  EXPECT_NE(mutant[0], mutant[1]);
  // The editor's colour rows show the names.
  FormParameter->ListBoxPlant->setCurrentRow(1);
  FormParameter->ListBoxResource->setCurrentRow(0);
  QApplication::processEvents();
  TValueListEditor* plant = FormParameter->ValueListEditorPlant;
  TValueListEditor* res = FormParameter->ValueListEditorResource;
  EXPECT_EQ(plant->Values(plant->FindRow(TFormParameter::KeyColor)), "Синий");
  EXPECT_EQ(plant->Values(plant->FindRow(TFormParameter::KeyColorMutant)), "Красный");
  EXPECT_FALSE(res->Values(res->FindRow(TFormParameter::KeyColor)).isEmpty());
}

TEST_F(StartUp, MissingSampleIsReportedAndTheDefaultModelStays) {
  Start();
  EXPECT_TRUE(modalTitles.contains("Ошибка"));
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Ресурс Yellow");
  EXPECT_EQ(Form->Resource->Params[0].Slur, 70);
  ASSERT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Const.Name, "Организм Lime");
  EXPECT_EQ(Form->Plant->Params[0].Param.AgeMax(), 10);
  EXPECT_EQ(Form->Resource->RowCount, 45);
  EXPECT_EQ(Form->Resource->EmptyColor, 0xF0FBFF);
}

TEST_F(StartUp, SecondStartRestoresWhatTheFirstExitWrote) {
  CopySample();
  Start();
  FormParameter->UpDownC->setValue(60);
  FormParameter->CheckBoxAutoStop->setChecked(false);
  FormParameter->EditRefresh->setText("25");
  FormStatistic->PageControl->setCurrentIndex(2);
  FormStatistic->move(15, 300);
  FormParameter->show();
  Form->Resource->Params[0].Slur = 33;
  // The file window keeps its own keys in the same file (opened and cancelled here).
  Form->PathDocument = path + "Files/";
  Form->ActionFileLoad->trigger();
  EXPECT_EQ(Form->PathDocument, path + "Files/");
  Form->close();  // the user closes the program: the tool windows go with it
  Exit();
  ASSERT_TRUE(QFile::exists(path + "omra.ini"));
  {
    const TIniFile ini((path + "omra.ini").toStdString());
    EXPECT_EQ(ini.ReadInteger("FormShell", "OpenBrowser.Width", 0), 640);
    EXPECT_EQ(ini.ReadString("MainForm", "PathDocument", ""), (path + "Files/").toStdString());
  }

  modalTitles.clear();
  Start();
  EXPECT_FALSE(Form->FirstRun);
  EXPECT_EQ(Form->FileName, path + "Files/noname1.zod");  // in the document folder the file window left
  EXPECT_EQ(Form->Step, 0);
  EXPECT_EQ(FormParameter->UpDownC->value(), 60);
  EXPECT_EQ(Form->Resource->ColCount, 60);
  EXPECT_FALSE(FormParameter->CheckBoxAutoStop->isChecked());
  EXPECT_EQ(Form->Refresh, 25);
  EXPECT_EQ(FormStatistic->PageControl->currentIndex(), 2);
  EXPECT_EQ(FormStatistic->pos(), QPoint(15, 300));
  EXPECT_TRUE(FormView->isVisible());
  EXPECT_TRUE(FormStatistic->isVisible());
  EXPECT_TRUE(FormParameter->isVisible());
  // The resources and species of the last run, with an empty field.
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Трава");
  EXPECT_EQ(Form->Resource->Params[0].Slur, 33);
  EXPECT_EQ(Form->Resource->Params[0].Total, 0);
  ASSERT_EQ(Form->Plant->Count, 2);
  EXPECT_EQ(Form->Plant->Params[1].Param.Mutation(), 15);
  EXPECT_EQ(Form->Plant->Params[1].Const.Count, 0);
  EXPECT_TRUE(FormComment == nullptr || !FormComment->isVisible());
  EXPECT_TRUE(modalTitles.isEmpty());
  // Not a first start: a new data file, without comments; the sample of the
  // first start is the first recent file in the menus from the start on.
  EXPECT_FALSE(Form->ActionViewComment->isEnabled());
  EXPECT_TRUE(Form->Comment.empty());
  EXPECT_EQ(Form->FileList[0].FileName, path + "fight_mutation.zod");
  EXPECT_TRUE(Form->MenuFileReload[0]->isVisible());
  EXPECT_EQ(Form->MenuLoadReload[0]->text(), Form->FileList[0].ShortFileName);
  EXPECT_FALSE(Form->MenuLoadReload[1]->isVisible());
}

TEST_F(StartUp, OlderSettingsGetTheTwoFixUpsOnce) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\nLeft=100\r\n[FormStatistic]\r\nWidth=180\r\n"
           "[Resource]\r\nResourceCount=1\r\n");
  Start();
  EXPECT_EQ(Form->pos().x(), 230);
  EXPECT_EQ(FormStatistic->width(), 222);
  Form->move(100, Form->pos().y());
  const int narrow = std::max(200, FormStatistic->minimumWidth());  // still below 222
  FormStatistic->resize(narrow, FormStatistic->height());
  Exit();
  TIniFile ini((path + "omra.ini").toStdString());
  EXPECT_EQ(ini.ReadString("MainForm", "ProgramVersion", ""), ProgramVersion.toStdString());
  Start();
  EXPECT_EQ(Form->pos().x(), 100);
  EXPECT_EQ(FormStatistic->width(), narrow);
}

TEST_F(StartUp, EmptyListsDisableTheBrushesAndDeleteButtons) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=0\r\n[Plant]\r\nPlantCount=0\r\n");
  Start();
  EXPECT_FALSE(Form->FirstRun);
  EXPECT_EQ(Form->Resource->Count, 0);
  EXPECT_EQ(Form->Plant->Count, 0);
  EXPECT_EQ(FormParameter->ListBoxResource->count(), 0);
  EXPECT_FALSE(FormView->ToolButtonResource->isEnabled());
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), "(Нет ресурсов)");
  EXPECT_FALSE(FormView->ToolButtonPlant->isEnabled());
  EXPECT_EQ(FormView->ToolButtonPlant->toolTip(), "(Нет организмов)");
  EXPECT_FALSE(FormParameter->ToolButtonResourceDel->isEnabled());
  EXPECT_FALSE(FormParameter->ToolButtonPlantDel->isEnabled());
}

TEST_F(StartUp, AbsentSpeciesGiveTheDefaultOneAndAHighBrushIndexIsLowered) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Field]\r\nSubBrushResource=7\r\n"
           "[Resource]\r\nResourceCount=3\r\nResource.Value0=A\r\nResource.Value1=B\r\nResource.Value2=C\r\n");
  QFile(path + "noname1.zod").open(QIODevice::WriteOnly);
  QFile(path + "noname2.zod").open(QIODevice::WriteOnly);
  Start();
  EXPECT_FALSE(Form->FirstRun);
  ASSERT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Const.Name, "Организм Lime");
  EXPECT_EQ(Form->SubBrushResource, 2);
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), "Ресурс: C");
  EXPECT_EQ(Form->FileName, path + "noname3.zod");
  EXPECT_TRUE(modalTitles.isEmpty());
}

TEST_F(StartUp, HandEditedSizesAndCountsNeverReachTheStores) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\nTop=-50\r\n[Field]\r\nFieldC=32000\r\nFieldR=2\r\nCellSize=0\r\n"
           "SubBrushPlant=-3\r\n[Resource]\r\nResourceCount=-9\r\n[Plant]\r\nPlantCount=1\r\n"
           "Plant.Value0=P\r\nP.ResourceIn=5\r\n");
  Start();  // no sample beside the program: its absence is reported, the model stays
  EXPECT_TRUE(modalTitles.contains("Ошибка"));
  EXPECT_EQ(Form->pos().y(), 0);
  EXPECT_EQ(FormParameter->UpDownC->value(), 1000);
  EXPECT_EQ(FormParameter->UpDownR->value(), 5);
  EXPECT_EQ(FormParameter->UpDownCellSize->value(), 3);
  EXPECT_EQ(Form->Resource->ColCount, 1000);
  EXPECT_EQ(Form->Plant->RowCount, 5);
  EXPECT_EQ(Form->SubBrushPlant, 0);
  EXPECT_TRUE(Form->FirstRun);  // a negative count is taken as absent: the default resource
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Param.ResourceIn(), 0);  // 5 was past the one resource
}

TEST_F(StartUp, ReadOnlyProgramFolderKeepsSettingsInTheUsersFolder) {
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(path); });
  CopySample();
  Start();
  EXPECT_TRUE(CurrentSettingsPaths().PerUser);
  // Generated pages work: the comment page was written in the user's folder.
  EXPECT_TRUE(QFile::exists(CurrentSettingsPaths().PagesPath + "comment.htm"));
  EXPECT_FALSE(QFile::exists(path + "Files/comment.htm"));
  FormParameter->UpDownR->setValue(77);
  Exit();
  EXPECT_FALSE(QFile::exists(path + "omra.ini"));
  EXPECT_TRUE(QFile::exists(CurrentSettingsPaths().WriteFile));
  Start();
  EXPECT_EQ(FormParameter->UpDownR->value(), 77);
  EXPECT_FALSE(Form->FirstRun);
  SetFolderWritableProbe({});
}

TEST_F(StartUp, AFailedWriteIsReportedNotDropped) {
  // A settings "file" that is a folder: reading gives the defaults, and no file
  // can replace it at exit, whoever runs the program.
  QDir().mkpath(path + "omra.ini");
  CopySample();
  Start();
  modalTitles.clear();
  EXPECT_FALSE(WriteExitSettings(*Form));
  ASSERT_FALSE(modalTitles.isEmpty());
  EXPECT_EQ(modalTitles[0], "Ошибка");
  EXPECT_TRUE(QFileInfo(path + "omra.ini").isDir());
  EXPECT_TRUE(QDir(path).entryList({"*.tmp*", "omra.ini?*"}, QDir::Files | QDir::Hidden).isEmpty());
  SetSettingsFileInUse(false);  // no second attempt on the way out
}
