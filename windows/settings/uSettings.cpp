#include "windows/settings/uSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <climits>
#include <memory>
#include <new>
#include <stdexcept>

#include "files/uNames.h"
#include "model/uLimits.h"
#include "platform/IniFile.h"
#include "windows/look/uProc.h"
#include "platform/SafeFile.h"

namespace {

// Section names.
const std::string sMain = "MainForm", sView = "FormView", sStat = "FormStatistic",
                  sParam = "FormParameter", sField = "Field", sViewOpt = "View",
                  sStatOpt = "Statistic", sResource = "Resource", sPlant = "Plant";

// An integer key that may be absent (or unreadable): then no value.
std::optional<int> ReadOptional(const TIniFile& ini, const std::string& section, const std::string& key) {
  if (!ini.ValueExists(section, key)) return std::nullopt;
  const int32_t a = ini.ReadInteger(section, key, INT32_MIN);
  const int32_t b = ini.ReadInteger(section, key, INT32_MAX);
  if (a != b) return std::nullopt;  // not a number: both defaults came back
  return a;
}

int Clamp(int v, int lo, int hi) { return std::min(hi, std::max(lo, v)); }
// A value outside its range is taken as `def`.
int InRangeOr(int v, int lo, int hi, int def) { return v < lo || v > hi ? def : v; }
// Window sizes: the work area brings them down further once it is known.
int ClampSize(int v) { return Clamp(v, 0, SettingsMaxWindowSize); }
// First-column widths: as the column drag allows at least, the window's width
// brings them down further.
int ClampColWidth(int v) { return Clamp(v, SettingsMinColWidth, SettingsMaxWindowSize); }

// A whole decimal number (with an optional sign) or nothing.
std::optional<int> ParseInt(const std::string& text) {
  bool ok = false;
  const int v = QString::fromStdString(text).trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return v;
}

std::string Idx(const char* prefix, int i) { return prefix + std::to_string(i); }

}  // namespace

TSettingsResource DefaultSettingsResource() {
  TSettingsResource r;
  r.Name = "Ресурс Yellow";
  return r;
}

TPlantParameter DefaultSettingsPlant() {
  return NewPlantParameter("Организм Lime", TGenome(1, 1, 5, 10, 3, 10, 0, 0), clLime, clRed);
}

bool VersionLower(const std::string& version, const std::string& than) { return version < than; }

int ClampMainTop(int stored, int workAreaHeight) { return std::min(workAreaHeight, std::max(0, stored)); }
int ClampMainLeft(int stored, int workAreaWidth) { return std::min(workAreaWidth, std::max(0, stored)); }

QString StartUpFileName(const QString& pathDocument) {
  for (int n = 1;; ++n) {
    const QString name = pathDocument + QStringLiteral("noname%1.zod").arg(n);
    if (!QFileInfo::exists(name)) return name;
  }
}

