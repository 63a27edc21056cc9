#pragma once
// The side frame of the file window for resource sets: a check list of
// resources and species under two header rows, with "tick all", "untick all"
// and "invert". Importing lists the names found in the selected set; exporting
// lists the model's resources and species.
#include <QFrame>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <vector>

#include "files/uResourceSet.h"

class QAction;
class QToolBar;
class QToolButton;
class TCheckListBox;

class TFrameImport : public QFrame {
  Q_OBJECT
 public:
  // `images`: the main window's image list, from which the tool bar takes its pictures.
  explicit TFrameImport(QWidget* parent = nullptr, const QList<QIcon>& images = {});

  QToolBar* ToolBarResource = nullptr;
  QAction* ActionSelectAll = nullptr;    // "Пометить все"
  QAction* ActionDeselectAll = nullptr;  // "Разметить все"
  QAction* ActionInverse = nullptr;      // "Инвертировать"
  QToolButton* ToolButtonResourceAdd = nullptr;
  QToolButton* ToolButtonResourceEdit = nullptr;
  QToolButton* ToolButtonResourceDel = nullptr;
  TCheckListBox* CheckListBox = nullptr;
  // The rows of the first resource and of the first species.
  int ResourceStart = 0;
  int PlantStart = 0;

  void ActionSelectAllExecute();
  void ActionDeselectAllExecute();
  void ActionInverseExecute();

  // The set the import list shows (the records row ResourceStart + k and row
  // PlantStart + k stand for), and the file it was read from; empty when the
  // list shows no file.
  TResourceSet Set;
  QString SetFile;
  // Whether SetFile could be read; when not, SetError is the system's error
  // number of the failure, or 0 for a file that is no set (ReadResourceSet).
  // The import reports it when the user accepts such a file.
  bool SetReadable = true;
  int SetError = 0;

  // The resource-set preview: reads the set into Set and lists its records'
  // names under their headers (a header only for a kind the set announces).
  // False when the file cannot be read; nothing is reported here.
  bool Preview(const QString& fileName, const QString& resourceHeader, const QString& plantHeader);
  // Empties the list, Set and SetFile (and forgets a read failure).
  void Clear();
  // The export filling: both headers, each followed by the model's names.
  void Fill(const QString& resourceHeader, const QStringList& resources, const QString& plantHeader,
            const QStringList& plants);
  // Whether each row from `start` to the last is ticked.
  std::vector<bool> Ticks(int start) const;
  // The ticks from the first resource and from the first species, for the set's reader and writer.
  TResourceSetSelection Selection() const { return {Ticks(ResourceStart), Ticks(PlantStart)}; }

 private:
  void AddHeader(const QString& text, int& start);
};
