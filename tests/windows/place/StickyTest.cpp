// Sticky windows on screen: the user's moves of the main window, the tool
// windows and the dialogs, as the window system reports them.
#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <QWindow>

#include "tests/windows/MainFixture.h"
#include "windows/pages/fHelp.h"
#include "windows/parameter/fInput.h"
#include "windows/place/uPlace.h"
#include "windows/place/uSticky.h"
#include "windows/shell/fShell.h"
#include "windows/view/fFieldClear.h"
#include "windows/view/fFieldInput.h"

namespace {

// The user drags a window: the window system moves it and tells the program.
void UserMove(QWidget* window, QPoint outerTopLeft) {
  window->windowHandle()->setFramePosition(outerTopLeft);
  QCoreApplication::processEvents();
  ASSERT_EQ(OuterRect(window).topLeft(), outerTopLeft);
  FinishStickyMoves();
}

QPoint At(const QWidget* window) { return OuterRect(window).topLeft(); }

class StickyTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form->ActionViewDock->setChecked(true);
    for (QWidget* w : {static_cast<QWidget*>(Form), static_cast<QWidget*>(FormView),
                       static_cast<QWidget*>(FormStatistic), static_cast<QWidget*>(FormParameter)})
      w->show();
    QCoreApplication::processEvents();
    Work = WorkArea(Form);
    // The program lays the windows out: the main window, the statistics
    // window at place 2 (as narrow as on a screen of narrower fonts, so all
    // of them fit), the view below, the parameter editor at place 4.
    FormStatistic->resize(222, FormStatistic->height());
    MoveOuter(Form, Work.topLeft() + QPoint(250, 60));
    const QRect m = OuterRect(Form);
    MoveOuter(FormStatistic, QPoint(m.left() - OuterRect(FormStatistic).width(), m.top()));
    MoveOuter(FormView, BelowWindow(Form));
    MoveOuter(FormParameter, QPoint(m.right() + 1, m.top()));
    FormStatistic->Dockable = 2;
    FormView->Dockable = 1;
    FormParameter->Dockable = 4;
    QCoreApplication::processEvents();
    Form->Moving = false;
  }

  QRect Work;
};

}  // namespace

TEST_F(StickyTest, MovingTheMainWindowCarriesTheDockedWindowsWithTheirOffsets) {
  const QPoint statistic = At(FormStatistic) - At(Form);
  FormParameter->Dockable = 0;  // not docked: stays
  const QPoint parameterAt = At(FormParameter);
  UserMove(Form, At(Form) + QPoint(37, 21));
  EXPECT_TRUE(Form->Moving);
  EXPECT_EQ(At(FormStatistic) - At(Form), statistic);
  EXPECT_EQ(At(FormView), BelowWindow(Form));
  EXPECT_EQ(At(FormParameter), parameterAt);
  EXPECT_EQ(FormStatistic->Dockable, 2);

  // Docked again: it follows the next move too, and the carried windows'
  // own moves leave their docking alone.
  FormParameter->Dockable = 4;
  const QPoint parameter = At(FormParameter) - At(Form);
  UserMove(Form, At(Form) + QPoint(-20, 15));
  EXPECT_NE(At(FormParameter), parameterAt);
  EXPECT_EQ(At(FormParameter) - At(Form), parameter);
  EXPECT_EQ(FormParameter->Dockable, 4);
  EXPECT_EQ(FormView->Dockable, 1);
}

TEST_F(StickyTest, MainWindowSnapsToTheWorkAreaAndTheOptionOffUndocks) {
  const QRect m = OuterRect(Form);
  const QPoint statisticAt = At(FormStatistic);
  Form->ActionViewDock->setChecked(false);
  UserMove(Form, QPoint(Work.right() + 1 - m.width() - 8, m.top() + 30));
  EXPECT_EQ(At(Form), QPoint(Work.right() + 1 - m.width(), m.top() + 30));
  EXPECT_EQ(FormStatistic->Dockable, 0);
  EXPECT_EQ(FormView->Dockable, 0);
  EXPECT_EQ(FormParameter->Dockable, 0);
  EXPECT_EQ(At(FormStatistic), statisticAt);

  // Exactly on the work area's left edge: nothing happens at all.
  Form->ActionViewDock->setChecked(true);
  FormStatistic->Dockable = 2;
  UserMove(Form, QPoint(Work.left(), m.top() + 3));
  EXPECT_EQ(At(Form), QPoint(Work.left(), m.top() + 3));
  EXPECT_FALSE(Form->Moving);
  EXPECT_EQ(At(FormStatistic), statisticAt);
}

TEST_F(StickyTest, TheProgramsOwnPlacingIsNotAUserMove) {
  const QRect m = OuterRect(Form);
  // Near the work area's corner and 3 pixels from place 4: no snapping, no docking.
  FormStatistic->Dockable = 0;
  MoveOuter(FormStatistic, QPoint(m.right() + 4, m.top() + 2));
  FormView->hide();
  MoveOuter(FormView, Work.topLeft() + QPoint(3, 4));
  FormView->show();
  QCoreApplication::processEvents();
  FinishStickyMoves();
  EXPECT_EQ(At(FormStatistic), QPoint(m.right() + 4, m.top() + 2));
  EXPECT_EQ(FormStatistic->Dockable, 0);
  EXPECT_EQ(At(FormView), Work.topLeft() + QPoint(3, 4));
  EXPECT_EQ(FormView->Dockable, 1);
  EXPECT_FALSE(Form->Moving);
}

