// The program's entry: the application object, the random seed, the main
// window, and the message loop.
#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <exception>

#include "app/ScreenshotRun.h"
#include "model/uRandom.h"
#include "controls/KitCtrls.h"
#include "windows/FlatStyle.h"
#include "windows/fSplash.h"
#include "windows/main.h"
#include "windows/uProc.h"
#include "windows/uSettings.h"

namespace {

// An exception that no command caught reaches the user as an error page
// instead of ending the program.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      Report(QString::fromUtf8(e.what()));
    } catch (...) {
      Report(QStringLiteral("Неизвестная ошибка."));
    }
    return false;
  }

 private:
  static void Report(const QString& message) {
    if (MainForm) MainForm->ApplicationException(message);
  }
};

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("ZeltorOmra"));
  app.setWindowIcon(ProgramIcon());
  InstallFlatStyle();
  // Start-up: splash, the program's version, the random seed, the main window
  // (which builds everything from the settings file), one pass of the pump.
  FormSplash = new TFormSplash;
  TFileInfo info;
  GetFileInfo(QCoreApplication::applicationFilePath(), info);
  if (!info.FileVersion.isEmpty()) {
    ProgramVersion = info.FileVersion;
    ProgramTitle = QStringLiteral("ZeltorOmra ") + ProgramVersion;
  }
  FormSplash->KitLabelVersion->SetCaption(ProgramTitle);
  FormSplash->show();
  FormSplash->raise();
  FormSplash->repaint();
  Randomize();
  SetSettingsFileInUse(true);
  int result = 0;
  try {
    auto* form = new TMainForm;
    ReleaseSplashOnShow(form);
    QCoreApplication::processEvents();
    form->show();
    if (!qEnvironmentVariableIsEmpty("ZO_SCREENSHOTS")) ScreenshotRun(qEnvironmentVariable("ZO_SCREENSHOTS"));
    result = app.exec();
    delete form;
  } catch (const std::exception& e) {
    if (MainForm) MainForm->ApplicationException(QString::fromUtf8(e.what()));
    result = 1;
  }
  return result;
}
