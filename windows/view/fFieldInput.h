#pragma once
// The fill dialog: a value list of one amount per resource under a section
// row, the amounts edited in place; "Да" hands them to the fill command.
#include <QDialog>

class QFrame;
class QPushButton;
class TValueListEditor;

class TFormFieldInput : public QDialog {
  Q_OBJECT
 public:
  explicit TFormFieldInput(QWidget* owner);

  // "Да" (or Enter) and "Отмена" (or Escape, or the close box).
  static constexpr int mrYes = 6;
  static constexpr int mrCancel = 2;
  // The key column's width as designed, and the settings key that keeps it.
  static constexpr int DefaultColWidth = 73;
  static constexpr const char* ColWidthKey = "ValueListEditor.ColWidth";

  TValueListEditor* ValueListEditor = nullptr;
  QFrame* Bevel1 = nullptr;
  QPushButton* ButtonYes = nullptr;
  QPushButton* ButtonCancel = nullptr;

  // The amount cell of the first line after the section row becomes current,
  // ready to be typed over. With no resource line nothing is current.
  void FormShow();

 public slots:
  void reject() override { done(mrCancel); }

 protected:
  void showEvent(QShowEvent* event) override;
};
