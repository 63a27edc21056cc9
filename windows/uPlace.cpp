#include "windows/uPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QRect OuterRect(const QWidget* window) { return window->frameGeometry(); }

void MoveOuter(QWidget* window, const QPoint& topLeft) { window->move(topLeft); }

QPoint BelowWindow(const QWidget* window) {
  const QRect outer = OuterRect(window);
  return QPoint(outer.left(), outer.bottom() + 1);
}

QRect WorkArea(const QWidget* window) {
  QScreen* screen = window ? window->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}
