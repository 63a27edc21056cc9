#pragma once
// A two-column key/value grid: a title row, one row per parameter, section
// rows (keys beginning with "&") drawn as headers across both columns and
// never selected, and rows whose value has a "..." button. The value cell of
// the current row always carries an edit box; every keystroke in it changes
// the cell and raises OnStringsChange. The boundary of the two columns is
// dragged with the mouse.
#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QLineEdit;
class QToolButton;

class TValueListEditor : public QAbstractScrollArea {
  Q_OBJECT
 public:
  enum TEditStyle { esSimple, esEllipsis };

  explicit TValueListEditor(QWidget* parent = nullptr);

  // Row 0 is the title row; the parameter rows are 1 .. RowCount() - 1.
  int RowCount() const { return static_cast<int>(Rows.size()) + 1; }
  void SetTitleCaptions(const QString& key, const QString& value);
  // Appends a row and returns its index.
  int InsertRow(const QString& key, const QString& value, TEditStyle style = esSimple);
  void ClearRows();

  QString Keys(int row) const { return Cells(0, row); }
  QString Values(int row) const { return Cells(1, row); }
  QString Cells(int col, int row) const;
  // Sets a cell's text without raising OnStringsChange.
  void SetCells(int col, int row, const QString& text);
  void SetValues(int row, const QString& text) { SetCells(1, row, text); }
  // The first row with this key (exact match), or -1.
  int FindRow(const QString& key) const;
  void SetEditStyle(int row, TEditStyle style);
  TEditStyle EditStyle(int row) const;
  // A row whose key is not empty and begins with "&".
  bool IsSectionRow(int row) const;

  // The current row (its value cell is the one being edited), 0 for none.
  int Row() const { return CurrentRow; }
  // Makes `row` current. Section rows, the title row and rows out of range
  // are refused (false); the current row then stays.
  bool SetRow(int row);

  // The key column keeps at least 30 pixels of the grid for the value column
  // while the grid is on the screen and wide enough; the value column takes
  // the rest. A grid not on the screen tells the width it was given.
  int ColWidths(int col) const { return col == 0 ? KeyColumnWidth() : ValueWidth(); }
  // Only the key column's width can be set.
  void SetColWidths(int col, int width);
  // The key column's right edge can be dragged with the left button: pressed
  // less than 3 pixels from it, the drag moves it within 30 pixels of either
  // side of the grid and selects no row. True while such a drag goes on.
  bool Splitting() const { return SplitDrag; }
  // The text of a cell when it is cut off by its column (and is no section
  // title), to be shown whole in a hint; empty otherwise.
  QString HintText(int col, int row) const;
  int DefaultRowHeight() const { return RowHeight; }
  int GridLineWidth() const { return 1; }

  // Cell rectangle in viewport coordinates (row 0 is always at the top);
  // empty when the row is scrolled out of sight.
  QRect CellRect(int col, int row) const;
  // The row and column under a viewport point, -1 when outside the cells.
  int RowAt(int y) const;
  int ColAt(int x) const;
  int TopRow() const;

  QLineEdit* InplaceEditor() const { return Editor; }
  QToolButton* EditButton() const { return Button; }

  // Raised on every change of a cell by the user (each keystroke).
  std::function<void(TValueListEditor*)> OnStringsChange;
  // Raised by the "..." button of the current row.
  std::function<void(TValueListEditor*)> OnEditButtonClick;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TRow {
    QString Key, Value;
    TEditStyle Style = esSimple;
  };
  void UpdateScrollBar();
  void PlaceEditor();
  void EditorEdited(const QString& text);
  // The next selectable row from `row` in direction `step` (+1/-1), or 0.
  int NextSelectable(int row, int step) const;
  void ScrollToRow(int row);
  int ValueWidth() const;
  int KeyColumnWidth() const;
  int VisibleRows() const;

  QString TitleKey, TitleValue;
  std::vector<TRow> Rows;
  int CurrentRow = 0;
  int KeyWidth = 140;
  int RowHeight = 16;
  bool Placing = false;
  bool SplitDrag = false;
  QLineEdit* Editor = nullptr;
  QToolButton* Button = nullptr;
};
