#pragma once
// The foot of a small modal dialog: a sunken line, and below it at the right
// "Да" (the default button) and "Отмена", which end the dialog with the given
// results.
class QDialog;
class QFrame;
class QLayout;
class QPushButton;

struct TDialogButtons {
  QLayout* Layout = nullptr;  // to be added at the bottom of the dialog's layout
  QFrame* Bevel = nullptr;
  QPushButton* Yes = nullptr;
  QPushButton* Cancel = nullptr;
};

TDialogButtons MakeDialogButtons(QDialog* dialog, int yesResult, int cancelResult);
