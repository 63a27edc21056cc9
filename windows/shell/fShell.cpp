#include "windows/shell/fShell.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "files/uDataFile.h"
#include "platform/IniFile.h"
#include "platform/qt/ShellView.h"
#include "windows/look/uDialogButtons.h"
#include "windows/place/uPlace.h"
#include "windows/place/uSticky.h"
#include "windows/shell/frImport.h"
#include "windows/shell/frOpenBrowser.h"
#include "windows/shell/frSaveShot.h"

namespace {

const std::string kSection = "FormShell";
constexpr int kDesignHeight = 372;
constexpr int kMinWidth = 490, kMinHeight = 370;

// The tool buttons' pictures: an arrow to the left and a folder with an arrow up.
QIcon NavigationIcon(bool up) {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  if (up) {
    p.setPen(QColor(150, 110, 0));
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(QRectF(1.5, 5.5, 13, 9));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.setPen(QPen(QColor(0, 100, 0), 2));
    p.drawLine(QPointF(8, 13), QPointF(8, 7));
    p.drawLine(QPointF(5, 10), QPointF(8, 7));
    p.drawLine(QPointF(11, 10), QPointF(8, 7));
  } else {
    p.setPen(QPen(QColor(0, 100, 0), 1));
    p.setBrush(QColor(40, 170, 40));
    const QPointF arrow[] = {{1.5, 8}, {7.5, 2.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 10.5}, {7.5, 10.5}, {7.5, 13.5}};
    p.drawPolygon(arrow, 7);
  }
  return QIcon(pix);
}

// A tool button that runs an action and follows its state, but keeps a hint of its own.
QToolButton* ActionButton(QAction* action, QToolBar* bar) {
  auto* b = new QToolButton(bar);
  b->setIcon(action->icon());
  b->setAutoRaise(true);
  b->setToolTip(action->toolTip());
  b->setEnabled(action->isEnabled());
  QObject::connect(b, &QToolButton::clicked, action, &QAction::trigger);
  QObject::connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
  bar->addWidget(b);
  return b;
}

QString WithSlash(const QString& path) {
  if (path.isEmpty() || path.endsWith(QLatin1Char('/'))) return path;
  return path + QLatin1Char('/');
}

// The width an edit line needs to show the longest of `texts` whole: the
// text, the line's inner margins and its frame, as the line paints them.
int LineWidthFor(const QLineEdit* line, const QStringList& texts) {
  const QFontMetrics metrics = line->fontMetrics();
  int widest = 0;
  for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
  constexpr int kInnerMargin = 2;  // the line's own room left and right of its text
  constexpr int kProbe = 100;
  QStyleOptionFrame option;
  option.initFrom(line);
  option.rect = QRect(0, 0, kProbe, line->sizeHint().height());
  option.lineWidth = line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, line);
  const int contents = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line).width();
  const QMargins margins = line->textMargins();
  return widest + (kProbe - contents) + 2 * kInnerMargin + margins.left() + margins.right() + 1;
}

}  // namespace

QString TFormShell::ExtractExtension(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || dot < name.lastIndexOf(QLatin1Char('/'))) return QString();
  return name.mid(dot);
}

QString TFormShell::ForceExtension(const QString& name, const QString& extension) {
  const QString ext = ExtractExtension(name);
  // A listed SAMPLE.ZOD stays the file it is on a file system that tells case apart.
  if (ext.compare(extension, Qt::CaseInsensitive) == 0) return name;
  return name.left(name.size() - ext.size()) + extension;
}

