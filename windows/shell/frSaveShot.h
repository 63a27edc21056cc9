#pragma once
// The side frame of the file window when a picture is saved: what the picture
// shows (the field view, the statistics chart or the history chart) and its
// JPEG quality.
#include <QFrame>

class QGroupBox;
class QLabel;
class QRadioButton;
class QSlider;

class TFrameSaveShot : public QFrame {
  Q_OBJECT
 public:
  explicit TFrameSaveShot(QWidget* parent = nullptr);

  QGroupBox* GroupBox3 = nullptr;  // " Объект: "
  QRadioButton* RadioButtonView = nullptr;
  QRadioButton* RadioButtonStat = nullptr;
  QRadioButton* RadioButtonHistory = nullptr;
  QGroupBox* GroupBox1 = nullptr;  // " Качество изображения: "
  QSlider* TrackBar = nullptr;     // the quality in percent, 10..100
  QLabel* Label2 = nullptr;        // "хуже"
  QLabel* Label3 = nullptr;        // "лучше"
  QLabel* LabelPosition = nullptr;

  // The quality label follows the track bar.
  void TrackBarChange();
};
