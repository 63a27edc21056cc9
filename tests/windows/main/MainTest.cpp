// The main window: its commands, the tick, the run loop and its stop rules,
// the return to the initial state, the view toggles and the input dialog.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QLabel>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "tests/windows/MainFixture.h"
#include "windows/parameter/fInput.h"

namespace {

struct Row {
  QAction* TMainForm::*Member;
  const char* Category;
  const char* Caption;
  QKeySequence Shortcut;
  int Tag;
};

QString Hint(QAction* a) { return a->property("Hint").toString(); }

}  // namespace

TEST_F(MainWindowTest, ActionTableHasEveryCommandWithItsCaptionShortcutCategoryAndTag) {
  const Row table[] = {
      {&TMainForm::ActionFileNew, "File", "Создать", Qt::Key_F2, 0},
      {&TMainForm::ActionFileLoad, "File", "Открыть...", Qt::Key_F3, 0},
      {&TMainForm::ActionFileSave, "File", "Сохранить", Qt::Key_F4, 0},
      {&TMainForm::ActionFileSaveAs, "File", "Сохранить как...", Qt::CTRL | Qt::Key_F4, 0},
      {&TMainForm::ActionFileImport, "File", "Импорт...", Qt::CTRL | Qt::Key_M, 0},
      {&TMainForm::ActionFileExport, "File", "Экспорт...", Qt::CTRL | Qt::Key_E, 0},
      {&TMainForm::ActionFileExit, "File", "Выход", Qt::CTRL | Qt::Key_X, 0},
      {&TMainForm::ActionFieldStart, "Field", "Пуск", Qt::Key_F5, 0},
      {&TMainForm::ActionFieldStop, "Field", "Стоп", Qt::Key_F6, 0},
      {&TMainForm::ActionFieldStep, "Field", "Сделать такт", Qt::Key_F7, 0},
      {&TMainForm::ActionFieldUndo, "Field", "Первоначальное состояние", Qt::Key_F8, 0},
      {&TMainForm::ActionFieldInput, "Field", "Заполнить поле...", Qt::CTRL | Qt::Key_I, 0},
      {&TMainForm::ActionFieldClear, "Field", "Очистить поле...", Qt::CTRL | Qt::Key_C, 0},
      {&TMainForm::ActionFieldSaveShot, "Field", "Сохранить изображение...", Qt::CTRL | Qt::Key_S, 0},
      {&TMainForm::ActionViewField, "View", "Наблюдение", Qt::Key_F9, 0},
      {&TMainForm::ActionViewStatistic, "View", "Статистика", Qt::Key_F10, 0},
      {&TMainForm::ActionViewParameter, "View", "Параметры", Qt::Key_F11, 0},
      {&TMainForm::ActionViewComment, "View", "Комментарии", Qt::Key_F12, 0},
      {&TMainForm::ActionViewDock, "View", "Липкие окна", Qt::CTRL | Qt::Key_D, 0},
      {&TMainForm::ActionAutoSize, "View", "Авторазмер поля", Qt::CTRL | Qt::Key_F, 0},
      {&TMainForm::ActionHelpTheory, "Help", "Описание теории...", QKeySequence(), 0},
      {&TMainForm::ActionHelpHelp, "Help", "Описание программы...", Qt::Key_F1, 0},
      {&TMainForm::ActionHelpWhatsNew, "Help", "Что нового?..", Qt::ALT | Qt::Key_F1, 0},
      {&TMainForm::ActionHelpAbout, "Help", "О программе...", Qt::CTRL | Qt::Key_F1, 0},
      {&TMainForm::ActionReload1, "ReLoad", "ActionReload1", Qt::CTRL | Qt::Key_1, 1},
      {&TMainForm::ActionReload2, "ReLoad", "ActionReload2", Qt::CTRL | Qt::Key_2, 2},
      {&TMainForm::ActionReload3, "ReLoad", "ActionReload3", Qt::CTRL | Qt::Key_3, 3},
      {&TMainForm::ActionReload4, "ReLoad", "ActionReload4", Qt::CTRL | Qt::Key_4, 4},
      {&TMainForm::ActionReload5, "ReLoad", "ActionReload5", Qt::CTRL | Qt::Key_5, 5},
  };
  ASSERT_EQ(Form->ActionList.size(), static_cast<qsizetype>(std::size(table)));
  for (size_t i = 0; i < std::size(table); ++i) {
    QAction* a = Form->*(table[i].Member);
    SCOPED_TRACE(table[i].Caption);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Form->ActionList[static_cast<qsizetype>(i)], a);
    EXPECT_EQ(a->text(), QString::fromUtf8(table[i].Caption));
    EXPECT_EQ(a->property("Category").toString(), QString::fromUtf8(table[i].Category));
    EXPECT_EQ(a->shortcut(), table[i].Shortcut);
    EXPECT_EQ(a->data().toInt(), table[i].Tag);
  }
  EXPECT_EQ(Hint(Form->ActionFileLoad), QStringLiteral("Открыть файл"));
  EXPECT_EQ(Hint(Form->ActionFieldStart), QStringLiteral("Запустить процесс"));
  EXPECT_EQ(Hint(Form->ActionViewField), QStringLiteral("Окно наблюдения "));
  for (QAction* a : {Form->ActionViewField, Form->ActionViewStatistic, Form->ActionViewParameter, Form->ActionViewDock})
    EXPECT_TRUE(a->isCheckable());
  EXPECT_FALSE(Form->ActionFieldStop->isEnabled());
  EXPECT_TRUE(Form->ActionFieldStart->isEnabled());
  EXPECT_FALSE(Form->IsRunning());
}

