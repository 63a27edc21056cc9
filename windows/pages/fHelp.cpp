#include "windows/pages/fHelp.h"

#include <limits>
#include <optional>

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "files/uDataFile.h"
#include "platform/qt/HtmlView.h"
#include "windows/pages/uHtmlPage.h"
#include "windows/place/uPlace.h"
#include "windows/place/uSticky.h"

TFormHelp* FormHelp = nullptr;
TFormHelp* FormMessage = nullptr;
TFormHelp* FormComment = nullptr;

TFormHelp::TFormHelp(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  InstallSticky(this, TStickyKind::Dialog, nullptr, true);  // and its own screen snapping
  resize(231, 160);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  PanelMain = new QFrame(this);
  PanelMain->setObjectName(QStringLiteral("PanelMain"));
  PanelMain->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* mainLayout = new QVBoxLayout(PanelMain);
  mainLayout->setContentsMargins(1, 1, 1, 1);
  WebBrowser = new THtmlView(PanelMain);
  WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
  WebBrowser->setFrameStyle(QFrame::NoFrame);
  mainLayout->addWidget(WebBrowser);
  layout->addWidget(PanelMain, 1);

  PanelBottom = new QWidget(this);
  PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
  PanelBottom->setFixedHeight(28);
  auto* bottom = new QHBoxLayout(PanelBottom);
  bottom->setContentsMargins(2, 1, 4, 2);
  bottom->addStretch(1);
  ButtonClose = new QPushButton(QStringLiteral("Закрыть"), PanelBottom);
  ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
  ButtonClose->setFixedSize(75, 25);
  ButtonClose->setDefault(true);  // Enter presses it; Escape closes the dialog as well
  ButtonClose->setAutoDefault(true);
  bottom->addWidget(ButtonClose);
  layout->addWidget(PanelBottom);

  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
  // A link to another page: the caption names the page now shown.
  connect(WebBrowser, &THtmlView::LinkFollowed, this, [this] {
    if (!WebBrowser->documentTitle().isEmpty()) setWindowTitle(WebBrowser->documentTitle());
  });
}

TFormHelp::~TFormHelp() {
  if (FormHelp == this) FormHelp = nullptr;
  if (FormMessage == this) FormMessage = nullptr;
  if (FormComment == this) FormComment = nullptr;
}

void TFormHelp::Navigate(const QString& fullPath) { WebBrowser->Navigate(fullPath); }

int TFormHelp::OuterWidth() const { return OuterRect(this).width(); }

void TFormHelp::SetPlace(std::function<QRect()> place) {
  PlaceWindow(this, [this, place = std::move(place)] {
    const QRect wanted = place();
    const QMargins m = FrameMargins(this);
    const QSize least = QSize(100, 60).grownBy(m);
    const QRect outer(wanted.topLeft(), QSize(wanted.width(), wanted.height() + m.top() + m.bottom()));
    const QRect fitted = FitToWorkArea(QRect(outer.topLeft(), outer.size().expandedTo(least)), WorkArea(this));
    ResizeOuter(this, fitted.size());
    MoveOuter(this, fitted.topLeft());
  });
}

namespace {

int ReadSetting(const THtmlHost& host, const QString& section, const char* key, int def) {
  return host.ReadInt ? host.ReadInt(section, QString::fromLatin1(key), def) : def;
}

// The main window's outer rectangle: the owner's as it stands now (none without an owner).
QRect MainOuter(const THtmlHost& host) { return host.Owner ? OuterRect(host.Owner) : QRect(); }

// A window placed from its settings section on creation ("Help" or "Comment");
// the defaults follow the main window (below it, or above it where there is
// no room below; its outer width for "Help").
TFormHelp* CreatePlaced(const THtmlHost& host, const QString& section, std::optional<int> defaultWidth) {
  auto* form = new TFormHelp(host.Owner);
  constexpr int kAbsent = std::numeric_limits<int>::min();
  const int top = ReadSetting(host, section, "Top", kAbsent);
  const int left = ReadSetting(host, section, "Left", kAbsent);
  const int width = ReadSetting(host, section, "Width", kAbsent);
  const int height = ReadSetting(host, section, "Height", 400);
  form->SetPlace([form, host, top, left, width, height, defaultWidth] {
    const QRect main = MainOuter(host);
    const int outerWidth = width != kAbsent ? width : defaultWidth.value_or(main.width());
    QPoint corner(left, top);
    if (left == kAbsent || top == kAbsent) {
      const QMargins m = FrameMargins(form);
      const QPoint below =
          BelowOnWorkArea(main, QSize(outerWidth, height + m.top() + m.bottom()), WorkArea(host.Owner));
      if (left == kAbsent) corner.setX(below.x());
      if (top == kAbsent) corner.setY(below.y());
    }
    return QRect(corner, QSize(outerWidth, height));
  });
  return form;
}

TFormHelp* EnsureHelp(const THtmlHost& host) {
  if (!FormHelp) FormHelp = CreatePlaced(host, QStringLiteral("Help"), std::nullopt);
  return FormHelp;
}

TFormHelp* EnsureComment(const THtmlHost& host) {
  if (!FormComment) FormComment = CreatePlaced(host, QStringLiteral("Comment"), 350);
  return FormComment;
}

TFormHelp* EnsureMessage(const THtmlHost& host) {
  if (!FormMessage) {
    FormMessage = new TFormHelp(host.Owner);
    // A fixed tool window: not sizeable.
    FormMessage->setFixedSize(350, 200);
    TFormHelp* form = FormMessage;
    const THtmlHost place = host;
    PlaceWindow(form, [form, place] {
      MoveOuter(form, BelowOnWorkArea(MainOuter(place), OuterRect(form).size(), WorkArea(place.Owner)));
    });
  }
  return FormMessage;
}

// The picture as the page refers to it: by name when the page lies beside the
// pictures, otherwise by its full location in the page folder.
QString PictureRef(const THtmlHost& host, const QString& name) {
  if (host.PagesPath.isEmpty() || host.PagesPath == host.FilesPath) return name;
  return QUrl::fromLocalFile(host.FilesPath + name).toString();
}

// Where the generated page `name` is written. While the folder that could not
// be made is not there, no page can be: the cause is why it could not be made.
QString GeneratedPage(const THtmlHost& host, const QString& name) {
  const QString folder = host.PagesPath.isEmpty() ? host.FilesPath : host.PagesPath;
  if (host.PagesFolderError != 0 && !QFileInfo(folder).isDir())
    throw THtmlPageError(SaveFailedText((folder + name).toStdString(), host.PagesFolderError));
  return folder + name;
}

}  // namespace

