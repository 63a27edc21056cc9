// The fill and clear commands with their dialogs: what the dialogs offer, what
// "Да" and "Отмена" do to the model, and what the fill keeps in the settings.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <sys/stat.h>

#include "tests/windows/MainFixture.h"
#include "tests/FileSizeLimit.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "windows/look/CheckListBox.h"
#include "windows/look/ValueListEditor.h"
#include "windows/place/uPlace.h"
#include "windows/settings/uSettings.h"
#include "windows/view/fFieldClear.h"
#include "windows/view/fFieldInput.h"

namespace {

// Runs `act` on the dialog of type D once it is shown modally, then closes it
// with "Отмена" if `act` left it open; runs `open` (which opens it) meanwhile.
template <class D>
bool RunDialog(const std::function<void()>& open, const std::function<void(D*)>& act) {
  bool seen = false;
  QTimer timer;
  timer.setInterval(5);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d || !d->isVisible()) return;
    timer.stop();
    seen = true;
    act(d);
    if (d->isVisible()) d->done(D::mrCancel);
  });
  timer.start();
  QTimer guard;  // a dialog that never opens does not hang the test
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
    timer.stop();
  });
  guard.start(5000);
  open();
  if (!seen) {  // the command returned without a dialog
    timer.stop();
    QTest::qWait(1);
  }
  return seen;
}

// Notes in `said` the text of every modal window but the fill dialog that
// `watch` finds open (a message box or a message page), and closes it.
void WatchMessages(QTimer& watch, QString& said) {
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&said] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<TFormFieldInput*>(modal)) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) said += box->text();
    for (QTextEdit* view : modal->findChildren<QTextEdit*>()) said += view->toPlainText();
    if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
  });
  watch.start();
}

// The same, the dialog opened by `command`.
template <class D>
bool RunDialog(QAction* command, const std::function<void(D*)>& act) {
  return RunDialog<D>([command] { command->trigger(); }, act);
}

struct ClearRows {
  QStringList Text;
  std::vector<bool> Header, Enabled, Checked;
};

ClearRows RowsOf(const TCheckListBox* list) {
  ClearRows rows;
  for (int i = 0; i < list->Count(); ++i) {
    rows.Text << list->Text(i);
    rows.Header.push_back(list->Header(i));
    rows.Enabled.push_back(list->ItemEnabled(i));
    rows.Checked.push_back(list->Checked(i));
  }
  return rows;
}

size_t HistoryPoints() {
  size_t n = 0;
  for (const TChartSeries& s : FormStatistic->HistorySeries) n += s.Points.size();
  return n;
}

}  // namespace

class FieldClear : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->Resource->Add("Вода", 25, 70, clRed);
    Form->Resource->Add("Пусто", 25, 70, clBlack);
    Form->Plant->Add(NewPlantParameter("Второй", TGenome(2, 1, 3, 12, 2, 30, 0, 1)));
    Form->Plant->Add(NewPlantParameter("Третий", TGenome(2, 1, 3, 12, 2, 30, 1, 0)));
    FormStatistic->RebuildLayout();
  }
  // Organisms of all three species and two fed layers, then a few ticks.
  void Populate() {
    Form->Resource->AddAmountEverywhere(0, 20);
    Form->Resource->AddAmountEverywhere(1, 20);
    for (int row = 0; row < 45; row += 3)
      for (int col = 0; col < 45; col += 3) Form->Plant->Place((row / 3 + col / 3) % 3, row, col);
    for (int i = 0; i < 3; ++i) Form->ActionFieldStepExecute();
  }
};

