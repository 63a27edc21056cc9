// The main window's start-up from the settings file and its exit through it:
// the windows placed and filled, the model built, and at exit every value
// gathered from the windows and written back.
#include "windows/main/mainSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <ctime>
#include <memory>
#include <new>
#include <stdexcept>

#include "controls/ToolEdit.h"
#include "files/uDataFile.h"
#include "platform/IniFile.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/pages/fHelp.h"
#include "windows/pages/fSplash.h"
#include "windows/parameter/fParameter.h"
#include "windows/place/uPlace.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

namespace {
// The tool windows' visibility as it was when the main window was asked to
// close: closing hides them before the main window is destroyed, and the
// settings keep what the user had on screen.
struct TExitVisibility {
  bool Taken = false;
  bool View = false, Statistic = false, Parameter = false;
};
TExitVisibility& ExitVisibility() {
  static TExitVisibility v;
  return v;
}

class TCloseWatch : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      TExitVisibility& v = ExitVisibility();
      v.Taken = true;
      v.View = FormView && FormView->isVisible();
      v.Statistic = FormStatistic && FormStatistic->isVisible();
      v.Parameter = FormParameter && FormParameter->isVisible();
    }
    return QObject::eventFilter(watched, event);
  }
};

void RaiseSplash() {
  if (FormSplash) FormSplash->raise();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The main window's client size, always.
constexpr QSize kMainClientSize(442, 57);

// A stored first-column width no wider than the window leaves room for the values.
int FirstColumnWithin(int width, const QWidget* window) {
  return std::min(width, std::max(SettingsMinColWidth, window->width() - SettingsMinColWidth));
}
}  // namespace

TSettingsWindowDefaults StartUpWindowDefaults() {
  TSettingsWindowDefaults w;
  if (!FormStatistic || !MainForm) return w;
  const int fitMain = FormStatistic->FirstColumnFit(FormStatistic->StringGridMain);
  const int fitCell = FormStatistic->FirstColumnFit(FormStatistic->StringGridCell);
  // The values keep the room they have beside first columns of the fixed width.
  const int grow = std::max(0, std::max(fitMain, fitCell) - std::max(w.StatColWidthsMain, w.StatColWidthsCell));
  // The statistics window so much wider and the main window so much further
  // right, only where the parameter editor still stands beside them on the
  // work area: the statistics window from the work area's left edge (or left
  // of the main window's default place), the main window (and the field view
  // below it, a little wider) right of it and the editor right of that.
  // Elsewhere the labels that do not fit are shortened.
  if (grow > 0) {
    const int statOuter = ExpectedOuterSize(FormStatistic, QSize(w.StatWidth + grow, 0)).width();
    int middleOuter = ExpectedOuterSize(MainForm, kMainClientSize).width();
    if (FormView)  // at the width a settings file without the key gives it
      middleOuter = std::max(middleOuter, ExpectedOuterSize(FormView, QSize(SettingsViewWidth, 0)).width());
    const int paramOuter = FormParameter ? ExpectedOuterSize(FormParameter, FormParameter->size()).width() : 0;
    if (std::max(statOuter, w.MainLeft + grow) + middleOuter + paramOuter > WorkArea(MainForm).width()) return w;
  }
  w.StatColWidthsMain = fitMain;
  w.StatColWidthsCell = fitCell;
  w.StatWidth += grow;
  w.MainLeft += grow;
  return w;
}

