#pragma once
// The percent picker's frame: a track bar from 0 to 100 with its position shown above.
#include <QWidget>

class QLabel;
class QSlider;
class QFrame;

class TFrameComboPercent : public QWidget {
  Q_OBJECT
 public:
  explicit TFrameComboPercent(QWidget* owner);

  QFrame* Panel1 = nullptr;
  QLabel* Label2 = nullptr;  // "0%"
  QLabel* Label3 = nullptr;  // "100%"
  QLabel* LabelPosition = nullptr;
  QSlider* TrackBar = nullptr;

  void TrackBarChange();

 protected:
  void resizeEvent(QResizeEvent* event) override;
};
