// Start-up from the settings file and the exit that writes it, with the real
// main window, each test in its own program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>
#include <cmath>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/windows/MainFixture.h"
#include "tests/FailingAlloc.h"
#include "tests/FileSizeLimit.h"
#include "platform/IniFile.h"
#include "platform/qt/HtmlView.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uProc.h"
#include "windows/main/mainSettings.h"
#include "windows/pages/fHelp.h"
#include "windows/place/uPlace.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/shell/fShell.h"
#include "controls/fCombo.h"
#include "controls/KitConst.h"
#include "controls/ToolEdit.h"
#include "platform/SysColor.h"
#include "windows/parameter/frComboColor.h"

namespace {

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
    SetProgramFolderOverride(TestProgramFolder());
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

  // Presses a key in the main window, as the user does once it is active.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    QTest::keyClick(Form, key, modifiers);
  }

  QTemporaryDir program;
  QString path;
  QTimer* watch = nullptr;
  QStringList modalTitles;
  TMainForm* Form = nullptr;
};

// The offscreen screen gets its size once, when the program starts (800 x 800
// unless told otherwise). A test that needs a screen of another size runs
// again in a test program of its own on a screen that size: RunOnScreen
// returns true in the program that started it, once that other one has
// passed or failed the test, and false in the other one, which goes on with it.
bool RunOnScreen(const QSize& size) {
  const QString screen = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
  if (qEnvironmentVariable("ZO_TEST_SCREEN") == screen) return false;
  static QTemporaryDir dir;
  const QString config = dir.path() + "/screen-" + screen + ".json";
  QFile file(config);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QStringLiteral("{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": %1, \"height\": %2}]}")
                 .arg(size.width()).arg(size.height()).toUtf8());
  file.close();
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ZO_TEST_SCREEN", screen);
  env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
  QProcess other;
  other.setProcessEnvironment(env);
  other.setProcessChannelMode(QProcess::MergedChannels);
  other.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
  EXPECT_TRUE(other.waitForFinished(300000));
  const QString output = QString::fromUtf8(other.readAll());
  EXPECT_EQ(other.exitStatus(), QProcess::NormalExit) << output.toStdString();
  EXPECT_EQ(other.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
  return true;
}

}  // namespace

TEST_F(StartUp, FirstStartWithoutSettingsLoadsTheSampleUnderTheUnnamedName) {
  CopySample();
  // The comment page is laid out once, at its window's size: no page view is
  // resized (and its page laid out again) once it holds a page.
  struct TResizes : QObject {
    int withPage = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
      auto* view = qobject_cast<THtmlView*>(watched);
      if (view && event->type() == QEvent::Resize && !view->document()->isEmpty()) ++withPage;
      return false;
    }
  } resizes;
  qApp->installEventFilter(&resizes);
  Start();
  QApplication::processEvents();
  qApp->removeEventFilter(&resizes);
  EXPECT_EQ(resizes.withPage, 0);
  EXPECT_TRUE(Form->FirstRun);
  EXPECT_EQ(Form->FileName, path + "noname1.zod");  // Save will ask for a name
  // The offscreen screen has no room for the statistics window widened to its
  // labels beside the main window and the parameter editor: the default places.
  EXPECT_EQ(OuterRect(Form).topLeft(), QPoint(230, 78));
  EXPECT_EQ(FormStatistic->size(), QSize(222, 363));
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
  MoveOuter(FormStatistic, QPoint(15, 300));
  FormParameter->show();
  Form->Resource->Params[0].Slur = 33;
  // The file window is opened and cancelled here: it stores only widths the user set.
  Form->PathDocument = path + "Files/";
  Form->ActionFileLoad->trigger();
  EXPECT_EQ(Form->PathDocument, path + "Files/");
  Form->close();  // the user closes the program: the tool windows go with it
  Exit();
  ASSERT_TRUE(QFile::exists(path + "omra.ini"));
  {
    const TIniFile ini((path + "omra.ini").toStdString());
    EXPECT_FALSE(ini.ValueExists("FormShell", "OpenBrowser.Width"));
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
  EXPECT_EQ(OuterRect(FormStatistic).topLeft(), QPoint(15, 300));
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
  EXPECT_EQ(Form->MenuLoadReload[0]->text(), Form->FileList[0].ShortFileName + "\tCtrl+1");
  EXPECT_FALSE(Form->MenuLoadReload[1]->isVisible());
}

TEST_F(StartUp, OlderSettingsGetTheTwoFixUpsOnce) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\nLeft=100\r\n[FormStatistic]\r\nWidth=180\r\n"
           "[Resource]\r\nResourceCount=1\r\n");
  Start();
  EXPECT_EQ(OuterRect(Form).left(), 230);
  EXPECT_EQ(FormStatistic->width(), 222);
  MoveOuter(Form, QPoint(100, OuterRect(Form).top()));
  const int narrow = std::max(200, FormStatistic->minimumWidth());  // still below 222
  FormStatistic->resize(narrow, FormStatistic->height());
  Exit();
  TIniFile ini((path + "omra.ini").toStdString());
  EXPECT_EQ(ini.ReadString("MainForm", "ProgramVersion", ""), ProgramVersion.toStdString());
  Start();
  EXPECT_EQ(OuterRect(Form).left(), 100);
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