TSettingsData ReadSettingsData(const TIniFile& ini, const QString& programPath,
                               const std::string& userName) {
  TSettingsData d;
  // 1. The main window.
  d.StoredVersion = ini.ReadString(sMain, "ProgramVersion", "0.6.2");
  d.FirstRun = ini.ReadBool(sMain, "FirstRun", true);
  d.MainTop = ini.ReadInteger(sMain, "Top", 78);
  d.MainLeft = ini.ReadInteger(sMain, "Left", 230);
  d.Snap = ini.ReadBool(sMain, "Snap", true);
  for (int i = 0; i < 5; ++i) {
    const std::string p = Idx("FileList", i);
    d.FileList[i].Visible = ini.ReadBool(sMain, p + ".Visible", false);
    d.FileList[i].ShortFileName = ini.ReadString(sMain, p + ".ShortFileName", "");
    d.FileList[i].FileName = ini.ReadString(sMain, p + ".FileName", "");
  }
  // 2. The field view.
  d.View.Top = ReadOptional(ini, sView, "Top");
  d.View.Left = ReadOptional(ini, sView, "Left");
  d.View.Width = ClampSize(ini.ReadInteger(sView, "Width", 453));
  d.View.Height = ClampSize(ini.ReadInteger(sView, "Height", 475));
  d.View.Visible = ini.ReadBool(sView, "Visible", true);
  d.View.Dockable = InRangeOr(ini.ReadInteger(sView, "Dockable", 1), 0, 1, 0);
  // 3. The statistics window.
  d.Statistic.Top = ReadOptional(ini, sStat, "Top");
  d.Statistic.Width = ClampSize(ini.ReadInteger(sStat, "Width", 222));
  d.Statistic.Left = ReadOptional(ini, sStat, "Left");
  d.Statistic.Height = ClampSize(ini.ReadInteger(sStat, "Height", 363));
  d.StatColWidthsMain = ClampColWidth(ini.ReadInteger(sStat, "ColWidthsMain", ini.ReadInteger(sStat, "ColWidths", 120)));
  d.StatColWidthsCell = ClampColWidth(ini.ReadInteger(sStat, "ColWidthsCell", ini.ReadInteger(sStat, "ColWidths", 120)));
  d.Statistic.Visible = ini.ReadBool(sStat, "Visible", true);
  d.Statistic.Dockable = InRangeOr(ini.ReadInteger(sStat, "Dockable", 2), 0, 4, 0);
  d.Statistic.PageIndex = Clamp(ini.ReadInteger(sStat, "PageIndex", 1), 0, 3);
  // 4. The parameter window.
  d.Parameter.Top = ReadOptional(ini, sParam, "Top");
  d.Parameter.Left = ReadOptional(ini, sParam, "Left");
  d.ParamColWidth = ReadOptional(ini, sParam, "ValueListEditorPlant.Width");
  if (d.ParamColWidth) d.ParamColWidth = ClampColWidth(*d.ParamColWidth);
  d.Parameter.Dockable = InRangeOr(ini.ReadInteger(sParam, "Dockable", 3), 0, 4, 0);
  d.Parameter.PageIndex = Clamp(ini.ReadInteger(sParam, "PageIndex", 0), 0, 2);
  // 5. Folders.
  d.PathDocument = ini.ReadString(sMain, "PathDocument", programPath.toStdString());
  d.PathSaveShot = ini.ReadString(sMain, "PathSaveShot", programPath.toStdString());
  // 6. The field: sizes brought into the editor's ranges.
  d.FieldC = Clamp(ini.ReadInteger(sField, "FieldC", 45), SettingsMinCols, SettingsMaxCols);
  d.FieldR = Clamp(ini.ReadInteger(sField, "FieldR", 45), SettingsMinRows, SettingsMaxRows);
  d.CellSize = Clamp(ini.ReadInteger(sField, "CellSize", 9), SettingsMinCellSize, SettingsMaxCellSize);
  d.Brush = InRangeOr(ini.ReadInteger(sField, "Brush", 0), 0, 2, 0);
  d.SubBrushResource = std::max(0, ini.ReadInteger(sField, "SubBrushResource", 0));
  d.SubBrushPlant = std::max(0, ini.ReadInteger(sField, "SubBrushPlant", 0));
  // 7-9. Colours and options.
  d.FieldColor = ini.ReadInteger(sViewOpt, "Color", clFieldDefault);
  d.AutoBrush = ini.ReadBool(sViewOpt, "AutoBrush", true);
  d.OnlyPlant = ini.ReadBool(sViewOpt, "OnlyPlant", true);
  d.AutoStop = ini.ReadBool(sViewOpt, "AutoStop", true);
  d.StatColor = ini.ReadInteger(sStatOpt, "Color", clFieldDefault);
  d.RefreshText = ini.ReadString(sStatOpt, "Refresh", "10");
  const std::optional<int> refresh = ParseInt(d.RefreshText);
  d.Refresh = refresh ? *refresh : 10;
  if (refresh && *refresh < 1) {
    // Never written by the program; a period below 1 cannot drive the statistics.
    d.Refresh = 10;
    d.RefreshText = "10";
  }
  d.UserName = ini.ReadString(sViewOpt, "UserName", userName);
  d.AutoComment = ini.ReadBool(sViewOpt, "AutoComment", true);
  // 10. Resources.
  d.ResourceCount = ini.ReadInteger(sResource, "ResourceCount", -1);
  if (d.ResourceCount < -1) d.ResourceCount = -1;  // no store has a negative count: taken as absent
  d.ResourceCount = std::min(d.ResourceCount, MaxItemCount);
  if (d.ResourceCount < 0) d.FirstRun = true;
  // Names are keys of their values: a later duplicate (in any letter case) or
  // an empty name is given a name of its own, as the data file reader does.
  TUniqueNames resourceNames, plantNames;
  for (int i = 0; i < d.ResourceCount; ++i) {
    TSettingsResource r;
    r.Name = resourceNames.Add(ini.ReadString(sResource, Idx("Resource.Value", i), DefaultResourceName(i)),
                               DefaultResourceName(i));
    r.BrushValue = std::max(1, ini.ReadInteger(sResource, r.Name + ".Resource", 25));
    r.Slur = Clamp(ini.ReadInteger(sResource, r.Name + ".Slur", 70), 0, 100);
    r.Color = ini.ReadInteger(sResource, r.Name + ".Color", clYellow);
    d.Resources.push_back(r);
  }
  // 11. Species.
  d.PlantCount = ini.ReadInteger(sPlant, "PlantCount", -1);
  if (d.PlantCount < -1) d.PlantCount = -1;
  d.PlantCount = std::min(d.PlantCount, MaxItemCount);
  const int resources = d.ResourceCount < 0 ? 1 : d.ResourceCount;
  for (int i = 0; i < d.PlantCount; ++i) {
    TPlantParameter p;
    p.Const.Name =
        plantNames.Add(ini.ReadString(sPlant, Idx("Plant.Value", i), DefaultPlantName(i)), DefaultPlantName(i));
    const std::string& n = p.Const.Name;
    p.Const.Color = ini.ReadInteger(sPlant, n + ".Color", clLime);
    p.Const.ColorMutant = ini.ReadInteger(sPlant, n + ".ColorMutant", clRed);
    p.Param.ResourceBegin() = ini.ReadInteger(sPlant, n + ".ResourceBegin", 1);
    p.Param.ResourceEat() = ini.ReadInteger(sPlant, n + ".ResourceEat", 1);
    p.Param.AgeReproduct() = ini.ReadInteger(sPlant, n + ".AgeReproduct", 5);
    p.Param.AgeMax() = ini.ReadInteger(sPlant, n + ".AgeMax", 10);
    p.Param.ChildrenCount() = ini.ReadInteger(sPlant, n + ".ChildrenCount", 3);
    p.Param.Mutation() = ini.ReadInteger(sPlant, n + ".Mutation", 10);
    p.Param.ResourceIn() = ini.ReadInteger(sPlant, n + ".ResourceIn", ini.ReadInteger(sPlant, n + ".ResourceIndex", 0));
    p.Param.ResourceOut() = ini.ReadInteger(sPlant, n + ".ResourceOut", ini.ReadInteger(sPlant, n + ".ResourceIndex", 0));
    // The ranges every reader keeps: the record reads back as a data file or
    // a resource set would give it.
    KeepSpeciesInRange(p, resources);
    d.Plants.push_back(p);
  }
  // 12-13.
  d.Parameter.Visible = ini.ReadBool(sParam, "Visible", false);
  d.HistoryIndex = Clamp(ini.ReadInteger(sStat, "HistoryIndex", 0), 0, 7);
  d.StatIndex = Clamp(ini.ReadInteger(sStat, "StatIndex", 0), 0, 7);
  return d;
}

