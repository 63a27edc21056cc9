// The main window's file commands: New, Open, Save, Save As and the five
// recent files; Import and Export of resource sets; the picture of the field
// or a chart. Every file is chosen in the program's own file window.
#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <vector>

#include "files/uDataFile.h"
#include "files/uResourceSet.h"
#include "platform/Jpeg.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/main/mainHtml.h"
#include "windows/pages/fHelp.h"
#include "windows/parameter/fParameter.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/shell/fShell.h"
#include "windows/shell/frImport.h"
#include "windows/shell/frSaveShot.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The parameter editor's lists as the import of a resource set needs them.
// The editor holds the statistics layout back while the records come in and
// rebuilds it once, at the end (once per record, a set of thousands of
// records took the program away for many seconds).
class TMainResourceSetHost : public TResourceSetHost {
 public:
  TMainResourceSetHost() { FormParameter->BeginListChanges(); }
  ~TMainResourceSetHost() override {
    try {
      EndChanges();
    } catch (...) {
      // Only when the import itself failed, and that failure is on its way to the user.
    }
  }
  int32_t ResourceIndex(const std::string& name) override { return ListIndexOf(FormParameter->ListBoxResource, Q(name)); }
  bool HasPlant(const std::string& name) override { return ListIndexOf(FormParameter->ListBoxPlant, Q(name)) >= 0; }
  int32_t PlantCount() override { return FormParameter->ListBoxPlant->count(); }
  void AddResource(const std::string& name) override { FormParameter->AddResource(Q(name)); }
  void AddPlant(const TPlantParameter& species) override { FormParameter->AddPlant(species); }
  // The end of the import: the layout rebuilt once and the statistics refreshed.
  void UpdateView() override {
    if (!EndChanges() && FormStatistic) FormStatistic->UpdateView();
  }

 private:
  bool EndChanges() {
    if (!Open) return false;
    Open = false;
    FormParameter->EndListChanges();
    return true;
  }
  bool Open = true;
};

// What a picture shows: the control's client area, drawn by the control itself
// (so a hidden or covered window gives its own content), stretched to the
// control's outer size.
QImage ControlPicture(QWidget* control) {
  if (QLayout* layout = control->window()->layout()) layout->activate();
  // A chart lays its axes out on a posted request: settle those first, so the
  // picture has the labels the window shows once it is painted.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QWidget* client = control;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) client = area->viewport();
  QImage image = client->grab().toImage();
  image.setDevicePixelRatio(1);
  if (image.size() != control->size())
    image = image.scaled(control->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return image.convertToFormat(QImage::Format_RGB888);
}

// Writes the picture; when it cannot, the message line that says why: the
// file's own cause from the system's error number, or the encoder's message
// when the picture could not be compressed.
bool WritePicture(const QImage& image, const QString& fileName, int quality, std::string& errorLine) {
  std::vector<uint8_t> rgb(static_cast<size_t>(image.width()) * image.height() * 3);
  for (int y = 0; y < image.height(); ++y)
    std::copy_n(image.constScanLine(y), image.width() * 3, rgb.data() + static_cast<size_t>(y) * image.width() * 3);
  const std::string file = fileName.toStdString();
  std::string encoder;
  int error = 0;
  if (JpegWriteFile(file, rgb.data(), image.width(), image.height(), quality, &encoder, &error)) return true;
  errorLine = error == 0 && !encoder.empty() ? "Файл \"" + file + "\" не удалось сохранить. " + encoder + "."
                                             : SaveFailedText(file, error);
  return false;
}

// Runs the right-button release of the Open tool button.
class TLoadButtonWatch : public QObject {
 public:
  TLoadButtonWatch(TMainForm* form, QObject* parent) : QObject(parent), Form(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) Form->ToolButtonLoadMouseUp(static_cast<QMouseEvent*>(event));
    return QObject::eventFilter(watched, event);
  }

 private:
  TMainForm* Form;
};

}  // namespace