TEST_F(FieldClear, EmptyFieldAtTickZeroOffersNothingAndYesChangesNothing) {
  Form->show();
  ClearRows rows;
  QPoint at, below;
  ASSERT_TRUE(RunDialog<TFormFieldClear>(Form->ActionFieldClear, [&](TFormFieldClear* d) {
    rows = RowsOf(d->CheckListBox);
    at = OuterRect(d).topLeft();
    below = BelowWindow(Form);
    EXPECT_EQ(d->windowTitle(), "Очистить поле");
    EXPECT_EQ(d->CheckListBox->sizeHintForRow(0), TCheckListBox::ItemHeight);
    d->ButtonYes->click();
  }));
  EXPECT_EQ(at, below);
  EXPECT_EQ(rows.Text, QStringList({"Общие", "Скинуть счетчик тактов", "Ресурсы", "Ресурс Yellow (0)", "Вода (0)",
                                    "Пусто (0)", "Организмы", "Организм Lime (0)", "Второй (0)", "Третий (0)"}));
  for (int i = 0; i < rows.Text.size(); ++i) {
    EXPECT_EQ(rows.Header[i], i == 0 || i == 2 || i == 6) << i;
    if (rows.Header[i]) continue;
    EXPECT_FALSE(rows.Enabled[i]) << i;
    EXPECT_FALSE(rows.Checked[i]) << i;
  }
  EXPECT_EQ(Form->Step, 0);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Form->Resource->Params[r].Total, 0);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(Form->Plant->Params[s].Const.Count, 0);
}

TEST_F(FieldClear, ToolBarTouchesOnlyEnabledRowsAndOneSpeciesGoesAlone) {
  Populate();
  const int32_t step = Form->Step;
  ASSERT_GT(step, 0);
  const TPlantParameter first = Form->Plant->Params[0], third = Form->Plant->Params[2];
  ASSERT_GT(first.Const.Count, 0);
  ASSERT_GT(Form->Plant->Params[1].Const.Count, 0);
  ASSERT_GT(third.Const.Count, 0);
  const int64_t food = Form->Resource->Params[0].Total, water = Form->Resource->Params[1].Total;
  ClearRows start, all, inverted;
  ASSERT_TRUE(RunDialog<TFormFieldClear>(Form->ActionFieldClear, [&](TFormFieldClear* d) {
    start = RowsOf(d->CheckListBox);
    EXPECT_EQ(d->ToolButtonResourceAdd->defaultAction(), d->ActionSelectAll);
    EXPECT_EQ(d->ActionSelectAll->toolTip(), "Пометить все");
    EXPECT_EQ(d->ActionDeselectAll->toolTip(), "Разметить все");
    EXPECT_EQ(d->ActionInverse->toolTip(), "Инвертировать");
    EXPECT_FALSE(d->ActionSelectAll->icon().isNull());
    d->ActionDeselectAll->trigger();
    d->ActionInverse->trigger();
    inverted = RowsOf(d->CheckListBox);
    d->ActionDeselectAll->trigger();
    d->ActionSelectAll->trigger();
    all = RowsOf(d->CheckListBox);
    // Only the second species: untick all, then tick its row by a click on its box.
    d->ToolButtonResourceEdit->click();
    const int row = 8;
    ASSERT_TRUE(d->CheckListBox->Text(row).startsWith("Второй ("));
    QTest::mouseClick(d->CheckListBox->viewport(), Qt::LeftButton, {}, d->CheckListBox->CheckBoxRect(row).center());
    EXPECT_TRUE(d->CheckListBox->Checked(row));
    d->ButtonYes->click();
  }));
  // Everything that can be cleared starts ticked; the empty layer cannot be.
  EXPECT_EQ(start.Text[1], "Скинуть счетчик тактов");
  EXPECT_EQ(start.Text[5], "Пусто (0)");
  for (int i : {1, 3, 4, 7, 8, 9}) {
    EXPECT_TRUE(start.Enabled[i] && start.Checked[i]) << i;
    EXPECT_TRUE(inverted.Checked[i]) << i;
    EXPECT_TRUE(all.Checked[i]) << i;
  }
  EXPECT_FALSE(start.Enabled[5]);
  EXPECT_FALSE(inverted.Checked[5]) << "invert skips a disabled row";
  EXPECT_FALSE(all.Checked[5]) << "tick all skips a disabled row";
  EXPECT_EQ(start.Text[3], QString("Ресурс Yellow (%1)").arg(Form->Resource->Params[0].CellCount));

  EXPECT_EQ(Form->Step, step);
  EXPECT_EQ(Form->Resource->Params[0].Total, food);
  EXPECT_EQ(Form->Resource->Params[1].Total, water);
  EXPECT_EQ(Form->Plant->Params[1].Const.Count, 0);
  EXPECT_EQ(Form->Plant->Params[1].Stat.MaxCount, 0);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, first.Const.Count);
  EXPECT_EQ(Form->Plant->Params[0].Const.Mass, first.Const.Mass);
  EXPECT_EQ(Form->Plant->Params[2].Const.Mass, third.Const.Mass);
  EXPECT_EQ(Form->Plant->Params[2].Stat.Histogram, third.Stat.Histogram);
  int32_t counted[3] = {0, 0, 0};
  for (int row = 0; row < 45; ++row)
    for (int col = 0; col < 45; ++col)
      if (Form->Plant->Field(row, col).Mass > 0) ++counted[Form->Plant->Field(row, col).Species];
  EXPECT_EQ(counted[0], first.Const.Count);
  EXPECT_EQ(counted[1], 0);
  EXPECT_EQ(counted[2], third.Const.Count);
}

