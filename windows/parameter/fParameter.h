#pragma once
// windows/parameter: the parameter editor with its pickers' frames (colour,
// percent, resource) and the one-line input dialog its lists name items with.
//
// The parameter editor: field size, cell size, colours, options, period and
// author on the general page; the resource and species lists with their value
// grids on the other two; and the pop-up pickers of colours, percents and
// resources.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "model/uColor.h"
#include "model/uPlant.h"
#include "windows/program/uProgram.h"

class QGroupBox;
class QLabel;
class QToolBar;
class QAction;
class TComboEdit;
class TWindowCombo;
class TValueListEditor;
class TFrameComboColor;
class TFrameComboPercent;
class TFrameResource;

class TFormParameter : public QWidget {
  Q_OBJECT
 public:
  explicit TFormParameter(QWidget* parent = nullptr);
  ~TFormParameter() override;

  QWidget* Panel = nullptr;
  QTabWidget* PageControl = nullptr;
  QWidget* TabSheet1 = nullptr;  // "Общие"
  QWidget* TabSheet2 = nullptr;  // "Ресурсы"
  QWidget* TabSheet3 = nullptr;  // "Организмы"

  // General page. Each size box is its edit box and its up-down arrows at once.
  QGroupBox* GroupBoxParameters = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* UpDownC = nullptr;  // columns, 10..1000
  QLabel* Label2 = nullptr;
  QSpinBox* UpDownR = nullptr;  // rows, 5..1000
  QLabel* Label15 = nullptr;
  TComboEdit* ComboEditField = nullptr;
  QLabel* Label11 = nullptr;
  QSpinBox* UpDownCellSize = nullptr;  // cell size in pixels, 3..1000
  QGroupBox* GroupBox3 = nullptr;
  QLabel* Label19 = nullptr;
  TComboEdit* ComboEditStatistic = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* CheckBoxAutoBrush = nullptr;
  QCheckBox* CheckBoxOnlyPlant = nullptr;
  QCheckBox* CheckBoxAutoStop = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* EditRefresh = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLabel* Label18 = nullptr;
  QLineEdit* EditUserName = nullptr;
  QCheckBox* CheckBoxComment = nullptr;

  // Resource page.
  QToolBar* ToolBarResource = nullptr;
  QAction* ToolButtonResourceAdd = nullptr;
  QAction* ToolButtonResourceEdit = nullptr;
  QAction* ToolButtonResourceDel = nullptr;
  QListWidget* ListBoxResource = nullptr;
  TValueListEditor* ValueListEditorResource = nullptr;

  // Species page.
  QToolBar* ToolBarPlant = nullptr;
  QAction* ToolButtonAdd = nullptr;
  QAction* ToolButtonPlantEdit = nullptr;
  QAction* ToolButtonPlantDel = nullptr;
  QListWidget* ListBoxPlant = nullptr;
  TValueListEditor* ValueListEditorPlant = nullptr;

  unsigned char Dockable = 0;  // corner of the main window docked to, 0 none

  // The pop-up pickers, each created when first opened.
  TWindowCombo* ComboFieldColor = nullptr;
  TWindowCombo* ComboStatisticColor = nullptr;
  TWindowCombo* ComboPlantColor = nullptr;
  TWindowCombo* ComboPlantColorMutant = nullptr;
  TWindowCombo* ComboPlantMutation = nullptr;
  TWindowCombo* ComboPlantResourceIn = nullptr;
  TWindowCombo* ComboPlantResourceOut = nullptr;
  TWindowCombo* ComboResourceColor = nullptr;
  TWindowCombo* ComboResourceSlur = nullptr;
  TFrameComboColor* FrameFieldColor = nullptr;
  TFrameComboColor* FrameStatisticColor = nullptr;
  TFrameComboColor* FramePlantColor = nullptr;
  TFrameComboColor* FramePlantColorMutant = nullptr;
  TFrameComboColor* FrameResourceColor = nullptr;
  TFrameComboPercent* FramePlantMutation = nullptr;
  TFrameComboPercent* FrameResourceSlur = nullptr;
  TFrameResource* FramePlantResourceIn = nullptr;
  TFrameResource* FramePlantResourceOut = nullptr;

  // Colours by name over the named colour list: the name of the first item
  // of this colour ("" when none); the colour of the first item of exactly
  // this name (`def` when none).
  static QString ColorToName(TColor color);
  static TColor NameToColor(const QString& name, TColor def = 0);

  // General page.
  // Applies the size boxes to the field view and both stores.
  void EditCChange();
  // Applies the cell size box to the field view.
  void EditCellSizeChange();
  void EditRefreshChange();
  void EditUserNameChange();
  // The user typed into the author line: a character the data file cannot
  // carry is refused with the information page.
  void EditUserNameEdited(const QString& typed);
  void ComboEditFieldChange();
  void ComboEditStatisticChange();

