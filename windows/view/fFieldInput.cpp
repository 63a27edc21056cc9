#include "windows/view/fFieldInput.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "windows/look/ValueListEditor.h"
#include "windows/look/uDialogButtons.h"
#include "windows/place/uSticky.h"

TFormFieldInput::TFormFieldInput(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  InstallSticky(this, TStickyKind::Dialog);
  setWindowTitle(QStringLiteral("Заполнить поле"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 6);
  layout->setSpacing(6);
  ValueListEditor = new TValueListEditor(this);
  ValueListEditor->SetTitleCaptions(QStringLiteral("Параметр"), QStringLiteral("Значение"));
  ValueListEditor->SetColWidths(0, DefaultColWidth);
  ValueListEditor->setMinimumSize(120, 60);
  layout->addWidget(ValueListEditor, 1);

  const TDialogButtons foot = MakeDialogButtons(this, mrYes, mrCancel);
  Bevel1 = foot.Bevel;
  ButtonYes = foot.Yes;
  ButtonCancel = foot.Cancel;
  layout->addLayout(foot.Layout);

  SetFixedDialogSize(this, QSize(236, 224));
}

void TFormFieldInput::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormFieldInput::FormShow() {
  if (!ValueListEditor->SetRow(2)) return;
  QLineEdit* editor = ValueListEditor->InplaceEditor();
  editor->setFocus();
  editor->selectAll();
}
