#pragma once
// Small utilities of the windows: a file's version information, the logged-on
// user's name, the shortening of a path for menus, and the painters of the
// program's own look of tool bars, menus, check marks and value lists.
#include <QPixmap>
#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;
class TValueListEditor;

// The strings and flags of a file's version block.
struct TFileInfo {
  QString TypeName;  // the desktop's name of the file's type (at most 80 characters)
  QString CompanyName;
  QString FileDescription;
  QString FileVersion;
  QString InternalName;
  QString LegalCopyRight;
  QString LegalTradeMarks;
  QString OriginalFileName;
  QString ProductName;
  QString ProductVersion;
  QString Comments;
  QString SpecialBuild;
  QString PrivateBuild;
  QString FileTypeText;  // "Приложение", "DLL", ... from the file type and subtype
  bool Debug = false;
  bool PreRelease = false;
  bool IsSpecialBuild = false;
  bool IsPrivateBuild = false;
  bool Patched = false;
  bool InfoInferred = false;
};

// Fills `info` from the file at `path`. Never fails: whatever cannot be read
// stays empty or false. Only executables are searched for a version block.
void GetFileInfo(const QString& path, TFileInfo& info);

// The text for a file type and subtype of a version block (empty when unknown).
QString FileTypeText(uint32_t fileType, uint32_t fileSubtype);

// The logged-on user's name, or "Unknown" when the system gives none.
void GetCurrentUserName(QString& name);
QString GetCurrentUserName();
// The user's home folder: $HOME, or the account's folder when it is not set
// (empty when neither is known).
QString GetUserHomeFolder();

// The display form of `path` for menus: leading folders are kept while the text
// so far plus the file name stays below `maxLength`; the folders left out are
// marked "…/" (not "../", which would name a real parent folder).
void ShortenPath(const QString& path, int maxLength, QString& result);
QString ShortenPath(const QString& path, int maxLength);

class QAction;
class QKeySequence;
class QListWidget;
class QObject;
// The row of the list's item with this text, without regard to letter case
// (as names are compared everywhere in the program); -1 when there is none.
int ListIndexOf(const QListWidget* list, const QString& text);
// The text of a menu item that shows a command's key without owning it: the
// menu draws what follows the tab as the item's key. Only the command answers
// the key; a key with two live owners would run neither.
QString MenuTextWithKey(const QString& caption, const QKeySequence& key);
// A menu item that stands for a command (an action of the main window): it
// follows the command's caption (or shows `caption` when one is given),
// image, key (shown, not owned) and enabled state, and runs it.
QAction* ProxyItem(QAction* action, QObject* parent, const QString& caption = QString());
// ---------------------------------------------------------------------------
// The look of the tool bars, menus and value lists: pale blue bars, cream
// highlights, navy frames, orange pressed and ticked states, a blue stripe
// down the left of every menu. Colours are $BBGGRR (red in the low byte).

constexpr int32_t clLookBar = 0xF5C2A3;         // bars, buttons at rest, menu stripe
constexpr int32_t clLookHot = 0xC2EEFF;         // under the mouse, selected menu item
constexpr int32_t clLookPressedHot = 0x5295FE;  // pressed under the mouse; ticked selected item
constexpr int32_t clLookPressed = 0x59AFFF;     // pressed, mouse elsewhere; ticked item
constexpr int32_t clLookGrayText = 0x8D8D8D;    // text of what is disabled
constexpr int32_t clLookFrame = 0x800000;       // navy frames
constexpr int32_t clLookMenu = 0xF6F6F6;        // menu background

// States of a tool button as its tool bar reports them.
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1,  // pressed (by the mouse, or down because it is checked)
  cdsDisabled = 2,
  cdsHot = 4,       // under the mouse
};
using TCustomDrawState = unsigned;

// States of a menu item as its menu reports them.
enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1,
  odGrayed = 2,   // disabled
  odChecked = 4,  // ticked
  odDefault = 8,  // the menu's default item (drawn bold)
};
using TOwnerDrawState = unsigned;

// What the button painters read of a tool button and its tool bar. Bounds is
// the button in the canvas's coordinates, with its top on the bar's top.
struct TToolButtonItem {
  QRect Bounds;
  QString Caption;
  QPixmap Image;              // null: the button has no image
  bool ShowCaptions = false;  // the tool bar shows captions
};

// What the menu painters read of a menu item.
struct TMenuItemInfo {
  QString Caption;           // "-" is a separator; the first "&" marks a key
  QString ShortCut;          // the shortcut's text, empty when it has none
  QPixmap Image;             // null: the item has no image
  bool AutoCheck = false;    // the item ticks itself when chosen
  bool RadioItem = false;    // one of a group of which one is ticked
};

// The tool bar's background: the rectangle filled with the bar colour. The
// buttons are drawn after it.
void DrawToolBar(QPainter& canvas, const QRect& rect);
// A tool button of a flat bar, caption under the image when the bar shows
// captions. Sets defaultDraw to false: the button is wholly drawn here.
void DrawToolButton(QPainter& canvas, const TToolButtonItem& button, TCustomDrawState state, bool& defaultDraw);
// A button of the menu tool bar: drawn here while its menu is open
// (cdsSelected) or while it is under the mouse; otherwise defaultDraw stays
// true and the bar draws its caption plainly.
void DrawMenuBarButton(QPainter& canvas, const TToolButtonItem& button, TCustomDrawState state, bool& defaultDraw);
// One item of a pop-up menu in `rect`.
void DrawMenuItem(const TMenuItemInfo& item, QPainter& canvas, const QRect& rect, TOwnerDrawState state);
// The height of a menu item: 3 for a separator, 23 otherwise.
void MeasureMenuItem(const TMenuItemInfo& item, int& height);
// The 11 x 11 box of a check mark or radio circle inside `rect`.
QRect MarkBoxRect(const QRect& rect);
// A check box: `rect` filled with the canvas's brush, the box in it, and the
// tick when ticked. A disabled box (check lists' disabled rows) is grey
// inside with a grey tick.
void DrawCheckBox(QPainter& canvas, const QRect& rect, bool ticked, bool enabled = true);
// A radio circle: `rect` filled with the canvas's brush, the circle in it,
// and the dot when ticked.
void DrawRadioButton(QPainter& canvas, const QRect& rect, bool ticked);
// A section band: `rect` filled with clInfoBk and `title` in bold with its
// top-left at `at`, clipped to the band. Value-list section rows and check-list
// header rows.
void DrawSectionBand(QPainter& canvas, const QRect& rect, const QString& title, const QPoint& at);
// One cell of a value list (column 0 the key, 1 the value). A row whose key
// begins with "&" is a section row: both cells show its title as one band.
void DrawValueListCell(const TValueListEditor& editor, QPainter& canvas, int col, int row, const QRect& rect);

// A caption as the painters draw it: without its first "&".
QString StripFirstAmpersand(const QString& caption);

// A number in fixed notation with `digits` decimals, rounded to at most
// `precision` significant digits; a number with more than `precision` digits
// before the point is written in exponent form ("1.235E4"). The speed display
// uses precision 4 and 2 decimals.
QString FixedText(double value, int precision, int digits);
