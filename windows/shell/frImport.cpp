#include "windows/shell/frImport.h"

#include <QAction>
#include <QGridLayout>
#include <QToolBar>
#include <QToolButton>

#include "files/uFilePreview.h"
#include "windows/look/CheckListBox.h"
#include "windows/look/uListImages.h"

TFrameImport::TFrameImport(QWidget* parent, const QList<QIcon>& images) : QFrame(parent) {
  setObjectName(QStringLiteral("FrameImport"));
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  MakeCheckListBarFor(this, images);
  CheckListBox = new TCheckListBox(this);
  CheckListBox->setObjectName(QStringLiteral("CheckListBox"));
  layout->addWidget(ToolBarResource, 0, 0);
  layout->addWidget(CheckListBox, 1, 0);
  layout->setRowStretch(1, 1);
  hide();
}

void TFrameImport::ActionSelectAllExecute() { CheckListBox->CheckAll(true); }
void TFrameImport::ActionDeselectAllExecute() { CheckListBox->CheckAll(false); }
void TFrameImport::ActionInverseExecute() { CheckListBox->InvertAll(); }

void TFrameImport::AddHeader(const QString& text, int& start) {
  CheckListBox->SetHeader(CheckListBox->AddItem(text), true);
  start = CheckListBox->Count();
}

bool TFrameImport::Preview(const QString& fileName, const QString& resourceHeader, const QString& plantHeader) {
  Clear();
  SetFile = fileName;
  const bool ok = ReadResourceSetPreview(fileName.toStdString(), Set, &SetError);
  SetReadable = ok;
  if (Set.ResourceCount > 0) AddHeader(resourceHeader, ResourceStart);
  for (const TResourceSetResource& r : Set.Resources) CheckListBox->AddItem(QString::fromStdString(r.Name));
  if (Set.PlantCount > 0) AddHeader(plantHeader, PlantStart);
  for (const TResourceSetPlant& r : Set.Plants) CheckListBox->AddItem(QString::fromStdString(r.Species.Const.Name));
  return ok;
}

void TFrameImport::Clear() {
  CheckListBox->Clear();
  Set = TResourceSet();
  SetFile.clear();
  SetReadable = true;
  SetError = 0;
}

void TFrameImport::Fill(const QString& resourceHeader, const QStringList& resources, const QString& plantHeader,
                        const QStringList& plants) {
  CheckListBox->Clear();
  AddHeader(resourceHeader, ResourceStart);
  for (const QString& name : resources) CheckListBox->AddItem(name);
  AddHeader(plantHeader, PlantStart);
  for (const QString& name : plants) CheckListBox->AddItem(name);
}

std::vector<bool> TFrameImport::Ticks(int start) const {
  std::vector<bool> ticks;
  for (int row = std::max(0, start); row < CheckListBox->Count(); ++row) ticks.push_back(CheckListBox->Checked(row));
  return ticks;
}
