// The application-wide hint handler: where a hint goes and which text it shows.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QTableWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include "tests/windows/MainFixture.h"
#include "controls/ToolEdit.h"
#include "windows/look/ValueListEditor.h"

namespace {

using HintHandler = MainWindowTest;

// Asks the handler about `control` with the mouse at `local` (control's coordinates).
bool AskHint(TMainForm* form, QWidget* control, QPoint local, QString& hint, THintInfo& info) {
  const QPoint cursor = control->mapToGlobal(local);
  info = THintInfo{control, cursor, cursor, control->rect()};
  hint = control->toolTip();
  return form->ApplicationShowHint(hint, info);
}

TEST_F(HintHandler, EditBoxWithAButtonShowsItsWholeTextOverItselfOnlyWhenItDoesNotFit) {
  FormParameter->show();
  TComboEdit* edit = FormParameter->ComboEditField;
  const QString text = QStringLiteral("Тёмно-зелёный с оттенком морской волны");
  edit->setText(text);
  edit->setToolTip(QStringLiteral("own hint"));
  const int textWidth = Form->fontMetrics().horizontalAdvance(text);
  const int border = edit->width() - edit->ClientWidth();

  // Exactly as wide as the box: it fits, no hint at all.
  edit->setFixedWidth(textWidth + border);
  ASSERT_EQ(edit->ClientWidth(), textWidth);
  QString hint;
  THintInfo info;
  ASSERT_TRUE(AskHint(Form, edit, QPoint(5, 5), hint, info));
  EXPECT_TRUE(hint.isEmpty());

  // One pixel narrower: the whole text, laid at the box's top-left corner
  // wherever the mouse is on it.
  edit->setFixedWidth(textWidth + border - 1);
  ASSERT_TRUE(AskHint(Form, edit, QPoint(edit->width() - 3, edit->height() - 2), hint, info));
  EXPECT_EQ(hint, text);
  EXPECT_EQ(info.HintPos, edit->mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(info.HintControl, edit);
}

TEST_F(HintHandler, ValueListCellShowsItsWholeTextOnePixelUpAndLeftOnlyWhenItDoesNotFit) {
  FormParameter->show();
  FormParameter->PageControl->setCurrentIndex(2);  // the species page, where the grid is
  TValueListEditor* list = FormParameter->ValueListEditorPlant;
  int row = 1;
  while (row < list->RowCount() && (list->IsSectionRow(row) || list->CellRect(1, row).isEmpty())) ++row;
  ASSERT_LT(row, list->RowCount());
  const QRect cell = list->CellRect(1, row);
  QWidget* viewport = list->viewport();
  const QPoint inside = viewport->mapTo(list, cell.center());

  list->SetCells(1, row, QStringLiteral("1"));
  QString hint;
  THintInfo info;
  ASSERT_TRUE(AskHint(Form, list, inside, hint, info));
  EXPECT_TRUE(hint.isEmpty());

  const QString wide = QString(200, QLatin1Char('W'));
  list->SetCells(1, row, wide);
  ASSERT_TRUE(AskHint(Form, list, inside, hint, info));
  EXPECT_EQ(hint, wide);
  EXPECT_EQ(info.HintPos, viewport->mapToGlobal(cell.topLeft() - QPoint(1, 1)));
}

TEST_F(HintHandler, OtherControlsKeepTheirOwnHintAndTheToolkitsPlace) {
  QLineEdit plain;
  plain.setToolTip(QStringLiteral("own hint"));
  plain.resize(40, 20);
  QString hint;
  THintInfo info;
  EXPECT_FALSE(AskHint(Form, &plain, QPoint(3, 3), hint, info));
  EXPECT_EQ(hint, QStringLiteral("own hint"));
  EXPECT_EQ(info.HintPos, plain.mapToGlobal(QPoint(3, 3)));
}

TEST_F(HintHandler, AToolTipEventOnAnEditBoxWithAButtonShowsOrHidesTheHint) {
  FormParameter->show();
  TComboEdit* edit = FormParameter->ComboEditField;
  edit->setFixedWidth(60);
  const QString text = QString(60, QLatin1Char('M'));
  edit->setText(text);
  QHelpEvent wide(QEvent::ToolTip, QPoint(4, 4), edit->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(edit, &wide);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), text);
  QWidget* tip = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->inherits("QTipLabel") && top->isVisible()) tip = top;
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->pos(), edit->mapToGlobal(QPoint(0, 0)));

  edit->setText(QStringLiteral("M"));
  QHelpEvent narrow(QEvent::ToolTip, QPoint(4, 4), edit->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(edit, &narrow);
  // The toolkit lets a hint go after a short delay.
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
  QToolTip::hideText();
}

}  // namespace

