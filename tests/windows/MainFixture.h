#pragma once
// One application for the window tests, and a fresh main window per test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "ProgramFolder.h"
#include "model/uRandom.h"
#include "windows/FlatStyle.h"
#include "windows/fParameter.h"
#include "windows/fStatistic.h"
#include "windows/fView.h"
#include "windows/main.h"
#include "windows/uSettings.h"

inline QApplication* TestApplication() {
  static int argc = 1;
  static char name[] = "test_windows";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (QApplication::instance()) return static_cast<QApplication*>(QApplication::instance());
    // Window tests draw without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    InstallFlatStyle();  // the program's look, as the program sets it
    SetProgramFolderOverride(TestProgramFolder());
    return created;
  }();
  return app;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    RandSeed = 4242;
    Form = new TMainForm;
  }
  void TearDown() override { delete Form; }

  // A mouse event on the field grid's viewport at the centre of a cell.
  void Mouse(QEvent::Type type, int col, int row, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWidget* vp = FormView->DrawGridField->viewport();
    const QRect cell = FormView->DrawGridField->CellRect(col, row);
    const QPointF pos = cell.center();
    QMouseEvent event(type, pos, vp->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(vp, &event);
  }

  TMainForm* Form = nullptr;
};
