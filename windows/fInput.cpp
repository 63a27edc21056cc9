#include "windows/fInput.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/uSticky.h"

TFormInput::TFormInput(QWidget* parent) : QDialog(parent, Qt::Tool) {
  InstallSticky(this, TStickyKind::None, nullptr, true);  // its own screen snapping only
  resize(228, 106);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  LabelInput = new QLabel(this);
  layout->addWidget(LabelInput);
  EditInput = new QLineEdit(this);
  layout->addWidget(EditInput);
  layout->addStretch(1);
  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  layout->addWidget(bevel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ButtonYes = new QPushButton(QStringLiteral("Да"), this);
  ButtonYes->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("Отмена"), this);
  buttons->addWidget(ButtonYes);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);
  connect(ButtonYes, &QPushButton::clicked, this, [this] { done(mrYes); });
  connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}