TFormShell::TFormShell(QWidget* owner, const TShellHost& host)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), Host(host) {
  setObjectName(QStringLiteral("FormShell"));
  setSizeGripEnabled(true);
  InstallSticky(this, TStickyKind::Dialog);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 6);
  layout->setSpacing(4);

  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  Splitter->setChildrenCollapsible(false);
  ShellTreeView = new TShellTreeView(Splitter);
  ShellTreeView->setObjectName(QStringLiteral("ShellTreeView"));

  auto* middle = new QWidget(Splitter);
  auto* middleLayout = new QGridLayout(middle);
  middleLayout->setContentsMargins(0, 0, 0, 0);
  middleLayout->setHorizontalSpacing(4);
  middleLayout->setVerticalSpacing(4);
  ToolBar = new QToolBar(middle);
  ToolBar->setObjectName(QStringLiteral("ToolBarShell"));
  ToolBar->setIconSize(QSize(16, 16));
  ToolBar->setFixedHeight(24);
  ActionBack = new QAction(NavigationIcon(false), QStringLiteral("Назад"), this);
  ActionBack->setToolTip(QStringLiteral("Назад"));
  ActionBack->setEnabled(false);
  ActionUp = new QAction(NavigationIcon(true), QStringLiteral("Вверх"), this);
  ActionUp->setToolTip(QStringLiteral("На один уровень вверх"));
  ToolButtonBack = ActionButton(ActionBack, ToolBar);
  ToolButtonUp = ActionButton(ActionUp, ToolBar);
  ToolButtonUp->setToolTip(QStringLiteral("Вверх"));
  ShellListView = new TShellListView(middle);
  ShellListView->setObjectName(QStringLiteral("ShellListView"));
  ShellListView->Filter = [this](const QString& name, bool isFolder) { return ShellListViewAddFolder(name, isFolder); };
  Label3 = new QLabel(QStringLiteral("Имя файла:"), middle);
  EditFileName = new QLineEdit(middle);
  EditFileName->setObjectName(QStringLiteral("EditFileName"));
  Label4 = new QLabel(QStringLiteral("Тип файла:"), middle);
  EditFileType = new QLineEdit(middle);
  EditFileType->setObjectName(QStringLiteral("EditFileType"));
  EditFileType->setReadOnly(true);
  // The type line shows the beginning of its text: every text put into it,
  // also the one it holds already, moves the cursor to the end, and the line
  // would scroll there.
  connect(EditFileType, &QLineEdit::cursorPositionChanged, EditFileType, [this](int, int now) {
    if (now != 0) EditFileType->setCursorPosition(0);
  });
  EditFileType->setFocusPolicy(Qt::NoFocus);
  EditFileType->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
  EditFileType->setMinimumWidth(LineWidthFor(EditFileType, {TypeTextZod, TypeTextZor, TypeTextJpg}));
  Label3->setBuddy(EditFileName);
  EditFileName->installEventFilter(this);
  middleLayout->addWidget(ToolBar, 0, 0, 1, 2);
  middleLayout->addWidget(ShellListView, 1, 0, 1, 2);
  middleLayout->addWidget(Label3, 2, 0);
  middleLayout->addWidget(EditFileName, 2, 1);
  middleLayout->addWidget(Label4, 3, 0);
  middleLayout->addWidget(EditFileType, 3, 1);
  middleLayout->setRowStretch(1, 1);
  middleLayout->setColumnStretch(1, 1);

  PanelSub = new QFrame(Splitter);
  PanelSub->setObjectName(QStringLiteral("PanelSub"));
  PanelSub->setFrameShape(QFrame::Box);
  PanelSub->setFrameShadow(QFrame::Plain);
  // The side frame, once made, lies over the caption in the same place.
  FSubLayout = new QGridLayout(PanelSub);
  FSubLayout->setContentsMargins(1, 1, 1, 1);
  LabelSub = new QLabel(QStringLiteral("(нет)"), PanelSub);
  LabelSub->setAlignment(Qt::AlignCenter);
  FSubLayout->addWidget(LabelSub, 0, 0);
  PanelSub->hide();

  Splitter->addWidget(ShellTreeView);
  Splitter->addWidget(middle);
  Splitter->addWidget(PanelSub);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setStretchFactor(2, 0);
  layout->addWidget(Splitter, 1);

  const TDialogButtons foot = MakeDialogButtons(this, mrYes, mrCancel);
  Bevel1 = foot.Bevel;
  ButtonYes = foot.Yes;
  ButtonCancel = foot.Cancel;
  ButtonCancel->setAutoDefault(false);
  // Yes accepts only what ButtonYesClick lets through (it may ask first).
  ButtonYes->disconnect(this);
  layout->addLayout(foot.Layout);

  AskReplace = [this](const QString& fileName) {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("Файл \"%1\" уже существует. Заменить его?").arg(fileName), QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == yes;
  };

  connect(ShellTreeView, &TShellTreeView::Changing, this, [this] { ShellTreeViewChanging(); });
  connect(ShellTreeView, &TShellTreeView::Changed, this,
          [this](bool hasNode, const QString& text) { ShellTreeViewChange(hasNode, text); });
  connect(ShellListView, &TShellListView::Clicked, this, [this] { ShellListViewClick(); });
  connect(ShellListView, &TShellListView::DoubleClicked, this, [this] { ShellListViewDblClick(); });
  connect(ShellListView, &TShellListView::EnterPressed, this, [this] { ShellListViewDblClick(); });
  connect(ShellListView, &TShellListView::KeyReleased, this, [this](int key) { ShellListViewKeyUp(key); });
  // A file renamed in the list is the one the name line, the type line and the caption name.
  connect(ShellListView, &TShellListView::RenameEnded, this, [this] { ShellListViewClick(); });
  // Handle 1 stands right of the tree, handle 2 left of the side panel.
  connect(Splitter, &QSplitter::splitterMoved, this, [this](int, int handle) {
    (handle == 1 ? FTreeMoved : FPanelMoved) = true;
  });
  connect(ActionBack, &QAction::triggered, this, [this] { ActionBackExecute(); });
  connect(ActionUp, &QAction::triggered, this, [this] { ActionUpExecute(); });
  connect(EditFileName, &QLineEdit::textChanged, this, [this] {
    if (NameRule == TNameRule::Save) EditFileNameSaveChange();
    else if (NameRule == TNameRule::Load) EditFileNameLoadChange();
  });
  connect(ButtonYes, &QPushButton::clicked, this, [this] {
    if (ButtonYesClick()) done(mrYes);
  });

  resize(kMinWidth, kDesignHeight);
  setMinimumSize(kMinWidth, kMinHeight);
  FormCreate();
}

