#pragma once
// An edit box with a small button at its right edge, inside its border:
// the button (or Alt+Down) raises OnButtonClick.
#include <QKeySequence>
#include <QLineEdit>

#include "controls/KitConst.h"
#include "controls/KitCtrls.h"

class TCustomComboEdit;

// The button of the edit box: a speed button with a separator at its left.
class TEditButton : public TKitSpeedButton {
  Q_OBJECT
 public:
  explicit TEditButton(TCustomComboEdit* edit, QWidget* parent);
  void Click() override;
  bool SkipClick = false;

 protected:
  void Paint(QPainter& canvas) override;
  void MouseDown(QMouseEvent* event) override;

 private:
  TCustomComboEdit* FEdit;
};

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

class TCustomComboEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TCustomComboEdit(QWidget* parent = nullptr);
  ~TCustomComboEdit() override;

  TEditButton* Button = nullptr;
  QWidget* ButtonPanel = nullptr;

  int ButtonWidth() const;
  // A width below 2 hides the button; a width at or above the client width is
  // refused once the edit has been built.
  void SetButtonWidth(int value);
  QString ButtonHint() const;
  void SetButtonHint(const QString& value);
  const QImage& Glyph() const;
  void SetGlyph(const QImage& value);
  int NumGlyphs() const;
  void SetNumGlyphs(int value);
  TGlyphKind GlyphKind() const { return FGlyphKind; }
  void SetGlyphKind(TGlyphKind value);
  QKeySequence ClickKey() const { return FClickKey; }
  void SetClickKey(const QKeySequence& value) { FClickKey = value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  bool DirectInput() const { return FDirectInput; }
  void SetDirectInput(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  // The text (same as text()/setText()).
  QString Text() const { return text(); }
  void SetText(const QString& value) { setText(value); }

  bool PopupVisible() const { return false; }  // no pop-up is ever attached here
  bool HasFocus() const { return FHasFocus; }
  int DefaultNumGlyphs() const { return FDefaultNumGlyphs; }

  // The click of the button: nothing when ReadOnly, else OnButtonClick.
  void EditButtonClick();
  // Makes a value different from the text the new text, marked modified.
  virtual void AcceptValue(const QString& value);
  // Width inside the border (the text area and the button).
  int ClientWidth() const;
  // Smallest height that shows a line of text.
  int MinimumHeight() const;
  // Places the button panel by the border (called on every resize).
  void UpdateButtonBounds();
  // The button was pressed: when that press brought the focus into the edit,
  // the edit was entered without a press on its text, and AutoSelect selects.
  void EnteredByButton();

  // Raised by a click on the button or by ClickKey.
  TNotifyEvent OnButtonClick;
  // Raised on every change of the text.
  TNotifyEvent OnChange;

 protected:
  virtual void ButtonClick();
  virtual QImage GetDefaultBitmap() const { return QImage(); }
  void RecreateGlyph();
  void SetEditRect();

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void UpdateReadOnly();

  QKeySequence FClickKey;
  bool FReadOnly = false;
  bool FDirectInput = true;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSelect = true;
  bool FHasFocus = false;
  bool FEnteringByMouse = false;  // the focus came with the left button down
  TGlyphKind FGlyphKind = gkCustom;
  int FDefaultNumGlyphs = 1;
  bool FCreating = true;
};

class TComboEdit : public TCustomComboEdit {
  Q_OBJECT
 public:
  explicit TComboEdit(QWidget* parent = nullptr) : TCustomComboEdit(parent) {}
};

// The three dots of an ellipsis button of the given width.
QImage CreateEllipsisGlyph(int buttonWidth);
