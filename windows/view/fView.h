#pragma once
// windows/view: the field view and the dialogs that work on the whole field,
// fill (fFieldInput) and clear (fFieldClear).
//
// The field view: one square per cell of the field, the brush tools above it,
// the tick counter, the speed and the current cell. The mouse paints resources
// and organisms with the left button and erases them with the right one.
#include <QWidget>

#include "windows/look/DrawGrid.h"
#include "windows/program/uProgram.h"

class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QMenu;
class QToolBar;
class QToolButton;

class TFormView : public QWidget {
  Q_OBJECT
 public:
  explicit TFormView(QWidget* parent = nullptr);

  QWidget* PanelToolBar = nullptr;
  QLabel* Label6 = nullptr;
  QToolBar* ToolBar = nullptr;
  QToolButton* ToolButtonView = nullptr;
  QToolButton* ToolButtonResource = nullptr;
  QToolButton* ToolButtonPlant = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* StaticTextStep = nullptr;
  QLabel* StaticTextSPS = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* StaticTextV = nullptr;
  QLabel* StaticTextH = nullptr;
  QWidget* PanelField = nullptr;
  TDrawGrid* DrawGridField = nullptr;
  QMenu* PopupMenu = nullptr;
  QAction* MenuItemStart = nullptr;
  QAction* MenuItemStop = nullptr;
  QMenu* PopupMenuResource = nullptr;
  QMenu* PopupMenuPlant = nullptr;
  unsigned char Dockable = 0;

  // Rebuilds both brush menus from the parameter editor's lists.
  void FillBrushMenu();
  // Rebuilds the brush menu of `brush` (a resource or the organism brush) from a list box.
  void FillBrushMenu(QMenu* menu, QListWidget* list, TBrushTool brush);
  // Sets (or appends) the item at `index` of the brush menu of `brush`.
  void SetBrushMenuItem(QMenu* menu, const QString& name, int index, TBrushTool brush);
  // The same in the brush's own menu (PopupMenuResource or PopupMenuPlant).
  void SetBrushMenuItem(TBrushTool brush, const QString& name, int index);
  // Checks the items of the brushes in force in both menus.
  void SetBrushMenuItem();
  // Reads both stores' size and resizes the grid.
  void UpdateFieldSize();
  void SetCellSize(int pixels);

  // The brush tools (the buttons' clicks).
  void ToolButtonViewClick();
  void ToolButtonResourceClick();
  void ToolButtonPlantClick();
  void ResourceMenuItemClick(QAction* item);
  void PlantMenuItemClick(QAction* item);
  // Puts down the button of one tool and the others up; None puts all up.
  void SetToolButtons(TBrushTool brush);
  // The pointer tool in force: TBrushTool::Pointer, its button down, the grid's
  // pop-up menu.
  void SetPointer();
  // A brush whose list is empty has nothing to paint: the pointer takes its
  // place as the tool in force and as the one a run gives back.
  void BrushGivesWay(TBrushTool brush);
  // The grid's pop-up menu by the tool in force: the pointer's menu, or none.
  void UpdateGridMenu();

  // Painting one cell, and the mouse on the grid.
  // The look of one cell by the tool in force: fill colour and mutant frame (0: none).
  void DrawGridFieldDrawCell(int col, int row, QRgb& fill, QRgb& frame);
  // The selected cell was painted: the cell displays and the statistics' cell page follow it.
  void DrawGridFieldDrawSelected(int col, int row);
  void DrawGridFieldMouseDown(QMouseEvent* event, int col, int row);
  void DrawGridFieldMouseMove(QMouseEvent* event, int col, int row);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A brush menu's item chosen: the brush and its item.
  void BrushMenuItemClick(QAction* item, TBrushTool brush, int32_t& subBrush);
  QActionGroup* GroupResource = nullptr;
  QActionGroup* GroupPlant = nullptr;
  void ApplyBrush(Qt::MouseButton button, int col, int row);
};

extern TFormView* FormView;