TFormShell::~TFormShell() { FormDestroy(); }

void TFormShell::FormCreate() {
  if (parentWidget()) PlaceBelowMain(this, parentWidget());
  BackPath.clear();
}

void TFormShell::SetStartFolder(const QString& folder) {
  if (!ShellTreeView->SetPath(folder)) ShellTreeView->SetPath(Host.FallbackFolder);
}

QString TFormShell::CurrentFolder() const { return WithSlash(ShellTreeView->Path()); }

QString TFormShell::NamedFile(const QString& name) const {
  if (name.isEmpty()) return CurrentFolder();
  QString path = name;
  // "~" stands for the home folder, as in a shell.
  if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) path = QDir::homePath() + path.mid(1);
  return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : CurrentFolder() + path);
}

QString TFormShell::NameRefusal(const QString& name) const {
  const QString part = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
  if (part.isEmpty() && !name.isEmpty()) return QStringLiteral("Папка \"%1\" не найдена.").arg(NamedFile(name));
  // A file that is there opens whatever its name: an older version saved ".zod".
  if (!Saving() && !part.isEmpty() && QFileInfo::exists(NamedFile(ForceExtension(name, Extension)))) return QString();
  // The name the file gets, less the extension the window forces on it, must
  // hold more than points and blanks: "", "...", ".zod" (so ".ZOD", and ".zor"
  // that becomes ".zod") and "   .zod" name no file, only a hidden one the
  // window never lists or one the list shows as if it had no name.
  const QString accepted = ForceExtension(part, Extension);
  const QString stem = accepted.left(accepted.size() - ExtractExtension(accepted).size());
  const auto only = [](const QString& text, bool points, bool blanks) {
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
      return (points && c == QLatin1Char('.')) || (blanks && c.isSpace());
    });
  };
  if (!only(stem, true, true)) return QString();
  if (stem.isEmpty() && !part.isEmpty())
    return QStringLiteral("Не указано имя файла: \"%1\" — только расширение.").arg(part);
  if (only(stem, false, true)) return QStringLiteral("Не указано имя файла.");
  if (only(part, true, false))
    return QStringLiteral("Имя \"%1\" не может быть именем файла: оно состоит только из точек.").arg(part);
  if (only(stem, true, false))
    return QStringLiteral("Имя \"%1\" не может быть именем файла: до расширения в нём только точки.").arg(part);
  return QStringLiteral("Имя \"%1\" не может быть именем файла: до расширения в нём только точки и пробелы.").arg(part);
}

int TFormShell::OuterWidth() const { return OuterRect(this).width(); }