TEST_F(MainWindowTest, MenusHoldTheirCommandsInOrder) {
  const QList<QAction*> service = Form->PopupMenuService->actions();
  ASSERT_EQ(service.size(), 10);
  EXPECT_EQ(service[0], Form->ActionFieldStart);
  EXPECT_EQ(service[1], Form->ActionFieldStop);
  EXPECT_EQ(service[2], Form->ActionFieldStep);
  EXPECT_TRUE(service[3]->isSeparator());
  EXPECT_EQ(service[4], Form->ActionFieldUndo);
  EXPECT_EQ(service[9], Form->ActionFieldSaveShot);
  // The recent files: hidden entries whose action keeps its shortcut.
  for (QAction* item : Form->MenuFileReload) EXPECT_FALSE(item->isVisible());
  EXPECT_TRUE(Form->ActionReload1->isVisible());
  const QList<QAction*> view = Form->PopupMenuView->actions();
  EXPECT_EQ(view[4]->text(), QStringLiteral("Комментарии...\tF12"));  // the key shown, owned by the command
}

TEST_F(MainWindowTest, ARunDisablesAndEnablesCommandsInOrder) {
  QStringList order;
  for (QAction* a : Form->ActionList)
    QObject::connect(a, &QAction::changed, [&order, a] {
      order << (a->isEnabled() ? QStringLiteral("+") : QStringLiteral("-")) + a->text();
    });
  QStringList during;
  QTimer::singleShot(0, [&] {
    for (QAction* a : Form->ActionList)
      if (!a->isEnabled()) during << a->text();
  });
  // Let the run go on long enough for the timer, then stop it from inside.
  Form->Resource->AddAmountEverywhere(0, 100);
  Form->Plant->Place(0, 3, 3);
  QTimer::singleShot(5, [&] { Form->ActionFieldStopExecute(); });
  Form->ActionFieldStartExecute();
  // Duplicate notifications (a changed signal per property) are folded.
  order.removeDuplicates();
  const QStringList expected = {
      "+Стоп", "-Пуск", "-Создать", "-Открыть...", "-ActionReload1", "-ActionReload2", "-ActionReload3",
      "-ActionReload4", "-ActionReload5", "-Сохранить", "-Сохранить как...", "-Импорт...", "-Экспорт...", "-Выход",
      "-Сделать такт", "-Первоначальное состояние", "-Очистить поле...", "-Заполнить поле...", "-Стоп", "+Пуск",
      "+Создать", "+Открыть...", "+ActionReload1", "+ActionReload2", "+ActionReload3", "+ActionReload4",
      "+ActionReload5", "+Сохранить", "+Сохранить как...", "+Импорт...", "+Экспорт...", "+Выход",
      "+Первоначальное состояние", "+Сделать такт", "+Очистить поле...", "+Заполнить поле..."};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(during.contains(QStringLiteral("Сохранить изображение...")));
  EXPECT_FALSE(during.contains(QStringLiteral("Наблюдение")));
  EXPECT_FALSE(during.contains(QStringLiteral("Стоп")));
  EXPECT_TRUE(during.contains(QStringLiteral("Сделать такт")));
  EXPECT_TRUE(Form->ActionFieldStart->isEnabled());
  EXPECT_TRUE(Form->ToolButtonStart->isVisible());
  EXPECT_FALSE(Form->ToolButtonStop->isVisible());
  EXPECT_TRUE(FormView->MenuItemStart->isVisible());
  EXPECT_FALSE(FormView->MenuItemStop->isVisible());
}

