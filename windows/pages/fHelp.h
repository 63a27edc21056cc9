#pragma once
// windows/pages: the HTML windows and the page builder (uHtmlPage) that writes
// their pages, and the splash window.
//
// The HTML window: a page view with a "Закрыть" button. Three instances serve
// the program: FormHelp (about, theory, news), FormMessage (error and
// information pages, modal) and FormComment (a data file's comments). Each is
// created on first use and kept, hidden when closed, until the exit.
#include <QDialog>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

#include "files/uMessageKind.h"

class QFrame;
class QPushButton;
class QWidget;
class THtmlView;

class TFormHelp : public QDialog {
  Q_OBJECT
 public:
  explicit TFormHelp(QWidget* owner = nullptr);
  // The owner frees its page windows with itself: the globals then forget them.
  ~TFormHelp() override;

  QFrame* PanelMain = nullptr;
  THtmlView* WebBrowser = nullptr;
  QWidget* PanelBottom = nullptr;
  QPushButton* ButtonClose = nullptr;

  // Shows the local page at its full path.
  void Navigate(const QString& fullPath);
  // The window's outer width (frame included) and its client height.
  int OuterWidth() const;
  // Places the window at what `place` gives: the outer top-left corner as the
  // rectangle's corner, its width the outer width, its height the client
  // height; brought into the work area, and again once the frames are known.
  void SetPlace(std::function<QRect()> place);
};

extern TFormHelp* FormHelp;
extern TFormHelp* FormMessage;
extern TFormHelp* FormComment;

// What the page windows need from the program around them.
struct THtmlHost {
  QWidget* Owner = nullptr;  // owner of the page windows (the main window)
  QString FilesPath;         // page folder: template, static pages, pictures (ends in "/")
  QString PagesPath;         // where generated pages are written (ends in "/")
  int PagesFolderError = 0;  // why PagesPath could not be made (errno), 0 when it is there
  QString TemplatePage = QStringLiteral("index.htm");
  // Reads an integer setting (section, key, default); absent -> the default.
  std::function<int(const QString&, const QString&, int)> ReadInt;
};

// Builds the page for the message (HtmlKindError "error.htm", HtmlKindComment
// "comment.htm", HtmlKindInformation "info.htm" in the folder of generated
// pages) and returns its full path.
// Throws THtmlPageError when the page cannot be built.
QString WriteHtmlMessagePage(const THtmlHost& host, int kind, const QString& caption,
                             const QString& textFooter, const QStringList& lines);

// Builds the page for the message and shows it: an error or information page
// in FormMessage (modal; returns when closed), comments in FormComment
// (returns at once). Throws THtmlPageError when the page cannot be built; the
// comment window is then closed.
void ShowHtmlPage(const THtmlHost& host, int kind, const QString& caption,
                  const QString& textFooter, const QStringList& lines);

// About and Theory: the static page `pageName` of the page folder in FormHelp.
void ShowHelpPage(const THtmlHost& host, const QString& caption, const QString& pageName);

// The news window's caption.
inline QString WhatsNewCaption() { return QStringLiteral("Что нового?"); }

// What's new: "whatsnew.txt" rewritten as "help.htm" in FormHelp.
// Throws THtmlPageError when the text or the template cannot be read or the
// page cannot be written.
void ShowWhatsNewPage(const THtmlHost& host);

// The error page for an exception no command caught. When the page itself
// cannot be built (or a report is already being shown) the message appears in a
// plain message box instead. Never throws.
void ShowExceptionPage(const THtmlHost& host, const QString& message);

// At exit: hands the places of FormHelp and FormComment (those that were
// created) to `writeInt` (section, key, value) as "Top", "Left", "Width" (outer),
// "Height" (client), then closes and frees all three windows.
void FreeHtmlWindows(const std::function<void(const QString&, const QString&, int)>& writeInt);
