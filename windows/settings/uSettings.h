#pragma once
// windows/settings: the settings file "omra.ini", its values and where it
// lives, below the windows that read and write it.
//
// Every value the program keeps across runs, read once while the main window
// is created and written once at exit. The values pass through TSettingsData:
// ReadSettingsData takes them from the file (defaults for what is absent,
// hand-edited values brought into range), the main window's start-up
// (windows/main/mainSettings) builds the windows and the model from them, and
// at exit gathers them from the windows for WriteSettingsData to put back in
// the file's order.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/uColor.h"
#include "model/uPlant.h"
#include "windows/program/uProgram.h"

class TIniFile;

// One of the five recent files.
struct TSettingsRecentFile {
  bool Visible = false;
  std::string ShortFileName;
  std::string FileName;
};

// The menu text a recent file gets from its path.
QString RecentMenuText(const QString& fileName);

// The place of a tool window; an absent position means "work it out from the
// main window" (the defaults depend on where the main window stands).
struct TSettingsPlace {
  std::optional<int> Top, Left;
  int Width = 0, Height = 0;  // client size
  bool Visible = false;
  int Dockable = 0;
  int PageIndex = 0;
};

struct TSettingsData {
  // "MainForm"
  std::string StoredVersion = "0.6.2";
  bool FirstRun = true;
  int MainTop = 78, MainLeft = 230;  // as stored (not yet clamped)
  int MainWidth = 442, MainHeight = 57;  // only written
  bool Snap = true;
  std::array<TSettingsRecentFile, 5> FileList;
  std::string PathDocument, PathSaveShot;
  // "FormView", "FormStatistic", "FormParameter"
  TSettingsPlace View, Statistic, Parameter;
  int StatColWidthsMain = 120, StatColWidthsCell = 120;
  int HistoryIndex = 0, StatIndex = 0;
  std::optional<int> ParamColWidth;  // absent: the column keeps its width
  int ParamHeight = 0;               // only written
  // "Field"
  int FieldC = 45, FieldR = 45, CellSize = 9;
  int Brush = 0, SubBrushResource = 0, SubBrushPlant = 0;
  // "View", "Statistic"
  TColor FieldColor = clFieldDefault;
  bool AutoBrush = true, OnlyPlant = true, AutoStop = true;
  TColor StatColor = clFieldDefault;
  std::string RefreshText = "10";
  int Refresh = 10;
  // The author as the data file carries it (in force, shown in the author
  // line), and as the settings file holds it: the stored name is written back
  // while the name in force is still its code page form.
  std::string UserName, StoredUserName;
  bool AutoComment = true;
  // "Resource", "Plant": a count of -1 means absent
  int ResourceCount = -1;
  std::vector<TSettingsResource> Resources;
  int PlantCount = -1;
  std::vector<TPlantParameter> Plants;
};

// Ranges the editor allows; stored values outside them are brought in.
constexpr int SettingsMinCols = 10, SettingsMaxCols = 1000;
constexpr int SettingsMinRows = 5, SettingsMaxRows = 1000;
constexpr int SettingsMinCellSize = 3, SettingsMaxCellSize = 1000;
// The field view's client size where the file holds none.
constexpr int SettingsViewWidth = 453, SettingsViewHeight = 475;
// Window sizes and first-column widths taken from the file.
constexpr int SettingsMaxWindowSize = 32767;
constexpr int SettingsMinColWidth = 30;

// The defaults that depend on the fonts, for keys the file does not hold: the
// statistics window's first columns as wide as their labels, the window as
// much wider, and the main window as much further right, just beside it.
struct TSettingsWindowDefaults {
  int StatWidth = 222;
  int StatColWidthsMain = 120, StatColWidthsCell = 120;
  int MainLeft = 230;
};

// Reads every key the main window owns. `documentPath` is the default of the two
// folders, `userName` the default author.
TSettingsData ReadSettingsData(const TIniFile& ini, const QString& documentPath,
                               const std::string& userName, const TSettingsWindowDefaults& windows = {});

// Writes every key in the file's order. `writeHtmlPlaces` is called between the
// parameter window's keys and the folders (the HTML windows' sections).
void WriteSettingsData(TIniFile& ini, const TSettingsData& data,
                       const std::function<void(TIniFile&)>& writeHtmlPlaces = {});

