#pragma once
// The pictures of the main window's commands and of the check-list commands
// (tick all, untick all, invert), kept at their own places in the main window's
// image list, and the tool bar that carries the three check-list commands over
// a check list.
#include <QAction>
#include <QIcon>
#include <QList>

class QToolBar;
class QToolButton;
class QWidget;

constexpr int ImageSelectAll = 66;
constexpr int ImageDeselectAll = 67;
constexpr int ImageInverse = 68;

// The picture of command image `index` (0 to 27) of the main window's image
// list, drawn here so the program needs no picture files.
QIcon DrawIcon(int index);

// Puts the three pictures at their places; places before them that hold no
// picture yet get an empty one.
void AddCheckListImages(QList<QIcon>& imageList);

// The tool bar over a check list: "Пометить все", "Разметить все" and
// "Инвертировать" as actions with the pictures of `images` (places left
// without a picture give none). The caller binds the actions.
struct TCheckListBar {
  QToolBar* ToolBar = nullptr;
  QAction* ActionSelectAll = nullptr;
  QAction* ActionDeselectAll = nullptr;
  QAction* ActionInverse = nullptr;
  QToolButton* ButtonSelectAll = nullptr;
  QToolButton* ButtonDeselectAll = nullptr;
  QToolButton* ButtonInverse = nullptr;
};
TCheckListBar MakeCheckListBar(QWidget* parent, const QList<QIcon>& images);

// The bar for a window or frame that names its parts as the check-list
// commands do (ToolBarResource, ActionSelectAll .. ActionInverse,
// ToolButtonResourceAdd .. ToolButtonResourceDel) and has their handlers
// (ActionSelectAllExecute .. ActionInverseExecute): made, kept and bound.
template <class TOwner>
void MakeCheckListBarFor(TOwner* owner, const QList<QIcon>& images) {
  const TCheckListBar bar = MakeCheckListBar(owner, images);
  owner->ToolBarResource = bar.ToolBar;
  owner->ActionSelectAll = bar.ActionSelectAll;
  owner->ActionDeselectAll = bar.ActionDeselectAll;
  owner->ActionInverse = bar.ActionInverse;
  owner->ToolButtonResourceAdd = bar.ButtonSelectAll;
  owner->ToolButtonResourceEdit = bar.ButtonDeselectAll;
  owner->ToolButtonResourceDel = bar.ButtonInverse;
  QObject::connect(bar.ActionSelectAll, &QAction::triggered, owner, [owner] { owner->ActionSelectAllExecute(); });
  QObject::connect(bar.ActionDeselectAll, &QAction::triggered, owner, [owner] { owner->ActionDeselectAllExecute(); });
  QObject::connect(bar.ActionInverse, &QAction::triggered, owner, [owner] { owner->ActionInverseExecute(); });
}
