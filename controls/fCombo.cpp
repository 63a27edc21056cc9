#include "controls/fCombo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QScreen>

#include "controls/KitCtrls.h"
#include "controls/MaxMin.h"
#include "controls/ZeltorStatusBar.h"

namespace {
constexpr int kStripHeight = 24;
constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 22;

void FillWith(QWidget* w, const QColor& colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, colour);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}
}  // namespace

TWindowCombo::TWindowCombo(QWidget* owner, QWidget* combo)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), FCombo(combo) {
  setObjectName(QStringLiteral("WindowCombo"));
  FillWith(this, clBtnFace());
  resize(183, 124);

  PanelParent = new QWidget(this);
  PanelParent->setObjectName(QStringLiteral("PanelParent"));
  PanelParent->setGeometry(0, 0, 183, 101);
  PanelParent->hide();

  PanelBorder = new QWidget(this);
  PanelBorder->setObjectName(QStringLiteral("PanelBorder"));
  FillWith(PanelBorder, clWindowText());

  Panel = new QWidget(PanelBorder);
  Panel->setObjectName(QStringLiteral("Panel"));
  FillWith(Panel, clBtnFace());

  SpeedButtonYes = new TKitSpeedButton(Panel);
  SpeedButtonYes->setObjectName(QStringLiteral("SpeedButtonYes"));
  SpeedButtonYes->SetCaption(QStringLiteral("Да"));
  SpeedButtonYes->SetFlat(true);
  SpeedButtonYes->resize(kButtonWidth, kButtonHeight);
  SpeedButtonYes->OnClick = [this](QObject*) { SpeedButtonYesClick(); };

  SpeedButtonCancel = new TKitSpeedButton(Panel);
  SpeedButtonCancel->setObjectName(QStringLiteral("SpeedButtonCancel"));
  SpeedButtonCancel->SetCaption(QStringLiteral("Отмена"));
  SpeedButtonCancel->SetFlat(true);
  SpeedButtonCancel->resize(kButtonWidth, kButtonHeight);
  SpeedButtonCancel->OnClick = [this](QObject*) { FormDeactivate(); };

  FAccepted = false;
  // A click outside closes the window and goes on to what it landed on: the
  // window passes it on itself (mousePressEvent), the toolkit must not again.
  setAttribute(Qt::WA_NoMouseReplay);
  setMinimumSize(Max(combo ? combo->width() : 0, 120), 50);

  Grip = new TZeltorStatusBar(Panel);
  Grip->setObjectName(QStringLiteral("Grip"));
  Grip->SetForm(this);
  LayoutStrip();
  Grip->SetCorner(4);
  FGripVisible = true;
  LayoutButtons();
}

TWindowCombo::~TWindowCombo() = default;

void TWindowCombo::SetGripVisible(bool value) {
  FGripVisible = value;
  Grip->setVisible(value);
  LayoutButtons();
}

void TWindowCombo::LayoutButtons() {
  const int cancelLeft = Panel->width() - SpeedButtonCancel->width() - (FGripVisible ? Grip->width() : 1);
  SpeedButtonCancel->move(cancelLeft, 1);
  SpeedButtonYes->move(cancelLeft - SpeedButtonYes->width(), 1);
}

void TWindowCombo::LayoutStrip() {
  const int w = width(), h = height();
  if (FStripAtBottom) {
    PanelBorder->setGeometry(0, h - kStripHeight, w, kStripHeight);
    Panel->setGeometry(1, 0, w - 2, kStripHeight - 1);
  } else {
    PanelBorder->setGeometry(0, 0, w, kStripHeight);
    Panel->setGeometry(1, 1, w - 2, kStripHeight - 1);
  }
  PanelParent->setGeometry(0, 0, w, Max(0, h - 23));
  LayoutButtons();
  if (FFrame) FFrame->setGeometry(FrameArea());
}

QRect TWindowCombo::FrameArea() const {
  const int h = Max(0, height() - kStripHeight);
  return FStripAtBottom ? QRect(0, 0, width(), h) : QRect(0, kStripHeight, width(), h);
}

void TWindowCombo::SetFrame(QWidget* frame) {
  FFrame = frame;
  if (!frame) return;
  if (frame->parentWidget() != this) frame->setParent(this);
  frame->setGeometry(FrameArea());
  frame->show();
}

void TWindowCombo::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutStrip();
}

