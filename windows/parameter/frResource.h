#pragma once
// The resource picker's frame: the model's resources by name, each with its colour.
#include <QString>
#include <QWidget>

class QListWidget;

class TFrameResource : public QWidget {
  Q_OBJECT
 public:
  explicit TFrameResource(QWidget* owner);

  QListWidget* ListBox = nullptr;

  // Refills the list from the resource store: item i is resource i.
  void FillResources();
  // Selects the item of this name (letter case ignored); none when absent.
  void SelectByName(const QString& name);
};
