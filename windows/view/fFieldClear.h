#pragma once
// The clear dialog: a check list of what the clear command can empty (the
// tick counter, each resource layer, each species), with header rows, and a
// tool bar that ticks, unticks or inverts every row that can be chosen.
#include <QDialog>
#include <QIcon>
#include <QList>

class QAction;
class QFrame;
class QPushButton;
class QToolBar;
class QToolButton;
class TCheckListBox;

class TFormFieldClear : public QDialog {
  Q_OBJECT
 public:
  // `images`: the owner's image list, from which the tool bar takes its pictures.
  TFormFieldClear(QWidget* owner, const QList<QIcon>& images);

  // "Да" (or Enter) and "Отмена" (or Escape, or the close box).
  static constexpr int mrYes = 6;
  static constexpr int mrCancel = 2;

  QToolBar* ToolBarResource = nullptr;
  QToolButton* ToolButtonResourceAdd = nullptr;
  QToolButton* ToolButtonResourceEdit = nullptr;
  QToolButton* ToolButtonResourceDel = nullptr;
  QAction* ActionSelectAll = nullptr;
  QAction* ActionDeselectAll = nullptr;
  QAction* ActionInverse = nullptr;
  TCheckListBox* CheckListBox = nullptr;
  QFrame* Bevel1 = nullptr;
  QPushButton* ButtonYes = nullptr;
  QPushButton* ButtonCancel = nullptr;

  // Tick, untick or invert every enabled row; disabled rows keep their state.
  void ActionSelectAllExecute();
  void ActionDeselectAllExecute();
  void ActionInverseExecute();

 public slots:
  void reject() override { done(mrCancel); }
};
