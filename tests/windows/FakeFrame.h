#pragma once
// A fake window frame in place of the window system's (the offscreen
// platform draws none): main windows get 4-pixel borders and a title bar of
// 30 pixels with its top border, tool windows 3-pixel borders and 20 pixels.
// With `onceShown` a window's frame is known only after it was shown, as on a
// desktop, and estimated before.
#include <QMargins>
#include <QVariant>
#include <QWidget>

#include "windows/place/uPlace.h"

struct TFakeFrame {
  static QMargins MainFrame() { return QMargins(4, 30, 4, 4); }
  static QMargins ToolFrame() { return QMargins(3, 20, 3, 3); }
  static QMargins FrameOf(const QWidget* w) {
    return w->windowType() == Qt::Tool || w->windowType() == Qt::Dialog ? ToolFrame() : MainFrame();
  }
  explicit TFakeFrame(bool onceShown = false) {
    SetFrameSource([onceShown](const QWidget* w) -> std::optional<QMargins> {
      if (onceShown) {
        if (!w->isVisible() && !w->property("fakeFrameSeen").toBool()) return std::nullopt;
        const_cast<QWidget*>(w)->setProperty("fakeFrameSeen", true);
      }
      return FrameOf(w);
    });
  }
  ~TFakeFrame() { SetFrameSource({}); }
  TFakeFrame(const TFakeFrame&) = delete;
  TFakeFrame& operator=(const TFakeFrame&) = delete;
};