void PlaceStartUpWindows(TMainForm& f, const TSettingsData& d) {
  const bool old = VersionLower(d.StoredVersion, "0.6.3");

  // The main window: its corner kept within the work area (and the window
  // partly on it), its size fixed. Every place below is that of the outer
  // window; those computed from another window's outer size are computed
  // again once the window system tells the frames.
  f.setFixedSize(kMainClientSize);
  // The rules below keep only the values they need: some run long after start-up.
  PlaceWindow(&f, [&f, left = d.MainLeft, top = d.MainTop, old] {
    const QRect work = WorkArea(&f);
    const QPoint corner(ClampMainLeft(left, work.width()), ClampMainTop(top, work.height()));
    QRect outer = FitToWorkArea(QRect(corner, OuterRect(&f).size()), work);
    if (old && outer.left() < 230) outer.moveLeft(230);
    MoveOuter(&f, outer.topLeft());
  });

  // The field view, just below the main window unless it was placed elsewhere.
  if (FormView) {
    PlaceInWorkArea(
        FormView,
        [&f, place = d.View] {
          const QPoint below = BelowWindow(&f);
          return QPoint(place.Left.value_or(below.x()), place.Top.value_or(below.y()));
        },
        QSize(d.View.Width, d.View.Height));
    FormView->setVisible(d.View.Visible);
    f.ActionViewField->setChecked(FormView->isVisible());
    FormView->Dockable = static_cast<unsigned char>(d.View.Dockable);
    RaiseSplash();
  }
  // The statistics window, left of the main window unless placed elsewhere.
  if (FormStatistic) {
    int width = d.Statistic.Width;
    if (old && width < 222) width = 222;
    PlaceInWorkArea(
        FormStatistic,
        [&f, place = d.Statistic] {
          const QRect main = OuterRect(&f);
          return QPoint(place.Left.value_or(main.left() - OuterRect(FormStatistic).width()),
                        place.Top.value_or(main.top()));
        },
        QSize(width, d.Statistic.Height));
    FormStatistic->StringGridMain->setColumnWidth(0, FirstColumnWithin(d.StatColWidthsMain, FormStatistic));
    FormStatistic->StringGridCell->setColumnWidth(0, FirstColumnWithin(d.StatColWidthsCell, FormStatistic));
    FormStatistic->setVisible(d.Statistic.Visible);
    f.ActionViewStatistic->setChecked(FormStatistic->isVisible());
    FormStatistic->Dockable = static_cast<unsigned char>(d.Statistic.Dockable);
    FormStatistic->PageControl->setCurrentIndex(d.Statistic.PageIndex);
    FormStatistic->FormResize();
    RaiseSplash();
  }
  // The parameter window, right of the main window (and of the field view
  // where it stands below it: it is a little wider, and its title bar stays
  // clear) or against the work area's right edge (shown or not only once the
  // model is built).
  if (FormParameter) {
    PlaceInWorkArea(
        FormParameter,
        [&f, place = d.Parameter] {
          const QRect main = OuterRect(&f);
          int beside = main.left() + main.width();
          if (FormView && OuterRect(FormView).topLeft() == BelowWindow(&f))
            beside = std::max(beside, main.left() + OuterRect(FormView).width());
          const int right = WorkArea(&f).width() - OuterRect(FormParameter).width();
          return QPoint(place.Left.value_or(std::min(beside, right)), place.Top.value_or(main.top()));
        },
        FormParameter->size());
    if (d.ParamColWidth)
      FormParameter->ValueListEditorPlant->SetColWidths(0, FirstColumnWithin(*d.ParamColWidth, FormParameter));
    FormParameter->Dockable = static_cast<unsigned char>(d.Parameter.Dockable);
    FormParameter->PageControl->setCurrentIndex(d.Parameter.PageIndex);
    RaiseSplash();
  }
}

