// The main window's side of the data file: the reader and the writer of the
// files library reach the windows through this host.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QCheckBox>
#include <functional>
#include <utility>
#include <vector>

#include "files/uDataFile.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/pages/fHelp.h"
#include "windows/parameter/fParameter.h"
#include "windows/program/uProgram.h"
#include "windows/settings/uSettings.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

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
    F.ShowFileCaption(QString::fromStdString(shortName));
  }
  void SetViewCaption(const std::string& caption) override {
    if (FormView) FormView->setWindowTitle(QString::fromStdString(caption));
  }
  void AddRecentFile(const std::string& fileName) override { F.AddRecentFile(QString::fromStdString(fileName)); }
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
  // The editor's own list operations: the lists are refilled as one change,
  // so a brush index is lowered only when the new list is too short for it.
  void ClearResourceList() override {
    if (FormParameter) FormParameter->ClearResourceList();
  }
  void AddResourceItem(int32_t index, const std::string& name) override {
    if (FormParameter) FormParameter->AddResourceItem(index, QString::fromStdString(name));
  }
  void SelectFirstResource() override {
    if (FormParameter) FormParameter->SelectFirstResource();
  }
  void ClearPlantList() override {
    if (FormParameter) FormParameter->ClearPlantList();
  }
  void AddPlantItem(int32_t index, const std::string& name) override {
    if (FormParameter) FormParameter->AddPlantItem(index, QString::fromStdString(name));
  }
  void SelectFirstPlant() override {
    if (FormParameter) FormParameter->SelectFirstPlant();
  }
  // Both sizes at once: one box after the other would resize the stores to a
  // mixed size on the way and cut what lies beyond it.
  void SetFieldSize(int32_t rows, int32_t cols) override {
    if (FormParameter) FormParameter->SetFieldSize(rows, cols);
    else if (FormView) FormView->UpdateFieldSize();
  }
  void RebuildLayout() override {
    if (FormStatistic) FormStatistic->RebuildLayout();
  }

 private:
  TMainForm& F;
};

// Holds back what the reader asks of the windows while it reads, and passes
// it on only once the file has been accepted; error pages go out at once.
class TDeferredHost : public TDataFileHost {
 public:
  explicit TDeferredHost(TDataFileHost& target) : Target(target) {}
  void Replay() {
    for (const auto& call : Calls) call(Target);
    Calls.clear();
  }

  void ShowMessage(int kind, const std::string& caption, const std::vector<std::string>& lines) override {
    if (kind == HtmlKindError) Target.ShowMessage(kind, caption, lines);
    else Later([=](TDataFileHost& h) { h.ShowMessage(kind, caption, lines); });
  }
  void SetFileCaption(const std::string& s) override { Later([=](TDataFileHost& h) { h.SetFileCaption(s); }); }
  void SetViewCaption(const std::string& s) override { Later([=](TDataFileHost& h) { h.SetViewCaption(s); }); }
  void AddRecentFile(const std::string& s) override { Later([=](TDataFileHost& h) { h.AddRecentFile(s); }); }
  bool CommentOptionChecked() override { return Target.CommentOptionChecked(); }
  void EnableCommentAction(bool on) override { Later([=](TDataFileHost& h) { h.EnableCommentAction(on); }); }
  void CloseCommentWindow() override { Later([](TDataFileHost& h) { h.CloseCommentWindow(); }); }
  void ShowStep(int32_t step) override { Later([=](TDataFileHost& h) { h.ShowStep(step); }); }
  void ClearResourceList() override { Later([](TDataFileHost& h) { h.ClearResourceList(); }); }
  void AddResourceItem(int32_t i, const std::string& name) override {
    Later([=](TDataFileHost& h) { h.AddResourceItem(i, name); });
  }
  void SelectFirstResource() override { Later([](TDataFileHost& h) { h.SelectFirstResource(); }); }
  void ClearPlantList() override { Later([](TDataFileHost& h) { h.ClearPlantList(); }); }
  void AddPlantItem(int32_t i, const std::string& name) override {
    Later([=](TDataFileHost& h) { h.AddPlantItem(i, name); });
  }
  void SelectFirstPlant() override { Later([](TDataFileHost& h) { h.SelectFirstPlant(); }); }
  void SetFieldSize(int32_t rows, int32_t cols) override {
    Later([=](TDataFileHost& h) { h.SetFieldSize(rows, cols); });
  }
  void RebuildLayout() override { Later([](TDataFileHost& h) { h.RebuildLayout(); }); }

 private:
  void Later(std::function<void(TDataFileHost&)> call) { Calls.push_back(std::move(call)); }
  TDataFileHost& Target;
  std::vector<std::function<void(TDataFileHost&)>> Calls;
};

void TakeDocument(TMainForm& f, const TDataFileDocument& doc) {
  f.Step = doc.Step;
  f.Author = doc.Author;
  f.Created = doc.Created;
  f.FileDataVersion = doc.FileDataVersion;
  f.Comment = doc.Comment;
}

}  // namespace

TDataFileDocument TMainForm::Document() const {
  TDataFileDocument doc;
  doc.Step = Step;
  doc.Author = Author;
  doc.Created = Created;
  doc.FileDataVersion = FileDataVersion;
  doc.Comment = Comment;
  return doc;
}

bool TMainForm::LoadDataFile(const QString& fileName, bool showComments) {
  if (!Resource || !Plant) return false;
  TMainDataFileHost windows(*this);
  TDeferredHost host(windows);
  TResourceObject resource = *Resource;
  TPlantObject plant = *Plant;
  TDataFileDocument doc = Document();
  if (!::LoadDataFile(fileName.toStdString(), showComments, resource, plant, doc, host)) return false;
  *Resource = std::move(resource);
  *Plant = std::move(plant);
  TakeDocument(*this, doc);
  host.Replay();
  return true;
}

bool TMainForm::SaveDataFile(const QString& fileName) {
  if (!Resource || !Plant) return false;
  TMainDataFileHost host(*this);
  TDataFileDocument doc = Document();
  const bool ok = ::SaveDataFile(fileName.toStdString(), *Resource, *Plant, doc, host);
  TakeDocument(*this, doc);
  return ok;
}