// A stored brush whose list is empty gives way to the pointer: its button is
// down and a right click on the field opens the field's menu.
TEST_F(StartUp, ABrushWithAnEmptyListStartsAsThePointer) {
  for (const char* brush : {"1", "2"}) {
    WriteIni((std::string("[MainForm]\r\nFirstRun=0\r\n[Field]\r\nBrush=") + brush +
              "\r\n[Resource]\r\nResourceCount=0\r\n[Plant]\r\nPlantCount=0\r\n")
                 .c_str());
    Start();
    FormView->show();
    EXPECT_EQ(Form->Brush, TBrushTool::Pointer) << brush;
    EXPECT_TRUE(FormView->ToolButtonView->isChecked()) << brush;
    EXPECT_FALSE(FormView->ToolButtonResource->isChecked()) << brush;
    EXPECT_FALSE(FormView->ToolButtonPlant->isChecked()) << brush;
    QWidget* field = FormView->DrawGridField->viewport();
    QTest::mouseClick(field, Qt::RightButton, Qt::NoModifier, FormView->DrawGridField->CellRect(2, 2).center());
    EXPECT_TRUE(FormView->PopupMenu->isVisible()) << brush;
    FormView->PopupMenu->hide();
    Exit();
  }
}

// The statistics window at its default size on a screen with room for it
// beside the main window and the parameter editor: every label of the first
// columns whole (a width the user set kept), the values beside them whole,
// and both charts' axes on round steps, whole numbers where the values are,
// after ticks and after New, on every quantity.
TEST_F(StartUp, TheStatisticsWindowShowsItsLabelsWholeAndStepsItsAxesRoundly) {
  if (RunOnScreen(QSize(1920, 1080))) return;
  CopySample();
  Start();
  Form->show();
  ASSERT_TRUE(FormStatistic->isVisible());
  // Wider than 222 by what the labels need, the main window as much further right.
  EXPECT_GT(FormStatistic->width(), 222);
  EXPECT_EQ(OuterRect(Form).topLeft(), QPoint(230 + FormStatistic->width() - 222, 78));
  for (int i = 0; i < 30; ++i) Press(Qt::Key_F7);
  ASSERT_EQ(Form->Step, 30);
  QTabBar* tabs = FormStatistic->PageControl->tabBar();
  auto page = [tabs](int index) {
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
    ASSERT_EQ(tabs->currentIndex(), index);
  };
  for (int index : {0, 1}) {
    page(index);
    auto* grid = static_cast<QTableWidget*>(FormStatistic->PageControl->widget(index));
    const QFontMetrics metrics(grid->font());
    for (int row = 0; row < grid->rowCount(); ++row) {
      for (int col : {0, 1}) {
        const QString text = grid->item(row, col) ? grid->item(row, col)->text() : QString();
        if (grid->item(row, 0)->text().startsWith('&')) continue;
        EXPECT_LT(metrics.horizontalAdvance(text), grid->columnWidth(col)) << text.toStdString();
        EXPECT_EQ(FormStatistic->ShownText(grid, row, col), text);
      }
    }
  }
  // The labels an axis shows, as it writes them.
  auto labels = [](const QValueAxis* axis) {
    std::vector<std::string> out;
    const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
    for (int i = 0; i < axis->tickCount(); ++i)
      out.push_back(QString::asprintf(axis->labelFormat().toLatin1().constData(), axis->min() + i * step).toStdString());
    return out;
  };
  auto expectRound = [&labels](QChartView* view, Qt::Orientation o, bool whole, const std::string& what) {
    const auto* axis = qobject_cast<QValueAxis*>(view->chart()->axes(o).first());
    ASSERT_GE(axis->tickCount(), 2) << what;
    const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9)
        << what << ": step " << step;
    EXPECT_NEAR(axis->min() / step, std::round(axis->min() / step), 1e-9) << what;
    if (whole) {
      EXPECT_GE(step, 1) << what;
    }
    for (const std::string& label : labels(axis)) {
      EXPECT_LE(label.size(), 6u) << what << ": " << label;
      if (whole) {
        EXPECT_EQ(label.find('.'), std::string::npos) << what << ": " << label;
      }
    }
  };
  // After New the charts are empty and every axis runs from 0 to 1: an axis
  // of counts in one whole step, the history's means in fifths.
  const std::vector<std::string> countLabels = {"0", "1"};
  const std::vector<std::string> meanLabels = {"0", "0.2", "0.4", "0.6", "0.8", "1"};
  auto everyQuantity = [&](const std::string& when, bool empty) {
    auto axis = [](QChartView* view, Qt::Orientation o) {
      return qobject_cast<QValueAxis*>(view->chart()->axes(o).first());
    };
    page(2);
    QTest::keyClick(FormStatistic->ComboBoxStat, Qt::Key_Home);
    for (int k = 0; k < 8; ++k) {
      const std::string what = when + ", distribution " + std::to_string(k);
      expectRound(FormStatistic->ChartStat, Qt::Horizontal, true, what);
      expectRound(FormStatistic->ChartStat, Qt::Vertical, true, what);
      if (empty) {
        EXPECT_EQ(labels(axis(FormStatistic->ChartStat, Qt::Horizontal)), countLabels) << what;
        EXPECT_EQ(labels(axis(FormStatistic->ChartStat, Qt::Vertical)), countLabels) << what;
      }
      QTest::keyClick(FormStatistic->ComboBoxStat, Qt::Key_Down);
    }
    page(3);
    QTest::keyClick(FormStatistic->ComboBoxHistory, Qt::Key_Home);
    for (int k = 0; k < 8; ++k) {
      const std::string what = when + ", history " + std::to_string(k);
      expectRound(FormStatistic->ChartHistory, Qt::Horizontal, true, what);
      expectRound(FormStatistic->ChartHistory, Qt::Vertical, k < 2, what);  // counts and masses
      if (empty) {
        EXPECT_EQ(labels(axis(FormStatistic->ChartHistory, Qt::Horizontal)), countLabels) << what;
        EXPECT_EQ(labels(axis(FormStatistic->ChartHistory, Qt::Vertical)), k < 2 ? countLabels : meanLabels) << what;
      }
      QTest::keyClick(FormStatistic->ComboBoxHistory, Qt::Key_Down);
    }
  };
  everyQuantity("after 30 ticks", false);
  Press(Qt::Key_F2);
  ASSERT_EQ(Form->Step, 0);
  ASSERT_EQ(Form->Plant->Params[0].Const.Count, 0);
  everyQuantity("after New", true);
  Exit();

  WriteIni("[MainForm]\r\nFirstRun=0\r\n[FormStatistic]\r\nColWidthsMain=150\r\n");
  Start();
  EXPECT_EQ(FormStatistic->StringGridMain->columnWidth(0), 150);
  EXPECT_EQ(FormStatistic->StringGridCell->columnWidth(0),
            FormStatistic->FirstColumnFit(FormStatistic->StringGridCell));
}

