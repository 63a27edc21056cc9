#pragma once
// Helpers of the kit's window tests: mouse events sent straight to a widget
// and pixel reading from a widget's picture.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, modifiers);
  QApplication::sendEvent(w, &e);
}
inline void Press(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers m = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseButtonPress, pos, b, b, m);
}
inline void MoveHeld(QWidget* w, QPoint pos, Qt::MouseButtons held = Qt::LeftButton,
                     Qt::KeyboardModifiers m = Qt::NoModifier) {
  SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, held, m);
}
inline void Release(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}

inline QImage Picture(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
inline QRgb Rgb(const QColor& c) { return c.rgb() & 0xFFFFFF; }
inline QRgb PixelAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