bool TFormShell::Saving() const { return WindowType == TypeSave || WindowType == TypeExport || WindowType == TypeSaveShot; }

void TFormShell::SetWindowType(unsigned char type) {
  WindowType = type;
  const TIniFile ini(Host.SettingsFile.toStdString(), Host.SettingsStart.toStdString());
  auto readInt = [&](const std::string& key, int def) { return ini.ReadInteger(kSection, key, def); };
  auto readBool = [&](const std::string& key, bool def) { return ini.ReadBool(kSection, key, def); };
  auto showPanel = [this](bool border) {
    PanelSub->show();
    PanelSub->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
  };
  int defaultWidth = 640;
  switch (type) {
    case TypeSave:
      PanelSub->hide();
      IniPrefix = QStringLiteral("Save");
      defaultWidth = 490;
      break;
    case TypeOpenBrowser:
      showPanel(true);
      IniPrefix = QStringLiteral("OpenBrowser");
      FrameOpenBrowser = new TFrameOpenBrowser(PanelSub);
      FSubLayout->addWidget(FrameOpenBrowser, 0, 0);
      break;
    case TypeImport:
    case TypeExport:
      showPanel(true);
      IniPrefix = type == TypeImport ? QStringLiteral("Import") : QStringLiteral("Export");
      FrameImport = new TFrameImport(PanelSub, Host.Images);
      FSubLayout->addWidget(FrameImport, 0, 0);
      if (type == TypeExport) {
        SetFrameShown(FrameImport, true);
        FrameImport->Fill(Host.ResourceHeader, Host.ResourceNames, Host.PlantHeader, Host.PlantNames);
      }
      break;
    case TypeSaveShot: {
      showPanel(false);
      IniPrefix = QStringLiteral("SaveShot");
      FrameSaveShot = new TFrameSaveShot(PanelSub);
      FSubLayout->addWidget(FrameSaveShot, 0, 0);
      LabelSub->hide();
      FrameSaveShot->TrackBar->setValue(std::clamp(readInt("SaveShot.Position", 70), 10, 100));
      if (readBool("SaveShot.View", true)) FrameSaveShot->RadioButtonView->setChecked(true);
      const bool chart = readBool("SaveShot.Chart", false);
      if (readBool("SaveShot.History", chart)) FrameSaveShot->RadioButtonHistory->setChecked(true);
      if (readBool("SaveShot.Stat", false)) FrameSaveShot->RadioButtonStat->setChecked(true);
      const std::pair<QRadioButton*, void (TFormShell::*)()> handlers[] = {
          {FrameSaveShot->RadioButtonView, &TFormShell::RadioButtonViewClick},
          {FrameSaveShot->RadioButtonHistory, &TFormShell::RadioButtonHistoryClick},
          {FrameSaveShot->RadioButtonStat, &TFormShell::RadioButtonStatClick}};
      for (const auto& [button, handler] : handlers) {
        connect(button, &QRadioButton::clicked, this, [this, h = handler] { (this->*h)(); });
        connect(button, &QRadioButton::toggled, this, [this, h = handler](bool on) {
          if (on) (this->*h)();
        });
        (this->*handler)();
      }
      break;
    }
    default:
      return;
  }
  ButtonYes->setText(Saving() ? QStringLiteral("Сохранить") : QStringLiteral("Открыть"));
  const std::string prefix = IniPrefix.toStdString();
  FWidthStored = ini.ValueExists(kSection, prefix + ".Width");
  FOuterWidth = readInt(prefix + ".Width", defaultWidth);
  FTreeWidth = readInt(prefix + ".ShellTreeView", 177);
  FPanelWidth = readInt(prefix + ".PanelSubWidth", 215);
  // Hand-edited widths are kept within what the window can show.
  const int workWidth = WorkArea(this).width();
  FOuterWidth = std::clamp(FOuterWidth, kMinWidth, std::max(kMinWidth, workWidth));
  FTreeWidth = std::clamp(FTreeWidth, 20, 2000);
  FPanelWidth = std::clamp(FPanelWidth, 20, 2000);
  // The stored width, the design height and the least size are those of the
  // outer window: set again once the window system tells the frame.
  // A width the user never chose is at least the one at which the tree, the
  // list's least width and the side panel stand side by side.
  PlaceWindow(this, [this] {
    setMinimumSize(QSize(kMinWidth, kMinHeight).shrunkBy(FrameMargins(this)));
    FShownWidth = FOuterWidth;
    if (!FWidthStored)
      FShownWidth = std::clamp(FittingOuterWidth(), FOuterWidth, std::max(FOuterWidth, WorkArea(this).width()));
    ResizeOuter(this, QSize(FShownWidth, kDesignHeight));
    ApplyWidths();
    if (parentWidget()) MoveOuter(this, BelowMainOnWorkArea(this, parentWidget()));
  });
}

