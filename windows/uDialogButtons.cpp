#include "windows/uDialogButtons.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TDialogButtons MakeDialogButtons(QDialog* dialog, int yesResult, int cancelResult) {
  TDialogButtons b;
  auto* foot = new QVBoxLayout;
  foot->setContentsMargins(4, 0, 4, 0);
  foot->setSpacing(6);
  b.Bevel = new QFrame(dialog);
  b.Bevel->setFrameShape(QFrame::HLine);
  b.Bevel->setFrameShadow(QFrame::Sunken);
  foot->addWidget(b.Bevel);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  b.Yes = new QPushButton(QStringLiteral("Да"), dialog);
  b.Yes->setDefault(true);
  b.Cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
  for (QPushButton* button : {b.Yes, b.Cancel}) {
    button->setMinimumWidth(75);
    row->addWidget(button);
  }
  foot->addLayout(row);
  QObject::connect(b.Yes, &QPushButton::clicked, dialog, [dialog, yesResult] { dialog->done(yesResult); });
  QObject::connect(b.Cancel, &QPushButton::clicked, dialog, [dialog, cancelResult] { dialog->done(cancelResult); });
  b.Layout = foot;
  return b;
}