void TMainForm::ConnectFileCommands() {
  connect(ActionFileNew, &QAction::triggered, this, [this] { ActionFileNewExecute(); });
  connect(ActionFileLoad, &QAction::triggered, this, [this] { ActionFileLoadExecute(); });
  connect(ActionFileSave, &QAction::triggered, this, [this] { ActionFileSaveExecute(); });
  connect(ActionFileSaveAs, &QAction::triggered, this, [this] { ActionFileSaveAsExecute(); });
  connect(ActionFileImport, &QAction::triggered, this, [this] { ActionFileImportExecute(); });
  connect(ActionFileExport, &QAction::triggered, this, [this] { ActionFileExportExecute(); });
  connect(ActionFieldSaveShot, &QAction::triggered, this, [this] { ActionFieldSaveShotExecute(); });
  for (QAction* a : {ActionReload1, ActionReload2, ActionReload3, ActionReload4, ActionReload5})
    connect(a, &QAction::triggered, this, [this, a] { ActionFileReload1Click(a->data().toInt()); });
  if (ToolBar && ToolButtonLoad)
    if (QWidget* button = ToolBar->widgetForAction(ToolButtonLoad)) button->installEventFilter(new TLoadButtonWatch(this, button));
  UpdateRecentMenu();
}

void TMainForm::ToolButtonLoadMouseUp(QMouseEvent* event) {
  if (event->button() != Qt::RightButton || !ToolBar || !ToolButtonLoad || !PopupMenuLoad) return;
  QWidget* button = ToolBar->widgetForAction(ToolButtonLoad);
  if (!button) return;
  const QRect r = button->geometry();
  PopupMenuLoad->popup(ToolBar->mapToGlobal(QPoint(r.left(), r.top() + r.height())));
}

namespace {

// Whether two names stand for one recent file: the same name, or names that
// differ only in letter case on a file system that does not tell case apart
// (they then name one existing file). Where case tells files apart,
// SAMPLE.ZOD and sample.zod are two files and two entries.
bool SameRecentFile(const QString& a, const QString& b) {
  if (a == b) return true;
  if (a.compare(b, Qt::CaseInsensitive) != 0) return false;
  std::error_code error;
  return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(), error);
}

// The widest text a recent-file entry shows. A longer one (a very long file
// name, or an entry as an older version stored it) is shortened in its
// middle, so that the menu keeps its keys on the screen.
int RecentEntryWidth(const QWidget& window, const QFontMetrics& metrics) {
  int width = 50 * metrics.averageCharWidth();
  if (const QScreen* screen = window.screen()) width = std::min(width, screen->availableGeometry().width() / 2);
  return width;
}

// An entry's menu text as it is shown, within that width: no accelerator, and
// a tab in a name would start the key. The settings keep no text longer than
// a path.
QString RecentEntryText(const QString& name, const QFontMetrics& metrics, int width) {
  QString text = name;
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  text = metrics.elidedText(text, Qt::ElideMiddle, width);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return text;
}

}  // namespace

void TMainForm::AddRecentFile(const QString& name) {
  int at = -1;
  for (int i = 0; i < 5 && at < 0; ++i)
    if (SameRecentFile(FileList[i].FileName, name)) at = i;
  TFileListItem front;
  if (at >= 0) {
    front = FileList[at];  // keeps its own menu text and visibility
  } else {
    at = 4;
    front.FileName = name;
    front.ShortFileName = RecentMenuText(name);
    front.Visible = true;
  }
  for (int i = at; i > 0; --i) FileList[i] = FileList[i - 1];
  FileList[0] = front;
  UpdateRecentMenu();
}

void TMainForm::UpdateRecentMenu() {
  const QAction* const commands[5] = {ActionReload1, ActionReload2, ActionReload3, ActionReload4, ActionReload5};
  for (QAction* const* entries : {MenuFileReload, MenuLoadReload}) {
    const QMenu* menu = entries == MenuFileReload ? PopupMenuFile : PopupMenuLoad;
    const QFontMetrics metrics(menu ? menu->font() : font());
    const int width = RecentEntryWidth(*this, metrics);
    for (int i = 0; i < 5; ++i) {
      QAction* entry = entries[i];
      const int k = entry ? entry->data().toInt() : 0;
      if (k < 1 || k > 5) continue;
      const TFileListItem& item = FileList[k - 1];
      const QString text = RecentEntryText(item.ShortFileName, metrics, width);
      entry->setText(MenuTextWithKey(text, commands[k - 1] ? commands[k - 1]->shortcut() : QKeySequence()));
      entry->setToolTip(item.FileName);
      entry->setVisible(item.Visible);
    }
  }
}

