#pragma once
// The drop-down pop-up window: a borderless window that opens right below
// (or above) a control of another window, hosts one picker frame and has a
// strip with the buttons "Да" and "Отмена". OnSelect runs only when the user
// accepts ("Да", Enter, or a picker's double click calling SpeedButtonYesClick).
//
// Use:
//   auto* combo = new TWindowCombo(ownerWindow, anchorControl);   // once
//   auto* frame = new TMyFrame(combo);          // the frame's parent is the window
//   combo->resize(frame->width(), frame->height() + combo->Panel->height());
//   combo->SetFrame(frame);                    // fills the area above/below the strip
//   combo->SetGripVisible(false);
//   combo->OnSelect = [](QObject* sender) { ... read the frame ... };
//   combo->Show();                              // every time; then preset the frame
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "controls/KitConst.h"

class QMouseEvent;
class QPointingDevice;
class TKitSpeedButton;
class TZeltorStatusBar;

class TWindowCombo : public QWidget {
  Q_OBJECT
 public:
  // The window belongs to `owner` (freed with it); it opens at `combo`.
  TWindowCombo(QWidget* owner, QWidget* combo);
  ~TWindowCombo() override;

  void SetOnSelect(TNotifyEvent event) { OnSelect = std::move(event); }
  bool GripVisible() const { return FGripVisible; }
  void SetGripVisible(bool value);
  bool Accepted() const { return FAccepted; }
  QWidget* Combo() const { return FCombo; }
  // The control the window opens at from now on.
  void SetCombo(QWidget* combo) { FCombo = combo; }

  // The picker frame, kept filling the area the button strip leaves free.
  QWidget* Frame() const { return FFrame; }
  void SetFrame(QWidget* frame);
  // The area the button strip leaves free, in the window's coordinates.
  QRect FrameArea() const;
  // True while the button strip is at the bottom (the window opened below).
  bool StripAtBottom() const { return FStripAtBottom; }

  // Opens the window at its anchor (placement in FormShow) and focuses the frame.
  void Show();
  // "Да": accept and close (OnSelect runs while the window is still visible).
  void SpeedButtonYesClick();
  // "Отмена", Escape, losing the window: close without OnSelect.
  void FormDeactivate();
  // Places the window below or above the anchor; run at every showing.
  void FormShow();

  TNotifyEvent OnSelect;

  QWidget* PanelParent = nullptr;  // unused, hidden
  QWidget* PanelBorder = nullptr;  // the button strip with its dark edge
  QWidget* Panel = nullptr;        // inside the strip: the buttons and the grip
  TKitSpeedButton* SpeedButtonYes = nullptr;
  TKitSpeedButton* SpeedButtonCancel = nullptr;
  TZeltorStatusBar* Grip = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayoutStrip();
  void LayoutButtons();
  // The press of a click outside the window, kept until its release comes.
  struct TOutsidePress {
    QPointF Global;
    Qt::MouseButton Button;
    Qt::MouseButtons Buttons;
    Qt::KeyboardModifiers Modifiers;
    const QPointingDevice* Device;
  };
  // Sends a click outside the window, press and release, to the control under it.
  void PassClick(const TOutsidePress& pressed, const QMouseEvent& released);

  QPointer<QWidget> FCombo;
  QPointer<QWidget> FFrame;
  bool FGripVisible = true;
  bool FAccepted = false;
  bool FOwnClose = false;
  bool FStripAtBottom = true;
  std::optional<TOutsidePress> FOutsidePress;
};
