#pragma once
// A 16 x 16 ribbed grip that sits in one corner of its parent and resizes a
// borderless window (its Form) when dragged with the left mouse button.
#include <QPointer>
#include <QWidget>
#include <cstdint>

class TZeltorStatusBar : public QWidget {
  Q_OBJECT
 public:
  explicit TZeltorStatusBar(QWidget* parent = nullptr);

  // 0 none, 1 top-left, 2 bottom-left, 3 top-right, 4 bottom-right.
  uint8_t Corner() const { return FCorner; }
  void SetCorner(uint8_t value);
  QWidget* Form() const { return FForm; }
  void SetForm(QWidget* value) { FForm = value; }
  bool Dragging() const { return FDragging; }
  int DownX() const { return FDownX; }
  int DownY() const { return FDownY; }

  void StatusBarMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                          int y);
  void StatusBarMouseMove(Qt::MouseButtons buttons, int x, int y);
  void StatusBarMouseUp();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceInCorner();
  void DrawGrip(QPainter& canvas, const QPoint& origin, uint8_t corner);

  int FDownX = 0;
  int FDownY = 0;
  bool FDragging = false;
  uint8_t FCorner = 0;
  QPointer<QWidget> FForm;
  QPointer<QWidget> FWatchedParent;
};
