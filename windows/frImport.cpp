#include "windows/frImport.h"

#include <QAction>
#include <QGridLayout>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include "files/uFilePreview.h"
#include "windows/CheckListBox.h"

namespace {

// The tool buttons' pictures: a ticked box, an empty box, a box half ticked.
QIcon CheckIcon(int kind) {
  QPixmap pix(16, 16);
  pix.fill(Qt::transparent);
  QPainter p(&pix);
  p.setPen(QColor(90, 90, 90));
  p.setBrush(Qt::white);
  p.drawRect(2, 2, 11, 11);
  p.setPen(QPen(QColor(0, 0, 128), 2));
  if (kind == 0) {
    p.drawLine(4, 8, 6, 10);
    p.drawLine(6, 10, 11, 4);
  } else if (kind == 2) {
    p.fillRect(3, 3, 5, 10, QColor(0, 0, 128));
  }
  return QIcon(pix);
}

}  // namespace

TFrameImport::TFrameImport(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FrameImport"));
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ToolBarResource = new QToolBar(this);
  ToolBarResource->setObjectName(QStringLiteral("ToolBarResource"));
  ToolBarResource->setIconSize(QSize(16, 16));
  ToolBarResource->setFixedHeight(24);
  ActionSelectAll = ToolBarResource->addAction(CheckIcon(0), QStringLiteral("Пометить все"));
  ActionDeselectAll = ToolBarResource->addAction(CheckIcon(1), QStringLiteral("Разметить все"));
  ActionInverse = ToolBarResource->addAction(CheckIcon(2), QStringLiteral("Инвертировать"));
  ToolButtonResourceAdd = qobject_cast<QToolButton*>(ToolBarResource->widgetForAction(ActionSelectAll));
  ToolButtonResourceEdit = qobject_cast<QToolButton*>(ToolBarResource->widgetForAction(ActionDeselectAll));
  ToolButtonResourceDel = qobject_cast<QToolButton*>(ToolBarResource->widgetForAction(ActionInverse));
  CheckListBox = new TCheckListBox(this);
  CheckListBox->setObjectName(QStringLiteral("CheckListBox"));
  layout->addWidget(ToolBarResource, 0, 0);
  layout->addWidget(CheckListBox, 1, 0);
  layout->setRowStretch(1, 1);
  connect(ActionSelectAll, &QAction::triggered, this, [this] { ActionSelectAllExecute(); });
  connect(ActionDeselectAll, &QAction::triggered, this, [this] { ActionDeselectAllExecute(); });
  connect(ActionInverse, &QAction::triggered, this, [this] { ActionInverseExecute(); });
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
