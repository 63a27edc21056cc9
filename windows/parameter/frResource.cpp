#include "windows/parameter/frResource.h"

#include <QListWidget>

#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/parameter/frComboColor.h"

TFrameResource::TFrameResource(QWidget* owner) : QWidget(owner) {
  resize(140, 85);
  ListBox = AddSwatchList(this, owner, [](int row) {
    const TResourceObject* res = MainForm ? MainForm->Resource : nullptr;
    return res && row >= 0 && row < res->Count ? res->Params[row].Color : clBlack;
  });
}

void TFrameResource::FillResources() {
  ListBox->clear();
  const TResourceObject* res = MainForm ? MainForm->Resource : nullptr;
  if (!res) return;
  for (int32_t i = 0; i < res->Count; ++i) ListBox->addItem(QString::fromStdString(res->Params[i].Name));
}

void TFrameResource::SelectByName(const QString& name) {
  ListBox->setCurrentRow(-1);
  ListBox->clearSelection();
  const int i = ListIndexOf(ListBox, name);
  if (i < 0) return;
  ListBox->setCurrentRow(i);
  ListBox->scrollToItem(ListBox->item(i));
}