TEST_F(FieldClear, OnlyTheTickCounterResetsStepAndHistoryAndKeepsTheField) {
  Populate();
  ASSERT_GT(HistoryPoints(), 0u);
  const int64_t food = Form->Resource->Params[0].Total;
  const int32_t count = Form->Plant->Params[0].Const.Count;
  ASSERT_TRUE(RunDialog<TFormFieldClear>(Form->ActionFieldClear, [&](TFormFieldClear* d) {
    d->ActionDeselectAll->trigger();
    d->CheckListBox->SetChecked(1, true);
    d->ButtonYes->click();
  }));
  EXPECT_EQ(Form->Step, 0);
  EXPECT_EQ(FormView->StaticTextStep->text(), "0");
  // The history starts again: the refresh after the clear adds the first points, at tick 0.
  for (const TChartSeries& s : FormStatistic->HistorySeries) {
    ASSERT_LE(s.Points.size(), 1u);
    if (!s.Points.empty()) {
      EXPECT_EQ(s.Points[0].x(), 0);
    }
  }
  EXPECT_EQ(Form->Resource->Params[0].Total, food);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, count);

  // "Отмена" and Escape change nothing.
  Populate();
  const int32_t step = Form->Step;
  ASSERT_TRUE(RunDialog<TFormFieldClear>(Form->ActionFieldClear, [](TFormFieldClear* d) { d->ButtonCancel->click(); }));
  ASSERT_TRUE(RunDialog<TFormFieldClear>(Form->ActionFieldClear,
                                         [](TFormFieldClear* d) { QTest::keyClick(d, Qt::Key_Escape); }));
  EXPECT_EQ(Form->Step, step);
  EXPECT_GT(Form->Plant->Params[0].Const.Count, 0);
}

TEST_F(FieldClear, BothCommandsAreShutDuringARun) {
  bool opened = true;
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(Form->ActionFieldClear->isEnabled());
    EXPECT_FALSE(Form->ActionFieldInput->isEnabled());
    Form->ActionFieldClearExecute();  // even called directly, no dialog opens during a run
    Form->ActionFieldInputExecute();
    opened = QApplication::activeModalWidget() != nullptr;
    Form->ActionFieldStopExecute();
  });
  Form->Plant->Place(0, 1, 1);
  Form->ActionFieldStartExecute();
  EXPECT_FALSE(opened);
  EXPECT_TRUE(Form->ActionFieldClear->isEnabled());
  EXPECT_TRUE(Form->ActionFieldInput->isEnabled());
}