int TFormShell::FittingOuterWidth() const {
  const QMargins frame = FrameMargins(this);
  const QMargins around = layout()->contentsMargins();
  int width = frame.left() + frame.right() + around.left() + around.right();
  const int wanted[] = {FTreeWidth, 0, FPanelWidth};
  for (int i = 0; i < Splitter->count(); ++i) {
    const QWidget* part = Splitter->widget(i);
    if (part->isHidden()) continue;
    const int least = std::max(part->minimumWidth(), part->minimumSizeHint().width());
    width += std::max(i < 3 ? wanted[i] : 0, least) + (i > 0 ? Splitter->handleWidth() : 0);
  }
  return width;
}

void TFormShell::ApplyWidths() {
  if (layout()) layout()->activate();
  const int total = Splitter->width();
  const bool panel = !PanelSub->isHidden();
  const int handles = Splitter->handleWidth() * (panel ? 2 : 1);
  const int middle = std::max(100, total - FTreeWidth - (panel ? FPanelWidth : 0) - handles);
  Splitter->setSizes({FTreeWidth, middle, panel ? FPanelWidth : 0});
}

void TFormShell::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FormShow();
}

void TFormShell::FormShow() {
  if (WindowType == 0) {
    // No type set: neither rule applies.
  } else if (!Saving()) {
    NameRule = TNameRule::Load;
    EditFileName->setFocus();
  } else {
    NameRule = TNameRule::Save;
    EditFileNameSaveChange();
    EditFileName->setFocus();
  }
  UpdateCaption();
  ActionBack->setEnabled(true);
}

void TFormShell::UpdateCaption() { setWindowTitle(ButtonYes->text() + QStringLiteral(": ") + NamedFile(EditFileName->text())); }

void TFormShell::EditFileNameSaveChange() {
  ButtonYes->setEnabled(!EditFileName->text().isEmpty());
  UpdateCaption();
}

void TFormShell::EditFileNameLoadChange() {
  const QString name = EditFileName->text();
  // A file is opened; a folder is opened in the window; a name in a folder
  // that may not be entered is taken too, and its reading says why it fails.
  const QFileInfo named(NamedFile(name));
  ButtonYes->setEnabled(!name.isEmpty() && (named.isFile() || named.isDir() ||
                                            CannotEnterFolderOf(NamedFile(name).toStdString())));
  UpdateCaption();
}

void TFormShell::SetFrameShown(QWidget* frame, bool shown) {
  if (!frame) return;
  frame->setVisible(shown);
  PanelSub->setFrameShape(shown ? QFrame::NoFrame : QFrame::Box);
  LabelSub->setVisible(!shown);
}

void TFormShell::ShellListViewClick() {
  if (!ShellListView->HasSelected() || ShellListView->SelectedIsFolder()) {
    EditFileName->clear();
    EditFileType->setText(ShellListView->HasSelected() ? QStringLiteral("Папка") : QString());
    if (WindowType == TypeOpenBrowser) SetFrameShown(FrameOpenBrowser, false);
    if (WindowType == TypeImport) {
      SetFrameShown(FrameImport, false);
      FrameImport->Clear();  // no set is shown, so none can be imported
    }
    return;
  }
  EditFileName->setText(ShellListView->SelectedName());
  const QString ext = ExtractExtension(EditFileName->text());
  const QString file = NamedFile(EditFileName->text());
  if (ext.compare(QStringLiteral(".zod"), Qt::CaseInsensitive) == 0) {
    EditFileType->setText(TypeTextZod);
    if (WindowType == TypeOpenBrowser) {
      SetFrameShown(FrameOpenBrowser, true);
      if (!FrameOpenBrowser->Preview(file, Host.Pages)) SetFrameShown(FrameOpenBrowser, false);
    }
  } else if (ext.compare(QStringLiteral(".jpg"), Qt::CaseInsensitive) == 0) {
    EditFileType->setText(TypeTextJpg);
  } else if (ext.compare(QStringLiteral(".zor"), Qt::CaseInsensitive) == 0) {
    EditFileType->setText(TypeTextZor);
    if (WindowType == TypeImport) PreviewResourceSet(file);
  } else {
    EditFileType->setText(QStringLiteral("Файл (*") + ext + QLatin1Char(')'));
  }
}