QString WriteHtmlMessagePage(const THtmlHost& host, int kind, const QString& caption,
                             const QString& textFooter, const QStringList& lines) {
  QString picture, page;
  switch (kind) {
    case HtmlKindError:
      picture = QStringLiteral("XPdialogstop32.bmp");
      page = QStringLiteral("error.htm");
      break;
    case HtmlKindComment:
      picture = QStringLiteral("XPdialoginformation32.bmp");
      page = QStringLiteral("comment.htm");
      break;
    default:  // information
      picture = QStringLiteral("XPdialoginformation32.bmp");
      page = QStringLiteral("info.htm");
      break;
  }
  const QString pageFile = GeneratedPage(host, page);
  BuildHtmlPage(host.FilesPath + host.TemplatePage, caption, textFooter, PictureRef(host, picture),
                pageFile, lines);
  return pageFile;
}

void ShowHtmlPage(const THtmlHost& host, int kind, const QString& caption,
                  const QString& textFooter, const QStringList& lines) {
  QString pageFile;
  try {
    pageFile = WriteHtmlMessagePage(host, kind, caption, textFooter, lines);
  } catch (const THtmlPageError&) {
    // The comment window never shows another file's comments: without a page
    // for these, the one it shows goes.
    if (kind == HtmlKindComment && FormComment) FormComment->close();
    throw;
  }
  TFormHelp* form = kind == HtmlKindComment ? EnsureComment(host) : EnsureMessage(host);
  form->setWindowTitle(caption);
  if (kind == HtmlKindComment) {
    // Shown before its page is given: a window not yet shown has not given
    // its view its size, and the page would be laid out twice, once at the
    // wrong width.
    form->show();
    form->raise();
    form->Navigate(pageFile);
  } else {
    form->Navigate(pageFile);
    form->exec();
  }
}

void ShowHelpPage(const THtmlHost& host, const QString& caption, const QString& pageName) {
  TFormHelp* form = EnsureHelp(host);
  form->setWindowTitle(caption);
  form->Navigate(host.FilesPath + pageName);
  form->show();
  form->raise();
  form->activateWindow();
}

void ShowWhatsNewPage(const THtmlHost& host) {
  TFormHelp* form = EnsureHelp(host);
  const QString caption = WhatsNewCaption();
  const QStringList html = WhatsNewToHtml(ReadPageLines(host.FilesPath + QStringLiteral("whatsnew.txt")));
  const QString pageFile = GeneratedPage(host, QStringLiteral("help.htm"));
  BuildWhatsNewPage(host.FilesPath + host.TemplatePage, caption, QString(),
                    PictureRef(host, QStringLiteral("omra32.ico")), pageFile, html);
  // Only a page written whole is shown: until then the window keeps its page and caption.
  form->setWindowTitle(caption);
  form->Navigate(pageFile);
  form->show();
}

void ShowExceptionPage(const THtmlHost& host, const QString& message) {
  // A failure while a report is on screen (or while it is being built) is not
  // reported by another page: that could go on for ever.
  static bool reporting = false;
  auto plainBox = [&](const QString& text) {
    QMessageBox::critical(host.Owner, QStringLiteral("Ошибка"), text);
  };
  if (reporting) {
    plainBox(message);
    return;
  }
  reporting = true;
  try {
    ShowHtmlPage(host, HtmlKindError, QStringLiteral("Ошибка"), QString(), ExceptionPageLines(message));
  } catch (const std::exception& e) {
    // The failure may be the very one being reported (a missing page folder): said once.
    const QString why = QString::fromUtf8(e.what());
    QString text = QStringLiteral("Программе не удалось выполнить операцию.\n\n") + message;
    if (why != message) text += QStringLiteral("\n\n") + why;
    plainBox(text);
  } catch (...) {
    plainBox(QStringLiteral("Программе не удалось выполнить операцию.\n\n%1").arg(message));
  }
  reporting = false;
}

void FreeHtmlWindows(const std::function<void(const QString&, const QString&, int)>& writeInt) {
  auto save = [&](TFormHelp*& form, const QString& section) {
    if (!form) return;
    if (writeInt) {
      const QRect outer = OuterRect(form);
      writeInt(section, QStringLiteral("Top"), outer.top());
      writeInt(section, QStringLiteral("Left"), outer.left());
      writeInt(section, QStringLiteral("Width"), outer.width());
      writeInt(section, QStringLiteral("Height"), form->height());
    }
    form->close();
    delete form;
    form = nullptr;
  };
  save(FormHelp, QStringLiteral("Help"));
  save(FormComment, QStringLiteral("Comment"));
  delete FormMessage;
  FormMessage = nullptr;
}