TEST_F(MainWindowTest, RunOnAnEmptyFieldRunsOneTickAndStops) {
  Form->ActionFieldStartExecute();
  EXPECT_EQ(Form->Step, 1);
  EXPECT_FALSE(Form->IsRunning());
  EXPECT_EQ(FormView->StaticTextStep->text(), QStringLiteral("1"));
  EXPECT_EQ(FormView->StaticTextSPS->text(), QStringLiteral("0.00"));
}

TEST_F(MainWindowTest, SingleTickRefreshesTheStatisticsAndShowsZeroSpeed) {
  Form->Resource->AddAmountEverywhere(0, 10);
  Form->Plant->Place(0, 2, 2);
  const size_t before = FormStatistic->HistorySeries[0].Points.size();
  Form->ActionFieldStepExecute();
  EXPECT_EQ(Form->Step, 1);
  EXPECT_EQ(FormStatistic->HistorySeries[0].Points.size(), before + 1);
  EXPECT_EQ(FormStatistic->HistorySeries[0].Points.back().x(), 1.0);
  EXPECT_EQ(FormView->StaticTextSPS->text(), QStringLiteral("0.00"));
}

TEST_F(MainWindowTest, AutoStopEndsTheRunWhenTheFirstOfTwoSpeciesDiesOut) {
  TPlantParameter shortLived = Form->Plant->Params[0];
  shortLived.Const.Name = "B";
  shortLived.Param.AgeMax() = 3;
  shortLived.Param.ChildrenCount() = 0;
  Form->Plant->Add(shortLived);
  FormParameter->ListBoxPlant->addItem(QStringLiteral("B"));
  FormStatistic->RebuildLayout();
  FormParameter->CheckBoxAutoStop->setChecked(true);
  Form->Resource->AddAmountEverywhere(0, 1000);
  for (int c = 0; c < 5; ++c) Form->Plant->Place(0, 5, c * 4);
  Form->Plant->Place(1, 20, 20);

  Form->ActionFieldStartExecute();
  EXPECT_FALSE(Form->IsRunning());
  EXPECT_EQ(Form->Plant->Params[1].Const.Count, 0);
  EXPECT_GT(Form->Plant->Params[0].Const.Count, 0);
  EXPECT_EQ(Form->Step, 4);  // ages 1, 2, 3, then it dies at its maximum age

  // Started again, the dead species no longer stops the run.
  const int32_t from = Form->Step;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (Form->Step >= from + 6) Form->ActionFieldStopExecute();
  });
  stopper.start(0);
  Form->ActionFieldStartExecute();
  EXPECT_GE(Form->Step, from + 6);
}

TEST_F(MainWindowTest, StopRestoresTheToolInForceBeforeTheRun) {
  Form->Resource->AddAmountEverywhere(0, 1000);
  Form->Plant->Place(0, 5, 5);
  FormView->ToolButtonPlantClick();
  ASSERT_EQ(Form->Brush, TBrushTool::Plant);
  FormParameter->CheckBoxAutoBrush->setChecked(true);
  bool pointerDuringRun = false;
  QTimer::singleShot(0, [&] {
    pointerDuringRun = Form->Brush == TBrushTool::Pointer && FormView->ToolButtonView->isChecked();
    FormView->ToolButtonResourceClick();  // the user picks another tool meanwhile
    Form->ActionFieldStopExecute();
  });
  Form->ActionFieldStartExecute();
  EXPECT_TRUE(pointerDuringRun);
  EXPECT_EQ(Form->Brush, TBrushTool::Plant);
  EXPECT_TRUE(FormView->ToolButtonPlant->isChecked());
  EXPECT_FALSE(FormView->ToolButtonView->isChecked());
  EXPECT_FALSE(FormView->ToolButtonResource->isChecked());
}