// On a screen whose work area has no room for the statistics window widened
// to its labels beside the main window and the parameter editor (the
// offscreen screen here, 800 pixels wide; see the test above for one with
// room) the windows keep their default places and widths. A label that does
// not fit its column is shortened with "…" and shown whole in a hint over its
// cell; one that fits shows whole, without a hint; so also in a column the
// user dragged narrower.
TEST_F(StartUp, WithoutRoomTheStatisticsLabelsThatDoNotFitAreShortenedAndShownWholeOnHover) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry().width(), 800);
  CopySample();
  Start();
  Form->show();
  EXPECT_EQ(OuterRect(Form).topLeft(), QPoint(230, 78));
  EXPECT_EQ(FormStatistic->size(), QSize(222, 363));
  EXPECT_EQ(FormStatistic->StringGridMain->columnWidth(0), 120);
  EXPECT_EQ(FormStatistic->StringGridCell->columnWidth(0), 120);
  QTableWidget* grid = FormStatistic->StringGridCell;  // the page shown
  ASSERT_EQ(FormStatistic->PageControl->currentWidget(), grid);
  QWidget* viewport = grid->viewport();
  auto rowOf = [grid](const QString& label) {
    for (int row = 0; row < grid->rowCount(); ++row)
      if (grid->item(row, 0)->text() == label) return row;
    return -1;
  };
  auto cellCentre = [grid](int row) { return grid->visualRect(grid->model()->index(row, 0)).center(); };
  // The hint the mouse resting on a label brings up (empty when none).
  auto hintOver = [&](int row) {
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
    QTest::mouseMove(viewport, cellCentre(row) - QPoint(1, 0));
    QTest::mouseMove(viewport, cellCentre(row));
    if (grid->toolTip().isEmpty()) return QString();
    (void)QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000);
    return QToolTip::isVisible() ? QToolTip::text() : QStringLiteral("(no hint shown)");
  };
  const QString longest = QStringLiteral("Продолжительность жизни, тактов");
  const QString mass = QStringLiteral("Масса, ед");
  const int longRow = rowOf(longest), massRow = rowOf(mass);
  ASSERT_GE(longRow, 0);
  ASSERT_GE(massRow, 0);

  const QString shortened = FormStatistic->ShownText(grid, longRow, 0);
  EXPECT_TRUE(shortened.endsWith(QStringLiteral("…"))) << shortened.toStdString();
  EXPECT_TRUE(longest.startsWith(shortened.chopped(1))) << shortened.toStdString();
  EXPECT_LE(grid->fontMetrics().horizontalAdvance(shortened), 119);
  EXPECT_EQ(FormStatistic->ShownText(grid, massRow, 0), mass);
  EXPECT_EQ(hintOver(massRow), QString());
  EXPECT_EQ(hintOver(longRow), longest);

  // The column dragged to 40 pixels: now the short label is shortened too.
  auto send = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF at(x, cellCentre(massRow).y());
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  };
  send(QEvent::MouseButtonPress, 121, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, 40, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, 40, Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(grid->columnWidth(0), 40);
  EXPECT_TRUE(FormStatistic->ShownText(grid, massRow, 0).endsWith(QStringLiteral("…")));
  EXPECT_EQ(hintOver(massRow), mass);
  QToolTip::hideText();
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

TEST_F(StartUp, NamesAndRecentPathsLongerThan2047CharactersComeBackWithTheirValues) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=1\r\n");
  const QString resource = "Ресурс " + QString(3000, QChar(0x436));  // "ж"
  const QString species = "Организм " + QString(3000, QLatin1Char('z'));
  QString folder = path;
  for (int i = 0; i < 9; ++i) folder += QString(240, QLatin1Char('d')) + "/";
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString file = folder + "run.zod";
  Start();
  FormParameter->RenameResource(resource, 0);
  FormParameter->RenamePlant(species, 0);
  Form->Resource->Params[0].Slur = 33;
  Form->Plant->Params[0].Param.AgeMax() = 42;
  Form->Step = 7;
  ASSERT_TRUE(Form->SaveDataFile(file));
  Form->Step = 0;
  Exit();
  Start();
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, resource.toStdString());
  EXPECT_EQ(Form->Resource->Params[0].Slur, 33);
  ASSERT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Plant->Params[0].Const.Name, species.toStdString());
  EXPECT_EQ(Form->Plant->Params[0].Param.AgeMax(), 42);
  EXPECT_EQ(Form->FileList[0].FileName, file);
  // The recent file opens with its key.
  Form->show();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  QTest::keyClick(Form, Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(Form->FileName, file);
  EXPECT_EQ(Form->Step, 7);
  EXPECT_TRUE(modalTitles.isEmpty()) << modalTitles.join("|").toStdString();
}

