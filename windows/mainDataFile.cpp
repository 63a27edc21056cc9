// The main window's side of the data file: the reader and the writer of the
// files library reach the windows through this host, and the five recent files.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QCheckBox>

#include "files/uDataFile.h"
#include "windows/fHelp.h"
#include "windows/fParameter.h"
#include "windows/fStatistic.h"
#include "windows/fView.h"
#include "windows/main.h"
#include "windows/uProc.h"
#include "windows/uSettings.h"

namespace {

class TMainDataFileHost : public TDataFileHost {
 public:
  explicit TMainDataFileHost(TMainForm& form) : F(form) {}

  void ShowMessage(int kind, const std::string& caption, const std::vector<std::string>& lines) override {
    QStringList list;
    for (const std::string& l : lines) list << QString::fromStdString(l);
    F.ShowHtmlMessage(kind, QString::fromStdString(caption), list);
  }
  void SetFileCaption(const std::string& shortName) override {
    F.setWindowTitle(ProgramTitle + QStringLiteral(" - ") + QString::fromStdString(shortName));
  }
  void SetViewCaption(const std::string& caption) override {
    if (FormView) FormView->setWindowTitle(QString::fromStdString(caption));
  }
  void AddRecentFile(const std::string& fileName) override {
    AddRecentDataFile(F, QString::fromStdString(fileName));
  }
  bool CommentOptionChecked() override {
    return FormParameter && FormParameter->CheckBoxComment->isChecked();
  }
  void EnableCommentAction(bool enabled) override { F.ActionViewComment->setEnabled(enabled); }
  void CloseCommentWindow() override {
    if (FormComment && FormComment->isVisible()) FormComment->close();
  }
  void ShowStep(int32_t step) override {
    if (FormView) FormView->StaticTextStep->setText(QString::number(step));
  }
  void ClearResourceList() override { ClearList(kResources); }
  void AddResourceItem(int32_t index, const std::string& name) override { AddItem(kResources, index, name); }
  void SelectFirstResource() override { SelectFirst(kResources); }
  void ClearPlantList() override { ClearList(kPlants); }
  void AddPlantItem(int32_t index, const std::string& name) override { AddItem(kPlants, index, name); }
  void SelectFirstPlant() override { SelectFirst(kPlants); }
  void SetFieldSize(int32_t rows, int32_t cols) override {
    if (FormParameter) {
      FormParameter->UpDownR->setValue(rows);
      FormParameter->UpDownC->setValue(cols);
    }
    if (FormView) FormView->UpdateFieldSize();
  }
  void RebuildLayout() override {
    if (FormStatistic) FormStatistic->RebuildLayout();
  }

 private:
  // The kinds of the view's brush menus: the editor's resource list and its species list.
  static constexpr int kResources = 1, kPlants = 2;
  static QListWidget* List(int kind) {
    return kind == kResources ? FormParameter->ListBoxResource : FormParameter->ListBoxPlant;
  }
  static QMenu* BrushMenu(int kind) { return kind == kResources ? FormView->PopupMenuResource : FormView->PopupMenuPlant; }
  static void ClearList(int kind) {
    if (!FormParameter) return;
    List(kind)->clear();
    if (FormView) FormView->FillBrushMenu(BrushMenu(kind), List(kind), kind);
  }
  static void AddItem(int kind, int32_t index, const std::string& name) {
    if (!FormParameter) return;
    const QString text = QString::fromStdString(name);
    List(kind)->addItem(text);
    if (FormView) FormView->SetBrushMenuItem(BrushMenu(kind), text, index, kind);
  }
  static void SelectFirst(int kind) {
    if (FormParameter && List(kind)->count() > 0) List(kind)->setCurrentRow(0);
  }

  TMainForm& F;
};

TDataFileDocument DocumentOf(const TMainForm& f) {
  TDataFileDocument doc;
  doc.Step = f.Step;
  doc.Author = f.Author;
  doc.Created = f.Created;
  doc.FileDataVersion = f.FileDataVersion;
  doc.Comment = f.Comment;
  return doc;
}

void TakeDocument(TMainForm& f, const TDataFileDocument& doc) {
  f.Step = doc.Step;
  f.Author = doc.Author;
  f.Created = doc.Created;
  f.FileDataVersion = doc.FileDataVersion;
  f.Comment = doc.Comment;
}

}  // namespace

void AddRecentDataFile(TMainForm& form, const QString& fileName) {
  TFileListItem item;
  item.FileName = fileName;
  item.ShortFileName = ShortenPath(fileName, 30);
  item.Visible = true;
  // Move the file to the front; the others keep their order.
  int at = 4;
  for (int i = 0; i < 5; ++i)
    if (form.FileList[i].Visible && form.FileList[i].FileName == fileName) {
      at = i;
      break;
    }
  for (int i = at; i > 0; --i) form.FileList[i] = form.FileList[i - 1];
  form.FileList[0] = item;
  RefreshRecentFiles(form);
}

void RefreshRecentFiles(TMainForm& form) {
  QAction* reload[5] = {form.ActionReload1, form.ActionReload2, form.ActionReload3, form.ActionReload4,
                        form.ActionReload5};
  for (int i = 0; i < 5; ++i) {
    if (!reload[i]) continue;
    reload[i]->setText(form.FileList[i].ShortFileName);
    reload[i]->setToolTip(form.FileList[i].FileName);
    reload[i]->setVisible(form.FileList[i].Visible);
  }
}

bool TMainForm::LoadDataFile(const QString& fileName, bool showComments) {
  if (!Resource || !Plant) return false;
  TMainDataFileHost host(*this);
  TDataFileDocument doc = DocumentOf(*this);
  const bool ok = ::LoadDataFile(fileName.toStdString(), showComments, *Resource, *Plant, doc, host);
  TakeDocument(*this, doc);
  return ok;
}

bool TMainForm::SaveDataFile(const QString& fileName) {
  if (!Resource || !Plant) return false;
  TMainDataFileHost host(*this);
  TDataFileDocument doc = DocumentOf(*this);
  const bool ok = ::SaveDataFile(fileName.toStdString(), *Resource, *Plant, doc, host);
  TakeDocument(*this, doc);
  return ok;
}