TShellHost TMainForm::FileWindowHost() {
  TShellHost host;
  host.FallbackFolder = CurrentSettingsPaths().DocumentPath;
  host.SettingsFile = WindowSettingsFile();
  host.SettingsStart = WindowSettingsStart();
  host.Pages = MainHtmlHost(*this);
  host.Images = ImageList;
  host.CurrentFile = FileName;
  host.ShowInformation = [this](const QString& line) {
    ShowHtmlMessage(HtmlKindInformation, QStringLiteral("Информация"), {line});
  };
  host.ResourceHeader = PageCaption(1, host.ResourceHeader);
  host.PlantHeader = PageCaption(2, host.PlantHeader);
  if (Resource)
    for (int32_t i = 0; i < Resource->Count; ++i) host.ResourceNames << Q(Resource->Params[i].Name);
  if (Plant)
    for (int32_t i = 0; i < Plant->Count; ++i) host.PlantNames << Q(Plant->Params[i].Const.Name);
  host.Step = Step;
  if (FormStatistic) {
    host.HistoryItem = FormStatistic->ComboBoxHistory->currentText();
    host.StatItem = FormStatistic->ComboBoxStat->currentText();
  }
  return host;
}

bool TMainForm::RunFileWindow(unsigned char type, const QString& extension, const QString& typeText, QString& folder,
                              const QString& name, const std::function<bool(TFormShell&)>& accept) {
  TFormShell shell(this, FileWindowHost());
  shell.Extension = extension;
  shell.SetStartFolder(folder);
  shell.EditFileName->setText(name);
  shell.SetWindowType(type);
  shell.EditFileType->setText(typeText);
  const bool accepted = shell.exec() == TFormShell::mrYes;
  const bool ok = !accepted || accept(shell);
  if (ok) folder = shell.CurrentFolder();
  return accepted && ok;
}

void TMainForm::ActionFileNewExecute() {
  if (!Resource || !Plant) return;
  Resource->Clear(-1);
  Plant->Clear(-1);
  if (FormStatistic) {
    FormStatistic->UpdateView();
    FormStatistic->RebuildLayout();
  }
  Step = 0;
  if (FormView) FormView->StaticTextStep->setText(QStringLiteral("0"));
  FileName = StartUpFileName(PathDocument);
  ShowFileCaption(FileName);
  FileDataVersion = DataFileVersion;
  Author = UserName.toStdString();
  Created = DateTimeText(std::time(nullptr));
  Comment.clear();
  ShowViewCaption();
  ActionViewComment->setEnabled(false);
}

bool TMainForm::OpenDataFile(QString name) {
  const bool ok = LoadDataFile(name, true);
  if (ok) FileName = name;
  if (FormStatistic) FormStatistic->UpdateView();
  return ok;
}

void TMainForm::ActionFileLoadExecute() {
  RunFileWindow(TFormShell::TypeOpenBrowser, QStringLiteral(".zod"), TFormShell::TypeTextZod, PathDocument, QString(),
                [this](TFormShell& shell) {
                  OpenDataFile(shell.FileName);
                  return true;
                });
}

void TMainForm::ActionFileSaveExecute() {
  if (QFileInfo(FileName).isFile()) {
    SaveDataFile(FileName);
  } else {
    ActionFileSaveAsExecute();
  }
}

void TMainForm::ActionFileSaveAsExecute() {
  RunFileWindow(TFormShell::TypeSave, QStringLiteral(".zod"), TFormShell::TypeTextZod, PathDocument, QFileInfo(FileName).fileName(),
                [this](TFormShell& shell) {
                  // The data gets the current user as its author; a file that
                  // could not be written leaves the current file and author as they were.
                  const std::string author = Author;
                  Author = UserName.toStdString();
                  if (SaveDataFile(shell.FileName)) FileName = shell.FileName;
                  else Author = author;
                  return true;
                });
}

