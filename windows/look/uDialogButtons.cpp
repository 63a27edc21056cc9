#include "windows/look/uDialogButtons.h"

#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Takes a minimised, maximised or full-screen dialog back to its normal state.
class TNormalStateKeeper : public QObject {
 public:
  explicit TNormalStateKeeper(QDialog* dialog) : QObject(dialog), Dialog(dialog) { dialog->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == Dialog && event->type() == QEvent::WindowStateChange && Dialog->windowState() != Qt::WindowNoState)
      // After the window manager is done with the change it asked for.
      QTimer::singleShot(0, Dialog, [dialog = Dialog] {
        if (dialog->windowState() == Qt::WindowNoState || !dialog->isVisible()) return;
        dialog->setWindowState(Qt::WindowNoState);
        dialog->raise();
        dialog->activateWindow();
      });
    return false;
  }

 private:
  QDialog* Dialog;
};

}  // namespace

void SetFixedDialogSize(QDialog* dialog, const QSize& clientSize) {
  dialog->setFixedSize(clientSize.expandedTo(dialog->minimumSizeHint()));
  new TNormalStateKeeper(dialog);
}

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