void WriteSettingsData(TIniFile& ini, const TSettingsData& d,
                       const std::function<void(TIniFile&)>& writeHtmlPlaces) {
  ini.WriteString(sMain, "ProgramVersion", d.StoredVersion);
  ini.WriteBool(sMain, "FirstRun", false);
  ini.WriteInteger(sMain, "Top", d.MainTop);
  ini.WriteInteger(sMain, "Left", d.MainLeft);
  ini.WriteInteger(sMain, "Width", d.MainWidth);
  ini.WriteInteger(sMain, "Height", d.MainHeight);
  ini.WriteBool(sMain, "Snap", d.Snap);
  for (int i = 0; i < 5; ++i) {
    const std::string p = Idx("FileList", i);
    ini.WriteBool(sMain, p + ".Visible", d.FileList[i].Visible);
    ini.WriteString(sMain, p + ".ShortFileName", d.FileList[i].ShortFileName);
    ini.WriteString(sMain, p + ".FileName", d.FileList[i].FileName);
  }
  auto place = [&](const std::string& s, const TSettingsPlace& pl) {
    ini.WriteInteger(s, "Top", pl.Top.value_or(0));
    ini.WriteInteger(s, "Left", pl.Left.value_or(0));
  };
  place(sView, d.View);
  ini.WriteInteger(sView, "Width", d.View.Width);
  ini.WriteInteger(sView, "Height", d.View.Height);
  ini.WriteBool(sView, "Visible", d.View.Visible);
  ini.WriteInteger(sView, "Dockable", d.View.Dockable);

  place(sStat, d.Statistic);
  ini.WriteInteger(sStat, "Width", d.Statistic.Width);
  ini.WriteInteger(sStat, "Height", d.Statistic.Height);
  ini.WriteInteger(sStat, "ColWidthsMain", d.StatColWidthsMain);
  ini.WriteInteger(sStat, "ColWidthsCell", d.StatColWidthsCell);
  ini.WriteBool(sStat, "Visible", d.Statistic.Visible);
  ini.WriteInteger(sStat, "Dockable", d.Statistic.Dockable);
  ini.WriteInteger(sStat, "PageIndex", d.Statistic.PageIndex);
  ini.WriteInteger(sStat, "HistoryIndex", d.HistoryIndex);
  ini.WriteInteger(sStat, "StatIndex", d.StatIndex);

  place(sParam, d.Parameter);
  ini.WriteInteger(sParam, "ValueListEditorPlant.Width", d.ParamColWidth.value_or(0));
  ini.WriteInteger(sParam, "Height", d.ParamHeight);
  ini.WriteBool(sParam, "Visible", d.Parameter.Visible);
  ini.WriteInteger(sParam, "Dockable", d.Parameter.Dockable);
  ini.WriteInteger(sParam, "PageIndex", d.Parameter.PageIndex);

  if (writeHtmlPlaces) writeHtmlPlaces(ini);

  ini.WriteString(sMain, "PathDocument", d.PathDocument);
  ini.WriteString(sMain, "PathSaveShot", d.PathSaveShot);
  ini.WriteInteger(sField, "FieldC", d.FieldC);
  ini.WriteInteger(sField, "FieldR", d.FieldR);
  ini.WriteInteger(sField, "CellSize", d.CellSize);
  ini.WriteInteger(sField, "Brush", d.Brush);
  ini.WriteInteger(sField, "SubBrushResource", d.SubBrushResource);
  ini.WriteInteger(sField, "SubBrushPlant", d.SubBrushPlant);
  ini.WriteInteger(sViewOpt, "Color", d.FieldColor);
  ini.WriteBool(sViewOpt, "AutoBrush", d.AutoBrush);
  ini.WriteBool(sViewOpt, "OnlyPlant", d.OnlyPlant);
  ini.WriteBool(sViewOpt, "AutoStop", d.AutoStop);
  ini.WriteInteger(sStatOpt, "Color", d.StatColor);
  ini.WriteInteger(sStatOpt, "Refresh", d.Refresh);  // the period in force, not the text typed
  ini.WriteString(sViewOpt, "UserName", d.UserName);
  ini.WriteBool(sViewOpt, "AutoComment", d.AutoComment);

  ini.WriteInteger(sResource, "ResourceCount", static_cast<int>(d.Resources.size()));
  for (size_t i = 0; i < d.Resources.size(); ++i) {
    const TSettingsResource& r = d.Resources[i];
    ini.WriteExactString(sResource, Idx("Resource.Value", static_cast<int>(i)), r.Name);
    ini.WriteInteger(sResource, r.Name + ".Resource", r.BrushValue);
    ini.WriteInteger(sResource, r.Name + ".Slur", r.Slur);
    ini.WriteInteger(sResource, r.Name + ".Color", r.Color);
  }
  ini.WriteInteger(sPlant, "PlantCount", static_cast<int>(d.Plants.size()));
  for (size_t i = 0; i < d.Plants.size(); ++i) {
    const TPlantParameter& p = d.Plants[i];
    const std::string& n = p.Const.Name;
    ini.WriteExactString(sPlant, Idx("Plant.Value", static_cast<int>(i)), n);
    ini.WriteInteger(sPlant, n + ".Color", p.Const.Color);
    ini.WriteInteger(sPlant, n + ".ColorMutant", p.Const.ColorMutant);
    ini.WriteInteger(sPlant, n + ".ResourceBegin", p.Param.ResourceBegin());
    ini.WriteInteger(sPlant, n + ".ResourceEat", p.Param.ResourceEat());
    ini.WriteInteger(sPlant, n + ".AgeReproduct", p.Param.AgeReproduct());
    ini.WriteInteger(sPlant, n + ".AgeMax", p.Param.AgeMax());
    ini.WriteInteger(sPlant, n + ".ChildrenCount", p.Param.ChildrenCount());
    ini.WriteInteger(sPlant, n + ".Mutation", p.Param.Mutation());
    ini.WriteInteger(sPlant, n + ".ResourceIn", p.Param.ResourceIn());
    ini.WriteInteger(sPlant, n + ".ResourceOut", p.Param.ResourceOut());
  }
}

