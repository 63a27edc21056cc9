#include "windows/look/ValueListEditor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>

#include "windows/look/uProc.h"

namespace {
// The grid lines between the cells.
const QColor kGridLine(208, 208, 208);
}  // namespace

TValueListEditor::TValueListEditor(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  RowHeight = std::max(16, fontMetrics().height() + 4);

  Editor = new QLineEdit(viewport());
  Editor->setFrame(false);
  Editor->hide();
  Editor->installEventFilter(this);
  connect(Editor, &QLineEdit::textEdited, this, &TValueListEditor::EditorEdited);

  Button = new QToolButton(viewport());
  Button->setText(QStringLiteral("..."));
  Button->setFocusPolicy(Qt::NoFocus);
  Button->setAutoRaise(false);
  Button->hide();
  connect(Button, &QToolButton::clicked, this, [this] {
    if (OnEditButtonClick) OnEditButtonClick(this);
  });
  verticalScrollBar()->setSingleStep(1);
}

QSize TValueListEditor::sizeHint() const { return {215, 254}; }
QSize TValueListEditor::minimumSizeHint() const { return {80, RowHeight * 3}; }

void TValueListEditor::SetTitleCaptions(const QString& key, const QString& value) {
  TitleKey = key;
  TitleValue = value;
  viewport()->update();
}

int TValueListEditor::InsertRow(const QString& key, const QString& value, TEditStyle style) {
  Rows.push_back(TRow{key, value, style});
  UpdateScrollBar();
  viewport()->update();
  return RowCount() - 1;
}

void TValueListEditor::ClearRows() {
  Rows.clear();
  CurrentRow = 0;
  UpdateScrollBar();
  PlaceEditor();
  viewport()->update();
}

QString TValueListEditor::Cells(int col, int row) const {
  if (row == 0) return col == 0 ? TitleKey : TitleValue;
  if (row < 0 || row >= RowCount()) return {};
  const TRow& r = Rows[row - 1];
  return col == 0 ? r.Key : r.Value;
}

void TValueListEditor::SetCells(int col, int row, const QString& text) {
  if (row == 0) {
    (col == 0 ? TitleKey : TitleValue) = text;
  } else if (row > 0 && row < RowCount()) {
    TRow& r = Rows[row - 1];
    (col == 0 ? r.Key : r.Value) = text;
    if (col == 1 && row == CurrentRow && Editor->text() != text) {
      // The write-back of a corrected value leaves the caret at the end.
      Editor->setText(text);
    }
  }
  viewport()->update();
}

int TValueListEditor::FindRow(const QString& key) const {
  for (size_t i = 0; i < Rows.size(); ++i)
    if (Rows[i].Key == key) return static_cast<int>(i) + 1;
  return -1;
}

void TValueListEditor::SetEditStyle(int row, TEditStyle style) {
  if (row <= 0 || row >= RowCount()) return;
  Rows[row - 1].Style = style;
  PlaceEditor();
}

TValueListEditor::TEditStyle TValueListEditor::EditStyle(int row) const {
  if (row <= 0 || row >= RowCount()) return esSimple;
  return Rows[row - 1].Style;
}

bool TValueListEditor::IsSectionRow(int row) const {
  const QString key = Keys(row);
  return row > 0 && !key.isEmpty() && key.at(0) == QLatin1Char('&');
}

bool TValueListEditor::SetRow(int row) {
  if (row <= 0 || row >= RowCount() || IsSectionRow(row)) return false;
  CurrentRow = row;
  Editor->setText(Values(row));
  ScrollToRow(row);
  PlaceEditor();
  viewport()->update();
  return true;
}

void TValueListEditor::SetColWidths(int col, int width) {
  if (col != 0) return;
  KeyWidth = std::max(0, width);
  PlaceEditor();
  viewport()->update();
}

QString TValueListEditor::HintText(int col, int row) const {
  if (col < 0 || col > 1 || row < 0 || row >= RowCount()) return {};
  const QString text = Cells(col, row);
  if (text.isEmpty() || text.startsWith(QLatin1Char('&'))) return {};
  return fontMetrics().horizontalAdvance(text) > ColWidths(col) - 4 ? text : QString();
}

int TValueListEditor::KeyColumnWidth() const {
  // A grid on the screen keeps 30 pixels for the values; one that is not
  // (never laid out, or its page or window hidden) has the width it was given.
  const int width = viewport()->width();
  return width > 60 && isVisible() ? std::min(KeyWidth, width - 30) : KeyWidth;
}

int TValueListEditor::ValueWidth() const {
  return std::max(0, viewport()->width() - KeyColumnWidth() - GridLineWidth());
}

int TValueListEditor::TopRow() const { return 1 + verticalScrollBar()->value(); }

int TValueListEditor::VisibleRows() const {
  const int pitch = RowHeight + GridLineWidth();
  return std::max(1, (viewport()->height() - pitch) / pitch);
}

QRect TValueListEditor::CellRect(int col, int row) const {
  const int pitch = RowHeight + GridLineWidth();
  int y;
  if (row == 0) {
    y = 0;
  } else {
    const int index = row - TopRow();
    if (index < 0 || row >= RowCount()) return {};
    y = (index + 1) * pitch;
    if (y >= viewport()->height()) return {};
  }
  if (col == 0) return QRect(0, y, KeyColumnWidth(), RowHeight);
  return QRect(KeyColumnWidth() + GridLineWidth(), y, ValueWidth(), RowHeight);
}

int TValueListEditor::RowAt(int y) const {
  const int pitch = RowHeight + GridLineWidth();
  if (y < 0) return -1;
  const int index = y / pitch;
  if (index == 0) return 0;
  const int row = TopRow() + index - 1;
  return row < RowCount() ? row : -1;
}

