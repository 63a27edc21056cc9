#include "windows/look/DrawGrid.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

TDrawGrid::TDrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  UpdateScrollBars();
}

void TDrawGrid::SetColCount(int n) {
  FColCount = std::max(0, n);
  if (FCol >= FColCount) FCol = std::max(0, FColCount - 1);
  UpdateScrollBars();
  viewport()->update();
}

void TDrawGrid::SetRowCount(int n) {
  FRowCount = std::max(0, n);
  if (FRow >= FRowCount) FRow = std::max(0, FRowCount - 1);
  UpdateScrollBars();
  viewport()->update();
}

void TDrawGrid::SetDefaultColWidth(int w) {
  FColWidth = std::max(1, w);
  UpdateScrollBars();
  viewport()->update();
}

void TDrawGrid::SetDefaultRowHeight(int h) {
  FRowHeight = std::max(1, h);
  UpdateScrollBars();
  viewport()->update();
}

void TDrawGrid::SetGridLineWidth(int w) {
  FLineWidth = std::max(0, w);
  UpdateScrollBars();
  viewport()->update();
}

void TDrawGrid::SetCol(int c) {
  if (c < 0 || c >= FColCount || c == FCol) return;
  FCol = c;
  viewport()->update();
}

void TDrawGrid::SetRow(int r) {
  if (r < 0 || r >= FRowCount || r == FRow) return;
  FRow = r;
  viewport()->update();
}

QSize TDrawGrid::ContentSize() const {
  return {FColCount * (FColWidth + FLineWidth), FRowCount * (FRowHeight + FLineWidth)};
}

void TDrawGrid::UpdateScrollBars() {
  // Scroll bars only where the cells do not fit: decided on the whole inside
  // of the frame, since a bar shown takes room from the other direction.
  const QSize content = ContentSize();
  QSize avail = contentsRect().size();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  bool needH = content.width() > avail.width(), needV = content.height() > avail.height();
  if (needH) avail.rheight() -= bar;
  if (needV) avail.rwidth() -= bar;
  if (!needH && content.width() > avail.width()) {
    needH = true;
    avail.rheight() -= bar;
  }
  if (!needV && content.height() > avail.height()) {
    needV = true;
    avail.rwidth() -= bar;
  }
  horizontalScrollBar()->setRange(0, needH ? std::max(0, content.width() - avail.width()) : 0);
  horizontalScrollBar()->setPageStep(std::max(1, avail.width()));
  horizontalScrollBar()->setSingleStep(FColWidth + FLineWidth);
  verticalScrollBar()->setRange(0, needV ? std::max(0, content.height() - avail.height()) : 0);
  verticalScrollBar()->setPageStep(std::max(1, avail.height()));
  verticalScrollBar()->setSingleStep(FRowHeight + FLineWidth);
}

void TDrawGrid::MouseToCell(const QPoint& pos, int& col, int& row) const {
  const int x = pos.x() + horizontalScrollBar()->value();
  const int y = pos.y() + verticalScrollBar()->value();
  const int cw = FColWidth + FLineWidth, rh = FRowHeight + FLineWidth;
  col = (x >= 0 && pos.x() >= 0 && pos.x() < viewport()->width()) ? x / cw : -1;
  row = (y >= 0 && pos.y() >= 0 && pos.y() < viewport()->height()) ? y / rh : -1;
  if (col >= FColCount) col = -1;
  if (row >= FRowCount) row = -1;
}

QRect TDrawGrid::CellRect(int col, int row) const {
  const int cw = FColWidth + FLineWidth, rh = FRowHeight + FLineWidth;
  return {col * cw - horizontalScrollBar()->value(), row * rh - verticalScrollBar()->value(), FColWidth, FRowHeight};
}

void TDrawGrid::EnsureCurrentVisible() {
  const QRect r = CellRect(FCol, FRow);
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  if (r.left() < 0) h->setValue(h->value() + r.left());
  if (r.right() >= viewport()->width()) h->setValue(h->value() + r.right() - viewport()->width() + 1);
  if (r.top() < 0) v->setValue(v->value() + r.top());
  if (r.bottom() >= viewport()->height()) v->setValue(v->value() + r.bottom() - viewport()->height() + 1);
}