TEST_F(MainWindowTest, WithoutAutoBrushTheBrushStaysInForceWhileThePointerShowsPressed) {
  Form->Resource->AddAmountEverywhere(0, 1000);
  Form->Plant->Place(0, 5, 5);
  FormView->ToolButtonPlantClick();
  FormParameter->CheckBoxAutoBrush->setChecked(false);
  TBrushTool brush = TBrushTool::None;
  bool viewDown = false;
  QTimer::singleShot(0, [&] {
    brush = Form->Brush;
    viewDown = FormView->ToolButtonView->isChecked();
    Form->ActionFieldStopExecute();
  });
  Form->ActionFieldStartExecute();
  EXPECT_EQ(brush, TBrushTool::Plant);
  EXPECT_TRUE(viewDown);
  EXPECT_TRUE(FormView->ToolButtonPlant->isChecked());
}

TEST_F(MainWindowTest, ReturnToTheInitialStateOfUnsavedDataEmptiesFieldAndHistory) {
  Form->FileName = QStringLiteral("/nonexistent/folder/noname1.zod");
  Form->Resource->AddAmountEverywhere(0, 50);
  Form->Plant->Place(0, 4, 4);
  for (int i = 0; i < 7; ++i) Form->ActionFieldStepExecute();
  ASSERT_GT(Form->Plant->Params[0].Const.Count, 0);
  ASSERT_FALSE(FormStatistic->HistorySeries[0].Points.empty());

  Form->ActionFieldUndoExecute();
  EXPECT_EQ(Form->Step, 0);
  EXPECT_EQ(FormView->StaticTextStep->text(), QStringLiteral("0"));
  EXPECT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Plant->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Total, 0);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, 0);
  for (int r = 0; r < Form->Plant->RowCount; ++r)
    for (int c = 0; c < Form->Plant->ColCount; ++c) ASSERT_EQ(Form->Plant->Field(r, c).Mass, 0);
  // The rebuild emptied the history; the closing refresh put one point in.
  EXPECT_EQ(FormStatistic->HistorySeries[0].Points.size(), 1u);
  EXPECT_EQ(FormStatistic->HistorySeries[0].Points[0], QPointF(0, 0));
}

TEST_F(MainWindowTest, ViewTogglesAndClosingAToolWindowStayInStep) {
  ASSERT_TRUE(FormView->isVisible());
  Form->ActionViewField->trigger();
  EXPECT_FALSE(Form->ActionViewField->isChecked());
  EXPECT_FALSE(FormView->isVisible());
  Form->ActionViewField->trigger();
  EXPECT_TRUE(FormView->isVisible());
  FormStatistic->close();
  EXPECT_FALSE(Form->ActionViewStatistic->isChecked());
  FormView->close();
  EXPECT_FALSE(Form->ActionViewField->isChecked());
}

