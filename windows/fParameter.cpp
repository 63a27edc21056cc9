#include "windows/fParameter.h"

#include <QVBoxLayout>

TFormParameter* FormParameter = nullptr;

TFormParameter::TFormParameter(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setWindowTitle(QStringLiteral("Параметры"));
  auto* layout = new QVBoxLayout(this);
  PageControl = new QTabWidget(this);
  layout->addWidget(PageControl);
  auto* general = new QWidget;
  auto* g = new QVBoxLayout(general);
  UpDownC = new QSpinBox;
  UpDownC->setRange(10, 1000);
  UpDownC->setValue(45);
  UpDownR = new QSpinBox;
  UpDownR->setRange(5, 1000);
  UpDownR->setValue(45);
  UpDownCellSize = new QSpinBox;
  UpDownCellSize->setRange(1, 50);
  UpDownCellSize->setValue(9);
  EditRefresh = new QLineEdit(QStringLiteral("10"));
  EditUserName = new QLineEdit;
  CheckBoxAutoBrush = new QCheckBox(QStringLiteral("При наблюдении автоматически сменять кисть на указатель"));
  CheckBoxAutoStop = new QCheckBox(QStringLiteral("Останавливаться при каждом исчезновении организма"));
  CheckBoxOnlyPlant = new QCheckBox(QStringLiteral("При наблюдении показывать только организмы"));
  CheckBoxComment = new QCheckBox(QStringLiteral("Показывать комментарии при открытии  файлов"));
  for (QWidget* w : std::initializer_list<QWidget*>{UpDownC, UpDownR, UpDownCellSize, EditRefresh, EditUserName,
                                                    CheckBoxAutoBrush, CheckBoxAutoStop, CheckBoxOnlyPlant,
                                                    CheckBoxComment})
    g->addWidget(w);
  PageControl->addTab(general, QStringLiteral("Общие"));
  ListBoxResource = new QListWidget;
  PageControl->addTab(ListBoxResource, QStringLiteral("Ресурсы"));
  ListBoxPlant = new QListWidget;
  PageControl->addTab(ListBoxPlant, QStringLiteral("Организмы"));
}

QString TFormParameter::ColorToName(TColor color) { return QString::number(color); }

TColor TFormParameter::NameToColor(const QString& name) { return name.toInt(); }
