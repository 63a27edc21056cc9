#pragma once
// One application for the window tests, and a fresh main window per test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "model/uRandom.h"
#include "windows/look/FlatStyle.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/program/uTranslation.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

// The repository: from the test environment, else from this file's place.
inline QString SourceDir() {
  const QString env = qEnvironmentVariable("ZO_SOURCE_DIR");
  return env.isEmpty() ? QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../..").absolutePath() : env;
}

// A folder of this test process's own, holding a copy of the page folder and
// the sample from beside the test program. The program writes its message
// pages into the page folder; tests running side by side would otherwise
// write them into one folder and read each other's pages.
inline QString TestProgramFolder() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const QString from = QCoreApplication::applicationDirPath() + QStringLiteral("/");
    const QString to = dir.path() + QStringLiteral("/");
    QDir().mkpath(to + QStringLiteral("Files"));
    for (const QString& name : QDir(from + QStringLiteral("Files")).entryList(QDir::Files))
      QFile::copy(from + QStringLiteral("Files/") + name, to + QStringLiteral("Files/") + name);
    QFile::copy(from + QStringLiteral("fight_mutation.zod"), to + QStringLiteral("fight_mutation.zod"));
    return to;
  }();
  return path;
}

inline QApplication* TestApplication() {
  static int argc = 1;
  static char name[] = "test_windows";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (QApplication::instance()) return static_cast<QApplication*>(QApplication::instance());
    // Window tests draw without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    InstallFlatStyle();  // the program's look and language, as the program sets them
    InstallQtTranslations();
    SetProgramFolderOverride(TestProgramFolder());
    return created;
  }();
  return app;
}

inline constexpr QFileDevice::Permissions kOpenToEveryUser =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
    QFileDevice::WriteOther | QFileDevice::ExeOther;

// A folder and the files in it open to every user, for a test that runs as
// another user (TOtherUser).
inline void OpenToEveryUser(const QString& folder) {
  QFile::setPermissions(folder, kOpenToEveryUser);
  for (const QString& name : QDir(folder).entryList(QDir::Files))
    QFile::setPermissions(folder + name, kOpenToEveryUser);
}

// Permissions stop every user but root, and the tests may run as root: what
// a test checks of them runs as another user (nobody) while this object lives.
// The real ids change too, so that a check of access rights (access(), which
// asks for the real ones) sees that user; root stays the saved user, to whom
// the destructor returns.
struct TOtherUser {
  TOtherUser() {
    if (geteuid() != 0) return;
    if (setresgid(65534, 65534, -1) != 0) return;
    if (setresuid(65534, 65534, -1) != 0) setresgid(0, 0, -1);
    else Switched = true;
  }
  ~TOtherUser() {
    if (Switched && setresuid(0, 0, -1) == 0) setresgid(0, 0, -1);
  }
  TOtherUser(const TOtherUser&) = delete;
  TOtherUser& operator=(const TOtherUser&) = delete;
  bool Switched = false;
};

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