void TWindowCombo::FormShow() {
  QWidget* combo = FCombo;
  setMinimumSize(Max(combo ? combo->width() : 0, 120), 50);
  if (!combo) return;
  int w = Max(width(), minimumWidth());
  int h = Max(height(), minimumHeight());
  const QPoint p = combo->mapToGlobal(QPoint(0, 0));
  QScreen* screen = combo->screen() ? combo->screen() : QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
  const int workRight = work.x() + work.width();
  const int workBottom = work.y() + work.height();

  int left, top;
  uint8_t corner;
  if (p.x() + w <= workRight) {
    left = p.x();
    corner = 3;
  } else {
    left = Max(p.x() + combo->width() - w, work.x());
    w = Min(w, work.width());
    corner = 1;
  }
  if (p.y() + combo->height() + h <= workBottom) {
    top = p.y() + combo->height();
    corner = corner == 3 ? 4 : 2;
    FStripAtBottom = true;
  } else {
    top = Max(p.y() - h, work.y());
    h = Min(h, work.height());
    FStripAtBottom = false;
  }
  setGeometry(left, top, w, h);
  LayoutStrip();
  Grip->SetCorner(corner);
}

void TWindowCombo::showEvent(QShowEvent* event) {
  FormShow();
  QWidget::showEvent(event);
}

void TWindowCombo::Show() {
  show();
  raise();
  activateWindow();
  // Keys go to the frame's first control that takes the focus.
  QWidget* target = nullptr;
  if (FFrame && (FFrame->focusPolicy() & Qt::TabFocus) && FFrame->isEnabled()) {
    target = FFrame;
  } else if (FFrame) {
    for (QWidget* w = FFrame->nextInFocusChain(); w && w != FFrame; w = w->nextInFocusChain()) {
      if (!FFrame->isAncestorOf(w)) break;
      if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
        target = w;
        break;
      }
    }
  }
  if (target)
    target->setFocus(Qt::PopupFocusReason);
  else
    setFocus(Qt::PopupFocusReason);
}

void TWindowCombo::SpeedButtonYesClick() {
  FAccepted = true;
  FOwnClose = true;
  close();
  FOwnClose = false;
}

void TWindowCombo::FormDeactivate() {
  FAccepted = false;
  FOwnClose = true;
  close();
  FOwnClose = false;
}

void TWindowCombo::closeEvent(QCloseEvent* event) {
  // Closed by the toolkit (a click outside the pop-up): as "Отмена".
  if (!FOwnClose) FAccepted = false;
  if (FAccepted && OnSelect) OnSelect(this);
  event->accept();  // hidden, never freed by closing
}

void TWindowCombo::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      SpeedButtonYesClick();
      return;
    case Qt::Key_Escape:
      event->accept();
      FormDeactivate();
      return;
    default: QWidget::keyPressEvent(event);
  }
}

void TWindowCombo::mousePressEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint())) {
    QWidget::mousePressEvent(event);
    return;
  }
  // A click outside the window closes it as "Отмена" does, and acts on the
  // control under the mouse. The window keeps the mouse until the click's
  // release has come: closed at the press, it would let the mouse go while
  // the release may already be on its way to it, and the release would be
  // lost. The whole click then goes to the control.
  event->accept();
  if (FOutsidePress) return;  // a second button during the click
  FOutsidePress = TOutsidePress{event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
                                event->pointingDevice()};
}

void TWindowCombo::mouseReleaseEvent(QMouseEvent* event) {
  if (!FOutsidePress || event->button() != FOutsidePress->Button) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  event->accept();
  const TOutsidePress outside = *FOutsidePress;
  FOutsidePress.reset();
  FormDeactivate();
  PassClick(outside, *event);
}

void TWindowCombo::hideEvent(QHideEvent* event) {
  FOutsidePress.reset();
  QWidget::hideEvent(event);
}

void TWindowCombo::PassClick(const TOutsidePress& pressed, const QMouseEvent& released) {
  // The control under the press, as when the window loses the activation to
  // it: a button is pressed, an edit box takes the focus.
  const QPointF global = pressed.Global;
  QPointer<QWidget> target = QApplication::widgetAt(global.toPoint());
  if (!target || target->window() == this || !target->isEnabled()) return;
  // The keyboard comes back to the window under the mouse as well.
  target->window()->activateWindow();
  if (target->focusPolicy() & Qt::ClickFocus) target->setFocus(Qt::MouseFocusReason);
  const QPointF local = target->mapFromGlobal(global);
  QMouseEvent press(QEvent::MouseButtonPress, local, local, global, pressed.Button, pressed.Buttons,
                    pressed.Modifiers, pressed.Device);
  QApplication::sendEvent(target, &press);
  // The press opened a menu or a dialog of its own: that takes the mouse now.
  if (!target || !target->isVisible() || QApplication::activePopupWidget() || QApplication::activeModalWidget())
    return;
  const QPointF to = released.globalPosition();
  const QPointF at = target->mapFromGlobal(to);
  QMouseEvent release(QEvent::MouseButtonRelease, at, at, to, released.button(), released.buttons(),
                      released.modifiers(), released.pointingDevice());
  QApplication::sendEvent(target, &release);
}
