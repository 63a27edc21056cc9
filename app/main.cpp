// The program's entry: the application object, the random seed, the main
// window, and the message loop.
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <csignal>
#include <exception>

#include "model/uRandom.h"
#include "controls/KitCtrls.h"
#include "windows/look/FlatStyle.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/pages/fSplash.h"
#include "windows/parameter/fParameter.h"
#include "windows/program/uProgram.h"
#include "windows/program/uTranslation.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

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

// A failure that reached the entry: the main window may be half built (its
// construction failed and the windows it made are gone with it), so it is not
// asked to report; a plain message box does, and the program ends.
int ReportFailure(const QString& message) {
  MainForm = nullptr;
  FormView = nullptr;
  FormStatistic = nullptr;
  FormParameter = nullptr;
  if (FormSplash) FormSplash->hide();
  QMessageBox::critical(nullptr, QStringLiteral("Ошибка"),
                        QStringLiteral("Программе не удалось выполнить операцию.\n") + message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file size limit a write must fail (and the whole-or-nothing saves
  // report it) instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  TApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("ZeltorOmra"));
  app.setWindowIcon(ProgramIcon());
  InstallFlatStyle();
  InstallQtTranslations();
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
  FormSplash->ShowPainted();
  Randomize();
  SetSettingsFileInUse(true);
  try {
    auto* form = new TMainForm;
    ReleaseSplashOnShow(form);
    QCoreApplication::processEvents();
    form->show();
    const int result = app.exec();
    delete form;
    return result;
  } catch (const std::exception& e) {
    return ReportFailure(QString::fromUtf8(e.what()));
  } catch (...) {
    return ReportFailure(QStringLiteral("Неизвестная ошибка."));
  }
}