TEST_F(StickyTest, AToolWindowDocksOnceTheMainWindowHasStoppedCarrying) {
  UserMove(Form, At(Form) + QPoint(10, 10));
  ASSERT_TRUE(Form->Moving);
  const QRect m = OuterRect(Form);
  const int w = OuterRect(FormStatistic).width();
  // Dragged next, while Moving is still set: it neither snaps nor undocks.
  UserMove(FormStatistic, QPoint(m.right() + 1 + 5, m.top() + 3));
  EXPECT_EQ(At(FormStatistic), QPoint(m.right() + 1 + 5, m.top() + 3));
  EXPECT_EQ(FormStatistic->Dockable, 2);

  // The main window loses the focus: a position change with no move.
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(Form, &deactivate);
  EXPECT_FALSE(Form->Moving);
  UserMove(FormStatistic, QPoint(m.right() + 1 + 6, m.top() - 2));
  EXPECT_EQ(At(FormStatistic), QPoint(m.right() + 1, m.top()));
  EXPECT_EQ(FormStatistic->Dockable, 4);
  UserMove(FormStatistic, QPoint(m.left() - w - 2, m.bottom() + 1 + 4));
  EXPECT_EQ(At(FormStatistic), QPoint(m.left() - w, m.bottom() + 1));
  EXPECT_EQ(FormStatistic->Dockable, 1);
  UserMove(FormStatistic, QPoint(m.left() - w - 11, m.bottom() + 1));
  EXPECT_EQ(FormStatistic->Dockable, 0);

  // The view has one place, below the main window.
  UserMove(FormView, BelowWindow(Form) + QPoint(40, 0));
  EXPECT_EQ(FormView->Dockable, 0);
  UserMove(FormView, BelowWindow(Form) + QPoint(-6, 7));
  EXPECT_EQ(At(FormView), BelowWindow(Form));
  EXPECT_EQ(FormView->Dockable, 1);
}

TEST_F(StickyTest, PageWindowsSnapBelowTheMainWindowAndToTheScreenByThemselves) {
  TFormHelp help(Form);
  help.resize(300, 200);
  help.show();
  QCoreApplication::processEvents();
  UserMove(&help, BelowWindow(Form) + QPoint(7, -8));
  EXPECT_EQ(At(&help), BelowWindow(Form));
  // Still while the main window is carrying its windows.
  Form->Moving = true;
  UserMove(&help, BelowWindow(Form) + QPoint(-3, 2));
  EXPECT_EQ(At(&help), BelowWindow(Form));

  // With the option off, only its own snapping to the screen's edges.
  Form->ActionViewDock->setChecked(false);
  UserMove(&help, BelowWindow(Form) + QPoint(7, -8));
  EXPECT_EQ(At(&help), BelowWindow(Form) + QPoint(7, -8));
  const int width = OuterRect(&help).width();
  UserMove(&help, QPoint(Work.right() + 1 - width + 6, Work.top() + 200));
  EXPECT_EQ(At(&help), QPoint(Work.right() + 1 - width, Work.top() + 200));

  // The input box snaps to the screen only, whatever the option.
  Form->ActionViewDock->setChecked(true);
  TFormInput input(Form);
  input.show();
  QCoreApplication::processEvents();
  UserMove(&input, BelowWindow(Form) + QPoint(5, 5));
  EXPECT_EQ(At(&input), BelowWindow(Form) + QPoint(5, 5));
  UserMove(&input, QPoint(Work.left() + 4, Work.top() + 100));
  EXPECT_EQ(At(&input), QPoint(Work.left(), Work.top() + 100));
}

TEST_F(StickyTest, FillClearAndFileDialogsSnapBelowTheMainWindow) {
  TFormFieldInput fill(Form);
  TFormFieldClear clear(Form, Form->ImageList);
  TShellHost host;
  host.FallbackFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/");
  TFormShell shell(Form, host);
  for (QDialog* dialog : {static_cast<QDialog*>(&fill), static_cast<QDialog*>(&clear), static_cast<QDialog*>(&shell)}) {
    dialog->show();
    QCoreApplication::processEvents();
    UserMove(dialog, BelowWindow(Form) + QPoint(-9, 10));
    EXPECT_EQ(At(dialog), BelowWindow(Form));
    UserMove(dialog, BelowWindow(Form) + QPoint(-11, 10));
    EXPECT_EQ(At(dialog), BelowWindow(Form) + QPoint(-11, 10));
    dialog->hide();
  }
}

TEST_F(StickyTest, TheRulesApplyOnceTheWindowHasStoodStill) {
  const QRect m = OuterRect(Form);
  Form->windowHandle()->setFramePosition(QPoint(Work.right() + 1 - m.width() - 5, m.top()));
  QCoreApplication::processEvents();
  EXPECT_FALSE(Form->Moving);  // not yet: the move may go on
  EXPECT_TRUE(QTest::qWaitFor([&] { return At(Form).x() == Work.right() + 1 - m.width(); }, 5000));
  EXPECT_TRUE(Form->Moving);
  EXPECT_EQ(At(FormStatistic).x(), Work.right() + 1 - m.width() - OuterRect(FormStatistic).width());
}
