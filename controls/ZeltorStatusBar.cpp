#include "controls/ZeltorStatusBar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/KitConst.h"
#include "controls/MaxMin.h"

TZeltorStatusBar::TZeltorStatusBar(QWidget* parent) : QWidget(parent) {
  setGeometry(0, 0, 16, 16);
  setCursor(Qt::SizeFDiagCursor);
  SetCorner(1);
  FDragging = false;
}

void TZeltorStatusBar::SetCorner(uint8_t value) {
  FCorner = value;
  QWidget* parent = parentWidget();
  if (parent && value <= 4) {
    if (FWatchedParent != parent) {
      if (FWatchedParent) FWatchedParent->removeEventFilter(this);
      parent->installEventFilter(this);
      FWatchedParent = parent;
    }
    if (value == 0)
      unsetCursor();  // the parent's cursor
    else
      setCursor((value == 1 || value == 4) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    PlaceInCorner();
    update();
  }
}

// Keeps the grip in its corner: the anchors of the corner it sits in.
void TZeltorStatusBar::PlaceInCorner() {
  QWidget* parent = parentWidget();
  if (!parent) return;
  const int right = parent->width() - width();
  const int bottom = parent->height() - height();
  switch (FCorner) {
    case 1: move(0, 0); break;
    case 2: move(0, bottom); break;
    case 3: move(right, 0); break;
    case 4: move(right, bottom); break;
    default: break;
  }
}

bool TZeltorStatusBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) PlaceInCorner();
  return QWidget::eventFilter(watched, event);
}

void TZeltorStatusBar::StatusBarMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                                          Qt::KeyboardModifiers modifiers, int x, int y) {
  Q_UNUSED(button);
  const bool leftOnly = buttons == Qt::LeftButton &&
                        (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  if (FDragging || !leftOnly) return;
  FDragging = true;
  FDownX = x;
  FDownY = y;
}

void TZeltorStatusBar::StatusBarMouseMove(Qt::MouseButtons buttons, int x, int y) {
  if (!FDragging || !(buttons & Qt::LeftButton) || !FForm) return;
  QWidget* form = FForm;
  const int w = form->width(), h = form->height();
  const int dx = x - FDownX, dy = y - FDownY;
  const int minW = form->minimumWidth(), minH = form->minimumHeight();
  QRect g = form->geometry();
  switch (FCorner) {
    case 1:
    case 2: {
      const int newW = Max(w - dx, minW);
      g.setLeft(g.left() + w - newW);
      g.setWidth(newW);
      break;
    }
    case 3:
    case 4: g.setWidth(Max(w + dx, minW)); break;
    default: return;
  }
  if (FCorner == 1 || FCorner == 3) {
    const int newH = Max(h - dy, minH);
    g.setTop(g.top() + h - newH);
    g.setHeight(newH);
  } else {
    g.setHeight(Max(h + dy, minH));
  }
  form->setGeometry(g);
}

void TZeltorStatusBar::StatusBarMouseUp() { FDragging = false; }

void TZeltorStatusBar::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  StatusBarMouseDown(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
}

void TZeltorStatusBar::mouseMoveEvent(QMouseEvent* event) {
  // Measured against the grip where it stands now, which moves with its corner.
  const QPoint p = mapFromGlobal(event->globalPosition().toPoint());
  StatusBarMouseMove(event->buttons(), p.x(), p.y());
}

void TZeltorStatusBar::mouseReleaseEvent(QMouseEvent*) { StatusBarMouseUp(); }

void TZeltorStatusBar::DrawGrip(QPainter& canvas, const QPoint& origin, uint8_t corner) {
  int sx = 1, sy = 1;
  switch (corner) {
    case 1: sx = 1; sy = 1; break;
    case 2: sx = 1; sy = -1; break;
    case 3: sx = -1; sy = 1; break;
    case 4: sx = -1; sy = -1; break;
    default: return;
  }
  const bool top = corner == 1 || corner == 3;
  const QColor a = top ? clBtnHighlight() : clBtnShadow();
  const QColor b = top ? clBtnShadow() : clBtnHighlight();
  // A stroke from (O.x + sX*k, O.y) towards (O.x, O.y + sY*k), end point left out.
  auto stroke = [&](int k, const QColor& colour) {
    for (int i = 0; i < k; ++i) {
      const int px = origin.x() + sx * (k - i);
      const int py = origin.y() + sy * i;
      canvas.fillRect(QRect(px, py, 1, 1), colour);
    }
  };
  for (int k : {2, 7, 12}) stroke(k, a);
  for (int k : {4, 9, 14}) stroke(k, b);
}

void TZeltorStatusBar::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  const QRect r = rect();
  const int right = r.x() + r.width(), bottom = r.y() + r.height();
  QPoint origin;
  switch (FCorner) {
    case 1: origin = QPoint(r.left() + 2, r.top() + 2); break;
    case 2: origin = QPoint(r.left() + 2, bottom - 2); break;
    case 3: origin = QPoint(right - 2, r.top() + 2); break;
    case 4: origin = QPoint(right - 2, bottom - 2); break;
    default: return;
  }
  DrawGrip(canvas, origin, FCorner);
}