// The fill with the settings file in use, in a program folder of its own.
class FieldInput : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(Program.isValid());
    Path = Program.path() + "/";
    qputenv("XDG_CONFIG_HOME", (Program.path() + "/user-config").toUtf8());
    qputenv("XDG_DATA_HOME", (Program.path() + "/user-data").toUtf8());
    {
      TIniFile ini((Path + "omra.ini").toStdString());
      ini.WriteBool("MainForm", "FirstRun", false);
      ini.WriteInteger("Resource", "ResourceCount", 3);
      ini.WriteString("Resource", "Resource.Value0", "Трава");
      ini.WriteString("Resource", "Resource.Value1", "Вода");
      ini.WriteString("Resource", "Resource.Value2", "Соль");
      ini.WriteString("FieldInput", "Вода", "7");
      ASSERT_TRUE(ini.UpdateFile());
    }
    SetProgramFolderOverride(Path);
    SetSettingsFileInUse(true);
    Form = new TMainForm;
    Form->show();
  }
  void TearDown() override {
    delete Form;
    SetSettingsFileInUse(false);
    SetProgramFolderOverride(TestProgramFolder());
  }
  std::string Stored(const std::string& key) const {
    return TIniFile((Path + "omra.ini").toStdString()).ReadString("FieldInput", key, "(none)");
  }
  // Drags the key column's edge of the dialog's grid from its place to `x`.
  static void Drag(TValueListEditor* grid, int x) {
    QWidget* vp = grid->viewport();
    const int y = grid->CellRect(0, 2).center().y();
    const int edge = grid->ColWidths(0);
    auto send = [&](QEvent::Type type, int at, Qt::MouseButton button, Qt::MouseButtons buttons) {
      QMouseEvent e(type, QPointF(at, y), vp->mapToGlobal(QPointF(at, y)), button, buttons, Qt::NoModifier);
      QApplication::sendEvent(vp, &e);
    };
    send(QEvent::MouseButtonPress, edge + 2, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, x, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton);
  }

  QTemporaryDir Program;
  QString Path;
  TMainForm* Form = nullptr;
};

TEST_F(FieldInput, AmountsFillEveryCellAndOnlyAppliedOnesAreRemembered) {
  ASSERT_EQ(Form->Resource->Count, 3);
  QStringList keys, values;
  int current = -1;
  QPoint at;
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput, [&](TFormFieldInput* d) {
    TValueListEditor* grid = d->ValueListEditor;
    EXPECT_EQ(d->windowTitle(), "Заполнить поле");
    at = OuterRect(d).topLeft();
    for (int row = 0; row < grid->RowCount(); ++row) {
      keys << grid->Keys(row);
      values << grid->Values(row);
    }
    current = grid->Row();
    // The first amount is selected: typing replaces it.
    QTest::keyClicks(grid->InplaceEditor(), "12");
    grid->SetValues(4, " +5 ");
    d->ButtonYes->click();
  }));
  EXPECT_EQ(at, BelowWindow(Form));
  EXPECT_EQ(keys, QStringList({"Параметр", "&Ресурсы", "Трава", "Вода", "Соль"}));
  EXPECT_EQ(values, QStringList({"Значение", "", "", "7", ""}));
  EXPECT_EQ(current, 2);
  EXPECT_EQ(Form->Resource->Params[0].Total, 24300);  // 45 x 45 x 12
  EXPECT_EQ(Form->Resource->Params[1].Total, 7 * 2025);
  EXPECT_EQ(Form->Resource->Params[2].Total, 5 * 2025);
  EXPECT_EQ(Stored("Трава"), "12");
  EXPECT_EQ(Stored("Вода"), "7");
  EXPECT_EQ(Stored("Соль"), "+5");  // the text as typed (the file drops the blanks around it)

  // 0, a word and a negative amount fill nothing and keep what was stored.
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput, [&](TFormFieldInput* d) {
    EXPECT_EQ(d->ValueListEditor->Values(2), "12");
    d->ValueListEditor->SetValues(2, "0");
    d->ValueListEditor->SetValues(3, "много");
    d->ValueListEditor->SetValues(4, "-3");
    d->ButtonYes->click();
  }));
  EXPECT_EQ(Form->Resource->Params[0].Total, 24300);
  EXPECT_EQ(Form->Resource->Params[1].Total, 7 * 2025);
  EXPECT_EQ(Form->Resource->Params[2].Total, 5 * 2025);
  EXPECT_EQ(Stored("Трава"), "12");
  EXPECT_EQ(Stored("Вода"), "7");

  // "Отмена" fills nothing and stores no amount.
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput, [&](TFormFieldInput* d) {
    d->ValueListEditor->SetValues(2, "99");
    d->ButtonCancel->click();
  }));
  EXPECT_EQ(Form->Resource->Params[0].Total, 24300);
  EXPECT_EQ(Stored("Трава"), "12");
}