void TFormShell::PreviewResourceSet(const QString& file) {
  SetFrameShown(FrameImport, true);
  if (!FrameImport->Preview(file, Host.ResourceHeader, Host.PlantHeader)) SetFrameShown(FrameImport, false);
}

void TFormShell::ShellListViewDblClick() {
  if (!ShellListView->HasSelected()) return;
  if (ShellListView->SelectedIsFolder()) {
    ShellTreeView->SetPath(ShellListView->SelectedPath());
    return;
  }
  ShellListViewClick();
  if (ButtonYesClick()) done(mrYes);
}

void TFormShell::ShellListViewKeyUp(int key) {
  // With nothing listed the keys select nothing, and the name typed or
  // proposed stays.
  if (ShellListView->ItemCount() == 0) return;
  // The keys that move the selection in the list.
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      ShellListViewClick();
      break;
    default:
      break;
  }
}

bool TFormShell::eventFilter(QObject* watched, QEvent* event) {
  if (watched != EditFileName || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
    return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // With no name typed, the folder chosen in the list opens, as on a
      // double click and as the Yes button does.
      if (event->type() == QEvent::KeyPress && OpenSelectedFolder()) return true;
      return QDialog::eventFilter(watched, event);
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      break;
    default:
      return QDialog::eventFilter(watched, event);
  }
  if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return QDialog::eventFilter(watched, event);
  // The list takes the key as if it had the focus: the press moves its
  // selection, the release runs the selection handling (the name line and the
  // preview follow). The focus stays in the name line.
  QKeyEvent forwarded(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(), key->count());
  QCoreApplication::sendEvent(ShellListView, &forwarded);
  return true;
}

bool TFormShell::ShellListViewAddFolder(const QString& displayName, bool isFolder) const {
  return isFolder || ExtractExtension(displayName).compare(Extension, Qt::CaseInsensitive) == 0;
}

void TFormShell::ShellTreeViewChanging() {
  BackPath = CurrentFolder();
  ToolButtonBack->setToolTip(QStringLiteral("Назад: ") + BackPath);
}

void TFormShell::ShellTreeViewChange(bool hasNode, const QString& nodeText) {
  ShellListView->SetFolder(ShellTreeView->Path());
  ShellListViewClick();
  UpdateCaption();
  if (!hasNode) {
    ToolButtonUp->setToolTip(QStringLiteral("(нет)"));
    ActionUp->setEnabled(false);
    return;
  }
  // The part of the path before the node's own name: the folder above.
  const QString path = CurrentFolder();
  const qsizetype at = path.lastIndexOf(nodeText);
  if (at >= 0) ToolButtonUp->setToolTip(QStringLiteral("Вверх: ") + path.left(at));
  ActionUp->setEnabled(true);
}

void TFormShell::ActionBackExecute() {
  if (BackPath.isEmpty()) return;
  const QString back = BackPath;
  BackPath = CurrentFolder();
  ShellTreeView->SetPath(back);
  if (!ShellListView->HasSelected()) {
    EditFileName->clear();
    EditFileType->clear();
  }
}

void TFormShell::ActionUpExecute() {
  const QString folder = ShellTreeView->Path();
  if (!folder.isEmpty() && folder != QStringLiteral("/")) {
    const QString parent = QFileInfo(folder).path();
    ShellTreeView->SetPath(parent);
  }
  if (!ShellListView->HasSelected()) {
    EditFileName->clear();
    EditFileType->clear();
  }
}

bool TFormShell::OpenSelectedFolder() {
  if (!EditFileName->text().isEmpty() || !ShellListView->SelectedIsFolder()) return false;
  ShellListViewDblClick();
  return true;
}

