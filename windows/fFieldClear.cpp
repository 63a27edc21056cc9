#include "windows/fFieldClear.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "windows/CheckListBox.h"
#include "windows/uListImages.h"

TFormFieldClear::TFormFieldClear(QWidget* owner, const QList<QIcon>& images)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Очистить поле"));
  auto picture = [&images](int index) { return index < images.size() ? images[index] : QIcon(); };
  ActionSelectAll = new QAction(picture(ImageSelectAll), QStringLiteral("Пометить все"), this);
  ActionDeselectAll = new QAction(picture(ImageDeselectAll), QStringLiteral("Разметить все"), this);
  ActionInverse = new QAction(picture(ImageInverse), QStringLiteral("Инвертировать"), this);
  connect(ActionSelectAll, &QAction::triggered, this, [this] { ActionSelectAllExecute(); });
  connect(ActionDeselectAll, &QAction::triggered, this, [this] { ActionDeselectAllExecute(); });
  connect(ActionInverse, &QAction::triggered, this, [this] { ActionInverseExecute(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->setSpacing(0);
  ToolBarResource = new QToolBar(this);
  ToolBarResource->setObjectName(QStringLiteral("ToolBarResource"));
  ToolBarResource->setIconSize(QSize(16, 16));
  ToolBarResource->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBarResource->setMovable(false);
  ToolBarResource->setFloatable(false);
  ToolBarResource->setContextMenuPolicy(Qt::PreventContextMenu);
  QToolButton** buttons[] = {&ToolButtonResourceAdd, &ToolButtonResourceEdit, &ToolButtonResourceDel};
  QAction* actions[] = {ActionSelectAll, ActionDeselectAll, ActionInverse};
  for (int i = 0; i < 3; ++i) {
    ToolBarResource->addAction(actions[i]);
    *buttons[i] = qobject_cast<QToolButton*>(ToolBarResource->widgetForAction(actions[i]));
  }
  layout->addWidget(ToolBarResource);

  CheckListBox = new TCheckListBox(this);
  auto* listBox = new QVBoxLayout;
  listBox->setContentsMargins(2, 2, 2, 0);
  listBox->addWidget(CheckListBox, 1);
  layout->addLayout(listBox, 1);

  auto* lower = new QVBoxLayout;
  lower->setContentsMargins(6, 6, 6, 0);
  lower->setSpacing(6);
  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  lower->addWidget(Bevel1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  ButtonYes = new QPushButton(QStringLiteral("Да"), this);
  ButtonYes->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("Отмена"), this);
  for (QPushButton* b : {ButtonYes, ButtonCancel}) {
    b->setMinimumWidth(75);
    row->addWidget(b);
  }
  lower->addLayout(row);
  layout->addLayout(lower);
  connect(ButtonYes, &QPushButton::clicked, this, [this] { done(mrYes); });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

  resize(236, 246);
}

void TFormFieldClear::ActionSelectAllExecute() { CheckListBox->CheckAll(true); }
void TFormFieldClear::ActionDeselectAllExecute() { CheckListBox->CheckAll(false); }
void TFormFieldClear::ActionInverseExecute() { CheckListBox->InvertAll(); }
