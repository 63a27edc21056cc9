#pragma once
// windows/shell: the program's own file window and its three side frames
// (data-file preview, resource-set check list, picture choices).
//
// The program's own file window. Every command that opens or saves a file goes
// through it: the folder tree beside the list of the chosen folder (filtered to
// one extension), the file name, the file type, a Yes button named after the
// action and Cancel; by its type a side panel holds the preview of a data
// file, the check list of a resource set, or the choices of a picture.
//
// Its callers follow one order: create it, set Extension, point the tree at
// the start folder (the program's folder when that fails), set the name,
// SetWindowType, set the type line, exec(), read FileName (and the frame) on
// mrYes, keep the current folder, delete it (which writes its settings).
#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "windows/pages/fHelp.h"

class QAction;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QSplitterHandle;
class QToolBar;
class QToolButton;
class TFrameImport;
class TFrameOpenBrowser;
class TFrameSaveShot;
class TShellListView;
class TShellTreeView;

// What the file window needs of the program around it.
struct TShellHost {
  QString FallbackFolder;     // where the window opens when its start folder is gone (ends in "/")
  QString SettingsFile;       // where the section "FormShell" is kept (empty: defaults, not written)
  QString SettingsStart;      // what SettingsFile begins as while it is not there (empty: nothing)
  THtmlHost Pages;            // the page builder's folders, for the data-file preview
  QList<QIcon> Images;        // the main window's image list (the check list's tool bar)
  QString CurrentFile;        // the current data file: saving over it asks nothing
  // The check list's headers (the parameter editor's page captions) and, for
  // the export, the model's names in index order.
  QString ResourceHeader = QStringLiteral("Ресурсы");
  QString PlantHeader = QStringLiteral("Организмы");
  QStringList ResourceNames, PlantNames;
  // Shows a refusal in the program's message window ("Информация").
  std::function<void(const QString& line)> ShowInformation;
  // The suggested picture names: the tick counter and the chart selectors' items.
  int32_t Step = 0;
  QString HistoryItem, StatItem;
};

class TFormShell : public QDialog {
  Q_OBJECT
 public:
  TFormShell(QWidget* owner, const TShellHost& host);
  ~TFormShell() override;

  // The window's results: Yes (also a double click on a file) and Cancel.
  static constexpr int mrYes = 6;
  static constexpr int mrCancel = 2;
  // The window types.
  enum : unsigned char { TypeSave = 1, TypeOpenBrowser = 2, TypeImport = 3, TypeExport = 4, TypeSaveShot = 5 };
  // The type line of the program's own files.
  static inline const QString TypeTextZod = QStringLiteral("Файл данных ZeltorOmra (*.zod)");
  static inline const QString TypeTextZor = QStringLiteral("Файл ресурсов ZeltorOmra (*.zor)");
  static inline const QString TypeTextJpg = QStringLiteral("Графический файл (*.jpg)");

  TShellTreeView* ShellTreeView = nullptr;
  QSplitter* Splitter = nullptr;         // the tree | the list | the side panel
  QToolBar* ToolBar = nullptr;
  QAction* ActionBack = nullptr;
  QAction* ActionUp = nullptr;
  QToolButton* ToolButtonBack = nullptr;
  QToolButton* ToolButtonUp = nullptr;
  TShellListView* ShellListView = nullptr;
  QFrame* PanelSub = nullptr;
  QLabel* LabelSub = nullptr;  // the side panel's caption "(нет)"
  QLabel* Label3 = nullptr;
  QLineEdit* EditFileName = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* EditFileType = nullptr;
  QFrame* Bevel1 = nullptr;
  QPushButton* ButtonYes = nullptr;
  QPushButton* ButtonCancel = nullptr;

  unsigned char WindowType = 0;
  QString FileName;   // the accepted file's full path, with Extension
  QString Extension;  // with its dot: ".zod", ".zor", ".jpg"
  QString IniPrefix;  // the type's key prefix in the section "FormShell"
  QString BackPath;   // the folder the last folder change left, with "/"
  TFrameOpenBrowser* FrameOpenBrowser = nullptr;
  TFrameSaveShot* FrameSaveShot = nullptr;
  TFrameImport* FrameImport = nullptr;