TEST_F(MainWindowTest, AutoSizeFitsTheViewToTheField) {
  FormView->SetCellSize(9);
  Form->ActionAutoSizeExecute();
  EXPECT_EQ(FormView->width(), 10 * 45 + 3);
  EXPECT_EQ(FormView->height(), 10 * 45 + 3 + FormView->PanelToolBar->height());
  EXPECT_EQ(FormView->DrawGridField->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(FormView->DrawGridField->verticalScrollBar()->maximum(), 0);
}

TEST_F(MainWindowTest, InputTextReturnsTheEditedTextOrEmptyWhenCancelled) {
  auto answer = [](bool accept, const QString& typed) {
    QTimer::singleShot(0, [accept, typed] {
      auto* dialog = qobject_cast<TFormInput*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Новый ресурс"));
      EXPECT_EQ(dialog->LabelInput->text(), QStringLiteral("Имя:"));
      dialog->EditInput->setText(typed);
      (accept ? dialog->ButtonYes : dialog->ButtonCancel)->click();
    });
  };
  answer(true, QStringLiteral("Вода"));
  EXPECT_EQ(Form->InputText(QPoint(100, 100), QStringLiteral("Новый ресурс"), QStringLiteral("Имя:"), QStringLiteral("x")),
            QStringLiteral("Вода"));
  answer(false, QStringLiteral("Вода"));
  EXPECT_EQ(Form->InputText(QPoint(100, 100), QStringLiteral("Новый ресурс"), QStringLiteral("Имя:"), QStringLiteral("x")),
            QString());
}

// The window manager draws the caption in a bold face, with the window's
// icon and up to three buttons beside it: a caption cut to "Добавит…рганизм"
// left the user to guess what was asked.
TEST_F(MainWindowTest, InputDialogIsWideEnoughForItsCaption) {
  auto widthFor = [this](const QString& caption) {
    int width = 0;
    QTimer::singleShot(0, [&width] {
      auto* dialog = qobject_cast<TFormInput*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      width = dialog->width();
      dialog->ButtonCancel->click();
    });
    Form->InputText(QPoint(100, 100), caption, QStringLiteral("Наименование:"), QString());
    return width;
  };
  QFont bold = QApplication::font();
  bold.setBold(true);
  for (const QString& caption : {QStringLiteral("Добавить организм"), QStringLiteral("Изменить организм")})
    EXPECT_GE(widthFor(caption), QFontMetrics(bold).horizontalAdvance(caption) + 100) << caption.toStdString();
  EXPECT_EQ(widthFor(QStringLiteral("Имя")), 228);  // a short caption keeps the design width
}

TEST_F(MainWindowTest, DefaultModelHasOneResourceAndOneSpecies) {
  ASSERT_EQ(Form->Resource->Count, 1);
  EXPECT_EQ(Form->Resource->Params[0].Name, "Ресурс Yellow");
  EXPECT_EQ(Form->Resource->Params[0].BrushValue, 25);
  EXPECT_EQ(Form->Resource->Params[0].Slur, 70);
  EXPECT_EQ(Form->Resource->Params[0].Color, clYellow);
  ASSERT_EQ(Form->Plant->Count, 1);
  const TPlantParameter& p = Form->Plant->Params[0];
  EXPECT_EQ(p.Const.Name, "Организм Lime");
  EXPECT_EQ(p.Param.AgeReproduct(), 5);
  EXPECT_EQ(p.Param.AgeMax(), 10);
  EXPECT_EQ(Form->Plant->RowCount, 45);
  EXPECT_EQ(FormView->DrawGridField->ColCount(), 45);
  EXPECT_EQ(FormView->DrawGridField->DefaultColWidth(), 9);
  EXPECT_EQ(FormView->PopupMenuResource->actions().size(), 1);
  EXPECT_EQ(FormView->ToolButtonPlant->toolTip(), QStringLiteral("Организм: Организм Lime"));
  EXPECT_EQ(Form->size(), QSize(442, 57));
}

TEST_F(MainWindowTest, AMenuButtonLooksNormalAgainWhenItsPopUpClosesElsewhere) {
  Form->show();
  QApplication::processEvents();
  QToolButton* help = nullptr;
  QToolButton* file = nullptr;
  for (QToolButton* b : Form->ToolBarMenu->findChildren<QToolButton*>()) {
    if (b->text() == QStringLiteral("?")) help = b;
    if (b->text() == QStringLiteral("Файл")) file = b;
  }
  ASSERT_NE(help, nullptr);
  ASSERT_NE(file, nullptr);
  auto colourOf = [](QToolButton* b) { return b->grab().toImage().pixelColor(b->width() - 2, b->height() / 2); };
  const QColor normal = colourOf(file);
  // The mouse went to the button, the pop-up opened and the mouse then left
  // for an item of the pop-up.
  QCursor::setPos(Form->mapToGlobal(QPoint(Form->width() / 2, Form->height() - 2)));
  help->setAttribute(Qt::WA_UnderMouse, true);
  ASSERT_NE(colourOf(help), normal);  // highlighted while under the mouse
  help->menu()->popup(help->mapToGlobal(QPoint(0, help->height())));
  QApplication::processEvents();
  help->menu()->hide();
  QApplication::processEvents();
  EXPECT_FALSE(help->testAttribute(Qt::WA_UnderMouse));
  EXPECT_EQ(colourOf(help), normal);
}

TEST_F(MainWindowTest, TheCommentEntryOfTheViewMenuFollowsItsCommand) {
  QAction* entry = Form->PopupMenuView->actions().at(4);
  ASSERT_EQ(entry->text(), QStringLiteral("Комментарии...\tF12"));
  Form->ActionViewComment->setEnabled(false);
  EXPECT_FALSE(entry->isEnabled());
  Form->ActionViewComment->setEnabled(true);
  EXPECT_TRUE(entry->isEnabled());
  int runs = 0;
  QObject::connect(Form->ActionViewComment, &QAction::triggered, [&runs] { ++runs; });
  Form->ActionViewComment->setEnabled(false);
  entry->trigger();  // a disabled entry does nothing
  Form->ActionViewComment->setEnabled(true);
  entry->trigger();
  EXPECT_EQ(runs, 1);
}