namespace {

// The hint window on the screen, or nullptr.
QWidget* ShownTip() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->inherits("QTipLabel") && top->isVisible()) return top;
  return nullptr;
}

// The mouse rests on `local` of a grid's viewport: a move, then the hint event.
void Hover(QWidget* viewport, QPoint local) {
  QMouseEvent move(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QHelpEvent help(QEvent::ToolTip, local, viewport->mapToGlobal(local));
  QApplication::sendEvent(viewport, &help);
}

TEST_F(HintHandler, ACutOffStatisticsCellShowsItsTextOverItselfAndLetsTheMouseThrough) {
  FormStatistic->resize(222, 363);
  FormStatistic->show();
  FormStatistic->PageControl->setCurrentIndex(1);
  QApplication::processEvents();
  QTableWidget* grid = FormStatistic->StringGridCell;
  int row = 0;
  const QString longest = QStringLiteral("Продолжительность жизни, тактов");
  while (row < grid->rowCount() && grid->item(row, 0)->text() != longest) ++row;
  ASSERT_LT(row, grid->rowCount());
  grid->setColumnWidth(0, 60);
  const QRect cell = grid->visualRect(grid->model()->index(row, 0));
  Hover(grid->viewport(), cell.center());
  ASSERT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), longest);
  QWidget* tip = ShownTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->pos(), grid->viewport()->mapToGlobal(cell.topLeft() - QPoint(2, 3)));
  ASSERT_NE(tip->windowHandle(), nullptr);
  EXPECT_TRUE(tip->windowHandle()->flags() & Qt::WindowTransparentForInput);
  QToolTip::hideText();
}

TEST_F(HintHandler, ACutOffValueListCellShowsItsTextOverItself) {
  FormParameter->show();
  FormParameter->PageControl->setCurrentIndex(2);
  QApplication::processEvents();
  TValueListEditor* list = FormParameter->ValueListEditorPlant;
  list->SetColWidths(0, 40);
  const int row = list->FindRow(TFormParameter::KeyAgeMax);
  const QRect cell = list->CellRect(0, row);
  ASSERT_FALSE(cell.isEmpty());
  Hover(list->viewport(), cell.center());
  ASSERT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), TFormParameter::KeyAgeMax);
  QWidget* tip = ShownTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->pos(), list->viewport()->mapToGlobal(cell.topLeft() - QPoint(1, 1)));
  EXPECT_TRUE(tip->windowHandle()->flags() & Qt::WindowTransparentForInput);
  QToolTip::hideText();
}

}  // namespace

// The main window's and the field view's buttons show their hints while
// another window of the program is active, as the other windows' do.
TEST_F(HintHandler, ToolButtonHintsShowWhileAnotherWindowIsActive) {
  Form->show();
  FormView->show();
  FormParameter->show();
  FormParameter->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(FormParameter));
  auto hintOver = [](QWidget* control) {
    QWidget* top = control->window();
    const QPoint at = control->mapTo(top, control->rect().center());
    QTest::mouseMove(top->windowHandle(), at - QPoint(1, 1));
    QTest::mouseMove(top->windowHandle(), at);
    (void)QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
    return text;
  };
  QToolButton* step = nullptr;
  for (QToolButton* b : Form->ToolBar->findChildren<QToolButton*>())
    if (b->toolTip() == QStringLiteral("Сделать один такт")) step = b;
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(hintOver(step), QStringLiteral("Сделать один такт"));
  EXPECT_EQ(hintOver(FormView->ToolButtonView), QStringLiteral("Указатель"));
  EXPECT_TRUE(FormParameter->isActiveWindow());
}