// What is said when the settings could not be written into `file`: the file
// and why. `writeError` is the error number of the failed write
// (TIniFile::Error); a file that can no longer be read was left as it is,
// and that is the cause given. A write that failed for want of the user's
// folder that start-up could not make gives why that could not be made.
QString SettingsWriteFailureText(const QString& file, int writeError);

// Version strings compare character by character ("0.6.10" < "0.6.3").
bool VersionLower(const std::string& version, const std::string& than);

// The main window's stored corner kept inside the work area (its size not subtracted).
int ClampMainTop(int stored, int workAreaHeight);
int ClampMainLeft(int stored, int workAreaWidth);

// The first PathDocument + "noname<N>.zod" that does not exist.
QString StartUpFileName(const QString& pathDocument);

// ---------------------------------------------------------------------------
// Where the settings live.

struct TSettingsPaths {
  QString ProgramPath;   // the program's folder, ends in "/"
  QString ReadFile;      // the settings file read at start (empty: none, every default)
  QString WriteFile;     // the settings file written at exit (empty: none is written)
  QString PagesPath;     // where generated pages are written, ends in "/"
  // Where data files and pictures go while the settings name no folder, ends
  // in "/": the program's folder, or the user's home folder when the program's
  // folder cannot be written.
  QString DocumentPath;
  bool PerUser = false;  // the program's folder cannot be written
  // The settings file that is there but could not be read, and the system's
  // error number (errno) of that failure; empty and 0 when there is none.
  // Neither read nor written: the program starts with the defaults and
  // leaves that file as it is, so what it holds comes back once it can be read.
  QString Unreadable;
  int UnreadableError = 0;
  // Why the folder of WriteFile, and PagesPath, could not be made where
  // start-up makes them (the system's error number: a home folder the user
  // may not write); 0 when they are there.
  int WriteFolderError = 0, PagesFolderError = 0;
};

// The program's folder: the executable's, unless a test set another one.
QString ProgramFolder();
void SetProgramFolderOverride(const QString& folder);  // empty: the executable's again

// True when a file can be created in `folder` (tried for real, since the
// permission bits do not tell for every user and file system).
bool FolderWritable(const QString& folder);
// Tests can replace the probe.
void SetFolderWritableProbe(std::function<bool(const QString&)> probe);

// With a writable program folder: "omra.ini" and the page folder there, also
// when "omra.ini" itself may not be written (it is read and left as it is; the
// exit says why it could not take the settings). Without one: the user's
// configuration folder ($XDG_CONFIG_HOME/ZeltorOmra/omra.ini, read from the
// program folder's file until it exists), the user's data folder for
// generated pages ($XDG_DATA_HOME/ZeltorOmra/Files/) and the user's home
// folder for data files and pictures. A settings
// file that would be read but cannot be (no permission to read it) is
// `Unreadable`: it is then neither the file read nor the file written.
TSettingsPaths ResolveSettingsPaths(const QString& programPath);

// The system's error number when `file` is a file that is there but cannot
// be read; 0 when it can be, or when there is none. What is no file (a
// folder, a pipe, a link to nothing) reads as none: the exit then says why it
// cannot take the settings.
int SettingsFileReadError(const QString& file);

// What start-up says of a settings file it could not read: the file, why,
// and that the program starts with the default settings and leaves the file
// as it is (and where this run's settings go, when another file takes them).
// Empty when every settings file could be read.
QString SettingsReadFailureText(const TSettingsPaths& paths);

// ---------------------------------------------------------------------------
// The settings in use between start-up and exit.

// The paths the main window found at start-up (resolved for the program folder
// when asked before).
const TSettingsPaths& CurrentSettingsPaths();
// Works the paths out for the main window's folder at start-up and keeps them
// as the paths in use.
const TSettingsPaths& ResolveCurrentSettingsPaths(const QString& programPath);

// The settings file that a window reads and writes its own keys in between
// start-up and exit, and that the exit writes. Empty when the settings file
// is not in use, or when no file is written (the one there could not be read).
QString WindowSettingsFile();
// The file that one begins from while it is not there yet (the TIniFile's
// `startFrom`): the one start-up read, when that is another one. The first
// write then puts that file's text whole in the new one with its own keys on
// top, so that the file holds every setting whichever writes it first (the
// keys the exit does not write among them), or writes nothing. Empty when
// there is none.
QString WindowSettingsStart();

// Whether the main window reads the settings at creation and writes them at
// exit. The program turns it on; window tests that want a fixed default model
// leave it off.
bool SettingsFileInUse();
void SetSettingsFileInUse(bool inUse);
