#include "windows/frImport.h"

#include <QAction>
#include <QGridLayout>
#include <QToolBar>
#include <QToolButton>

#include "files/uFilePreview.h"
#include "windows/CheckListBox.h"
#include "windows/uListImages.h"

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
  CheckListBox->Clear();
  TResourceSetNames names;
  if (!ReadResourceSetNames(fileName.toStdString(), names)) return false;
  if (names.ResourceCount > 0) AddHeader(resourceHeader, ResourceStart);
  for (const std::string& name : names.Resources) CheckListBox->AddItem(QString::fromStdString(name));
  if (names.PlantCount > 0) AddHeader(plantHeader, PlantStart);
  for (const std::string& name : names.Plants) CheckListBox->AddItem(QString::fromStdString(name));
  return true;
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