TEST_F(FieldInput, KeyColumnDragsWithinThirtyPixelsAndSurvivesCancel) {
  int narrowest = 0, widest = 0, client = 0, current = 0;
  bool splitting = false;
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput, [&](TFormFieldInput* d) {
    TValueListEditor* grid = d->ValueListEditor;
    EXPECT_EQ(grid->ColWidths(0), TFormFieldInput::DefaultColWidth);
    client = grid->viewport()->width();
    Drag(grid, -40);
    narrowest = grid->ColWidths(0);
    Drag(grid, client + 40);
    widest = grid->ColWidths(0);
    Drag(grid, 120);
    splitting = grid->Splitting();
    // A click on the section row leaves the current cell where it was.
    const QPoint section = grid->CellRect(1, 1).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, section);
    current = grid->Row();
    d->ButtonCancel->click();
  }));
  EXPECT_EQ(narrowest, 30);
  EXPECT_EQ(widest, client - 30);
  EXPECT_FALSE(splitting);
  EXPECT_EQ(current, 2);
  EXPECT_EQ(Stored("ValueListEditor.ColWidth"), "120");

  int reopened = 0;
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput,
                                         [&](TFormFieldInput* d) { reopened = d->ValueListEditor->ColWidths(0); }));
  EXPECT_EQ(reopened, 120);
}

// A hand-edited width, an amount an older version stored under a name with
// "&#" in it (the key as it stands), a name no settings line can carry, and
// a settings file that cannot be written (a pipe): the fill goes on, and the
// failed write names its cause.
TEST_F(FieldInput, HandEditedKeysUnwritableNamesAndAnUnwritableFileAreSafe) {
  const QString file = Path + "omra.ini";
  {
    TIniFile ini(file.toStdString());
    ini.WriteString("FieldInput", "ValueListEditor.ColWidth", "-500");
    ASSERT_TRUE(ini.UpdateFile());
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::Append));
    raw.write(Utf8ToCp1251("Вид&#65;=5\r\n").c_str());  // [FieldInput] is the last section
  }
  Form->Resource->Params[0].Name = "Вид&#65;";
  // A name that a settings line cannot carry is filled but not remembered.
  Form->Resource->Params[2].Name = "[View]";
  auto press = [this] {
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    QTest::keyClick(Form, Qt::Key_I, Qt::ControlModifier);
  };
  int width = 0;
  QString older;
  ASSERT_TRUE(RunDialog<TFormFieldInput>(press, [&](TFormFieldInput* d) {
    width = d->ValueListEditor->ColWidths(0);
    older = d->ValueListEditor->Values(2);
    d->ValueListEditor->SetValues(4, "3");
    d->ButtonYes->click();
  }));
  EXPECT_EQ(width, 30);
  EXPECT_EQ(older, "5");
  EXPECT_EQ(Form->Resource->Params[0].Total, 5 * 2025);
  EXPECT_EQ(Form->Resource->Params[2].Total, 3 * 2025);
  const QString text = [&] {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }();
  EXPECT_FALSE(text.contains("[View]=")) << text.toStdString();
  EXPECT_EQ(Stored("Вода"), "7");
  EXPECT_EQ(Stored("Вид&#65;"), "5");

  // A pipe in the settings file's place: the amounts are filled, and the
  // message says why they were not kept.
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
  QString said;
  QTimer watch;
  WatchMessages(watch, said);
  ASSERT_TRUE(RunDialog<TFormFieldInput>(press, [&](TFormFieldInput* d) {
    d->ValueListEditor->SetValues(3, "2");
    d->ButtonYes->click();
  }));
  watch.stop();
  EXPECT_EQ(Form->Resource->Params[1].Total, (7 + 2) * 2025);  // the first fill, then this one
  EXPECT_TRUE(said.contains("Не удалось сохранить настройки в файл \"" + file + "\". Это не обычный файл."))
      << said.toStdString();
  ASSERT_TRUE(QFile::remove(file));
}