// ---------------------------------------------------------------------------

namespace {
QString& ProgramFolderOverrideRef() {
  static QString folder;
  return folder;
}
std::function<bool(const QString&)>& WritableProbe() {
  static std::function<bool(const QString&)> probe;
  return probe;
}
QString WithSlash(QString path) {
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  return path;
}
// A per-user folder: $<xdgVariable> when set, else `homeSub` in the user's home
// (also when HOME is not set: the account's home folder then).
QString UserFolder(QStandardPaths::StandardLocation location, const char* xdgVariable, const QString& homeSub) {
  if (!qEnvironmentVariableIsEmpty("HOME") || !qEnvironmentVariableIsEmpty(xdgVariable))
    return WithSlash(QStandardPaths::writableLocation(location));
  return WithSlash(GetUserHomeFolder()) + homeSub;
}
}  // namespace

QString ProgramFolder() {
  const QString& o = ProgramFolderOverrideRef();
  return WithSlash(o.isEmpty() ? QCoreApplication::applicationDirPath() : o);
}

bool FolderWritable(const QString& folder) {
  if (WritableProbe()) return WritableProbe()(folder);
  if (!QFileInfo(folder).isDir()) return false;
  QTemporaryFile probe(WithSlash(folder) + QStringLiteral(".zo_write_test_XXXXXX"));
  return probe.open();
}

