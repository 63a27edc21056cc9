#include "windows/shell/frSaveShot.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

TFrameSaveShot::TFrameSaveShot(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FrameSaveShot"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 0, 0);
  layout->setSpacing(6);

  GroupBox3 = new QGroupBox(QStringLiteral(" Объект: "), this);
  auto* objects = new QVBoxLayout(GroupBox3);
  objects->setSpacing(4);
  RadioButtonView = new QRadioButton(QStringLiteral("поле наблюдения"), GroupBox3);
  RadioButtonStat = new QRadioButton(QStringLiteral("график статистики"), GroupBox3);
  RadioButtonHistory = new QRadioButton(QStringLiteral("график журнала"), GroupBox3);
  for (QRadioButton* b : {RadioButtonView, RadioButtonStat, RadioButtonHistory}) objects->addWidget(b);
  layout->addWidget(GroupBox3);

  GroupBox1 = new QGroupBox(QStringLiteral(" Качество изображения: "), this);
  auto* quality = new QGridLayout(GroupBox1);
  quality->setVerticalSpacing(2);
  TrackBar = new QSlider(Qt::Horizontal, GroupBox1);
  TrackBar->setRange(10, 100);
  TrackBar->setTickPosition(QSlider::TicksBelow);
  TrackBar->setTickInterval(5);
  TrackBar->setPageStep(5);
  TrackBar->setValue(70);
  Label2 = new QLabel(QStringLiteral("хуже"), GroupBox1);
  Label3 = new QLabel(QStringLiteral("лучше"), GroupBox1);
  LabelPosition = new QLabel(QStringLiteral("70 %"), GroupBox1);
  LabelPosition->setAlignment(Qt::AlignCenter);
  quality->addWidget(TrackBar, 0, 0, 1, 3);
  quality->addWidget(Label2, 1, 0, Qt::AlignLeft);
  quality->addWidget(LabelPosition, 1, 1, Qt::AlignCenter);
  quality->addWidget(Label3, 1, 2, Qt::AlignRight);
  layout->addWidget(GroupBox1);
  layout->addStretch(1);

  connect(TrackBar, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
}

void TFrameSaveShot::TrackBarChange() { LabelPosition->setText(QString::number(TrackBar->value()) + QLatin1Char('%')); }
