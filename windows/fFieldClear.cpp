#include "windows/fFieldClear.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "windows/CheckListBox.h"
#include "windows/uDialogButtons.h"
#include "windows/uListImages.h"
#include "windows/uSticky.h"

TFormFieldClear::TFormFieldClear(QWidget* owner, const QList<QIcon>& images)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  InstallSticky(this, TStickyKind::Dialog);
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

  auto* body = new QVBoxLayout;
  body->setContentsMargins(2, 2, 2, 0);
  body->setSpacing(6);
  CheckListBox = new TCheckListBox(this);
  body->addWidget(CheckListBox, 1);
  const TDialogButtons foot = MakeDialogButtons(this, mrYes, mrCancel);
  Bevel1 = foot.Bevel;
  ButtonYes = foot.Yes;
  ButtonCancel = foot.Cancel;
  body->addLayout(foot.Layout);
  layout->addLayout(body, 1);

  resize(236, 246);
}

void TFormFieldClear::ActionSelectAllExecute() { CheckListBox->CheckAll(true); }
void TFormFieldClear::ActionDeselectAllExecute() { CheckListBox->CheckAll(false); }
void TFormFieldClear::ActionInverseExecute() { CheckListBox->InvertAll(); }
