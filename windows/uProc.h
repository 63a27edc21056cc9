#pragma once
// Small utilities of the windows: a file's version information, the logged-on
// user's name and the shortening of a path for menus.
#include <QString>
#include <cstdint>

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
// so far plus the file name stays below `maxLength`; the rest becomes "../".
void ShortenPath(const QString& path, int maxLength, QString& result);
QString ShortenPath(const QString& path, int maxLength);

class QAction;
class QObject;
// A menu item that stands for a command (an action of the main window): it
// follows the command's caption (or shows `caption` when one is given),
// image, shortcut and enabled state, and runs it.
QAction* ProxyItem(QAction* action, QObject* parent, const QString& caption = QString());
