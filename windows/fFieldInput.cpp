#include "windows/fFieldInput.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/ValueListEditor.h"

TFormFieldInput::TFormFieldInput(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Заполнить поле"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 6);
  layout->setSpacing(6);
  ValueListEditor = new TValueListEditor(this);
  ValueListEditor->SetTitleCaptions(QStringLiteral("Параметр"), QStringLiteral("Значение"));
  ValueListEditor->SetColWidths(0, DefaultColWidth);
  ValueListEditor->setMinimumSize(120, 60);
  layout->addWidget(ValueListEditor, 1);

  auto* lower = new QVBoxLayout;
  lower->setContentsMargins(4, 0, 4, 0);
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

  resize(236, 224);
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