void TMainForm::ActionFileReload1Click(int tag) {
  // A key whose entry holds no file does nothing.
  if (tag < 1 || tag > 5 || FileList[tag - 1].FileName.isEmpty()) return;
  OpenDataFile(FileList[tag - 1].FileName);
}

void TMainForm::ActionFileImportExecute() {
  if (!Resource || !FormParameter) return;
  RunFileWindow(TFormShell::TypeImport, QStringLiteral(".zor"), TFormShell::TypeTextZor, PathDocument, QString(),
                [this](TFormShell& shell) {
                  // A set that could not be read (the list showed none of it)
                  // is reported with its cause, as a data file that cannot be opened.
                  if (const TFrameImport& frame = *shell.FrameImport; !frame.SetReadable) {
                    const std::string file = shell.FileName.toStdString();
                    ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"),
                                    {Q(frame.SetError ? OpenFailedText(file, frame.SetError) : BadFormatText(file))});
                    return true;
                  }
                  // The set as the list showed it, and its ticked rows: the window
                  // closes only once the list shows the file accepted.
                  TResourceSetImport report;
                  ImportResourceSet(shell.FrameImport->Set, shell.FrameImport->Selection(), &report);
                  const std::vector<std::string> lines = ImportReportLines(shell.FileName.toStdString(), report);
                  if (!lines.empty()) {
                    QStringList text;
                    for (const std::string& line : lines) text << Q(line);
                    if (report.Stop == TResourceSetImport::Whole)
                      ShowHtmlMessage(HtmlKindInformation, QStringLiteral("Информация"), text);
                    else
                      ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), text);
                  }
                  return true;
                });
}

int32_t TMainForm::ImportResourceSet(const TResourceSet& set, const TResourceSetSelection& selection,
                                     TResourceSetImport* report) {
  if (!Resource || !FormParameter) return 0;
  TMainResourceSetHost host;
  return ::ImportResourceSet(set, *Resource, selection, host, report);
}

void TMainForm::ActionFileExportExecute() {
  if (!Resource || !Plant) return;
  RunFileWindow(TFormShell::TypeExport, QStringLiteral(".zor"), TFormShell::TypeTextZor, PathDocument, QString(),
                [this](TFormShell& shell) {
                  std::string error;
                  if (ExportResourceSet(shell.FileName.toStdString(), *Resource, *Plant, shell.FrameImport->Selection(),
                                        &error))
                    return true;
                  ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), {Q(error)});
                  return false;
                });
}

void TMainForm::ActionFieldSaveShotExecute() {
  RunFileWindow(TFormShell::TypeSaveShot, QStringLiteral(".jpg"), TFormShell::TypeTextJpg, PathSaveShot, QString(),
                [this](TFormShell& shell) {
                  const TFrameSaveShot& frame = *shell.FrameSaveShot;
                  QWidget* control = nullptr;
                  if (frame.RadioButtonView->isChecked() && FormView) {
                    if (FormView->isVisible()) FormView->raise();
                    if (FormStatistic) FormStatistic->UpdateView();
                    control = FormView->DrawGridField;
                  } else if (FormStatistic && (frame.RadioButtonStat->isChecked() || frame.RadioButtonHistory->isChecked())) {
                    const bool stat = frame.RadioButtonStat->isChecked();
                    FormStatistic->PageControl->setCurrentIndex(stat ? 2 : 3);
                    if (FormStatistic->isVisible()) FormStatistic->raise();
                    control = stat ? static_cast<QWidget*>(FormStatistic->ChartStat)
                                   : static_cast<QWidget*>(FormStatistic->ChartHistory);
                  }
                  if (!control) {
                    ShowHtmlMessage(HtmlKindInformation, QStringLiteral("Информация"),
                                    {QStringLiteral("Изображение не сохранено: не выбрано, что на нём показать.")});
                    return true;
                  }
                  std::string error;
                  if (WritePicture(ControlPicture(control), shell.FileName, frame.TrackBar->value(), error)) return true;
                  ShowHtmlMessage(HtmlKindError, QStringLiteral("Ошибка"), {Q(error)});
                  return false;
                });
}
