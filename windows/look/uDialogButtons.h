#pragma once
// The shared parts of a small modal dialog: its fixed size, and its foot.
class QDialog;
class QFrame;
class QLayout;
class QPushButton;
class QSize;

// A small modal dialog of fixed size: it keeps `clientSize` (or what its
// contents need, when that is more) and can be neither resized, maximised
// nor minimised. A window manager that minimises it anyway gets it back at
// once, as a hidden modal dialog would leave the program blocked with
// nothing to click.
void SetFixedDialogSize(QDialog* dialog, const QSize& clientSize);

// The foot: a sunken line, and below it at the right "Да" (the default button)
// and "Отмена", which end the dialog with the given results.
struct TDialogButtons {
  QLayout* Layout = nullptr;  // to be added at the bottom of the dialog's layout
  QFrame* Bevel = nullptr;
  QPushButton* Yes = nullptr;
  QPushButton* Cancel = nullptr;
};

TDialogButtons MakeDialogButtons(QDialog* dialog, int yesResult, int cancelResult);