namespace {

// Both stores for the items on a field of rows x cols, or nothing when they do
// not fit in memory.
bool BuildStores(const std::vector<TSettingsResource>& resources, const std::vector<TPlantParameter>& plants,
                 int rows, int cols, std::unique_ptr<TResourceObject>& resource,
                 std::unique_ptr<TPlantObject>& plant) {
  try {
    auto r = std::make_unique<TResourceObject>(static_cast<int32_t>(resources.size()), rows, cols);
    for (size_t i = 0; i < resources.size(); ++i)
      r->SetParameter(static_cast<int32_t>(i), resources[i].Name, resources[i].BrushValue, resources[i].Slur,
                      resources[i].Color);
    auto p = std::make_unique<TPlantObject>(static_cast<int32_t>(plants.size()), rows, cols);
    for (size_t i = 0; i < plants.size(); ++i) p->SetParameter(static_cast<int32_t>(i), plants[i]);
    resource = std::move(r);
    plant = std::move(p);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return false;
}

// Statistics for the model just built, on the history and distribution
// selections the settings give.
void ShowStatisticsOfNewModel(const TSettingsData& d) {
  if (!FormStatistic) return;
  FormStatistic->RebuildLayout();
  FormStatistic->ComboBoxHistory->setCurrentIndex(d.HistoryIndex);
  FormStatistic->ComboBoxStat->setCurrentIndex(d.StatIndex);
  FormStatistic->ComboBoxHistoryChange();
  FormStatistic->ComboBoxStatChange();
  FormStatistic->UpdateStatistics();
  FormStatistic->ShowCell(0, 0);
}

// The items the settings give: those stored, or the default resource and
// species where the file holds no count.
std::vector<TSettingsResource> SettingsResources(const TSettingsData& d) {
  return d.ResourceCount < 0 ? std::vector<TSettingsResource>{DefaultSettingsResource()} : d.Resources;
}
std::vector<TPlantParameter> SettingsPlants(const TSettingsData& d) {
  return d.PlantCount < 0 ? std::vector<TPlantParameter>{DefaultSettingsPlant()} : d.Plants;
}

// Puts the model of the stored items into the main window: on the stored
// field when it fits in memory, else on the largest field of halved sides
// that does, else the default items on the smallest field. Returns the
// message that says what was given up (empty when nothing was); `rows`,
// `cols` and the items then say what was built.
QString BuildFittingStores(TMainForm& f, std::vector<TSettingsResource>& resources,
                           std::vector<TPlantParameter>& plants, int& rows, int& cols) {
  const int wantRows = rows, wantCols = cols;
  std::unique_ptr<TResourceObject> resource;
  std::unique_ptr<TPlantObject> plant;
  bool built = BuildStores(resources, plants, rows, cols, resource, plant);
  while (!built && (rows > SettingsMinRows || cols > SettingsMinCols)) {
    rows = std::max(SettingsMinRows, rows / 2);
    cols = std::max(SettingsMinCols, cols / 2);
    built = BuildStores(resources, plants, rows, cols, resource, plant);
  }
  QString note;
  if (built && (rows != wantRows || cols != wantCols)) {
    note = QStringLiteral("Для поля %1 x %2 (ресурсов: %3, организмов: %4) не хватает памяти. "
                          "Поле уменьшено до %5 x %6.")
               .arg(wantCols).arg(wantRows).arg(resources.size()).arg(plants.size()).arg(cols).arg(rows);
  } else if (!built) {
    note = QStringLiteral("Для ресурсов (%1) и организмов (%2) из настроек не хватает памяти. "
                          "Взяты ресурс и организм по умолчанию.")
               .arg(resources.size()).arg(plants.size());
    const TSettingsData none;
    resources = SettingsResources(none);
    plants = SettingsPlants(none);
    if (!BuildStores(resources, plants, rows, cols, resource, plant)) throw std::bad_alloc();
  }
  f.ReplaceModel(std::move(resource), std::move(plant));
  return note;
}

void StartUpSequence(TMainForm& f) {
  const TSettingsPaths& paths = ResolveCurrentSettingsPaths(f.ProgramPath);
  ExitVisibility() = TExitVisibility();
  f.installEventFilter(new TCloseWatch(&f));
  f.TemplatePage = QStringLiteral("index.htm");
  f.Comment.clear();
  TSettingsData d;
  {
    const TIniFile ini(paths.ReadFile.toStdString());
    d = ReadSettingsData(ini, paths.DocumentPath, GetCurrentUserName().toStdString(), StartUpWindowDefaults());
  }
  PlaceStartUpWindows(f, d);
  f.ActionViewDock->setChecked(d.Snap);
  for (int i = 0; i < 5; ++i) {
    f.FileList[i].Visible = d.FileList[i].Visible;
    f.FileList[i].ShortFileName = Q(d.FileList[i].ShortFileName);
    f.FileList[i].FileName = Q(d.FileList[i].FileName);
  }
  f.UpdateRecentMenu();
  f.Created = DateTimeText(std::time(nullptr));

  f.PathDocument = Q(d.PathDocument);
  f.PathSaveShot = Q(d.PathSaveShot);
  const QString startName = StartUpFileName(f.PathDocument);
  f.FileName = startName;

  // The field, the brush, colours and options.
  if (FormParameter) {
    FormParameter->UpDownC->setValue(d.FieldC);
    FormParameter->UpDownR->setValue(d.FieldR);
    FormParameter->UpDownCellSize->setValue(d.CellSize);
    FormParameter->EditCellSizeChange();
  } else if (FormView) {
    FormView->SetCellSize(d.CellSize);
  }
  // The reader keeps the stored number to one of the three tools.
  f.Brush = f.SavedBrush = static_cast<TBrushTool>(d.Brush);
  if (FormView) {
    FormView->SetToolButtons(f.Brush);
    FormView->UpdateGridMenu();
  }
  if (FormParameter) {
    FormParameter->ComboEditField->setText(TFormParameter::ColorToName(d.FieldColor));
    FormParameter->CheckBoxAutoBrush->setChecked(d.AutoBrush);
    FormParameter->CheckBoxOnlyPlant->setChecked(d.OnlyPlant);
    FormParameter->CheckBoxAutoStop->setChecked(d.AutoStop);
    FormParameter->ComboEditStatistic->setText(TFormParameter::ColorToName(d.StatColor));
    FormParameter->EditRefresh->setText(Q(d.RefreshText));
  }
  f.Refresh = d.Refresh;
  f.UserName = Q(d.UserName);
  f.StoredUserName = d.StoredUserName;
  f.Author = d.UserName;
  if (FormParameter) {
    FormParameter->EditUserName->setText(f.UserName);
    FormParameter->CheckBoxComment->setChecked(d.AutoComment);
  }

  // The stores, built for the size the editor's controls hold, or for the
  // largest smaller field that fits in memory (the model in force is replaced
  // only once both stores are built).
  int rows = FormParameter ? FormParameter->UpDownR->value() : d.FieldR;
  int cols = FormParameter ? FormParameter->UpDownC->value() : d.FieldC;
  std::vector<TSettingsResource> resources = SettingsResources(d);
  std::vector<TPlantParameter> plants = SettingsPlants(d);
  f.FirstRun = d.FirstRun;

  const QString memoryNote = BuildFittingStores(f, resources, plants, rows, cols);
  if (!memoryNote.isEmpty() && FormParameter) FormParameter->SetFieldSize(rows, cols);
  if (FormParameter) {
    FormParameter->ListBoxResource->clear();
    for (const TSettingsResource& r : resources) FormParameter->ListBoxResource->addItem(Q(r.Name));
  }
  // The colours go through their names, as the editor shows them.
  const TColor fieldColor =
      FormParameter ? TFormParameter::NameToColor(FormParameter->ComboEditField->text()) : d.FieldColor;
  const TColor statColor =
      FormParameter ? TFormParameter::NameToColor(FormParameter->ComboEditStatistic->text()) : d.StatColor;
  f.Resource->EmptyColor = fieldColor;
  if (FormStatistic) FormStatistic->SetStatisticColor(statColor);

  if (FormParameter) {
    FormParameter->ListBoxPlant->clear();
    for (const TPlantParameter& p : plants) FormParameter->ListBoxPlant->addItem(Q(p.Const.Name));
  }
  f.Plant->EmptyColor = fieldColor;
  if (FormView && FormParameter) {
    FormView->FillBrushMenu(FormView->PopupMenuResource, FormParameter->ListBoxResource, TBrushTool::Resource);
    FormView->FillBrushMenu(FormView->PopupMenuPlant, FormParameter->ListBoxPlant, TBrushTool::Plant);
  }
  // The sub-brushes are taken once the lists are complete (the editor lowers an
  // index above its list while the list fills); the statistics layout below
  // lowers one at or above its item count.
  f.SubBrushResource = d.SubBrushResource;
  f.SubBrushPlant = d.SubBrushPlant;
  if (FormParameter) {
    if (FormParameter->ListBoxResource->count() > 0) FormParameter->ListBoxResource->setCurrentRow(0);
    FormParameter->ListBoxResourceClick();
    if (FormParameter->ListBoxPlant->count() > 0) FormParameter->ListBoxPlant->setCurrentRow(0);
    FormParameter->ListBoxPlantClick();
    FormParameter->setVisible(d.Parameter.Visible);
    f.ActionViewParameter->setChecked(FormParameter->isVisible());
    RaiseSplash();
  }
  if (FormParameter) FormParameter->EditCChange();
  else if (FormView) FormView->UpdateFieldSize();

  ShowStatisticsOfNewModel(d);
  if (FormView) FormView->SetBrushMenuItem();
  f.ActionFieldStop->setEnabled(false);
  if (FormParameter) {
    FormParameter->ToolButtonResourceDel->setEnabled(f.Resource->Count > 0);
    FormParameter->ToolButtonPlantDel->setEnabled(f.Plant->Count > 0);
  }
  f.ToolButtonStart->setVisible(true);
  f.ToolButtonStop->setVisible(false);
  // What start-up could not do as the settings say, in one message.
  QStringList notes;
  for (const QString& note : {SettingsReadFailureText(paths), memoryNote})
    if (!note.isEmpty()) notes << note;
  if (!notes.isEmpty()) f.ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), notes);