// A stored author with a character the data file cannot carry is the
// author as the data file carries it, and the settings keep the name as
// stored until the user changes the author line.
TEST_F(StartUp, AStoredAuthorStaysAsStoredUntilTheAuthorLineChanges) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[View]\r\nUserName=Ivan&#9731;\r\n[Resource]\r\nResourceCount=1\r\n");
  const auto stored = [this] {
    QFile file(path + "omra.ini");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const qsizetype at = text.indexOf("UserName=");
    return at < 0 ? std::string() : text.mid(at, text.indexOf("\r\n", at) - at).toStdString();
  };
  for (int run = 0; run < 2; ++run) {  // the first exit's file starts the second run the same way
    Start();
    EXPECT_EQ(FormParameter->EditUserName->text(), "Ivan?");
    EXPECT_EQ(Form->Author, "Ivan?");
    EXPECT_TRUE(FormView->windowTitle().contains(" - Ivan? ")) << FormView->windowTitle().toStdString();
    Exit();
    EXPECT_EQ(stored(), "UserName=Ivan&#9731;");
  }
  Start();
  FormParameter->show();
  QLineEdit* line = FormParameter->EditUserName;
  line->setFocus();
  QTest::keyClick(line, Qt::Key_End);
  QTest::keyClick(line, Qt::Key_Backspace);
  QTest::keyClicks(line, "ov");
  EXPECT_EQ(Form->Author, "Ivanov");
  Exit();
  EXPECT_EQ(stored(), "UserName=Ivanov");
}

TEST_F(StartUp, HandEditedSizesAndCountsNeverReachTheStores) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\nTop=-50\r\n[Field]\r\nFieldC=32000\r\nFieldR=2\r\nCellSize=0\r\n"
           "SubBrushPlant=-3\r\n[Resource]\r\nResourceCount=-9\r\n[Plant]\r\nPlantCount=1\r\n"
           "Plant.Value0=P\r\nP.ResourceIn=5\r\n");
  Start();  // no sample beside the program: its absence is reported, the model stays
  EXPECT_TRUE(modalTitles.contains("Ошибка"));
  EXPECT_EQ(OuterRect(Form).top(), 0);
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

TEST_F(StartUp, AModelTooLargeForMemoryIsBuiltOnASmallerFieldAndTheNextStartKeepsIt) {
  // 200 resources on a 1000 x 1000 field take 800 MB in one block; no block
  // above 512 MB is to be had.
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Field]\r\nFieldC=1000\r\nFieldR=1000\r\n"
           "[Resource]\r\nResourceCount=200\r\n");
  const size_t largest = size_t{512} << 20;
  FailAllocationsLargerThan(largest);
  Start();
  QApplication::processEvents();  // the windows paint the model they were given
  EXPECT_TRUE(StopFailingAllocations());
  ASSERT_NE(Form, nullptr);
  EXPECT_TRUE(modalTitles.contains("Ошибка"));
  ASSERT_EQ(Form->Resource->Count, 200);
  EXPECT_EQ(FormParameter->ListBoxResource->count(), 200);
  const int rows = Form->Resource->RowCount, cols = Form->Resource->ColCount;
  EXPECT_LT(cols, 1000);
  EXPECT_GE(cols, 500);  // the largest halving that fits
  EXPECT_EQ(Form->Plant->RowCount, rows);
  EXPECT_EQ(Form->Plant->ColCount, cols);
  EXPECT_EQ(FormParameter->UpDownR->value(), rows);
  EXPECT_EQ(FormParameter->UpDownC->value(), cols);
  EXPECT_EQ(FormView->DrawGridField->RowCount(), rows);
  EXPECT_EQ(FormView->DrawGridField->ColCount(), cols);
  // The exit keeps the field that fits: the next start builds it without a word.
  Exit();
  modalTitles.clear();
  FailAllocationsLargerThan(largest);
  Start();
  EXPECT_FALSE(StopFailingAllocations());
  EXPECT_TRUE(modalTitles.isEmpty()) << modalTitles.join("|").toStdString();
  EXPECT_EQ(Form->Resource->ColCount, cols);
  EXPECT_EQ(Form->Resource->Count, 200);
}

