#pragma once
// The parameter editor: field size, cell size, colours, options, period and
// author on the general page; the resource and species lists on the others.
// (Placeholder surface; the editor itself replaces this file.)
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QWidget>

#include "model/uColor.h"

class TFormParameter : public QWidget {
  Q_OBJECT
 public:
  explicit TFormParameter(QWidget* parent = nullptr);

  QTabWidget* PageControl = nullptr;
  QSpinBox* UpDownR = nullptr;         // rows, 5..1000
  QSpinBox* UpDownC = nullptr;         // columns, 10..1000
  QSpinBox* UpDownCellSize = nullptr;  // cell size in pixels
  QLineEdit* EditRefresh = nullptr;
  QLineEdit* EditUserName = nullptr;
  QCheckBox* CheckBoxAutoBrush = nullptr;
  QCheckBox* CheckBoxAutoStop = nullptr;
  QCheckBox* CheckBoxOnlyPlant = nullptr;
  QCheckBox* CheckBoxComment = nullptr;
  QListWidget* ListBoxResource = nullptr;
  QListWidget* ListBoxPlant = nullptr;

  static QString ColorToName(TColor color);
  static TColor NameToColor(const QString& name);
};

extern TFormParameter* FormParameter;