  // Asked, in the save modes, before the accepted name replaces an existing
  // file other than the current data file; true replaces it. By default a
  // question with "Да" and "Отмена" (Cancel is the default answer).
  std::function<bool(const QString& fileName)> AskReplace;

  // Points the tree at the start folder, or at the program's folder when the
  // start folder cannot be taken.
  void SetStartFolder(const QString& folder);
  // Configures the window for its type (and reads its settings).
  void SetWindowType(unsigned char type);
  // The tree's folder with a trailing "/"; empty when no folder is selected.
  QString CurrentFolder() const;
  // The file a name typed or chosen in the name line stands for: a full path
  // as it is, "~" and "~/..." in the home folder, any other name in the
  // current folder; cleaned of "." and ".." and doubled "/". Every mode takes
  // the file it opens, previews or saves from here.
  QString NamedFile(const QString& name) const;
  // Why a typed name that is no folder names no file (empty, ending in "/",
  // or a last part that, once given the window's extension, holds only
  // points and blanks before it: "...", ".zod", "sub/.ZOD", "   .zod"); empty
  // when it names one. In Open and Import a file that is there is named by
  // any name.
  QString NameRefusal(const QString& name) const;
  // The window's outer width (frame included).
  int OuterWidth() const;

  // Handlers.
  void ShellListViewClick();
  void ShellListViewDblClick();
  void ShellListViewKeyUp(int key);
  bool ShellListViewAddFolder(const QString& displayName, bool isFolder) const;
  void ShellTreeViewChanging();
  void ShellTreeViewChange(bool hasNode, const QString& nodeText);
  void ActionBackExecute();
  void ActionUpExecute();
  void EditFileNameSaveChange();
  void EditFileNameLoadChange();
  // Forces the extension and sets FileName; false (the window stays open)
  // when the name is a folder, or when no name is typed and the list's
  // selection is a folder (either opened in the window), when it names no file
  // (refused with a message), when the user would not replace an existing
  // file, or, on import, when the list does not show the set accepted: it is
  // then read into the list, for the user to tick its rows.
  bool ButtonYesClick();
  // With no name typed, opens the folder chosen in the list, as a double
  // click does (true); false when there is none.
  bool OpenSelectedFolder();
  void RadioButtonViewClick();
  void RadioButtonHistoryClick();
  void RadioButtonStatClick();

  // The accepted name: the extension (from the name's last point) replaced,
  // or added to a name without one; a name whose extension differs from it
  // only in letter case is kept as it is.
  static QString ForceExtension(const QString& name, const QString& extension);
  // The extension of a name: the text from its last point, or empty.
  static QString ExtractExtension(const QString& name);

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Up, Down, Page Up and Page Down pressed in the name line move the list's
  // selection, as in the list itself; Enter with no name typed opens the
  // folder selected so; the name line keeps every other key.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void UpdateCaption();
  void SetFrameShown(QWidget* frame, bool shown);
  // Shows the import list read from this set ("(нет)" when it cannot be read).
  void PreviewResourceSet(const QString& file);
  void ApplyWidths();
  // The outer width at which the tree and the side panel have their widths
  // beside the middle part's least width.
  int FittingOuterWidth() const;
  // The window saves (Save, Export, SaveShot) rather than opens.
  bool Saving() const;

  TShellHost Host;
  QGridLayout* FSubLayout = nullptr;  // PanelSub's layout
  enum class TNameRule { None, Save, Load } NameRule = TNameRule::None;
  int FOuterWidth = 490;
  int FTreeWidth = 177;
  int FPanelWidth = 215;
  bool FWidthStored = false;        // the settings hold the window's width
  int FShownWidth = 490;            // the outer width the window opened with
  bool FTreeMoved = false, FPanelMoved = false;  // the user moved a splitter
};