void SetFolderWritableProbe(std::function<bool(const QString&)> probe) { WritableProbe() = std::move(probe); }

TSettingsPaths ResolveSettingsPaths(const QString& programPath) {
  TSettingsPaths p;
  p.ProgramPath = WithSlash(programPath);
  const QString programIni = p.ProgramPath + QStringLiteral("omra.ini");
  const QString files = p.ProgramPath + QStringLiteral("Files/");
  const bool programWritable = FolderWritable(p.ProgramPath) &&
                               (!QFileInfo::exists(programIni) || QFileInfo(programIni).isWritable());
  if (programWritable) {
    p.ReadFile = p.WriteFile = programIni;
  } else {
    p.PerUser = true;
    const QString config =
        UserFolder(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME", QStringLiteral(".config/")) +
        QStringLiteral("ZeltorOmra/");
    QDir().mkpath(config);
    p.WriteFile = config + QStringLiteral("omra.ini");
    // Until the user's own file exists, the program folder's file (if any) is the start.
    p.ReadFile = QFileInfo::exists(p.WriteFile) ? p.WriteFile : programIni;
  }
  if (FolderWritable(files)) {
    p.PagesPath = files;
  } else {
    p.PagesPath = UserFolder(QStandardPaths::GenericDataLocation, "XDG_DATA_HOME", QStringLiteral(".local/share/")) +
                  QStringLiteral("ZeltorOmra/Files/");
    QDir().mkpath(p.PagesPath);
  }
  return p;
}

// ---------------------------------------------------------------------------
// Start-up and exit of the main window.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "files/uDataFile.h"
#include "windows/pages/fHelp.h"
#include "windows/parameter/fParameter.h"
#include "windows/pages/fSplash.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"
#include "windows/place/uPlace.h"
#include "windows/main/main.h"
#include "controls/ToolEdit.h"
#include "windows/look/ValueListEditor.h"

namespace {

TSettingsPaths& PathsRef() {
  static TSettingsPaths paths;
  return paths;
}

}  // namespace

void SetProgramFolderOverride(const QString& folder) {
  ProgramFolderOverrideRef() = folder;
  PathsRef() = TSettingsPaths();  // worked out from the folder before: worked out again when next used
}

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

bool& InUseRef() {
  static bool inUse = false;
  return inUse;
}

void RaiseSplash() {
  if (FormSplash) FormSplash->raise();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

const TSettingsPaths& CurrentSettingsPaths() {
  if (PathsRef().ProgramPath.isEmpty()) PathsRef() = ResolveSettingsPaths(ProgramFolder());
  return PathsRef();
}

QString WindowSettingsFile() {
  if (!SettingsFileInUse()) return {};
  const TSettingsPaths& paths = CurrentSettingsPaths();
  if (paths.ReadFile.isEmpty() || paths.ReadFile == paths.WriteFile || QFileInfo::exists(paths.WriteFile) ||
      !QFileInfo::exists(paths.ReadFile))
    return paths.WriteFile;
  QFile in(paths.ReadFile);
  if (in.open(QIODevice::ReadOnly)) {
    const QByteArray text = in.readAll();
    TSafeFileWriter out(paths.WriteFile.toStdString());
    if (out.Ok() && in.error() == QFileDevice::NoError) {
      out.Write(text.constData(), static_cast<size_t>(text.size()));
      out.Commit();
    }
  }
  return paths.WriteFile;
}

bool SettingsFileInUse() { return InUseRef(); }
void SetSettingsFileInUse(bool inUse) { InUseRef() = inUse; }

namespace {
// A stored first-column width no wider than the window leaves room for the values.
int FirstColumnWithin(int width, const QWidget* window) {
  return std::min(width, std::max(SettingsMinColWidth, window->width() - SettingsMinColWidth));
}
}  // namespace

void PlaceStartUpWindows(TMainForm& f, const TSettingsData& d) {
  const bool old = VersionLower(d.StoredVersion, "0.6.3");

  // The main window: its corner kept within the work area (and the window
  // partly on it), its size fixed. Every place below is that of the outer
  // window; those computed from another window's outer size are computed
  // again once the window system tells the frames.
  f.setFixedSize(442, 57);
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
  // The parameter window, right of the main window or against the work
  // area's right edge (shown or not only once the model is built).
  if (FormParameter) {
    PlaceInWorkArea(
        FormParameter,
        [&f, place = d.Parameter] {
          const QRect main = OuterRect(&f);
          const int right = WorkArea(&f).width() - OuterRect(FormParameter).width();
          return QPoint(place.Left.value_or(std::min(main.left() + main.width(), right)),
                        place.Top.value_or(main.top()));
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
    resources = {DefaultSettingsResource()};
    plants = {DefaultSettingsPlant()};
    if (!BuildStores(resources, plants, rows, cols, resource, plant)) throw std::bad_alloc();
  }
  f.ReplaceModel(std::move(resource), std::move(plant));
  return note;
}

void StartUpSequence(TMainForm& f) {
  PathsRef() = ResolveSettingsPaths(f.ProgramPath);
  ExitVisibility() = TExitVisibility();
  f.installEventFilter(new TCloseWatch(&f));
  const TSettingsPaths& paths = PathsRef();
  f.TemplatePage = QStringLiteral("index.htm");
  f.Comment.clear();
  TSettingsData d;
  {
    const TIniFile ini(paths.ReadFile.toStdString());
    d = ReadSettingsData(ini, f.ProgramPath, GetCurrentUserName().toStdString());
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
  f.Brush = f.SavedBrush = d.Brush;
  if (FormView) {
    FormView->SetToolButtons(d.Brush >= 0 && d.Brush <= 2 ? d.Brush : -1);
    FormView->DrawGridField->PopupMenu = (d.Brush == 1 || d.Brush == 2) ? nullptr : FormView->PopupMenu;
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
  std::vector<TSettingsResource> resources = d.Resources;
  if (d.ResourceCount < 0) resources = {DefaultSettingsResource()};
  std::vector<TPlantParameter> plants = d.Plants;
  if (d.PlantCount < 0) plants = {DefaultSettingsPlant()};
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
    FormView->FillBrushMenu(FormView->PopupMenuResource, FormParameter->ListBoxResource, 1);
    FormView->FillBrushMenu(FormView->PopupMenuPlant, FormParameter->ListBoxPlant, 2);
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

  // Statistics for the model just built.
  if (FormStatistic) {
    FormStatistic->RebuildLayout();
    FormStatistic->ComboBoxHistory->setCurrentIndex(d.HistoryIndex);
    FormStatistic->ComboBoxStat->setCurrentIndex(d.StatIndex);
    FormStatistic->ComboBoxHistoryChange();
    FormStatistic->ComboBoxStatChange();
    FormStatistic->UpdateStatistics();
    FormStatistic->ShowCell(0, 0);
  }
  if (FormView) FormView->SetBrushMenuItem();
  f.ActionFieldStop->setEnabled(false);
  if (FormParameter) {
    FormParameter->ToolButtonResourceDel->setEnabled(f.Resource->Count > 0);
    FormParameter->ToolButtonPlantDel->setEnabled(f.Plant->Count > 0);
  }
  f.ToolButtonStart->setVisible(true);
  f.ToolButtonStop->setVisible(false);
  if (!memoryNote.isEmpty()) f.ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), {memoryNote});

  // The first data: the sample on a first start (under the unnamed start-up
  // name, so that Save asks for a name; what a sample that can't be read
  // leaves stands as for a new file), otherwise a new empty one.
  if (f.FirstRun) {
    f.Step = 0;
    f.FileDataVersion = DataFileVersion;
    f.setWindowTitle(ProgramTitle + QStringLiteral(" - ") + Q(ShortFileName(startName.toStdString())));
    if (FormView) {
      FormView->StaticTextStep->setText(QStringLiteral("0"));
      FormView->setWindowTitle(Q(ViewCaption(f.Document())));
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

namespace {

bool WriteExitSettingsBody(TMainForm& f) {
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
  d.Brush = f.Brush;
  d.SubBrushResource = f.SubBrushResource;
  d.SubBrushPlant = f.SubBrushPlant;
  if (FormParameter) d.FieldColor = TFormParameter::NameToColor(FormParameter->ComboEditField->text());
  else if (f.Resource) d.FieldColor = f.Resource->EmptyColor;
  d.Refresh = f.Refresh;
  d.UserName = f.UserName.toStdString();
  if (f.Resource)
    for (int32_t i = 0; i < f.Resource->Count; ++i) {
      const auto& p = f.Resource->Params[i];
      d.Resources.push_back({p.Name, p.BrushValue, p.Slur, p.Color});
    }
  if (f.Plant)
    for (int32_t i = 0; i < f.Plant->Count; ++i) d.Plants.push_back(f.Plant->Params[i]);

  const QString target = PathsRef().WriteFile.isEmpty() ? CurrentSettingsPaths().WriteFile : PathsRef().WriteFile;
  bool ok = false;
  {
    TIniFile ini(target.toStdString());
    WriteSettingsData(ini, d, [](TIniFile& file) {
      FreeHtmlWindows([&file](const QString& section, const QString& key, int value) {
        file.WriteInteger(section.toStdString(), key.toStdString(), value);
      });
    });
    ok = ini.UpdateFile();
    if (!ok) {
      // Reported, not dropped; the old file is whole. The writes are given up
      // here so that the file object does not try once more on its way out.
      QMessageBox::warning(nullptr, QStringLiteral("Ошибка"),
                           QStringLiteral("Не удалось сохранить настройки в файл \"%1\".").arg(target));
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