void TDrawGrid::RenderView(QImage& image) {
  const QSize size = viewport()->size();
  if (image.size() != size || image.format() != QImage::Format_RGB32)
    image = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  const QRgb background = palette().color(QPalette::Base).rgb();
  image.fill(background);
  const int cw = FColWidth + FLineWidth, rh = FRowHeight + FLineWidth;
  const int sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
  const int c0 = sx / cw, r0 = sy / rh;
  const int c1 = std::min(FColCount - 1, (sx + size.width() - 1) / cw);
  const int r1 = std::min(FRowCount - 1, (sy + size.height() - 1) / rh);
  const int W = image.width(), H = image.height();
  // The lines: the part of the content in view, before the cells go over it.
  const int contentRight = std::min(W, FColCount * cw - sx), contentBottom = std::min(H, FRowCount * rh - sy);
  for (int y = 0; y < contentBottom; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line, line + std::max(0, contentRight), LineColor);
  }
  if (!OnDrawCell) return;
  const qsizetype stride = image.bytesPerLine() / 4;
  QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
  for (int r = r0; r <= r1; ++r) {
    const int top = r * rh - sy;
    const int y0 = std::max(0, top), y1 = std::min(H, top + FRowHeight);
    if (y0 >= y1) continue;
    for (int c = c0; c <= c1; ++c) {
      const int left = c * cw - sx;
      const int x0 = std::max(0, left), x1 = std::min(W, left + FColWidth);
      if (x0 >= x1) continue;
      QRgb fill = 0xFF000000, frame = 0;
      OnDrawCell(c, r, fill, frame);
      if (x1 - x0 == 1 && y1 - y0 == 1) {
        bits[y0 * stride + x0] = frame ? frame : fill;
        continue;
      }
      for (int y = y0; y < y1; ++y) {
        QRgb* p = bits + y * stride;
        const bool edgeRow = (y == top || y == top + FRowHeight - 1);
        if (frame && edgeRow) {
          std::fill(p + x0, p + x1, frame);
        } else {
          std::fill(p + x0, p + x1, fill);
          if (frame) {
            if (left >= 0) p[left] = frame;
            if (left + FColWidth - 1 < W) p[left + FColWidth - 1] = frame;
          }
        }
      }
    }
  }
}

void TDrawGrid::paintEvent(QPaintEvent*) {
  RenderView(Buffer);
  QPainter painter(viewport());
  painter.drawImage(0, 0, Buffer);
  if (FCol >= 0 && FRow >= 0 && FCol < FColCount && FRow < FRowCount) {
    const QRect r = CellRect(FCol, FRow);
    if (r.intersects(viewport()->rect())) {
      if (FColWidth >= 4 && FRowHeight >= 4) {
        // The focused cell, drawn selected: a dotted frame over its own colour.
        QPen pen(Qt::black, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
      }
      if (OnDrawSelected) OnDrawSelected(FCol, FRow);
    }
  }
}

void TDrawGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TDrawGrid::scrollContentsBy(int, int) { viewport()->update(); }

void TDrawGrid::mousePressEvent(QMouseEvent* event) {
  int c, r;
  MouseToCell(event->position().toPoint(), c, r);
  if (event->button() == Qt::LeftButton && c >= 0 && r >= 0) {
    FCol = c;
    FRow = r;
    viewport()->update();
  }
  if (OnMouseDown) OnMouseDown(event, c, r);
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* event) {
  int c, r;
  MouseToCell(event->position().toPoint(), c, r);
  if (OnMouseMove) OnMouseMove(event, c, r);
}

void TDrawGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && PopupMenu) PopupMenu->popup(event->globalPosition().toPoint());
}

void TDrawGrid::keyPressEvent(QKeyEvent* event) {
  int c = FCol, r = FRow;
  const int pageRows = std::max(1, viewport()->height() / (FRowHeight + FLineWidth));
  switch (event->key()) {
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_PageUp: r -= pageRows; break;
    case Qt::Key_PageDown: r += pageRows; break;
    case Qt::Key_Home: c = 0; break;
    case Qt::Key_End: c = FColCount - 1; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  SetCol(std::clamp(c, 0, std::max(0, FColCount - 1)));
  SetRow(std::clamp(r, 0, std::max(0, FRowCount - 1)));
  EnsureCurrentVisible();
}
