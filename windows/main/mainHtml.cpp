// The page windows as the main window uses them: its host (place, page folder,
// settings file), its message pages and the commands that show the help pages.
#include "windows/main/mainHtml.h"

#include <QAction>
#include <QMessageBox>
#include <QTextDocumentFragment>

#include "platform/IniFile.h"
#include "windows/main/main.h"
#include "windows/pages/fHelp.h"
#include "windows/pages/uHtmlPage.h"
#include "windows/settings/uSettings.h"

THtmlHost MainHtmlHost(TMainForm& form) {
  THtmlHost host;
  host.Owner = &form;
  host.FilesPath = form.FilesPath;
  host.PagesPath = CurrentSettingsPaths().PagesPath;
  host.PagesFolderError = CurrentSettingsPaths().PagesFolderError;
  host.TemplatePage = form.TemplatePage;
  const QString settings = CurrentSettingsPaths().ReadFile;
  host.ReadInt = [settings](const QString& section, const QString& key, int def) {
    if (settings.isEmpty()) return def;
    TIniFile ini(settings.toStdString());
    return static_cast<int>(ini.ReadInteger(section.toStdString(), key.toStdString(), def));
  };
  return host;
}

namespace {

// No page can be made (the page folder is missing or cannot be written): the
// message lines reach the user in a plain box with the cause, and what asked
// for the page goes on.
void ShowPlainMessage(TMainForm& form, int kind, const QString& caption, const QStringList& lines,
                      const THtmlPageError& cause) {
  QStringList text;
  for (const QString& line : lines) text << QTextDocumentFragment::fromHtml(line).toPlainText();
  text << QString::fromUtf8(cause.what());
  const QString body = text.join(QStringLiteral("\n\n"));
  if (kind == HtmlKindError)
    QMessageBox::critical(&form, caption, body);
  else
    QMessageBox::information(&form, caption, body);
}

}  // namespace

void ShowMainHtmlMessage(TMainForm& form, int kind, const QString& caption, const QStringList& lines) {
  try {
    ShowHtmlPage(MainHtmlHost(form), kind, caption, QString(), lines);
  } catch (const THtmlPageError& e) {
    ShowPlainMessage(form, kind, caption, lines, e);
  }
}

void ConnectPageCommands(TMainForm& form) {
  TMainForm* f = &form;
  QObject::connect(form.ActionHelpAbout, &QAction::triggered, f, [f] {
    ShowHelpPage(MainHtmlHost(*f), QStringLiteral("О программе"), QStringLiteral("about.htm"));
  });
  QObject::connect(form.ActionHelpTheory, &QAction::triggered, f, [f] {
    ShowHelpPage(MainHtmlHost(*f), QStringLiteral("Описание теории"), QStringLiteral("theory.htm"));
  });
  QObject::connect(form.ActionHelpWhatsNew, &QAction::triggered, f, [f] {
    try {
      ShowWhatsNewPage(MainHtmlHost(*f));
    } catch (const THtmlPageError& e) {
      ShowPlainMessage(*f, HtmlKindError, WhatsNewCaption(), {}, e);
    }
  });
  QObject::connect(form.ActionViewComment, &QAction::triggered, f, [f] {
    QStringList lines;
    for (const std::string& line : f->Comment) lines << QString::fromStdString(line);
    f->ShowHtmlMessage(HtmlKindComment, QStringLiteral("Комментарии"), lines);
  });
}
