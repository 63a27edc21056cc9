// Looks at the windows as a user sees them: starts the main window with the
// default model (the settings file is neither read nor written), paints a few
// organisms and resources, runs 50 ticks, saves pictures of the windows into
// the folder given as argument and quits. Not run by the tests.
//
//   screenshot_run <folder>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>

#include "windows/main/main.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

#include <cstdio>

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void Save(QWidget* window, const QString& path) { window->grab().save(path); }

}  // namespace

void ScreenshotRun(const QString& folder) {
  TMainForm* main = MainForm;
  // Organisms: a short diagonal stroke and a row, with the organism brush.
  FormView->ToolButtonPlantClick();
  QWidget* vp = FormView->DrawGridField->viewport();
  auto cellCentre = [](int c, int r) { return QPoint(c * 10 + 4, r * 10 + 4); };
  SendMouse(vp, QEvent::MouseButtonPress, cellCentre(10, 10), Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i < 8; ++i) SendMouse(vp, QEvent::MouseMove, cellCentre(10 + i, 10 + i), Qt::NoButton, Qt::LeftButton);
  SendMouse(vp, QEvent::MouseButtonRelease, cellCentre(17, 17), Qt::LeftButton, Qt::NoButton);
  SendMouse(vp, QEvent::MouseButtonPress, cellCentre(30, 25), Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i < 6; ++i) SendMouse(vp, QEvent::MouseMove, cellCentre(30 + i, 25), Qt::NoButton, Qt::LeftButton);
  SendMouse(vp, QEvent::MouseButtonRelease, cellCentre(35, 25), Qt::LeftButton, Qt::NoButton);
  // Resource under them, with the resource brush.
  FormView->ToolButtonResourceClick();
  for (int i = 0; i < 6; ++i) {
    SendMouse(vp, QEvent::MouseButtonPress, cellCentre(8 + 4 * i, 8 + 3 * i), Qt::LeftButton, Qt::LeftButton);
    SendMouse(vp, QEvent::MouseButtonRelease, cellCentre(8 + 4 * i, 8 + 3 * i), Qt::LeftButton, Qt::NoButton);
  }
  FormView->ToolButtonViewClick();
  QApplication::processEvents();
  Save(FormView, folder + QStringLiteral("/view-painted.png"));

  // A run of 50 ticks, stopped from inside the run loop's message pump.
  auto* watch = new QTimer(main);
  watch->setInterval(0);
  QObject::connect(watch, &QTimer::timeout, main, [main, watch] {
    if (main->Step >= 50 && main->IsRunning()) {
      main->ActionFieldStopExecute();
      watch->stop();
    }
  });
  QTimer::singleShot(0, main, [main, watch, folder] {
    watch->start();
    main->ActionFieldStart->trigger();
    QApplication::processEvents();
    Save(main, folder + QStringLiteral("/main.png"));
    Save(FormView, folder + QStringLiteral("/view.png"));
    for (int page = 0; page < 4; ++page) {
      FormStatistic->PageControl->setCurrentIndex(page);
      QApplication::processEvents();
      Save(FormStatistic, folder + QStringLiteral("/statistic-%1.png").arg(page));
    }
    FormStatistic->resize(520, 420);
    for (int page = 2; page < 4; ++page) {
      FormStatistic->PageControl->setCurrentIndex(page);
      QApplication::processEvents();
      Save(FormStatistic, folder + QStringLiteral("/statistic-wide-%1.png").arg(page));
    }
    main->PopupMenuService->popup(main->mapToGlobal(QPoint(40, 19)));
    QApplication::processEvents();
    Save(main->PopupMenuService, folder + QStringLiteral("/menu-service.png"));
    main->PopupMenuService->hide();
    main->close();
  });
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder for the pictures>\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) return 1;
  SetSettingsFileInUse(false);
  auto* form = new TMainForm;
  QCoreApplication::processEvents();
  form->show();
  ScreenshotRun(folder);
  const int result = app.exec();
  delete form;
  return result;
}
