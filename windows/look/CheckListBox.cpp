#include "windows/look/CheckListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "controls/KitConst.h"
#include "windows/look/uProc.h"

namespace {

constexpr int kHeaderRole = Qt::UserRole + 1;
constexpr int kEnabledRole = Qt::UserRole + 2;
constexpr int kBoxWidth = 14;  // the place of the box; the text starts after it

// The place of a row's box, left of its text.
QRect BoxPlace(const QRect& row) { return QRect(row.left(), row.top(), kBoxWidth, row.height()); }

class TCheckListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), TCheckListBox::ItemHeight);
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect r = option.rect;
    const QString text = index.data(Qt::DisplayRole).toString();
    p->save();
    p->setClipRect(r);
    p->setFont(option.font);
    if (index.data(kHeaderRole).toBool()) {
      DrawSectionBand(*p, r, text, QPoint(r.left() + 2, r.top()));
      p->restore();
      return;
    }
    const bool enabled = index.data(kEnabledRole).toBool();
    const bool selected = option.state & QStyle::State_Selected;
    p->setBrush(clWindow());
    DrawCheckBox(*p, BoxPlace(r), index.data(Qt::CheckStateRole).toInt() == Qt::Checked, enabled);
    const QRect textRect(r.left() + kBoxWidth, r.top(), r.width() - kBoxWidth, r.height());
    const QPalette& pal = option.palette;
    p->fillRect(textRect, selected ? pal.color(QPalette::Highlight) : clWindow());
    p->setPen(!enabled   ? clGrayText()
              : selected ? pal.color(QPalette::HighlightedText)
                         : clWindowText());
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p->restore();
  }
};

}  // namespace

TCheckListBox::TCheckListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TCheckListDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

int TCheckListBox::AddItem(const QString& text) {
  auto* item = new QListWidgetItem(text, this);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setData(Qt::CheckStateRole, Qt::Unchecked);
  item->setData(kHeaderRole, false);
  item->setData(kEnabledRole, true);
  return count() - 1;
}

QString TCheckListBox::Text(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? it->text() : QString();
}

bool TCheckListBox::Header(int index) const {
  const QListWidgetItem* it = item(index);
  return it && it->data(kHeaderRole).toBool();
}

void TCheckListBox::SetHeader(int index, bool header) {
  if (QListWidgetItem* it = item(index)) it->setData(kHeaderRole, header);
}

bool TCheckListBox::Checked(int index) const {
  const QListWidgetItem* it = item(index);
  return it && it->data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void TCheckListBox::SetChecked(int index, bool checked) {
  if (QListWidgetItem* it = item(index)) it->setData(Qt::CheckStateRole, checked ? Qt::Checked : Qt::Unchecked);
}

bool TCheckListBox::ItemEnabled(int index) const {
  const QListWidgetItem* it = item(index);
  return it && it->data(kEnabledRole).toBool();
}

void TCheckListBox::SetItemEnabled(int index, bool enabled) {
  if (QListWidgetItem* it = item(index)) it->setData(kEnabledRole, enabled);
}

void TCheckListBox::CheckAll(bool checked) {
  for (int i = 0; i < count(); ++i)
    if (ItemEnabled(i)) SetChecked(i, checked);
}

void TCheckListBox::InvertAll() {
  for (int i = 0; i < count(); ++i)
    if (ItemEnabled(i)) SetChecked(i, !Checked(i));
}

QRect TCheckListBox::CheckBoxRect(int index) const {
  const QListWidgetItem* it = item(index);
  if (!it || Header(index)) return {};
  return MarkBoxRect(BoxPlace(visualItemRect(it)));
}

void TCheckListBox::Toggle(int index) {
  if (index < 0 || Header(index) || !ItemEnabled(index)) return;
  SetChecked(index, !Checked(index));
}

void TCheckListBox::mousePressEvent(QMouseEvent* event) {
  QListWidget::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid() && CheckBoxRect(at.row()).adjusted(-1, -1, 1, 1).contains(event->position().toPoint()))
    Toggle(at.row());
}

void TCheckListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click on a row's text toggles it, as a click on its box does.
  QListWidget::mouseDoubleClickEvent(event);
  const QModelIndex at = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && at.isValid() &&
      !CheckBoxRect(at.row()).adjusted(-1, -1, 1, 1).contains(event->position().toPoint()))
    Toggle(at.row());
}

void TCheckListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && currentRow() >= 0) {
    Toggle(currentRow());
    return;
  }
  QListWidget::keyPressEvent(event);
}