// The user's own settings file serves a program folder the user may not
// write: it begins with what the program folder's file holds, and data files
// and pictures go to the user's home folder. A settings file the user may not
// write in a folder the user may write stays the settings file.
TEST_F(StartUp, ReadOnlyProgramFolderKeepsSettingsInTheUsersFolder) {
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", (path + "home").toUtf8());
  QDir().mkpath(path + "home");
  const QByteArray shipped = "[FieldInput]\r\nWater=12\r\n[Help]\r\nTop=40\r\n";
  WriteIni(shipped.constData());
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(path); });
  CopySample();
  Start();
  EXPECT_TRUE(CurrentSettingsPaths().PerUser);
  // Generated pages work: the comment page was written in the user's folder.
  EXPECT_TRUE(QFile::exists(CurrentSettingsPaths().PagesPath + "comment.htm"));
  EXPECT_FALSE(QFile::exists(path + "Files/comment.htm"));
  EXPECT_EQ(Form->FileName, path + "home/noname1.zod");
  EXPECT_EQ(Form->PathSaveShot, path + "home/");
  EXPECT_EQ(Form->FileWindowHost().SettingsStart, path + "omra.ini");  // its keys until the user's file is there
  FormParameter->UpDownR->setValue(77);
  Exit();
  const QString own = program.path() + "/user-config/ZeltorOmra/omra.ini";
  {
    TIniFile ini(own.toStdString());
    EXPECT_EQ(ini.ReadString("FieldInput", "Water", ""), "12");
    EXPECT_EQ(ini.ReadInteger("Help", "Top", 0), 40);
    EXPECT_EQ(ini.ReadInteger("Field", "FieldR", 0), 77);
  }
  Start();
  EXPECT_EQ(FormParameter->UpDownR->value(), 77);
  EXPECT_FALSE(Form->FirstRun);
  // A folder that is gone: the file window falls back on the home folder.
  Form->PathDocument = path + "gone/";
  Form->show();
  modalTitles.clear();
  Press(Qt::Key_F4);
  EXPECT_EQ(modalTitles.size(), 1);
  EXPECT_EQ(Form->PathDocument, path + "home/");
  Exit();
  SetFolderWritableProbe({});
  qputenv("HOME", home);
  QFile file(path + "omra.ini");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), shipped);
  file.close();

  // The program's folder open to every user, its settings file read-only.
  const QByteArray readOnly = "[MainForm]\r\nFirstRun=0\r\n[Field]\r\nFieldR=55\r\n[Resource]\r\nResourceCount=0\r\n";
  WriteIni(readOnly.constData());
  for (const QString& folder : {path, path + "Files/"}) OpenToEveryUser(folder);
  ASSERT_EQ(chmod(QFile::encodeName(path + "omra.ini").constData(), 0444), 0);
  {
    TOtherUser other;
    ASSERT_NE(geteuid(), 0u) << "the check needs a user whom the permissions stop";
    modalTitles.clear();
    Start();
    EXPECT_FALSE(CurrentSettingsPaths().PerUser);
    EXPECT_EQ(FormParameter->UpDownR->value(), 55);
    Exit();
    EXPECT_EQ(modalTitles, (QStringList{"Ошибка", "Не удалось сохранить настройки в файл \"" + path +
                                                     "omra.ini\". Нет прав на запись этого файла или его папки."}));
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), readOnly);

  // A home folder the user may not write: the user's folders cannot be made
  // in it, and the first run's comment page and the exit say so.
  ASSERT_TRUE(QFile::remove(path + "omra.ini"));
  ASSERT_TRUE(QDir().mkpath(path + "locked"));
  ASSERT_EQ(chmod(QFile::encodeName(path + "locked").constData(), 0555), 0);
  qputenv("XDG_CONFIG_HOME", (path + "locked/config").toUtf8());
  qputenv("XDG_DATA_HOME", (path + "locked/data").toUtf8());
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(path); });
  {
    TOtherUser other;
    modalTitles.clear();
    Start();
    Exit();
  }
  SetFolderWritableProbe({});
  const QString noRight = " Нет прав на запись этого файла или его папки.";
  ASSERT_EQ(modalTitles.size(), 4) << modalTitles.join("|").toStdString();
  EXPECT_TRUE(modalTitles[1].endsWith("\n\nФайл \"" + path + "locked/data/ZeltorOmra/Files/comment.htm\" не удалось "
                                      "сохранить." + noRight))
      << modalTitles[1].toStdString();
  EXPECT_EQ(modalTitles[3].toStdString(),
            ("Не удалось сохранить настройки в файл \"" + path + "locked/config/ZeltorOmra/omra.ini\"." + noRight)
                .toStdString());
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

