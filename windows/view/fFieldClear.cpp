#include "windows/view/fFieldClear.h"

#include <QToolBar>
#include <QVBoxLayout>

#include "windows/look/CheckListBox.h"
#include "windows/look/uDialogButtons.h"
#include "windows/look/uListImages.h"
#include "windows/place/uSticky.h"

TFormFieldClear::TFormFieldClear(QWidget* owner, const QList<QIcon>& images)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  InstallSticky(this, TStickyKind::Dialog);
  setWindowTitle(QStringLiteral("Очистить поле"));
  MakeCheckListBarFor(this, images);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->setSpacing(0);
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

  SetFixedDialogSize(this, QSize(236, 246));
}

void TFormFieldClear::ActionSelectAllExecute() { CheckListBox->CheckAll(true); }
void TFormFieldClear::ActionDeselectAllExecute() { CheckListBox->CheckAll(false); }
void TFormFieldClear::ActionInverseExecute() { CheckListBox->InvertAll(); }
