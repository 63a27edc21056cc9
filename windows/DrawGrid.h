#pragma once
// An owner-drawn grid of equal cells without fixed rows or columns. It paints
// only the cells inside the viewport, so a field of a million cells scrolls and
// repaints as fast as a small one. Grid lines are drawn between the cells; the
// current cell (Col, Row) follows the keyboard and the program.
#include <QAbstractScrollArea>
#include <QRect>
#include <functional>

class QMenu;

class TDrawGrid : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit TDrawGrid(QWidget* parent = nullptr);

  int ColCount() const { return FColCount; }
  int RowCount() const { return FRowCount; }
  void SetColCount(int n);
  void SetRowCount(int n);
  int DefaultColWidth() const { return FColWidth; }
  int DefaultRowHeight() const { return FRowHeight; }
  void SetDefaultColWidth(int w);
  void SetDefaultRowHeight(int h);
  int GridLineWidth() const { return FLineWidth; }
  void SetGridLineWidth(int w);

  // The current cell.
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  void SetCol(int c);
  void SetRow(int r);

  // The cell under a viewport point: (-1, -1) parts outside the cells.
  void MouseToCell(const QPoint& viewportPos, int& col, int& row) const;
  // The rectangle of a cell in viewport coordinates (without the grid line).
  QRect CellRect(int col, int row) const;
  // The whole grid's size in pixels (cells and lines).
  QSize ContentSize() const;

  // The context menu opened by the right button; none when null.
  QMenu* PopupMenu = nullptr;

  // Paints one cell; the painter's clip is the viewport. `selected` is true for the current cell.
  std::function<void(QPainter& painter, int col, int row, const QRect& rect, bool selected)> OnDrawCell;
  std::function<void(QMouseEvent* event, int col, int row)> OnMouseDown;
  std::function<void(QMouseEvent* event, int col, int row)> OnMouseMove;

  // Paints the whole visible part into `target` (the view's repaint without a screen).
  void PaintCells(QPainter& painter, const QRect& viewportRect);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollBars();
  int FColCount = 5, FRowCount = 5;
  int FColWidth = 9, FRowHeight = 9, FLineWidth = 1;
  int FCol = 0, FRow = 0;
};