int TValueListEditor::ColAt(int x) const {
  if (x < 0) return -1;
  if (x < KeyColumnWidth() + GridLineWidth()) return 0;
  if (x < viewport()->width()) return 1;
  return -1;
}

void TValueListEditor::UpdateScrollBar() {
  const int hidden = std::max(0, (RowCount() - 1) - VisibleRows());
  verticalScrollBar()->setRange(0, hidden);
  verticalScrollBar()->setPageStep(VisibleRows());
}

void TValueListEditor::ScrollToRow(int row) {
  if (row <= 0) return;
  const int top = TopRow();
  if (row < top)
    verticalScrollBar()->setValue(row - 1);
  else if (row >= top + VisibleRows())
    verticalScrollBar()->setValue(row - VisibleRows());
}

void TValueListEditor::PlaceEditor() {
  if (Placing) return;
  Placing = true;
  const QRect cell = CurrentRow > 0 ? CellRect(1, CurrentRow) : QRect();
  if (cell.isEmpty()) {
    const bool hadFocus = Editor->hasFocus();
    Editor->hide();
    Button->hide();
    if (hadFocus) setFocus();
  } else {
    QRect edit = cell;
    if (EditStyle(CurrentRow) == esEllipsis) {
      const int bw = std::min(cell.height() + 2, cell.width());
      Button->setGeometry(cell.right() - bw + 1, cell.top(), bw, cell.height());
      Button->show();
      edit.setRight(cell.right() - bw);
    } else {
      Button->hide();
    }
    Editor->setGeometry(edit);
    if (Editor->text() != Values(CurrentRow)) Editor->setText(Values(CurrentRow));
    Editor->show();
  }
  Placing = false;
}

void TValueListEditor::EditorEdited(const QString& text) {
  if (CurrentRow <= 0) return;
  Rows[CurrentRow - 1].Value = text;
  viewport()->update();
  if (OnStringsChange) OnStringsChange(this);
}

int TValueListEditor::NextSelectable(int row, int step) const {
  for (int r = row + step; r > 0 && r < RowCount(); r += step)
    if (!IsSectionRow(r)) return r;
  return 0;
}

void TValueListEditor::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
  const int pitch = RowHeight + GridLineWidth();
  const int last = std::min(RowCount() - 1, TopRow() + VisibleRows());
  auto drawRow = [&](int row) {
    const QRect key = CellRect(0, row), value = CellRect(1, row);
    if (key.isNull()) return;
    DrawValueListCell(*this, p, 0, row, key);
    DrawValueListCell(*this, p, 1, row, value);
    if (!IsSectionRow(row)) p.fillRect(QRect(key.right() + 1, key.top(), GridLineWidth(), pitch), kGridLine);
    p.fillRect(QRect(0, key.bottom() + 1, viewport()->width(), GridLineWidth()), kGridLine);
  };
  drawRow(0);
  for (int row = TopRow(); row <= last; ++row) drawRow(row);
}

void TValueListEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBar();
  ScrollToRow(CurrentRow);
  PlaceEditor();
}

void TValueListEditor::scrollContentsBy(int, int) {
  PlaceEditor();
  viewport()->update();
}

void TValueListEditor::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    RowHeight = std::max(16, fontMetrics().height() + 4);
    UpdateScrollBar();
    PlaceEditor();
  }
  QAbstractScrollArea::changeEvent(event);
}

void TValueListEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && std::abs(event->position().toPoint().x() - KeyColumnWidth()) < 3) {
    SplitDrag = true;
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    const int row = RowAt(event->position().toPoint().y());
    const int col = ColAt(event->position().toPoint().x());
    if (row > 0 && col >= 0 && SetRow(row)) {
      Editor->setFocus();
      if (col == 1) Editor->selectAll();
    }
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void TValueListEditor::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (SplitDrag || std::abs(x - KeyColumnWidth()) < 3)
    viewport()->setCursor(Qt::SplitHCursor);
  else
    viewport()->unsetCursor();
  if (SplitDrag && (event->buttons() & Qt::LeftButton))
    SetColWidths(0, std::min(viewport()->width() - 30, std::max(30, x)));
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TValueListEditor::mouseReleaseEvent(QMouseEvent* event) {
  SplitDrag = false;
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TValueListEditor::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  if (Editor->isVisible()) Editor->setFocus();
}

void TValueListEditor::keyPressEvent(QKeyEvent* event) {
  int target = 0;
  switch (event->key()) {
    case Qt::Key_Down:
      target = NextSelectable(CurrentRow, +1);
      break;
    case Qt::Key_Up:
      target = NextSelectable(CurrentRow, -1);
      break;
    case Qt::Key_Home:
      if (event->modifiers() & Qt::ControlModifier) target = NextSelectable(0, +1);
      break;
    case Qt::Key_End:
      if (event->modifiers() & Qt::ControlModifier) target = NextSelectable(RowCount(), -1);
      break;
    case Qt::Key_PageDown:
      target = NextSelectable(std::min(RowCount() - 1, CurrentRow + VisibleRows()) - 1, +1);
      if (!target) target = NextSelectable(RowCount(), -1);
      break;
    case Qt::Key_PageUp:
      target = NextSelectable(std::max(1, CurrentRow - VisibleRows()) + 1, -1);
      if (!target) target = NextSelectable(0, +1);
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  if (target > 0 && SetRow(target)) Editor->setFocus();
  event->accept();
}

bool TValueListEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Editor && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        keyPressEvent(key);
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if ((key->modifiers() & Qt::ControlModifier) && EditStyle(CurrentRow) == esEllipsis) {
          if (OnEditButtonClick) OnEditButtonClick(this);
          return true;
        }
        break;
      default:
        break;
    }
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}