// A settings file the user may write but not read is never written over:
// start-up says once that it could not be read and why, and starts with the
// defaults; the exit leaves the file as it was. What is no file in its place
// (a folder, a pipe, a link into a missing folder) reads as no file, and the
// exit says why it could not take the settings.
TEST_F(StartUp, ASettingsFileThatCannotBeReadIsSaidAtStartAndLeftAsItIs) {
  const QByteArray kept =
      "[MainForm]\r\nFirstRun=0\r\nFileList0.Visible=1\r\nFileList0.ShortFileName=run.zod\r\n"
      "FileList0.FileName=/data/run.zod\r\n[View]\r\nUserName=Owner\r\n[Field]\r\nBrush=1\r\n"
      "[Help]\r\nTop=40\r\n[FieldInput]\r\nWater=12\r\n[Resource]\r\nResourceCount=1\r\nResource.Value0=Water\r\n";
  WriteIni(kept.constData());
  CopySample();
  const QString ini = path + "omra.ini";
  // The program's folder open to every user; the settings file the user's own.
  for (const QString& folder : {path, path + "Files/"}) OpenToEveryUser(folder);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(QFile::encodeName(ini).constData(), 65534, 65534), 0);
  }
  ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0200), 0);
  {
    TOtherUser other;
    ASSERT_NE(geteuid(), 0u) << "the check needs a user whom the permissions stop";
    Start();
    EXPECT_EQ(modalTitles, QStringList{"Ошибка"});
    ASSERT_NE(FormMessage, nullptr);
    const QString said = FormMessage->WebBrowser->toPlainText();
    EXPECT_TRUE(said.contains("Файл настроек \"" + ini + "\" не удалось прочитать. Нет прав на чтение этого файла. "
                              "Программа начинает работу с настройками по умолчанию и оставляет этот файл как есть"))
        << said.toStdString();
    EXPECT_TRUE(Form->FirstRun);
    EXPECT_NE(Form->UserName, "Owner");
    for (const TFileListItem& item : Form->FileList) EXPECT_NE(item.FileName, "/data/run.zod");
    Exit();
    EXPECT_EQ(modalTitles, QStringList{"Ошибка"});  // and nothing at exit
  }
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(ini).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0200u);
  ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0600), 0);
  auto expectKept = [&] {
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kept);
  };
  expectKept();
  // Read at start, no longer readable at exit: not written over either.
  {
    TOtherUser other;
    modalTitles.clear();
    Start();
    EXPECT_TRUE(modalTitles.isEmpty()) << modalTitles.join("|").toStdString();
    EXPECT_EQ(Form->UserName, "Owner");
    ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0200), 0);
    Exit();
    EXPECT_EQ(modalTitles, (QStringList{"Ошибка", "Не удалось сохранить настройки в файл \"" + ini +
                                                     "\". Этот файл не удалось прочитать, и он оставлен как есть. "
                                                     "Нет прав на чтение этого файла."}));
  }
  ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0600), 0);
  expectKept();

  const QString prefix = "Не удалось сохранить настройки в файл \"" + ini + "\". ";
  const std::pair<std::function<void()>, QString> noFiles[] = {
      {[&] { ASSERT_TRUE(QDir().mkdir(ini)); }, "Это папка, а не файл."},
      {[&] { ASSERT_EQ(mkfifo(QFile::encodeName(ini).constData(), 0600), 0); }, "Это не обычный файл."},
      {[&] { ASSERT_TRUE(QFile::link(path + "gone/omra.ini", ini)); }, "Папка этого файла не существует."},
  };
  for (const auto& [make, cause] : noFiles) {
    QDir(ini).removeRecursively();
    QFile::remove(ini);
    make();
    const QFileInfo before(ini);
    modalTitles.clear();
    Start();
    EXPECT_TRUE(modalTitles.isEmpty()) << modalTitles.join("|").toStdString();
    Exit();
    // The cause follows, a sentence of its own.
    EXPECT_EQ(modalTitles, (QStringList{"Ошибка", prefix + cause}));
    const QFileInfo after(ini);
    EXPECT_EQ(after.isDir(), before.isDir());
    EXPECT_EQ(after.isSymLink(), before.isSymLink());
    EXPECT_EQ(after.exists(), before.exists());
  }
}

