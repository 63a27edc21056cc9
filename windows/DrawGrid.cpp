#include "windows/DrawGrid.h"

TDrawGrid::TDrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {}
void TDrawGrid::SetColCount(int n) { FColCount = n; }
void TDrawGrid::SetRowCount(int n) { FRowCount = n; }
void TDrawGrid::SetDefaultColWidth(int w) { FColWidth = w; }
void TDrawGrid::SetDefaultRowHeight(int h) { FRowHeight = h; }
void TDrawGrid::SetGridLineWidth(int w) { FLineWidth = w; }
void TDrawGrid::SetCol(int c) { FCol = c; }
void TDrawGrid::SetRow(int r) { FRow = r; }
void TDrawGrid::MouseToCell(const QPoint&, int& col, int& row) const { col = row = -1; }
QRect TDrawGrid::CellRect(int, int) const { return {}; }
QSize TDrawGrid::ContentSize() const { return {}; }
void TDrawGrid::PaintCells(QPainter&, const QRect&) {}
void TDrawGrid::paintEvent(QPaintEvent*) {}
void TDrawGrid::resizeEvent(QResizeEvent* e) { QAbstractScrollArea::resizeEvent(e); }
void TDrawGrid::mousePressEvent(QMouseEvent*) {}
void TDrawGrid::mouseMoveEvent(QMouseEvent*) {}
void TDrawGrid::mouseReleaseEvent(QMouseEvent*) {}
void TDrawGrid::keyPressEvent(QKeyEvent*) {}
void TDrawGrid::scrollContentsBy(int, int) {}
void TDrawGrid::UpdateScrollBars() {}
