#pragma once
// windows/main: the main window (main.cpp) and its command files: data files
// and recent files, fill and clear, start-up and exit through the settings.
//
// The main window: owner of the model (both stores, the tick counter, the
// current data file's description), every command of the program as an
// action, the menu tool bar and the command tool bar.
#include <QIcon>
#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/uMessageKind.h"
#include "model/uEngine.h"
#include "model/uPlant.h"
#include "model/uResource.h"
#include "windows/program/uProgram.h"

class QAction;
class QHelpEvent;
class QMouseEvent;
class TFormShell;
struct TShellHost;
struct TDataFileDocument;
struct TResourceSet;
struct TResourceSetSelection;
struct TResourceSetImport;
class QMenu;
class QToolBar;
class QToolButton;

// What the hint handler learns of a hint about to be shown, and may change.
struct THintInfo {
  QWidget* HintControl = nullptr;  // the control under the mouse
  QPoint CursorPos;                // the mouse, on screen
  QPoint HintPos;                  // the hint's place, on screen
  QRect CursorRect;                // the hint goes when the mouse leaves this (control's coordinates)
};

// One of the five recent files (FileList[0] is the most recent).
struct TFileListItem {
  QString FileName;
  QString ShortFileName;
  bool Visible = false;
};

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The model.
  TResourceObject* Resource = nullptr;
  TPlantObject* Plant = nullptr;
  int32_t Step = 0;
  int32_t Refresh = 10;
  TBrushTool Brush = TBrushTool::Pointer;
  int32_t SubBrushResource = 0;
  int32_t SubBrushPlant = 0;
  TBrushTool SavedBrush = TBrushTool::Pointer;
  TRunStopRules StopRules;
  bool Moving = false;
  int SnapBuffer = 10;  // sticky windows: the snapping distance
  bool FirstRun = false;

  // The current data file.
  QString FileName;
  std::string Author, Created, FileDataVersion;
  std::vector<std::string> Comment;
  QString UserName;
  // The author as the settings file holds it: the exit writes it back while
  // UserName is still its code page form.
  std::string StoredUserName;
  TFileListItem FileList[5];

  // Folders (each ends in "/").
  QString ProgramPath, FilesPath, PathDocument, PathSaveShot;
  QString TemplatePage = QStringLiteral("index.htm");

  // Commands. The tag of an action is its data() as an int.
  QAction* ActionFileNew = nullptr;
  QAction* ActionFileLoad = nullptr;
  QAction* ActionFileSave = nullptr;
  QAction* ActionFileSaveAs = nullptr;
  QAction* ActionFileImport = nullptr;
  QAction* ActionFileExport = nullptr;
  QAction* ActionFileExit = nullptr;
  QAction* ActionFieldStart = nullptr;
  QAction* ActionFieldStop = nullptr;
  QAction* ActionFieldStep = nullptr;
  QAction* ActionFieldUndo = nullptr;
  QAction* ActionFieldInput = nullptr;
  QAction* ActionFieldClear = nullptr;
  QAction* ActionFieldSaveShot = nullptr;
  QAction* ActionViewField = nullptr;
  QAction* ActionViewStatistic = nullptr;
  QAction* ActionViewParameter = nullptr;
  QAction* ActionViewComment = nullptr;
  QAction* ActionViewDock = nullptr;
  QAction* ActionAutoSize = nullptr;
  QAction* ActionHelpTheory = nullptr;
  QAction* ActionHelpHelp = nullptr;
  QAction* ActionHelpWhatsNew = nullptr;
  QAction* ActionHelpAbout = nullptr;
  QAction* ActionReload1 = nullptr;
  QAction* ActionReload2 = nullptr;
  QAction* ActionReload3 = nullptr;
  QAction* ActionReload4 = nullptr;
  QAction* ActionReload5 = nullptr;
  // Every action in table order.
  QList<QAction*> ActionList;

  // Bars and menus.
  QToolBar* ToolBarMenu = nullptr;
  QToolBar* ToolBar = nullptr;
  QMenu* PopupMenuFile = nullptr;
  QMenu* PopupMenuService = nullptr;
  QMenu* PopupMenuView = nullptr;
  QMenu* PopupMenuHelp = nullptr;
  QMenu* PopupMenuLoad = nullptr;
  // The recent-file entries of PopupMenuFile and PopupMenuLoad (tags 1..5),
  // hidden until a recent file fills them.
  QAction* MenuFileReload[5] = {};
  QAction* MenuLoadReload[5] = {};
  // The pictures of the commands, shared by every window's tool bars:
  // 0 pointer, 1 resource brush, 2 organism brush, then one per command.
  QList<QIcon> ImageList;
  QAction* ToolButtonLoad = nullptr;
  QAction* ToolButtonStart = nullptr;  // the tool bar's entries of Start and Stop
  QAction* ToolButtonStop = nullptr;

  // Commands of the field.
  // One tick, then ShowTick.
  void ActionFieldStepExecute();
  // The windows after a tick: the tick counter; during a run every Refresh
  // ticks, and after a single tick, the averages, the statistics and the speed.
  void ShowTick();
  void ActionFieldStartExecute();
  void ActionFieldStopExecute();
  void ActionFieldUndoExecute();
  void ActionAutoSizeExecute();
  // Fill and clear of the whole field through their dialogs (mainField.cpp).
  void ActionFieldInputExecute();
  void ActionFieldClearExecute();
  bool IsRunning() const;

  // Shows the one-line input dialog with its top-left corner at `pos`.
  // Returns the edited text, or the empty string when cancelled.
  QString InputText(const QPoint& pos, const QString& caption, const QString& text);
  // The same with a prompt above the edit box.
  QString InputText(const QPoint& pos, const QString& caption, const QString& prompt, const QString& text);

  // `kind`: HtmlKindError, HtmlKindComment or HtmlKindInformation.
  void ShowHtmlMessage(int kind, const QString& caption, const QStringList& lines);
  // Reports an exception that no command caught.
  void ApplicationException(const QString& message);

  // Reads a data file into the model. The file is read into a copy of the
  // stores: only a file the reader accepts replaces the model, the lists, the
  // captions and the recent files; a refused one changes nothing but shows
  // the reader's message (mainDataFile.cpp).
  bool LoadDataFile(const QString& fileName, bool showComments);
  bool SaveDataFile(const QString& fileName);
  // The data file's document as the window holds it: tick, author, time, version and comments.
  TDataFileDocument Document() const;
  // The captions that name the current data: the main window's, the program's
  // title and the file's name without its folder; the field view's, the
  // document's format version, author and time.
  void ShowFileCaption(const QString& fileName);
  void ShowViewCaption();

  // The file commands (mainFile.cpp). All but the picture are disabled
  // during a run.
  void ActionFileNewExecute();
  void ActionFileLoadExecute();
  void ActionFileSaveExecute();
  void ActionFileSaveAsExecute();
  // The five recent-file commands: `tag` 1..5 stands for FileList[tag - 1].
  void ActionFileReload1Click(int tag);
  void ActionFileImportExecute();
  // Adds the ticked records of a resource set, as read from its file, to the
  // model through the parameter editor's lists (the import's work once its
  // file is chosen).
  // Returns the number of records added; `report` says how the import ended.
  int32_t ImportResourceSet(const TResourceSet& set, const TResourceSetSelection& selection,
                            TResourceSetImport* report = nullptr);
  void ActionFileExportExecute();
  void ActionFieldSaveShotExecute();
  // Right button released on the Open tool button: the recent files below it.
  void ToolButtonLoadMouseUp(QMouseEvent* event);
  // Puts a file at the front of the recent files (a file already there moves
  // up with its own menu text).
  void AddRecentFile(const QString& name);
  // Shows the recent files in the menu entries (tags 1..5); the five
  // commands themselves stay enabled, so Ctrl+1..5 always work.
  void UpdateRecentMenu();
  // What the file window is given of the program.
  TShellHost FileWindowHost();

  // Puts both stores in place of the model in force. Nothing is allocated on
  // the way: callers build the new stores first, so that a model that cannot
  // be built leaves the one in force.
  void ReplaceModel(std::unique_ptr<TResourceObject> resource, std::unique_ptr<TPlantObject> plant);
  // Builds the model the program starts with when nothing else supplies one:
  // what a settings file without any key gives, the default resource and
  // species on the default field (mainSettings.cpp).
  void BuildDefaultModel();
  // Places the main window and the tool windows where a first start puts them.
  void PlaceDefaultWindows();

  // The hint handler (installed on the application): lays the hint of a table
  // cell, a value-list cell, a list item or an edit box with a button over
  // it; a value-list cell or an edit box shows its whole text only when it
  // does not fit, and no hint otherwise. False for any other control (its
  // own hint is shown as usual).
  bool ApplicationShowHint(QString& HintStr, THintInfo& HintInfo);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  void CreateBars();
  QAction* NewAction(const QString& category, const QString& caption, const QString& hint,
                     const QKeySequence& shortcut, int tag = 0);
  void SetRunning(bool running);
  void ViewToggle(QAction* action, QWidget* window);

  void CreateImages();
  // File commands: the actions, the Open button's pop-up (mainFile.cpp).
  void ConnectFileCommands();
  // Opens a data file as the current one: on a refusal the current file stays.
  // The name is taken by value: the load moves a recent file to the front of
  // the list, and a name read from the list would then be another file's.
  bool OpenDataFile(QString name);
  // Runs the file window in the callers' order: start folder `folder`, name
  // `name`, type, type line; on Yes `accept` runs while the window still
  // exists. `folder` becomes the window's folder unless `accept` failed.
  bool RunFileWindow(unsigned char type, const QString& extension, const QString& typeText, QString& folder,
                     const QString& name, const std::function<bool(TFormShell&)>& accept);
  qint64 RefreshStartNs = 0;  // start of the measured stretch of ticks for the speed display
  int32_t RefreshStartStep = 0;
};

extern TMainForm* MainForm;