namespace {

// A page that cannot be made, for want of the page folder or because its
// write fails partway (a full disk), is neither put in place nor shown: the
// message comes in a plain box, with why there is no page.
TEST_F(StartUp, WithoutThePageFolderTheSampleStillLoadsAndTheCommentsComeInAPlainBox) {
  const QString pages = path + "Files";
  ASSERT_TRUE(QDir(pages).rename(pages, path + "Files.away"));
  CopySample();
  Start();
  ASSERT_EQ(Form->Plant->Count, 2);
  EXPECT_EQ(Form->Plant->Params[1].Const.Name, "Мутирующий");
  EXPECT_GT(Form->Plant->Params[0].Const.Count, 0);
  ASSERT_GE(modalTitles.size(), 2);
  EXPECT_EQ(modalTitles[0], "Комментарии");
  EXPECT_TRUE(modalTitles[1].contains("Мутирующий"));
  EXPECT_TRUE(modalTitles[1].contains("index.htm"));  // and why there is no page

  // The page folder back and the comment window open, and a comment page of
  // an earlier run where the pages now go; the new page does not fit in what
  // the system lets a file grow to.
  ASSERT_TRUE(QDir(path).rename("Files.away", "Files"));
  const QString written = CurrentSettingsPaths().PagesPath;
  Form->show();
  Press(Qt::Key_F12);
  ASSERT_TRUE(FormComment && FormComment->isVisible());
  {
    QFile old(written + "comment.htm");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("<p>Старая страница</p>\r\n");
  }
  modalTitles.clear();
  WithFileSizeLimit(1024, [this] {
    Press(Qt::Key_F12);
    return 0;
  });
  ASSERT_EQ(modalTitles.size(), 2);
  EXPECT_EQ(modalTitles[0], "Комментарии");
  EXPECT_TRUE(modalTitles[1].contains("Мутирующий"));
  EXPECT_TRUE(modalTitles[1].endsWith("\n\nФайл \"" + written +
                                      "comment.htm\" не удалось сохранить. Файл больше, чем позволяет система."))
      << modalTitles[1].toStdString();
  QFile kept(written + "comment.htm");
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(kept.readAll()), "<p>Старая страница</p>\r\n");
  EXPECT_FALSE(FormComment->isVisible());  // it showed the page not written
  EXPECT_EQ(QDir(written).entryList({"*.saving"}, QDir::Files | QDir::Hidden).join(",").toStdString(), "");
  // The news page: the cause in a plain box, as for the other pages.
  WithFileSizeLimit(1024, [this] {
    Press(Qt::Key_F1, Qt::AltModifier);
    return 0;
  });
  EXPECT_EQ(modalTitles.mid(2).join("|").toStdString(),
            ("Что нового?|Файл \"" + written + "help.htm\" не удалось сохранить. Файл больше, чем позволяет система.")
                .toStdString());
}

TEST_F(StartUp, PickersTakeTheirSizesFromTheSettingsFileInUse) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=1\r\n"
           "[FormParameter]\r\nComboResourceSlur.Width=151\r\nComboResourceSlur.Height=61\r\n");
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(path); });
  auto slurPicker = [] {  // its size as it opens
    FormParameter->show();
    TValueListEditor* grid = FormParameter->ValueListEditorResource;
    EXPECT_TRUE(grid->SetRow(grid->FindRow(TFormParameter::KeySlur)));
    FormParameter->ValueListEditorResourceEditButtonClick();
    if (!FormParameter->ComboResourceSlur) return QSize();
    FormParameter->ComboResourceSlur->FormDeactivate();
    return FormParameter->ComboResourceSlur->size();
  };
  // Before the user's own file is there: the program folder's.
  Start();
  EXPECT_EQ(slurPicker(), QSize(151, 61));
  Exit();
  const QString user = program.path() + "/user-config/ZeltorOmra/";
  QDir().mkpath(user);
  {
    QFile own(user + "omra.ini");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=1\r\n"
              "[FormParameter]\r\nComboResourceSlur.Width=333\r\nComboResourceSlur.Height=91\r\n");
  }
  Start();
  ASSERT_EQ(CurrentSettingsPaths().ReadFile, user + "omra.ini");
  EXPECT_EQ(slurPicker(), QSize(333, 91));
  SetFolderWritableProbe({});
}

