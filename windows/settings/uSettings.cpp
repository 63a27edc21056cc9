#include "windows/settings/uSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "files/uDataFile.h"
#include "files/uNames.h"
#include "model/uLimits.h"
#include "platform/FileOpen.h"
#include "platform/IniFile.h"
#include "windows/look/uProc.h"

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

// Where a resource's or species' values are: under the keys this version
// writes for the name as it was stored (`Name`, whatever name the item is
// given now), or, where those are absent, under the keys as an older version
// wrote them, the name as it stands in the file (`Stored`, code page 1251)
// put in front: a name with "&#" in it, which this version's keys carry as "&#38;#".
struct TItemKeys {
  const TIniFile& Ini;
  const std::string& Section;
  std::string Name, Stored;
  int32_t Read(const std::string& suffix, int32_t def) const {
    if (Ini.ValueExists(Section, Name + suffix)) return Ini.ReadInteger(Section, Name + suffix, def);
    return Stored.empty() ? def : Ini.ReadIntegerAtStoredKey(Section, Stored + suffix, def);
  }
};

// The name of a resource or species from its list key, into `name`, and the
// keys that hold its values. The name is brought to what the data file and
// the resource set carry (an older version kept characters they cannot), so
// that the model, these files and the next exit agree; a later duplicate (in
// any letter case) or an empty name is given a name of its own, as the data
// file reader does. An item stored without a name has only the given one.
TItemKeys ReadItemName(const TIniFile& ini, TUniqueNames& names, const std::string& section,
                       const std::string& listKey, const std::string& fallback, std::string& name) {
  const std::string stored = ini.ReadString(section, listKey, "");
  name = names.Add(NameFilesCanCarry(stored), fallback);
  if (stored.empty()) return {ini, section, name, {}};
  return {ini, section, stored, ini.ReadStoredText(section, listKey)};
}

// The longest path the system takes, in bytes of its UTF-8 name. A recent
// file's path, and the menu text made from it, is never longer.
constexpr size_t MaxPathLength = PATH_MAX - 1;

}  // namespace

QString RecentMenuText(const QString& fileName) { return ShortenPath(fileName, 30); }

bool VersionLower(const std::string& version, const std::string& than) { return version < than; }

int ClampMainTop(int stored, int workAreaHeight) { return std::min(workAreaHeight, std::max(0, stored)); }
int ClampMainLeft(int stored, int workAreaWidth) { return std::min(workAreaWidth, std::max(0, stored)); }

QString StartUpFileName(const QString& pathDocument) {
  for (int n = 1;; ++n) {
    const QString name = pathDocument + QStringLiteral("noname%1.zod").arg(n);
    if (!QFileInfo::exists(name)) return name;
  }
}