bool TFormShell::ButtonYesClick() {
  if (OpenSelectedFolder()) return false;
  const QString typed = EditFileName->text();
  // A folder typed is opened in the window.
  if (const QString folder = NamedFile(typed); !typed.isEmpty() && QFileInfo(folder).isDir()) {
    ShellTreeView->SetPath(folder);
    EditFileName->clear();
    return false;
  }
  if (const QString refusal = NameRefusal(typed); !refusal.isEmpty()) {
    if (Host.ShowInformation) Host.ShowInformation(refusal);
    return false;
  }
  const QString name = ForceExtension(typed, Extension);
  EditFileName->setText(name);
  const QString target = NamedFile(name);
  if (WindowType == TypeImport && FrameImport && FrameImport->SetFile != target) {
    // Another set than the list shows: the list shows it now, for the user to
    // tick what to import from it, and the folder list marks it, or nothing
    // when it lies elsewhere.
    const QFileInfo file(target);
    if (file.path() != ShellTreeView->Path() || !ShellListView->Select(file.fileName())) ShellListView->clearSelection();
    PreviewResourceSet(target);
    // A set that cannot be read has no rows to tick: it is taken at once, and
    // the import says why it brought nothing.
    if (FrameImport->SetReadable) return false;
  }
  if (Saving() && QFileInfo::exists(target)) {
    const QString current = Host.CurrentFile.isEmpty() ? QString() : QFileInfo(Host.CurrentFile).canonicalFilePath();
    const bool same = !current.isEmpty() && QFileInfo(target).canonicalFilePath() == current;
    if (!same && AskReplace && !AskReplace(target)) return false;
  }
  FileName = target;
  return true;
}

void TFormShell::reject() { done(mrCancel); }

namespace {
// The picture's base name: the current data file's name without its folder and its extension.
QString ShotBase(const QString& currentFile) {
  const QString name = QFileInfo(currentFile).fileName();
  return name.left(std::max<qsizetype>(0, name.size() - 4));
}
}  // namespace

void TFormShell::RadioButtonViewClick() {
  if (!FrameSaveShot || !FrameSaveShot->RadioButtonView->isChecked()) return;
  EditFileName->setText(ShotBase(Host.CurrentFile) + QLatin1Char('_') + QString::number(Host.Step));
}

void TFormShell::RadioButtonHistoryClick() {
  if (!FrameSaveShot || !FrameSaveShot->RadioButtonHistory->isChecked()) return;
  EditFileName->setText(ShotBase(Host.CurrentFile) + QStringLiteral("h_") + QString::number(Host.Step) +
                        QLatin1Char('_') + Host.HistoryItem);
}

void TFormShell::RadioButtonStatClick() {
  if (!FrameSaveShot || !FrameSaveShot->RadioButtonStat->isChecked()) return;
  EditFileName->setText(ShotBase(Host.CurrentFile) + QStringLiteral("s_") + QString::number(Host.Step) +
                        QLatin1Char('_') + Host.StatItem);
}

void TFormShell::FormDestroy() {
  if (Host.SettingsFile.isEmpty() || IniPrefix.isEmpty()) return;
  TIniFile ini(Host.SettingsFile.toStdString(), Host.SettingsStart.toStdString());
  if (FrameSaveShot) {
    ini.WriteInteger(kSection, "SaveShot.Position", FrameSaveShot->TrackBar->value());
    ini.WriteBool(kSection, "SaveShot.View", FrameSaveShot->RadioButtonView->isChecked());
    ini.WriteBool(kSection, "SaveShot.History", FrameSaveShot->RadioButtonHistory->isChecked());
    ini.WriteBool(kSection, "SaveShot.Stat", FrameSaveShot->RadioButtonStat->isChecked());
  }
  // Only the widths the user set: the window resized, a splitter moved. What
  // the layout made of the stored widths stays unwritten, and a width never
  // set keeps its default.
  const std::string prefix = IniPrefix.toStdString();
  if (OuterWidth() != FShownWidth) ini.WriteInteger(kSection, prefix + ".Width", OuterWidth());
  if (FTreeMoved) ini.WriteInteger(kSection, prefix + ".ShellTreeView", ShellTreeView->width());
  if (FPanelMoved && !PanelSub->isHidden()) ini.WriteInteger(kSection, prefix + ".PanelSubWidth", PanelSub->width());
  ini.UpdateFile();
}