  // The first data: the sample on a first start (under the unnamed start-up
  // name, so that Save asks for a name; what a sample that can't be read
  // leaves stands as for a new file), otherwise a new empty one.
  if (f.FirstRun) {
    f.Step = 0;
    f.FileDataVersion = DataFileVersion;
    f.ShowFileCaption(startName);
    if (FormView) {
      FormView->StaticTextStep->setText(QStringLiteral("0"));
      f.ShowViewCaption();
    }
    f.LoadDataFile(f.ProgramPath + QStringLiteral("fight_mutation.zod"), true);
    f.FileName = startName;
    if (FormStatistic) FormStatistic->UpdateView();
  } else {
    f.ActionFileNewExecute();
  }
}

}  // namespace

void StartUpFromSettings(TMainForm& f) {
  // A failure ends the sequence where it happened and is reported on the error
  // page; the program goes on with whatever model there is, or the default one.
  try {
    StartUpSequence(f);
  } catch (const std::exception& e) {
    f.ApplicationException(QString::fromUtf8(e.what()));
  } catch (...) {
    f.ApplicationException(QStringLiteral("Неизвестная ошибка."));
  }
  if (!f.Resource || !f.Plant) f.BuildDefaultModel();
}

void TMainForm::BuildDefaultModel() {
  const TSettingsData none;  // what a settings file without any key gives
  const std::vector<TSettingsResource> resources = SettingsResources(none);
  const std::vector<TPlantParameter> plants = SettingsPlants(none);
  std::unique_ptr<TResourceObject> resource;
  std::unique_ptr<TPlantObject> plant;
  if (!BuildStores(resources, plants, none.FieldR, none.FieldC, resource, plant)) throw std::bad_alloc();
  resource->EmptyColor = none.FieldColor;
  plant->EmptyColor = none.FieldColor;
  ReplaceModel(std::move(resource), std::move(plant));
  Step = 0;
  Refresh = none.Refresh;
  Brush = SavedBrush = static_cast<TBrushTool>(none.Brush);
  SubBrushResource = none.SubBrushResource;
  SubBrushPlant = none.SubBrushPlant;
  FirstRun = none.FirstRun;

  Created = DateTimeText(std::time(nullptr));
  FileDataVersion = DataFileVersion;
  Comment.clear();
  FileName = StartUpFileName(PathDocument);
  ShowFileCaption(FileName);

  if (FormParameter) {
    FormParameter->UpDownC->setValue(none.FieldC);
    FormParameter->UpDownR->setValue(none.FieldR);
    FormParameter->UpDownCellSize->setValue(none.CellSize);
    FormParameter->EditRefresh->setText(Q(none.RefreshText));
    FormParameter->ListBoxResource->clear();
    for (const TSettingsResource& r : resources) FormParameter->ListBoxResource->addItem(Q(r.Name));
    FormParameter->ListBoxPlant->clear();
    for (const TPlantParameter& p : plants) FormParameter->ListBoxPlant->addItem(Q(p.Const.Name));
    FormParameter->ListBoxResource->setCurrentRow(0);
    FormParameter->ListBoxPlant->setCurrentRow(0);
  }
  if (FormView) {
    FormView->SetCellSize(none.CellSize);
    FormView->UpdateFieldSize();
    FormView->FillBrushMenu();
    FormView->SetToolButtons(Brush);
    FormView->UpdateGridMenu();
    FormView->StaticTextStep->setText(QStringLiteral("0"));
    ShowViewCaption();
  }
  if (FormStatistic) FormStatistic->SetStatisticColor(none.StatColor);
  ShowStatisticsOfNewModel(none);
  ActionFieldStop->setEnabled(false);
  ToolButtonStart->setVisible(true);
  ToolButtonStop->setVisible(false);
}