TEST_F(StartUp, HandEditedIndexesBrushAndSizesAreBroughtIntoRange) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\nLeft=5000\r\n"
           "[FormView]\r\nWidth=100000\r\nHeight=-20\r\nLeft=-9000\r\nTop=2147483647\r\n"
           "[FormStatistic]\r\nPageIndex=9\r\nHistoryIndex=-4\r\nStatIndex=70\r\nColWidthsMain=2147483647\r\n"
           "ColWidthsCell=-5\r\nWidth=-1\r\nHeight=2147483647\r\n"
           "[FormParameter]\r\nPageIndex=-1\r\nValueListEditorPlant.Width=100000\r\nVisible=1\r\n"
           "[Field]\r\nBrush=7\r\n[Resource]\r\nResourceCount=1\r\n");
  Start();
  const QRect work = WorkArea(Form);
  for (QWidget* w : std::initializer_list<QWidget*>{Form, FormView, FormStatistic, FormParameter}) {
    const QRect outer = OuterRect(w);
    EXPECT_LE(outer.width(), work.width()) << w->windowTitle().toStdString();
    EXPECT_LE(outer.height(), work.height()) << w->windowTitle().toStdString();
    EXPECT_TRUE(outer.intersects(work)) << w->windowTitle().toStdString();
    EXPECT_GE(outer.top(), work.top()) << w->windowTitle().toStdString();
  }
  EXPECT_GE(FormView->height(), FormView->minimumHeight());
  EXPECT_GE(FormStatistic->width(), FormStatistic->minimumWidth());
  EXPECT_EQ(FormStatistic->PageControl->currentIndex(), 3);
  EXPECT_EQ(FormStatistic->ComboBoxHistory->currentIndex(), 0);
  EXPECT_EQ(FormStatistic->ComboBoxStat->currentIndex(), 7);
  EXPECT_GE(FormStatistic->StringGridCell->columnWidth(0), 30);
  EXPECT_LE(FormStatistic->StringGridMain->columnWidth(0), FormStatistic->width());
  EXPECT_EQ(FormParameter->PageControl->currentIndex(), 0);
  EXPECT_LE(FormParameter->ValueListEditorPlant->ColWidths(0), FormParameter->width());
  EXPECT_EQ(Form->Brush, TBrushTool::Pointer);
  EXPECT_TRUE(FormView->ToolButtonView->isChecked());
  // What the exit writes comes back as it is the next time.
  Exit();
  TIniFile ini((path + "omra.ini").toStdString());
  EXPECT_LE(ini.ReadInteger("MainForm", "Left", 0), work.right());
  EXPECT_EQ(ini.ReadInteger("Field", "Brush", -1), 0);
}

TEST_F(StartUp, ANeverShownSpeciesGridKeepsTheKeyColumnWidthItWasGiven) {
  WriteIni("[MainForm]\r\nFirstRun=0\r\n[Resource]\r\nResourceCount=1\r\n"
           "[FormParameter]\r\nValueListEditorPlant.Width=150\r\nVisible=0\r\n");
  Start();
  Exit();
  TIniFile ini((path + "omra.ini").toStdString());
  EXPECT_EQ(ini.ReadInteger("FormParameter", "ValueListEditorPlant.Width", 0), 150);
}

TEST(UserFolders, WithoutHomeTheAccountsHomeFolderServes) {
  const QByteArray home = qgetenv("HOME");
  qunsetenv("HOME");
  const QString folder = GetUserHomeFolder();
  qputenv("HOME", home);
  EXPECT_FALSE(folder.isEmpty());
  EXPECT_TRUE(folder.startsWith('/'));
  EXPECT_FALSE(folder.startsWith("//"));
  if (!home.isEmpty()) {
    EXPECT_EQ(GetUserHomeFolder(), QString::fromLocal8Bit(home));
  }
}

}  // namespace

namespace {

TEST_F(StartUp, ASystemColourFromAnotherInstallationKeepsItsNameAndPaintsAsTheTableSays) {
  const int32_t btnFace = SysColorValue(TSysColor::BtnFace);
  const int32_t infoBk = SysColorValue(TSysColor::InfoBk);
  const std::string ini = "[MainForm]\r\nFirstRun=0\r\n[View]\r\nColor=" + std::to_string(btnFace) +
                          "\r\n[Statistic]\r\nColor=" + std::to_string(infoBk) +
                          "\r\n[Resource]\r\nResourceCount=1\r\nResource.Value0=R\r\nR.Color=" +
                          std::to_string(SysColorValue(TSysColor::Highlight)) + "\r\n";
  WriteIni(ini.c_str());
  Start();
  EXPECT_EQ(FormParameter->ComboEditField->text(), QStringLiteral("Поверхность кнопки"));
  EXPECT_EQ(FormParameter->ComboEditStatistic->text(), QStringLiteral("Фон подсказки"));
  EXPECT_EQ(Form->Resource->EmptyColor, btnFace);
  EXPECT_EQ(FormStatistic->StatisticColor(), infoBk);
  // Painted grey (and cream), not black.
  QRgb fill = 0, frame = 0;
  FormView->DrawGridFieldDrawCell(0, 0, fill, frame);
  EXPECT_EQ(fill & 0xFFFFFF, 0xF0F0F0u);
  EXPECT_EQ(PaintColor(FormStatistic->StatisticColor()), QColor(0xFF, 0xFF, 0xE1));
  // The editor's grid names the resource's colour; the picker opens on it.
  FormParameter->show();
  TValueListEditor* grid = FormParameter->ValueListEditorResource;
  EXPECT_EQ(grid->Values(grid->FindRow(TFormParameter::KeyColor)), QStringLiteral("Выделение"));
  FormParameter->ComboEditFieldButtonClick();
  ASSERT_NE(FormParameter->FrameFieldColor, nullptr);
  EXPECT_EQ(FormParameter->FrameFieldColor->SelectedName(), QStringLiteral("Поверхность кнопки"));
  FormParameter->ComboFieldColor->FormDeactivate();
  // And the exit keeps the identifiers.
  Exit();
  TIniFile saved((path + "omra.ini").toStdString());
  EXPECT_EQ(saved.ReadInteger("View", "Color", 0), btnFace);
  EXPECT_EQ(saved.ReadInteger("Statistic", "Color", 0), infoBk);
}

}  // namespace
