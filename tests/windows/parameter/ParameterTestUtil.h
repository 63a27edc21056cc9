#pragma once
// Helpers of the parameter editor's tests: the window tests' one application
// (MainFixture.h), a main window with its tool windows, and answers to the
// modal windows the editor opens.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>

#include "tests/windows/MainFixture.h"

namespace partest {

// Every text a window shows: its labels, message text and text views.
inline QString WindowText(QWidget* w) {
  QString text;
  if (auto* box = qobject_cast<QMessageBox*>(w)) text += box->text() + '\n';
  for (QLabel* label : w->findChildren<QLabel*>()) text += label->text() + '\n';
  for (QTextEdit* edit : w->findChildren<QTextEdit*>()) text += edit->toPlainText() + '\n';
  return text;
}

// Acts on the next modal window as soon as it opens: `act` gets it.
inline void OnNextModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && ++*tries < 400) return;
    timer->stop();
    timer->deleteLater();
    if (modal) act(modal);
  });
  timer->start();
}

// Types `text` into the next modal input window and confirms it.
inline void AnswerNextInput(const QString& text) {
  OnNextModal([text](QWidget* w) {
    if (QLineEdit* edit = w->findChild<QLineEdit*>()) edit->setText(text);
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
      if (b->text() == QStringLiteral("Да")) {
        b->click();
        return;
      }
    if (auto* d = qobject_cast<QDialog*>(w)) d->done(6);
  });
}

// Cancels the next modal input window.
inline void CancelNextInput() {
  OnNextModal([](QWidget* w) {
    if (auto* d = qobject_cast<QDialog*>(w))
      d->reject();
    else
      w->close();
  });
}

// Closes the next modal message window and keeps what it showed.
inline void CollectNextMessage(QString* into) {
  OnNextModal([into](QWidget* w) {
    *into = WindowText(w) + w->windowTitle();
    if (auto* d = qobject_cast<QDialog*>(w))
      d->reject();
    else
      w->close();
  });
}

}  // namespace partest
