#pragma once
// The one-line input dialog: a prompt, an edit box, "Да" and "Отмена".
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormInput : public QDialog {
  Q_OBJECT
 public:
  explicit TFormInput(QWidget* parent = nullptr);

  // The dialog's results: "Да" (or Enter) and "Отмена" (or Escape, or closing).
  static constexpr int mrYes = 6;
  static constexpr int mrCancel = 2;

  QLabel* LabelInput = nullptr;
  QLineEdit* EditInput = nullptr;
  QPushButton* ButtonYes = nullptr;
  QPushButton* ButtonCancel = nullptr;

  // The width the window needs for its caption to show whole in the title
  // bar, beside the bar's icon and buttons (at least the design width).
  int CaptionWidth() const;

 protected:
  // A new caption widens the window when it would not fit.
  void changeEvent(QEvent* event) override;
};