TSettingsData ReadSettingsData(const TIniFile& ini, const QString& documentPath,
                               const std::string& userName, const TSettingsWindowDefaults& windows) {
  TSettingsData d;
  // 1. The main window.
  d.StoredVersion = ini.ReadString(sMain, "ProgramVersion", "0.6.2");
  d.FirstRun = ini.ReadBool(sMain, "FirstRun", true);
  d.MainTop = ini.ReadInteger(sMain, "Top", 78);
  d.MainLeft = ini.ReadInteger(sMain, "Left", windows.MainLeft);
  d.Snap = ini.ReadBool(sMain, "Snap", true);
  // An entry whose path is longer than a path can be names no file: it is
  // dropped, and the entries after it move up. A menu text that long was
  // made from no path, and one that is empty or only blanks shows as an empty
  // menu line: the entry gets its text from its path again, as a new entry does.
  int recent = 0;
  for (int i = 0; i < 5; ++i) {
    const std::string p = Idx("FileList", i);
    TSettingsRecentFile entry;
    entry.Visible = ini.ReadBool(sMain, p + ".Visible", false);
    entry.ShortFileName = ini.ReadString(sMain, p + ".ShortFileName", "");
    entry.FileName = ini.ReadString(sMain, p + ".FileName", "");
    if (entry.FileName.size() > MaxPathLength) continue;
    if (entry.ShortFileName.size() > MaxPathLength || QString::fromStdString(entry.ShortFileName).trimmed().isEmpty())
      entry.ShortFileName = RecentMenuText(QString::fromStdString(entry.FileName)).toStdString();
    d.FileList[recent++] = std::move(entry);
  }
  // 2. The field view.
  d.View.Top = ReadOptional(ini, sView, "Top");
  d.View.Left = ReadOptional(ini, sView, "Left");
  d.View.Width = ClampSize(ini.ReadInteger(sView, "Width", SettingsViewWidth));
  d.View.Height = ClampSize(ini.ReadInteger(sView, "Height", SettingsViewHeight));
  d.View.Visible = ini.ReadBool(sView, "Visible", true);
  d.View.Dockable = InRangeOr(ini.ReadInteger(sView, "Dockable", 1), 0, 1, 0);
  // 3. The statistics window.
  d.Statistic.Top = ReadOptional(ini, sStat, "Top");
  d.Statistic.Width = ClampSize(ini.ReadInteger(sStat, "Width", windows.StatWidth));
  d.Statistic.Left = ReadOptional(ini, sStat, "Left");
  d.Statistic.Height = ClampSize(ini.ReadInteger(sStat, "Height", 363));
  d.StatColWidthsMain = ClampColWidth(
      ini.ReadInteger(sStat, "ColWidthsMain", ini.ReadInteger(sStat, "ColWidths", windows.StatColWidthsMain)));
  d.StatColWidthsCell = ClampColWidth(
      ini.ReadInteger(sStat, "ColWidthsCell", ini.ReadInteger(sStat, "ColWidths", windows.StatColWidthsCell)));
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
  d.PathDocument = ini.ReadString(sMain, "PathDocument", documentPath.toStdString());
  d.PathSaveShot = ini.ReadString(sMain, "PathSaveShot", documentPath.toStdString());
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
  d.UserName = NameFilesCanCarry(ini.ReadString(sViewOpt, "UserName", userName));  // as the data file carries it
  d.StoredUserName = ini.ReadString(sViewOpt, "UserName", d.UserName);  // none stored: the name in force
  d.AutoComment = ini.ReadBool(sViewOpt, "AutoComment", true);
  // 10. Resources.
  d.ResourceCount = ini.ReadInteger(sResource, "ResourceCount", -1);
  if (d.ResourceCount < -1) d.ResourceCount = -1;  // no store has a negative count: taken as absent
  d.ResourceCount = std::min(d.ResourceCount, MaxItemCount);
  if (d.ResourceCount < 0) d.FirstRun = true;
  TUniqueNames resourceNames, plantNames;
  // A stored item without keys equals the default item but for its name.
  const TSettingsResource defaultResource = DefaultSettingsResource();
  const TPlantParameter defaultPlant = DefaultSettingsPlant();
  for (int i = 0; i < d.ResourceCount; ++i) {
    TSettingsResource r;
    const TItemKeys keys = ReadItemName(ini, resourceNames, sResource, Idx("Resource.Value", i),
                                        DefaultResourceName(i), r.Name);
    r.BrushValue = std::max(1, keys.Read(".Resource", defaultResource.BrushValue));
    r.Slur = Clamp(keys.Read(".Slur", defaultResource.Slur), 0, 100);
    r.Color = keys.Read(".Color", defaultResource.Color);
    d.Resources.push_back(r);
  }
  // 11. Species.
  d.PlantCount = ini.ReadInteger(sPlant, "PlantCount", -1);
  if (d.PlantCount < -1) d.PlantCount = -1;
  d.PlantCount = std::min(d.PlantCount, MaxItemCount);
  const int resources = d.ResourceCount < 0 ? 1 : d.ResourceCount;
  for (int i = 0; i < d.PlantCount; ++i) {
    TPlantParameter p;
    const TItemKeys n =
        ReadItemName(ini, plantNames, sPlant, Idx("Plant.Value", i), DefaultPlantName(i), p.Const.Name);
    const TParameterConst& c = defaultPlant.Const;
    const TGenome& g = defaultPlant.Param;
    p.Const.Color = n.Read(".Color", c.Color);
    p.Const.ColorMutant = n.Read(".ColorMutant", c.ColorMutant);
    p.Param.ResourceBegin() = n.Read(".ResourceBegin", g.ResourceBegin());
    p.Param.ResourceEat() = n.Read(".ResourceEat", g.ResourceEat());
    p.Param.AgeReproduct() = n.Read(".AgeReproduct", g.AgeReproduct());
    p.Param.AgeMax() = n.Read(".AgeMax", g.AgeMax());
    p.Param.ChildrenCount() = n.Read(".ChildrenCount", g.ChildrenCount());
    p.Param.Mutation() = n.Read(".Mutation", g.Mutation());
    // Both indexes default to the older single key, itself the default item's.
    const int32_t index = n.Read(".ResourceIndex", g.ResourceIn());
    p.Param.ResourceIn() = n.Read(".ResourceIn", index);
    p.Param.ResourceOut() = n.Read(".ResourceOut", index);
    // The ranges every reader keeps: the record reads back as a data file or
    // a resource set would give it.
    KeepGenomeInRange(p.Param, resources);
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
  // The name as it was stored, until the author line holds another one.
  const bool storedInForce = NameFilesCanCarry(d.StoredUserName) == d.UserName;
  ini.WriteString(sViewOpt, "UserName", storedInForce ? d.StoredUserName : d.UserName);
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
// The paths in use (none until first asked for, or until start-up works them out).
TSettingsPaths& PathsRef() {
  static TSettingsPaths paths;
  return paths;
}
bool& InUseRef() {
  static bool inUse = false;
  return inUse;
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
// Makes `folder` and the folders above it that are missing. 0 when it is
// there; otherwise the system's error number of the step that failed (EACCES
// in a home folder the user may not write).
int MakeFolder(const QString& folder) {
  const QString path = QDir::cleanPath(folder);
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::stat(name.constData(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  if (errno != ENOENT) return errno;
  const QString parent = QFileInfo(path).path();
  if (parent != path)
    if (const int error = MakeFolder(parent)) return error;
  if (::mkdir(name.constData(), 0777) == 0) return 0;
  const int error = errno;
  return error == EEXIST && QFileInfo(path).isDir() ? 0 : error;
}
}  // namespace

QString SettingsWriteFailureText(const QString& file, int writeError) {
  // The user's folder that start-up could not make is still not there: why
  // it could not be made is the cause.
  const TSettingsPaths& paths = PathsRef();
  if (file == paths.WriteFile && paths.WriteFolderError != 0 && (writeError == ENOENT || writeError == ENOTDIR))
    writeError = paths.WriteFolderError;
  const int readError = SettingsFileReadError(file);
  const QString cause = readError != 0 ? QStringLiteral("Этот файл не удалось прочитать, и он оставлен как есть. ") +
                                             QString::fromStdString(ReadFailureCause(readError))
                                       : QString::fromStdString(WriteFailureCause(writeError));
  return QStringLiteral("Не удалось сохранить настройки в файл \"%1\". %2").arg(file, cause);
}

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

int SettingsFileReadError(const QString& file) {
  if (file.isEmpty() || !QFileInfo(file).isFile()) return 0;
  errno = 0;
  const int fd = OpenRegularFile(file.toStdString());
  if (fd >= 0) {
    ::close(fd);
    return 0;
  }
  return errno != 0 ? errno : EIO;
}

TSettingsPaths ResolveSettingsPaths(const QString& programPath) {
  TSettingsPaths p;
  p.ProgramPath = WithSlash(programPath);
  const QString programIni = p.ProgramPath + QStringLiteral("omra.ini");
  const QString files = p.ProgramPath + QStringLiteral("Files/");
  // A settings file there that may not be written stays the settings file:
  // it is what the user keeps there, and the exit says why it is not updated.
  if (FolderWritable(p.ProgramPath)) {
    p.ReadFile = p.WriteFile = programIni;
    p.DocumentPath = p.ProgramPath;
  } else {
    p.PerUser = true;
    p.DocumentPath = WithSlash(GetUserHomeFolder());
    const QString config =
        UserFolder(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME", QStringLiteral(".config/")) +
        QStringLiteral("ZeltorOmra/");
    p.WriteFolderError = MakeFolder(config);
    p.WriteFile = config + QStringLiteral("omra.ini");
    // Until the user's own file exists, the program folder's file (if any) is the start.
    p.ReadFile = QFileInfo::exists(p.WriteFile) ? p.WriteFile : programIni;
  }
  // A file that cannot be read is left as it is: nothing is read from it, and
  // nothing written over it (another file takes the settings only where the
  // program had chosen one).
  if (const int error = SettingsFileReadError(p.ReadFile)) {
    p.Unreadable = p.ReadFile;
    p.UnreadableError = error;
    p.ReadFile.clear();
    if (p.WriteFile == p.Unreadable) p.WriteFile.clear();
  }
  if (FolderWritable(files)) {
    p.PagesPath = files;
  } else {
    p.PagesPath = UserFolder(QStandardPaths::GenericDataLocation, "XDG_DATA_HOME", QStringLiteral(".local/share/")) +
                  QStringLiteral("ZeltorOmra/Files/");
    p.PagesFolderError = MakeFolder(p.PagesPath);
  }
  return p;
}

QString SettingsReadFailureText(const TSettingsPaths& paths) {
  if (paths.Unreadable.isEmpty()) return {};
  QString text = QStringLiteral("Файл настроек \"%1\" не удалось прочитать. %2 ")
                     .arg(paths.Unreadable, QString::fromStdString(ReadFailureCause(paths.UnreadableError)));
  text += QStringLiteral("Программа начинает работу с настройками по умолчанию и оставляет этот файл как есть");
  if (paths.WriteFile.isEmpty())
    text += QStringLiteral(": настройки этого сеанса сохранены не будут.");
  else
    text += QStringLiteral("; настройки этого сеанса будут сохранены в файле \"%1\".").arg(paths.WriteFile);
  return text;
}

void SetProgramFolderOverride(const QString& folder) {
  ProgramFolderOverrideRef() = folder;
  PathsRef() = TSettingsPaths();  // worked out from the folder before: worked out again when next used
}

const TSettingsPaths& CurrentSettingsPaths() {
  if (PathsRef().ProgramPath.isEmpty()) PathsRef() = ResolveSettingsPaths(ProgramFolder());
  return PathsRef();
}

const TSettingsPaths& ResolveCurrentSettingsPaths(const QString& programPath) {
  PathsRef() = ResolveSettingsPaths(programPath);
  return PathsRef();
}

QString WindowSettingsFile() {
  if (!SettingsFileInUse()) return {};
  return CurrentSettingsPaths().WriteFile;
}

QString WindowSettingsStart() {
  if (!SettingsFileInUse()) return {};
  const TSettingsPaths& paths = CurrentSettingsPaths();
  return paths.ReadFile == paths.WriteFile ? QString() : paths.ReadFile;
}

bool SettingsFileInUse() { return InUseRef(); }
void SetSettingsFileInUse(bool inUse) { InUseRef() = inUse; }