TEST_F(FieldInput, AReadOnlyProgramFolderKeepsAmountsWithEverySettingInTheUsersFile) {
  delete Form;
  Form = nullptr;
  SetFolderWritableProbe([this](const QString& folder) { return !folder.startsWith(Path); });
  QFile program(Path + "omra.ini");
  ASSERT_TRUE(program.open(QIODevice::ReadOnly));
  const QByteArray before = program.readAll();
  program.close();
  Form = new TMainForm;
  const QString user = CurrentSettingsPaths().WriteFile;
  ASSERT_TRUE(CurrentSettingsPaths().PerUser);
  ASSERT_FALSE(QFile::exists(user));
  // A first write that cannot hold the program folder's file whole (no file
  // may grow that far) writes nothing, and says why.
  QString said;
  QTimer watch;
  WatchMessages(watch, said);
  WithFileSizeLimit(before.size() - 1, [&] {
    return RunDialog<TFormFieldInput>(Form->ActionFieldInput, [](TFormFieldInput* d) { d->ButtonYes->click(); });
  });
  EXPECT_TRUE(said.startsWith("Не удалось сохранить настройки в файл \"" + user +
                              "\". Файл больше, чем позволяет система."))
      << said.toStdString();
  EXPECT_EQ(QDir(QFileInfo(user).path()).entryList(QDir::Files | QDir::Hidden).join(", ").toStdString(), "");
  ASSERT_TRUE(RunDialog<TFormFieldInput>(Form->ActionFieldInput, [&](TFormFieldInput* d) {
    EXPECT_EQ(d->ValueListEditor->Values(3), "7");  // read from the program folder's file
    d->ValueListEditor->SetValues(2, "12");
    d->ButtonYes->click();
  }));
  SetFolderWritableProbe({});
  // The user's file begins as a copy of the program folder's, so it holds every setting.
  TIniFile ini(user.toStdString());
  EXPECT_EQ(ini.ReadInteger("Resource", "ResourceCount", -1), 3);
  EXPECT_EQ(ini.ReadString("FieldInput", "Трава", ""), "12");
  EXPECT_EQ(ini.ReadString("FieldInput", "Вода", ""), "7");
  ASSERT_TRUE(program.open(QIODevice::ReadOnly));
  EXPECT_EQ(program.readAll(), before);
}

// A modal dialog that the window manager could maximise or minimise would
// leave the main window blocked behind a screen-sized empty grid, or behind
// nothing at all.
TEST_F(FieldClear, BothDialogsKeepTheirSizeAndComeBackWhenMinimised) {
  Form->show();
  auto press = [this](Qt::Key key) {
    return [this, key] {
      Form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
      QTest::keyClick(Form, key, Qt::ControlModifier);
    };
  };
  auto check = [](QDialog* d, QSize design) {
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
    EXPECT_EQ(d->size(), design);
    EXPECT_FALSE(d->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    d->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->windowState() == Qt::WindowNoState; }, 2000));
    EXPECT_EQ(d->size(), design);
    d->setWindowState(Qt::WindowMinimized);  // as the window manager's minimise button does
    EXPECT_TRUE(QTest::qWaitFor([d] { return d->windowState() == Qt::WindowNoState; }, 2000));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), d);
  };
  EXPECT_TRUE(RunDialog<TFormFieldInput>(press(Qt::Key_I), [&](TFormFieldInput* d) { check(d, QSize(236, 224)); }));
  EXPECT_TRUE(RunDialog<TFormFieldClear>(press(Qt::Key_C), [&](TFormFieldClear* d) { check(d, QSize(236, 246)); }));
}