void TMainForm::PlaceDefaultWindows() {
  // The places of a settings file that holds nothing.
  const TIniFile none(std::string{});
  TSettingsData d = ReadSettingsData(none, ProgramPath, UserName.toStdString(), StartUpWindowDefaults());
  d.StoredVersion = ProgramVersion.toStdString();
  PlaceStartUpWindows(*this, d);
  if (FormParameter) {
    FormParameter->setVisible(false);
    ActionViewParameter->setChecked(false);
  }
}

namespace {

bool WriteExitSettingsBody(TMainForm& f) {
  // The file the windows write their own keys in: a file of the user's own
  // begins as the one read at start, so that the keys the exit does not write
  // (the fill amounts, the page windows' places) are kept.
  const QString target = WindowSettingsFile();
  if (target.isEmpty()) {
    // The settings file could not be read at start (and start-up said so): it
    // stays as it is, and this run's settings are not kept.
    FreeHtmlWindows({});
    return false;
  }
  // Places computed before the window manager told a frame that it has told
  // by now are computed again first: what is stored is where they belong.
  SettlePlaces();
  TSettingsData d;
  d.StoredVersion = ProgramVersion.toStdString();
  const QRect outer = OuterRect(&f);
  d.MainTop = outer.top();
  d.MainLeft = outer.left();
  d.MainWidth = f.width();
  d.MainHeight = f.height();
  d.Snap = f.ActionViewDock->isChecked();
  for (int i = 0; i < 5; ++i)
    d.FileList[i] = {f.FileList[i].Visible, f.FileList[i].ShortFileName.toStdString(),
                     f.FileList[i].FileName.toStdString()};
  auto place = [](QWidget* w, TSettingsPlace& p) {
    const QRect g = OuterRect(w);
    p.Top = g.top();
    p.Left = g.left();
    p.Width = w->width();
    p.Height = w->height();
    p.Visible = w->isVisible();
  };
  if (FormView) {
    place(FormView, d.View);
    d.View.Dockable = FormView->Dockable;
  }
  if (FormStatistic) {
    place(FormStatistic, d.Statistic);
    d.StatColWidthsMain = FormStatistic->StringGridMain->columnWidth(0);
    d.StatColWidthsCell = FormStatistic->StringGridCell->columnWidth(0);
    d.Statistic.Dockable = FormStatistic->Dockable;
    d.Statistic.PageIndex = FormStatistic->PageControl->currentIndex();
    d.HistoryIndex = FormStatistic->ComboBoxHistory->currentIndex();
    d.StatIndex = FormStatistic->ComboBoxStat->currentIndex();
    d.StatColor = FormStatistic->StatisticColor();
  }
  if (FormParameter) {
    place(FormParameter, d.Parameter);
    d.ParamHeight = FormParameter->height();
    d.Parameter.PageIndex = FormParameter->PageControl->currentIndex();
    d.Parameter.Dockable = FormParameter->Dockable;
    d.ParamColWidth = FormParameter->ValueListEditorPlant->ColWidths(0);
    d.FieldC = FormParameter->UpDownC->value();
    d.FieldR = FormParameter->UpDownR->value();
    d.CellSize = FormParameter->UpDownCellSize->value();
    d.AutoBrush = FormParameter->CheckBoxAutoBrush->isChecked();
    d.OnlyPlant = FormParameter->CheckBoxOnlyPlant->isChecked();
    d.AutoStop = FormParameter->CheckBoxAutoStop->isChecked();
    d.AutoComment = FormParameter->CheckBoxComment->isChecked();
  }
  if (ExitVisibility().Taken) {
    d.View.Visible = ExitVisibility().View;
    d.Statistic.Visible = ExitVisibility().Statistic;
    d.Parameter.Visible = ExitVisibility().Parameter;
  }
  d.PathDocument = f.PathDocument.toStdString();
  d.PathSaveShot = f.PathSaveShot.toStdString();
  d.Brush = static_cast<int>(f.Brush);
  d.SubBrushResource = f.SubBrushResource;
  d.SubBrushPlant = f.SubBrushPlant;
  if (FormParameter) d.FieldColor = TFormParameter::NameToColor(FormParameter->ComboEditField->text());
  else if (f.Resource) d.FieldColor = f.Resource->EmptyColor;
  d.Refresh = f.Refresh;
  d.UserName = f.UserName.toStdString();
  d.StoredUserName = f.StoredUserName;
  if (f.Resource)
    for (int32_t i = 0; i < f.Resource->Count; ++i) {
      const auto& p = f.Resource->Params[i];
      d.Resources.push_back({p.Name, p.BrushValue, p.Slur, p.Color});
    }
  if (f.Plant)
    for (int32_t i = 0; i < f.Plant->Count; ++i) d.Plants.push_back(f.Plant->Params[i]);

  bool ok = false;
  {
    TIniFile ini(target.toStdString(), WindowSettingsStart().toStdString());
    WriteSettingsData(ini, d, [](TIniFile& file) {
      FreeHtmlWindows([&file](const QString& section, const QString& key, int value) {
        file.WriteInteger(section.toStdString(), key.toStdString(), value);
      });
    });
    ok = ini.UpdateFile();
    if (!ok) {
      // Reported, with its cause, not dropped; the old file is whole. One that
      // can no longer be read is not written over.
      QMessageBox::warning(nullptr, QStringLiteral("Ошибка"), SettingsWriteFailureText(target, ini.Error()));
    }
  }
  return ok;
}

}  // namespace

bool WriteExitSettings(TMainForm& f) {
  // The exit runs inside the main window's destruction: nothing may escape it.
  try {
    return WriteExitSettingsBody(f);
  } catch (const std::exception& e) {
    QMessageBox::warning(nullptr, QStringLiteral("Ошибка"),
                         QStringLiteral("Не удалось сохранить настройки: %1").arg(QString::fromUtf8(e.what())));
  } catch (...) {
    QMessageBox::warning(nullptr, QStringLiteral("Ошибка"), QStringLiteral("Не удалось сохранить настройки."));
  }
  return false;
}
