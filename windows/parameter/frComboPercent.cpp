#include "windows/parameter/frComboPercent.h"

#include <QLabel>
#include <QSlider>
#include <algorithm>

TFrameComboPercent::TFrameComboPercent(QWidget* owner) : QWidget(owner) {
  resize(182, 46);
  Panel1 = new QFrame(this);
  Panel1->setFrameShape(QFrame::Box);
  Panel1->setLineWidth(1);
  TrackBar = new QSlider(Qt::Horizontal, Panel1);
  TrackBar->setRange(0, 100);
  TrackBar->setTickPosition(QSlider::TicksBelow);
  TrackBar->setTickInterval(5);
  TrackBar->setPageStep(5);
  TrackBar->setValue(70);
  Label2 = new QLabel(QStringLiteral("0%"), Panel1);
  Label3 = new QLabel(QStringLiteral("100%"), Panel1);
  Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LabelPosition = new QLabel(QStringLiteral("70 %"), Panel1);
  LabelPosition->setAlignment(Qt::AlignCenter);
  connect(TrackBar, &QSlider::valueChanged, this, &TFrameComboPercent::TrackBarChange);
}

void TFrameComboPercent::TrackBarChange() { LabelPosition->setText(QString::number(TrackBar->value()) + "%"); }

void TFrameComboPercent::resizeEvent(QResizeEvent*) {
  // The panel spans the top of the frame; the track bar its width, the labels below it.
  const int w = width();
  const int labelH = fontMetrics().height();
  const int trackH = 27;
  Panel1->setGeometry(0, 0, w, std::max(45, trackH + labelH + 4));
  TrackBar->setGeometry(1, 1, w - 2, trackH);
  const int y = 1 + trackH;
  Label2->setGeometry(4, y, 40, labelH);
  Label3->setGeometry(w - 44, y, 40, labelH);
  LabelPosition->setGeometry(44, y, std::max(0, w - 88), labelH);
}
