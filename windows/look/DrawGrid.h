#pragma once
// An owner-drawn grid of equal cells without fixed rows or columns. It paints
// only the cells inside the viewport, so a field of a million cells scrolls and
// repaints as fast as a small one. Grid lines are drawn between the cells; the
// current cell (Col, Row) follows the keyboard and the program.
#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
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
  // Scrolls so that the current cell is in view.
  void EnsureCurrentVisible();

  // The cell under a viewport point: (-1, -1) parts outside the cells.
  void MouseToCell(const QPoint& viewportPos, int& col, int& row) const;
  // The rectangle of a cell in viewport coordinates (without the grid line).
  QRect CellRect(int col, int row) const;
  // The whole grid's size in pixels (cells and lines).
  QSize ContentSize() const;

  // The context menu opened by the right button; none when null.
  QMenu* PopupMenu = nullptr;

  // Gives the look of one cell: its fill and, when frame is not 0, a one-pixel
  // frame inside the cell in that colour (both 0xAARRGGBB). Called only for
  // the cells in view, each paint.
  std::function<void(int col, int row, QRgb& fill, QRgb& frame)> OnDrawCell;
  // Called once per paint after the cells, when the current cell is in view.
  std::function<void(int col, int row)> OnDrawSelected;
  // The colour between the cells.
  QRgb LineColor = 0xFFC0C0C0;
  std::function<void(QMouseEvent* event, int col, int row)> OnMouseDown;
  std::function<void(QMouseEvent* event, int col, int row)> OnMouseMove;

  // Renders the cells in view into `image` (sized to the viewport): what a
  // repaint puts on the screen.
  void RenderView(QImage& image);

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
  QImage Buffer;
  int FColCount = 5, FRowCount = 5;
  int FColWidth = 9, FRowHeight = 9, FLineWidth = 1;
  int FCol = 0, FRow = 0;
};
