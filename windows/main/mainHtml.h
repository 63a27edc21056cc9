#pragma once
// The page windows as the main window uses them.
#include <QStringList>

#include "windows/pages/fHelp.h"

class TMainForm;

// The host for the main window: its place, its page folder and the settings file.
THtmlHost MainHtmlHost(TMainForm& form);
// TMainForm::ShowHtmlMessage: builds and shows the page of the kind given.
void ShowMainHtmlMessage(TMainForm& form, int kind, const QString& caption, const QStringList& lines);
// Binds the About, Theory, What's new and Comments commands.
void ConnectPageCommands(TMainForm& form);
