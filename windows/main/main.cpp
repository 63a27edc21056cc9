#include "windows/main/main.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QTableWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "controls/ToolEdit.h"
#include "files/uDataFile.h"
#include "platform/IniFile.h"
#include "windows/look/FlatStyle.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uListImages.h"
#include "windows/look/uProc.h"
#include "windows/main/mainHtml.h"
#include "windows/main/mainSettings.h"
#include "windows/pages/fHelp.h"
#include "windows/parameter/fInput.h"
#include "windows/parameter/fParameter.h"
#include "windows/place/uPlace.h"
#include "windows/place/uSticky.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

TMainForm* MainForm = nullptr;

namespace {

// A button of the command tool bar: it runs its action but keeps a hint of its own.
class TActionButton : public QToolButton {
 public:
  TActionButton(QAction* action, const QString& hint, const QString& caption, QWidget* parent)
      : QToolButton(parent), Hint(hint), Caption(caption) {
    setDefaultAction(action);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setFixedSize(71, 36);
    setAutoRaise(true);
    ApplyOwn();
    connect(action, &QAction::changed, this, [this] { ApplyOwn(); });
  }
  QString Hint, Caption;

 private:
  void ApplyOwn() {
    if (!Caption.isEmpty()) setText(Caption);
    setToolTip(Hint);
  }
};

qint64 NowNs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.nsecsElapsed();
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  MainForm = this;
  setWindowTitle(QStringLiteral("Omra"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  // Hints of the tool buttons also while another window of the program is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  qApp->installEventFilter(this);
  ProgramPath = ProgramFolder();  // uSettings.cpp
  FilesPath = ProgramPath + QStringLiteral("Files/");
  PathDocument = ProgramPath;
  PathSaveShot = ProgramPath;
  CreateImages();
  CreateActions();
  CreateBars();
  InstallStickyMain(this, ActionViewDock, &SnapBuffer, &Moving);

  FormView = new TFormView(this);
  FormStatistic = new TFormStatistic(this);
  FormParameter = new TFormParameter(this);

  // Start-up from the settings file (mainSettings.cpp), then the page commands
  // (mainHtml.cpp) and the file commands (mainFile.cpp).
  if (SettingsFileInUse()) {
    StartUpFromSettings(*this);
  } else {
    BuildDefaultModel();
    PlaceDefaultWindows();
  }
  ConnectPageCommands(*this);
  ConnectFileCommands();
}

TMainForm::~TMainForm() {
  if (SettingsFileInUse()) WriteExitSettings(*this);  // mainSettings.cpp
  qApp->removeEventFilter(this);
  // The tool windows read the model while they go: they go first.
  delete FormParameter;
  FormParameter = nullptr;
  delete FormStatistic;
  FormStatistic = nullptr;
  delete FormView;
  FormView = nullptr;
  delete Resource;
  Resource = nullptr;
  delete Plant;
  Plant = nullptr;
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::CreateImages() {
  for (int i = 0; i <= 27; ++i) ImageList.append(DrawIcon(i));
  AddCheckListImages(ImageList);
}

QAction* TMainForm::NewAction(const QString& category, const QString& caption, const QString& hint,
                              const QKeySequence& shortcut, int tag) {
  auto* a = new QAction(caption, this);
  a->setProperty("Category", category);
  a->setProperty("Hint", hint);
  if (!hint.isEmpty()) a->setToolTip(hint);
  a->setShortcut(shortcut);
  a->setShortcutContext(Qt::ApplicationShortcut);
  a->setData(tag);
  ActionList.append(a);
  addAction(a);
  return a;
}

void TMainForm::CreateActions() {
  const QString File = QStringLiteral("File"), Field = QStringLiteral("Field"), View = QStringLiteral("View"),
                Help = QStringLiteral("Help"), ReLoad = QStringLiteral("ReLoad");
  ActionFileNew = NewAction(File, QStringLiteral("Создать"), {}, Qt::Key_F2);
  ActionFileLoad = NewAction(File, QStringLiteral("Открыть..."), QStringLiteral("Открыть файл"), Qt::Key_F3);
  ActionFileSave = NewAction(File, QStringLiteral("Сохранить"), {}, Qt::Key_F4);
  ActionFileSaveAs = NewAction(File, QStringLiteral("Сохранить как..."), {}, Qt::CTRL | Qt::Key_F4);
  ActionFileImport = NewAction(File, QStringLiteral("Импорт..."), {}, Qt::CTRL | Qt::Key_M);
  ActionFileExport = NewAction(File, QStringLiteral("Экспорт..."), {}, Qt::CTRL | Qt::Key_E);
  ActionFileExit = NewAction(File, QStringLiteral("Выход"), QStringLiteral("Выход из программы"), Qt::CTRL | Qt::Key_X);
  ActionFieldStart = NewAction(Field, QStringLiteral("Пуск"), QStringLiteral("Запустить процесс"), Qt::Key_F5);
  ActionFieldStop = NewAction(Field, QStringLiteral("Стоп"), QStringLiteral("Остановить процесс"), Qt::Key_F6);
  ActionFieldStop->setEnabled(false);
  ActionFieldStep = NewAction(Field, QStringLiteral("Сделать такт"), QStringLiteral("Сделать такт"), Qt::Key_F7);
  ActionFieldUndo = NewAction(Field, QStringLiteral("Первоначальное состояние"), {}, Qt::Key_F8);
  ActionFieldInput = NewAction(Field, QStringLiteral("Заполнить поле..."), {}, Qt::CTRL | Qt::Key_I);
  ActionFieldClear = NewAction(Field, QStringLiteral("Очистить поле..."), {}, Qt::CTRL | Qt::Key_C);
  ActionFieldSaveShot = NewAction(Field, QStringLiteral("Сохранить изображение..."), {}, Qt::CTRL | Qt::Key_S);
  ActionViewField = NewAction(View, QStringLiteral("Наблюдение"), QStringLiteral("Окно наблюдения "), Qt::Key_F9);
  ActionViewStatistic = NewAction(View, QStringLiteral("Статистика"), QStringLiteral("Окно статистики"), Qt::Key_F10);
  ActionViewParameter = NewAction(View, QStringLiteral("Параметры"), QStringLiteral("Окно параметров"), Qt::Key_F11);
  ActionViewComment = NewAction(View, QStringLiteral("Комментарии"), {}, Qt::Key_F12);
  ActionViewDock = NewAction(View, QStringLiteral("Липкие окна"), {}, Qt::CTRL | Qt::Key_D);
  ActionAutoSize = NewAction(View, QStringLiteral("Авторазмер поля"), {}, Qt::CTRL | Qt::Key_F);
  ActionHelpTheory = NewAction(Help, QStringLiteral("Описание теории..."), {}, QKeySequence());
  ActionHelpHelp = NewAction(Help, QStringLiteral("Описание программы..."), {}, Qt::Key_F1);
  ActionHelpWhatsNew = NewAction(Help, QStringLiteral("Что нового?.."), {}, Qt::ALT | Qt::Key_F1);
  ActionHelpAbout = NewAction(Help, QStringLiteral("О программе..."), {}, Qt::CTRL | Qt::Key_F1);
  QAction** reload[5] = {&ActionReload1, &ActionReload2, &ActionReload3, &ActionReload4, &ActionReload5};
  for (int i = 0; i < 5; ++i)
    *reload[i] = NewAction(ReLoad, QStringLiteral("ActionReload%1").arg(i + 1), {}, QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)), i + 1);

  for (QAction* a : {ActionViewField, ActionViewStatistic, ActionViewParameter}) {
    a->setCheckable(true);
    a->setChecked(true);
  }
  ActionViewDock->setCheckable(true);

  // Pictures, by the order of the image list.
  const std::pair<QAction*, int> images[] = {
      {ActionFileNew, 3},       {ActionFileLoad, 4},       {ActionFileSave, 5},       {ActionFileSaveAs, 6},
      {ActionFileImport, 7},    {ActionFileExport, 8},     {ActionFileExit, 9},       {ActionFieldStart, 10},
      {ActionFieldStop, 11},    {ActionFieldStep, 12},     {ActionFieldUndo, 13},     {ActionFieldInput, 14},
      {ActionFieldClear, 15},   {ActionFieldSaveShot, 16}, {ActionViewField, 17},     {ActionViewStatistic, 18},
      {ActionViewParameter, 19}, {ActionViewComment, 20},  {ActionViewDock, 21},      {ActionAutoSize, 22},
      {ActionHelpTheory, 23},   {ActionHelpHelp, 24},      {ActionHelpWhatsNew, 25},  {ActionHelpAbout, 26}};
  for (const auto& [a, i] : images) a->setIcon(ImageList[i]);
  for (QAction* a : {ActionReload1, ActionReload2, ActionReload3, ActionReload4, ActionReload5})
    a->setIcon(ImageList[27]);

  connect(ActionFileExit, &QAction::triggered, this, &QWidget::close);
  connect(ActionFieldStart, &QAction::triggered, this, [this] { ActionFieldStartExecute(); });
  connect(ActionFieldStop, &QAction::triggered, this, [this] { ActionFieldStopExecute(); });
  connect(ActionFieldStep, &QAction::triggered, this, [this] { ActionFieldStepExecute(); });
  connect(ActionFieldUndo, &QAction::triggered, this, [this] { ActionFieldUndoExecute(); });
  connect(ActionAutoSize, &QAction::triggered, this, [this] { ActionAutoSizeExecute(); });
  connect(ActionFieldInput, &QAction::triggered, this, [this] { ActionFieldInputExecute(); });
  connect(ActionFieldClear, &QAction::triggered, this, [this] { ActionFieldClearExecute(); });
  connect(ActionViewField, &QAction::triggered, this, [this] { ViewToggle(ActionViewField, FormView); });
  connect(ActionViewStatistic, &QAction::triggered, this, [this] { ViewToggle(ActionViewStatistic, FormStatistic); });
  connect(ActionViewParameter, &QAction::triggered, this, [this] { ViewToggle(ActionViewParameter, FormParameter); });
}

void TMainForm::ViewToggle(QAction* action, QWidget* window) {
  if (window) window->setVisible(action->isChecked());
}

void TMainForm::CreateBars() {
  auto newMenu = [&](const QString& name) {
    auto* m = new QMenu(this);
    m->setObjectName(name);
    return m;
  };
  PopupMenuFile = newMenu(QStringLiteral("PopupMenuFile"));
  PopupMenuFile->addActions({ActionFileNew, ActionFileLoad, ActionFileSave, ActionFileSaveAs});
  PopupMenuFile->addSeparator();
  PopupMenuFile->addActions({ActionFileImport, ActionFileExport});
  PopupMenuFile->addSeparator();
  PopupMenuLoad = newMenu(QStringLiteral("PopupMenuLoad"));
  QAction* reload[5] = {ActionReload1, ActionReload2, ActionReload3, ActionReload4, ActionReload5};
  for (int i = 0; i < 5; ++i) {
    // Entries of their own, so that hiding one leaves its action's key working.
    // An entry shows the key but does not own it (UpdateRecentMenu).
    for (int m = 0; m < 2; ++m) {
      auto* item = new QAction(MenuTextWithKey(reload[i]->text(), reload[i]->shortcut()), this);
      item->setData(i + 1);
      item->setIcon(reload[i]->icon());
      item->setVisible(false);
      QAction* target = reload[i];
      connect(item, &QAction::triggered, target, [target] { target->trigger(); });
      connect(target, &QAction::changed, item, [item, target] { item->setEnabled(target->isEnabled()); });
      (m == 0 ? MenuFileReload : MenuLoadReload)[i] = item;
      (m == 0 ? PopupMenuFile : PopupMenuLoad)->addAction(item);
    }
  }
  PopupMenuFile->addSeparator();
  PopupMenuFile->addAction(ActionFileExit);

  PopupMenuService = newMenu(QStringLiteral("PopupMenuService"));
  PopupMenuService->addActions({ActionFieldStart, ActionFieldStop, ActionFieldStep});
  PopupMenuService->addSeparator();
  PopupMenuService->addAction(ActionFieldUndo);
  PopupMenuService->addSeparator();
  PopupMenuService->addActions({ActionFieldInput, ActionFieldClear});
  PopupMenuService->addSeparator();
  PopupMenuService->addAction(ActionFieldSaveShot);

  PopupMenuView = newMenu(QStringLiteral("PopupMenuView"));
  PopupMenuView->addActions({ActionViewField, ActionViewStatistic, ActionViewParameter});
  PopupMenuView->addSeparator();
  // The comment command reads "Комментарии..." in this menu, and is enabled as the command is.
  PopupMenuView->addAction(ProxyItem(ActionViewComment, PopupMenuView, QStringLiteral("Комментарии...")));
  PopupMenuView->addSeparator();
  PopupMenuView->addAction(ActionViewDock);
  PopupMenuView->addSeparator();
  PopupMenuView->addAction(ActionAutoSize);

  PopupMenuHelp = newMenu(QStringLiteral("PopupMenuHelp"));
  PopupMenuHelp->addActions({ActionHelpTheory, ActionHelpHelp, ActionHelpWhatsNew});
  PopupMenuHelp->addSeparator();
  PopupMenuHelp->addAction(ActionHelpAbout);

  ToolBarMenu = new QToolBar(this);
  ToolBarMenu->setObjectName(QStringLiteral("ToolBarMenu"));
  ToolBarMenu->setMovable(false);
  ToolBarMenu->setFloatable(false);
  ToolBarMenu->setContextMenuPolicy(Qt::PreventContextMenu);
  SetBarLook(ToolBarMenu, TBarLook::FlatEdgeBottom);
  const std::pair<QString, QMenu*> menus[] = {{QStringLiteral("Файл"), PopupMenuFile},
                                              {QStringLiteral("Сервис"), PopupMenuService},
                                              {QStringLiteral("Вид"), PopupMenuView},
                                              {QStringLiteral("?"), PopupMenuHelp}};
  for (const auto& [caption, menu] : menus) {
    auto* b = new QToolButton(ToolBarMenu);
    b->setText(caption);
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFixedHeight(19);
    ToolBarMenu->addWidget(b);
    // The pop-up takes the mouse away, so the button hears of no leave: when
    // it closes elsewhere, the button goes back to its normal look.
    connect(menu, &QMenu::aboutToHide, b, [b] {
      if (b->rect().contains(b->mapFromGlobal(QCursor::pos()))) return;
      b->setAttribute(Qt::WA_UnderMouse, false);
      QEvent leave(QEvent::Leave);
      QApplication::sendEvent(b, &leave);
      b->update();
    });
  }
  addToolBar(Qt::TopToolBarArea, ToolBarMenu);
  addToolBarBreak();

  ToolBar = new QToolBar(this);
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  ToolBar->setIconSize(QSize(16, 16));
  QFont small = ToolBar->font();
  small.setPixelSize(10);
  ToolBar->setFont(small);
  // The recent files open below it on a right-button release (mainFile.cpp).
  ToolButtonLoad = ToolBar->addWidget(
      new TActionButton(ActionFileLoad, QStringLiteral("Открыть файл..."), ActionFileLoad->text(), ToolBar));
  auto separator = [this] {
    auto* s = new QWidget(ToolBar);
    s->setFixedSize(8, 36);
    ToolBar->addWidget(s);
  };
  separator();
  ToolButtonStop = ToolBar->addWidget(new TActionButton(ActionFieldStop, QStringLiteral("Остановить процесс"), {}, ToolBar));
  ToolButtonStart = ToolBar->addWidget(
      new TActionButton(ActionFieldStart, QStringLiteral("Запустить процесс жизнедеятельности"), {}, ToolBar));
  ToolBar->addWidget(new TActionButton(ActionFieldStep, QStringLiteral("Сделать один такт"), QStringLiteral("Такт"), ToolBar));
  separator();
  ToolBar->addWidget(new TActionButton(ActionViewField, QStringLiteral("Спрятать/показать окно наблюдения "), {}, ToolBar));
  ToolBar->addWidget(new TActionButton(ActionViewStatistic, QStringLiteral("Спрятать/показать окно статистики"), {}, ToolBar));
  ToolBar->addWidget(new TActionButton(ActionViewParameter, QStringLiteral("Спрятать/показать окно параметров"), {}, ToolBar));
  ToolButtonStop->setVisible(false);
  addToolBar(Qt::TopToolBarArea, ToolBar);
  setCentralWidget(new QWidget(this));
  centralWidget()->setFixedHeight(0);
}

void TMainForm::ShowFileCaption(const QString& fileName) {
  setWindowTitle(ProgramTitle + QStringLiteral(" - ") + QString::fromStdString(ShortFileName(fileName.toStdString())));
}

void TMainForm::ShowViewCaption() {
  if (FormView) FormView->setWindowTitle(QString::fromStdString(ViewCaption(Document())));
}

void TMainForm::ReplaceModel(std::unique_ptr<TResourceObject> resource, std::unique_ptr<TPlantObject> plant) {
  delete Resource;
  Resource = resource.release();
  delete Plant;
  Plant = plant.release();
}

bool TMainForm::IsRunning() const { return ActionFieldStop && ActionFieldStop->isEnabled(); }

void TMainForm::ActionFieldStepExecute() {
  Tick(*Resource, *Plant, Step);
  ShowTick();
}

void TMainForm::ShowTick() {
  if (FormView) FormView->StaticTextStep->setText(QString::number(Step));
  if (IsRunning()) {
    const int32_t period = std::max<int32_t>(1, Refresh);
    if (Step % period == 0) {
      CalcAverages(*Plant);
      if (FormStatistic) FormStatistic->UpdateView();
      // The speed over the ticks since the last refresh of this run, message pumping included.
      const qint64 now = NowNs();
      const qint64 spent = now - RefreshStartNs;
      const int32_t ticks = Step - RefreshStartStep;
      QString sps = QStringLiteral("0.00");
      if (spent > 0 && ticks > 0) sps = FixedText(ticks * 1e9 / static_cast<double>(spent), 4, 2);
      if (FormView) FormView->StaticTextSPS->setText(sps);
      RefreshStartNs = now;
      RefreshStartStep = Step;
    }
  } else {
    CalcAverages(*Plant);
    if (FormStatistic) FormStatistic->UpdateView();
    if (FormView) FormView->StaticTextSPS->setText(QStringLiteral("0.00"));
  }
}

void TMainForm::SetRunning(bool running) {
  ToolButtonStart->setVisible(!running);
  ToolButtonStop->setVisible(running);
  if (FormView) {
    FormView->MenuItemStart->setVisible(!running);
    FormView->MenuItemStop->setVisible(running);
  }
}

void TMainForm::ActionFieldStartExecute() {
  ActionFieldStop->setEnabled(true);
  ActionFieldStart->setEnabled(false);
  SavedBrush = Brush;
  if (FormParameter && FormParameter->CheckBoxAutoBrush->isChecked()) Brush = TBrushTool::Pointer;
  if (FormView) FormView->SetToolButtons(TBrushTool::Pointer);
  SetRunning(true);
  ActionFileNew->setEnabled(false);
  ActionFileLoad->setEnabled(false);
  for (QAction* a : ActionList)
    if (a->data().toInt() > 0) a->setEnabled(false);
  for (QAction* a : {ActionFileSave, ActionFileSaveAs, ActionFileImport, ActionFileExport, ActionFileExit,
                     ActionFieldStep, ActionFieldUndo, ActionFieldClear, ActionFieldInput})
    a->setEnabled(false);
  StopRules.Start(*Plant);
  RefreshStartNs = NowNs();
  RefreshStartStep = Step;
  while (IsRunning()) {
    ActionFieldStepExecute();
    QCoreApplication::processEvents();
    const bool autoStop = FormParameter && FormParameter->CheckBoxAutoStop->isChecked();
    if (StopRules.ShouldStop(*Plant, autoStop)) ActionFieldStopExecute();
  }
  StopRules.Release();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TMainForm::ActionFieldStopExecute() {
  ActionFieldStop->setEnabled(false);
  ActionFieldStart->setEnabled(true);
  Brush = SavedBrush;
  if (FormView) FormView->SetToolButtons(TBrushTool::None);
  SetRunning(false);
  ActionFileNew->setEnabled(true);
  ActionFileLoad->setEnabled(true);
  for (QAction* a : ActionList)
    if (a->data().toInt() > 0) a->setEnabled(true);
  for (QAction* a : {ActionFileSave, ActionFileSaveAs, ActionFileImport, ActionFileExport, ActionFileExit,
                     ActionFieldUndo, ActionFieldStep, ActionFieldClear, ActionFieldInput})
    a->setEnabled(true);
  if (FormView) {
    FormView->SetToolButtons(Brush);
    FormView->StaticTextSPS->setText(QStringLiteral("0.00"));
  }
}

void TMainForm::ActionFieldUndoExecute() {
  if (!FileName.isEmpty() && QFile::exists(FileName)) {
    LoadDataFile(FileName, false);
  } else {
    for (int32_t i = 0; i < Resource->Count; ++i) Resource->Clear(i);
    for (int32_t i = 0; i < Plant->Count; ++i) Plant->Clear(i);
    if (FormStatistic) FormStatistic->ClearHistory();
    Step = 0;
    if (FormView) FormView->StaticTextStep->setText(QStringLiteral("0"));
    if (FormStatistic) FormStatistic->RebuildLayout();
  }
  if (FormStatistic) FormStatistic->UpdateView();
}

void TMainForm::ActionAutoSizeExecute() {
  if (!FormView) return;
  TDrawGrid* grid = FormView->DrawGridField;
  const int width = (grid->DefaultColWidth() + grid->GridLineWidth()) * grid->ColCount() + 3;
  const int height =
      (grid->DefaultRowHeight() + grid->GridLineWidth()) * grid->RowCount() + 3 + FormView->PanelToolBar->height();
  // No larger than the work area, where it stays whole: the scroll bars show the rest.
  const QRect work = WorkArea(FormView);
  const QSize client = QSize(width, height)
                           .boundedTo(work.size().shrunkBy(FrameMargins(FormView)))
                           .expandedTo(FormView->minimumSize());
  FormView->resize(client);
  const QRect outer = OuterRect(FormView);
  const int left = std::max(work.left(), std::min(outer.left(), work.left() + work.width() - outer.width()));
  const int top = std::max(work.top(), std::min(outer.top(), work.top() + work.height() - outer.height()));
  if (QPoint(left, top) != outer.topLeft()) MoveOuter(FormView, QPoint(left, top));
}

QString TMainForm::InputText(const QPoint& pos, const QString& caption, const QString& text) {
  return InputText(pos, caption, QString(), text);
}

QString TMainForm::InputText(const QPoint& pos, const QString& caption, const QString& prompt, const QString& text) {
  TFormInput dialog(this);
  MoveOuter(&dialog, pos);
  dialog.EditInput->setText(text);
  dialog.setWindowTitle(caption);
  dialog.LabelInput->setText(prompt);
  if (dialog.exec() == TFormInput::mrYes) return dialog.EditInput->text();
  return QString();
}

void TMainForm::ShowHtmlMessage(int kind, const QString& caption, const QStringList& lines) {
  ShowMainHtmlMessage(*this, kind, caption, lines);  // mainHtml.cpp
}

void TMainForm::ApplicationException(const QString& message) {
  ShowExceptionPage(MainHtmlHost(*this), message);  // fHelp.cpp
}

// LoadDataFile and SaveDataFile: mainDataFile.cpp.

void TMainForm::closeEvent(QCloseEvent* event) {
  // A run pumps messages inside its own loop: end it, or the program would run on with no window.
  if (IsRunning()) ActionFieldStopExecute();
  if (FormView) FormView->hide();
  if (FormStatistic) FormStatistic->hide();
  if (FormParameter) FormParameter->hide();
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    // A grid's or a list's hint comes to its viewport: the control is the grid.
    QWidget* control = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget->parentWidget()); area && area->viewport() == widget)
      control = area;
    const QPoint cursor = static_cast<QHelpEvent*>(event)->globalPos();
    THintInfo info{control, cursor, cursor, control->rect()};
    QString hint = control->toolTip();
    if (ApplicationShowHint(hint, info)) {
      if (hint.isEmpty()) {
        QToolTip::hideText();
      } else {
        // The hint is laid exactly over the cell, under the mouse: the mouse
        // must go through it, or the control under it would hear that the
        // mouse left it and the hint would go at once. So the hint first
        // shows clear of the mouse, lets the mouse through, then moves in place.
        QToolTip::showText(info.CursorPos + QPoint(0, 48), hint, control, info.CursorRect);
        for (QWidget* top : QApplication::topLevelWidgets())
          if (top->inherits("QTipLabel") && top->isVisible()) {
            if (QWindow* window = top->windowHandle()) window->setFlag(Qt::WindowTransparentForInput, true);
            top->move(info.HintPos);
          }
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::ApplicationShowHint(QString& HintStr, THintInfo& HintInfo) {
  QWidget* control = HintInfo.HintControl;
  if (!control) return false;
  if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
    QWidget* viewport = view->viewport();
    const QModelIndex index = view->indexAt(viewport->mapFromGlobal(HintInfo.CursorPos));
    if (!index.isValid()) return false;
    const QRect cell = view->visualRect(index);
    QPoint at;
    if (qobject_cast<QTableWidget*>(view)) {
      at = cell.topLeft() - QPoint(2, 3);
    } else if (qobject_cast<QListWidget*>(view)) {
      at = cell.topLeft();
    } else {
      return false;
    }
    HintInfo.HintPos = viewport->mapToGlobal(at);
    HintInfo.CursorRect = cell.translated(viewport->pos());
    return true;
  }
  if (auto* list = qobject_cast<TValueListEditor*>(control)) {
    // A value-list cell shows its whole text over itself, only when it does not fit.
    QWidget* viewport = list->viewport();
    const QPoint pos = viewport->mapFromGlobal(HintInfo.CursorPos);
    const int col = list->ColAt(pos.x());
    const int row = list->RowAt(pos.y());
    if (col < 0 || row < 0) return false;
    const QRect cell = list->CellRect(col, row);
    if (cell.isEmpty()) return false;
    HintStr = list->HintText(col, row);
    HintInfo.HintPos = viewport->mapToGlobal(cell.topLeft() - QPoint(1, 1));
    HintInfo.CursorRect = cell.translated(viewport->pos());
    return true;
  }
  if (auto* edit = qobject_cast<TComboEdit*>(control)) {
    // An edit box with a button shows its whole text over itself when it is
    // wider than the box, measured in the main window's font.
    const QString text = edit->text();
    HintStr = fontMetrics().horizontalAdvance(text) > edit->ClientWidth() ? text : QString();
    HintInfo.HintPos = edit->parentWidget() ? edit->parentWidget()->mapToGlobal(edit->pos()) : edit->pos();
    HintInfo.CursorRect = edit->rect();
    return true;
  }
  return false;
}
