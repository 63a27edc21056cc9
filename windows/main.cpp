#include "windows/main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMessageBox>

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  MainForm = this;
  Resource = new TResourceObject(0, 45, 45);
  Plant = new TPlantObject(0, 45, 45);
  ActionFieldStart = new QAction(this);
  ActionFieldStop = new QAction(this);
  ActionFieldStop->setEnabled(false);
}
TMainForm::~TMainForm() {
  delete Resource;
  delete Plant;
  if (MainForm == this) MainForm = nullptr;
}
void TMainForm::ActionFieldStepExecute() { Tick(*Resource, *Plant, Step); }
void TMainForm::ActionFieldStartExecute() {}
void TMainForm::ActionFieldStopExecute() {}
void TMainForm::ActionFieldUndoExecute() {}
void TMainForm::ActionAutoSizeExecute() {}
bool TMainForm::IsRunning() const { return ActionFieldStop && ActionFieldStop->isEnabled(); }
QString TMainForm::InputText(const QPoint& pos, const QString& caption, const QString& text) {
  return InputText(pos, caption, QString(), text);
}
QString TMainForm::InputText(const QPoint&, const QString&, const QString&, const QString&) { return {}; }
void TMainForm::ShowHtmlMessage(int, const QString& caption, const QStringList& lines) {
  QMessageBox::information(this, caption, lines.join('\n'));
}
void TMainForm::ApplicationException(const QString& message) {
  ShowHtmlMessage(0, QStringLiteral("Ошибка"), {message});
}
bool TMainForm::LoadDataFile(const QString&, bool) { return false; }
bool TMainForm::SaveDataFile(const QString&) { return false; }
void TMainForm::BuildDefaultModel() {}
void TMainForm::closeEvent(QCloseEvent* event) { event->accept(); }
void TMainForm::CreateActions() {}
void TMainForm::CreateBars() {}
QAction* TMainForm::NewAction(const QString&, const QString&, const QString&, const QKeySequence&, int) {
  return nullptr;
}
void TMainForm::SetRunning(bool) {}
void TMainForm::ViewToggle(QAction*, QWidget*) {}
