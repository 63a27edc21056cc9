#pragma once
// A check list with header rows: every row but a header has a check box; a
// header row carries a caption only and is painted as a band (clInfoBk, bold,
// 2 pixels in). A row can be disabled: its box then cannot be changed by the
// user, and the list's own "tick all", "untick all" and "invert" skip it.
// Rows are 14 pixels high. Used by the clear dialog and the import and export
// frame of the file window.
#include <QListWidget>
#include <QString>

class TCheckListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TCheckListBox(QWidget* parent = nullptr);

  static constexpr int ItemHeight = 14;

  // Appends a row (unticked, enabled, not a header) and returns its index.
  int AddItem(const QString& text);
  int Count() const { return count(); }
  void Clear() { clear(); }
  QString Text(int index) const;

  bool Header(int index) const;
  void SetHeader(int index, bool header);
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);

  // Tick, untick or invert every enabled row (header rows included: their
  // state is never shown or read).
  void CheckAll(bool checked);
  void InvertAll();

  // The box of a row in viewport coordinates (empty for a header row).
  QRect CheckBoxRect(int index) const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Toggle(int index);
};