  // Lists. The click handlers load the selected entry into its grid.
  void ListBoxResourceClick();
  void ListBoxPlantClick();
  // Appends an entry the caller has already added to the resource store.
  // When memory runs out (std::bad_alloc, passed on) the resource leaves the
  // store again, so that the stores and the windows are as they were.
  void AddResource(const QString& name);
  // Adds the species (with no organisms, zero mass and zero maxima) to the
  // organism store and to the list; when memory runs out (std::bad_alloc,
  // passed on) the stores and the windows are as they were.
  void AddPlant(TPlantParameter species);
  // Many entries added in a row (a resource-set import): the statistics
  // layout is rebuilt once, when EndListChanges closes the row, not once per
  // entry. EndListChanges then refreshes the statistics, entries or not.
  void BeginListChanges();
  void EndListChanges();
  void RenameResource(const QString& name, int index);
  void RenamePlant(const QString& name, int index);
  // The list commands (the tool buttons; a double click in a list renames).
  void SpeedButtonResourceAddClick();
  void SpeedButtonPlantAddClick();
  void SpeedButtonResourceEditClick();
  void SpeedButtonPlantEditClick();
  void SpeedButtonResourceDelClick();
  void SpeedButtonPlantDelClick();
  // Deletes resource or species `index` (no question asked); false when the
  // resource is still used by a species (the information window says so) or
  // when memory runs out (the stores stay as they were, a message says so).
  bool DeleteResource(int index);
  void DeletePlant(int index);
  // Enables the delete buttons by the lists' contents.
  void UpdateListButtons();

  // For the data-file reader and start-up, which fill the lists themselves:
  // empty a list and its brush menu; append an item (list and brush menu);
  // select the first item and load it into the grid. Emptying begins a refill
  // that selecting the first item ends: the brush index of the list is lowered
  // only when it is at or above the count of the refilled list.
  void ClearResourceList();
  void AddResourceItem(int index, const QString& name);
  void SelectFirstResource();
  void ClearPlantList();
  void AddPlantItem(int index, const QString& name);
  void SelectFirstPlant();
  // Puts a field size into both size boxes (within their limits) and applies
  // it once to the field view and both stores.
  void SetFieldSize(int rows, int cols);

  // Value grids.
  void ValueListEditorResourceStringsChange();
  void ValueListEditorPlantStringsChange();
  void ValueListEditorResourceEditButtonClick();
  void ValueListEditorPlantEditButtonClick();

  // Pickers: openers and result handlers.
  void ComboEditFieldButtonClick();
  void ComboEditStatisticButtonClick();
  void ComboFieldColorSelect();
  void ComboStatisticColorSelect();
  void ComboPlantColorSelect();
  void ComboPlantColorMutantSelect();
  void ComboPlantMutationSelect();
  void ComboPlantResourceInSelect();
  void ComboPlantResourceOutSelect();
  void ComboResourceColorSelect();
  void ComboResourceSlurSelect();

  // The grids' row keys.
  static const QString KeyColor, KeyColorMutant, KeyMutation, KeyResourceIn, KeyResourceOut, KeyBrushValue,
      KeySlur, KeyResourceBegin, KeyResourceEat, KeyAgeReproduct, KeyChildrenCount, KeyAgeMax;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Puts a field size into both size boxes without resizing anything.
  void ShowFieldSize(int rows, int cols);
  void CreateGeneralPage();
  QWidget* CreateListPage(bool plant);
  void FormShow();
  void FormResize();
  // Writes one grid row without running the grid's change handler.
  void SetGridRow(TValueListEditor* grid, const QString& key, const QString& text);
  // Empties every value cell (nothing is selected to show).
  void ClearGridValues(TValueListEditor* grid);
  void LoadResourceGrid();
  void LoadPlantGrid();
  int SelectedResource() const;
  int SelectedPlant() const;
  QString ResourceName(int index) const;
  bool ListHas(const QListWidget* list, const QString& name) const;
  QPoint InputPosition(const QListWidget* list) const;
  // A name typed for a new or renamed entry, trimmed of surrounding blanks;
  // false for an empty answer (nothing said) or a name the settings file
  // cannot keep (refused with the information window).
  bool AcceptName(QString& name);
  // Creates a picker's window and frame on first use, sized from the settings.
  template <class Frame>
  void EnsurePicker(TWindowCombo*& combo, Frame*& frame, const char* name, QWidget* anchor,
                    void (TFormParameter::*onSelect)());
  QWidget* GridAnchor(TValueListEditor* grid) const;
  // A picker's size from the settings file, `def` when absent.
  static int ReadPickerSize(const QString& key, int def);
  // The statistics after a list change: the layout rebuilt, with
  // `firstSelectorItems` the chart selectors put on their first item, with
  // `update` the values refreshed. Held back while list changes are.
  void RefreshAfterListChange(bool update, bool firstSelectorItems = false);
  void RepaintField();
  // The hints of cut-off cells of both grids (the grids drag their column boundary themselves).
  void ValueListEditorPlantMouseMove(TValueListEditor* grid, QMouseEvent* event);

  // Rows came or went in a list: the delete buttons and the brush indexes follow.
  void ListRowsChanged();
  // The windows' part of a list command, run once the stores have changed:
  // when memory runs out part way, the lists, the brush menus and the
  // statistics layout are built again from the stores (ListsFromStores).
  void FollowStores(const std::function<void()>& follow);
  void ListsFromStores();
  // AddResource and AddPlant once the entry is in its store: the list, the
  // brush menu and button, the statistics.
  void ListAddedResource(const QString& name);
  void ListAddedPlant(const QString& name);
  bool ColorBoxHandlers = false;  // the colour boxes' change handlers are attached
  bool OwnListChange = false;     // a delete of the editor's own is under way
  bool RefillingResources = false, RefillingPlants = false;  // a list is emptied and filled again
  int ListChangeDepth = 0;                 // BeginListChanges not yet ended
  bool LayoutPending = false;              // entries came while list changes were held back
  bool FirstSelectorItemsPending = false;  // the first species came among them
};

extern TFormParameter* FormParameter;

// The caption of a page of the parameter editor (the section titles of the
// field dialogs and the file window's check list), or `fallback` while the
// editor is not there.
QString PageCaption(int index, const QString& fallback);
