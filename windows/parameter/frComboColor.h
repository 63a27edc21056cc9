#pragma once
// The colour picker's frame: the list of named colours, each item with a
// swatch. The same named list gives the parameter editor's colour names.
#include <QString>
#include <QStyledItemDelegate>
#include <QWidget>
#include <functional>
#include <vector>

#include "model/uColor.h"

class QListWidget;

struct TNamedColor {
  TColor Color;
  QString Name;
};

// Standard, extended and system colours with readable names, each name and
// each colour once. The default field colour $F0FBFF is among them.
const std::vector<TNamedColor>& NamedColors();

// Draws a list item as a framed colour swatch followed by the item's text.
class TSwatchItemDelegate : public QStyledItemDelegate {
 public:
  TSwatchItemDelegate(std::function<TColor(int)> colorOf, QObject* parent)
      : QStyledItemDelegate(parent), ColorOf(std::move(colorOf)) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  std::function<TColor(int)> ColorOf;
};

// Item height of the pickers' lists.
int PickerItemHeight(const QWidget* list);

// Makes a double click in `list` act as the "Да" button of the pop-up window
// `owner` (when the owner is one).
void AcceptOnDoubleClick(QListWidget* list, QWidget* owner);

// Fills the picker frame `frame` with a boxed list, margin-free, whose items
// are drawn by TSwatchItemDelegate with colorOf and where a double click
// accepts as in AcceptOnDoubleClick. Returns the list.
QListWidget* AddSwatchList(QWidget* frame, QWidget* owner, std::function<TColor(int)> colorOf);

class TFrameComboColor : public QWidget {
  Q_OBJECT
 public:
  explicit TFrameComboColor(QWidget* owner);

  QListWidget* ListBox = nullptr;

  // Selects item 0, then the first item of this colour.
  void SelectColor(TColor color);
  // The colour and the name of the selected item (item 0 when none).
  TColor SelectedColor() const;
  QString SelectedName() const;
};
