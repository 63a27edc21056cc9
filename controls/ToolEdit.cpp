#include "controls/ToolEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "controls/MaxMin.h"

namespace {

int EditFrameWidth(const QLineEdit* edit) {
  if (!edit->hasFrame()) return 0;
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
  return Max(option.lineWidth, 1);
}

// The arrow of a drop-down button: a small black triangle on white.
QImage CreateDropDownGlyph() {
  QImage image(7, 4, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  for (int row = 0; row < 4; ++row)
    for (int x = row; x < 7 - row; ++x) image.setPixel(x, row, 1);
  return image;
}

}  // namespace

QImage CreateEllipsisGlyph(int buttonWidth) {
  const int w = Max(1, buttonWidth - 6);
  QImage image(w, 4, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  const int gap = Min(3, Max(1, (w - 6) / 2));
  const int x0 = (w - 6 - 2 * gap) / 2;
  for (int dot = 0; dot < 3; ++dot) {
    const int left = x0 + dot * (gap + 2);
    for (int y = 1; y <= 2; ++y)
      for (int x = left; x < left + 2; ++x)
        if (x >= 0 && x < w) image.setPixel(x, y, 1);
  }
  return image;
}

// ===========================================================================
// TEditButton

TEditButton::TEditButton(TCustomComboEdit* edit, QWidget* parent) : TKitSpeedButton(parent), FEdit(edit) {}

void TEditButton::MouseDown(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    SkipClick = FEdit && FEdit->PopupVisible();
    if (FEdit && !SkipClick && (FEdit->focusPolicy() & Qt::TabFocus) && FEdit->isEnabled() &&
        FEdit->isVisible() && !FEdit->hasFocus())
      FEdit->setFocus(Qt::MouseFocusReason);
    if (FEdit && !SkipClick) FEdit->EnteredByButton();
  }
  TKitSpeedButton::MouseDown(event);
}

void TEditButton::Click() {
  if (SkipClick) {
    SkipClick = false;
    return;
  }
  TKitSpeedButton::Click();
}

void TEditButton::Paint(QPainter& canvas) {
  TKitSpeedButton::Paint(canvas);
  if (FState == bsDown) return;
  const int h = height();
  // The separator between the text and the button.
  canvas.fillRect(QRect(0, 0, 1, Max(0, h - 1)), clBtnFace());
  canvas.fillRect(QRect(1, 1, 1, Max(0, h - 3)), clBtnHighlight());
}

// ===========================================================================
// TCustomComboEdit

TCustomComboEdit::TCustomComboEdit(QWidget* parent) : QLineEdit(parent) {
  FClickKey = QKeySequence(Qt::ALT | Qt::Key_Down);
  ButtonPanel = new QWidget(this);
  ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
  ButtonPanel->resize(21, 17);
  Button = new TEditButton(this, ButtonPanel);
  Button->setObjectName(QStringLiteral("Button"));
  Button->setGeometry(0, 0, 21, 17);
  Button->OnClick = [this](QObject*) { EditButtonClick(); };
  Button->setCursor(Qt::ArrowCursor);
  ButtonPanel->setCursor(Qt::ArrowCursor);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
  resize(width(), 21);
  FCreating = false;
  UpdateButtonBounds();
}

TCustomComboEdit::~TCustomComboEdit() {
  if (Button) Button->OnClick = nullptr;
}

int TCustomComboEdit::ButtonWidth() const { return Button->width(); }

void TCustomComboEdit::SetButtonWidth(int value) {
  if (value == ButtonWidth()) return;
  ButtonPanel->setHidden(value < 2);
  if (FCreating) {
    ButtonPanel->resize(value, ButtonPanel->height());
    Button->resize(value, Button->height());
  } else {
    if (value >= ClientWidth()) return;
    Button->resize(value, Button->height());
    UpdateButtonBounds();
  }
  RecreateGlyph();
}

int TCustomComboEdit::ClientWidth() const { return width() - 2 * EditFrameWidth(this); }

QString TCustomComboEdit::ButtonHint() const { return Button->toolTip(); }
void TCustomComboEdit::SetButtonHint(const QString& value) { Button->setToolTip(value); }
const QImage& TCustomComboEdit::Glyph() const { return Button->Glyph(); }

void TCustomComboEdit::SetGlyph(const QImage& value) {
  Button->SetGlyph(value);
  FGlyphKind = gkCustom;
}

int TCustomComboEdit::NumGlyphs() const { return Button->NumGlyphs(); }

void TCustomComboEdit::SetNumGlyphs(int value) {
  switch (FGlyphKind) {
    case gkDropDown:
    case gkEllipsis: Button->SetNumGlyphs(1); break;
    case gkDefault: Button->SetNumGlyphs(FDefaultNumGlyphs); break;
    default: Button->SetNumGlyphs(value); break;
  }
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
  if (FGlyphKind == value) return;
  FGlyphKind = value;
  RecreateGlyph();
  if (value == gkDefault && !Glyph().isNull()) {
    SetButtonWidth(Max(Glyph().width() / Max(1, NumGlyphs()) + 6, ButtonWidth()));
  } else if (value == gkDropDown) {
    SetButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  }
}

void TCustomComboEdit::RecreateGlyph() {
  switch (FGlyphKind) {
    case gkDefault: {
      Button->SetGlyph(GetDefaultBitmap());
      Button->SetNumGlyphs(FDefaultNumGlyphs);
      break;
    }
    case gkDropDown:
      Button->SetGlyph(CreateDropDownGlyph());
      Button->SetNumGlyphs(1);
      break;
    case gkEllipsis:
      Button->SetGlyph(CreateEllipsisGlyph(ButtonWidth()));
      Button->SetNumGlyphs(1);
      break;
    case gkCustom: break;
  }
}

void TCustomComboEdit::UpdateReadOnly() { setReadOnly(FReadOnly || !FDirectInput); }

void TCustomComboEdit::SetReadOnly(bool value) {
  if (FReadOnly == value) return;
  FReadOnly = value;
  UpdateReadOnly();
}

void TCustomComboEdit::SetDirectInput(bool value) {
  FDirectInput = value;
  UpdateReadOnly();
}

void TCustomComboEdit::SetAlignment(TAlignment value) {
  if (FAlignment == value) return;
  FAlignment = value;
  Qt::Alignment a = Qt::AlignLeft;
  if (value == taRightJustify) a = Qt::AlignRight;
  if (value == taCenter) a = Qt::AlignHCenter;
  setAlignment(a | Qt::AlignVCenter);
}

void TCustomComboEdit::EditButtonClick() {
  if (FReadOnly) return;
  ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
}

void TCustomComboEdit::AcceptValue(const QString& value) {
  if (text() == value) return;
  setText(value);  // raises OnChange through textChanged
  setModified(true);
}

int TCustomComboEdit::MinimumHeight() const {
  const int systemHeight = QFontMetrics(QApplication::font()).height();
  const int ownHeight = QFontMetrics(font()).height();
  return Min(systemHeight, ownHeight) + 4 * 1 + 1;
}

void TCustomComboEdit::UpdateButtonBounds() {
  const int w = width(), h = height(), b = ButtonWidth();
  if (hasFrame()) {
    const int f = EditFrameWidth(this);
    ButtonPanel->setGeometry(w - b - f, f, b, h - 2 * f);
  } else {
    ButtonPanel->setGeometry(w - b, 0, b, h);
  }
  Button->setGeometry(0, 0, b, ButtonPanel->height());
  SetEditRect();
}

void TCustomComboEdit::SetEditRect() { setTextMargins(0, 0, ButtonPanel->width() + 2, 0); }

void TCustomComboEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int minimum = MinimumHeight();
  if (height() < minimum) {
    resize(width(), minimum);  // the placement follows with that resize
    return;
  }
  UpdateButtonBounds();
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* event) {
  if (!FClickKey.isEmpty() && QKeySequence(event->keyCombination()) == FClickKey && ButtonWidth() > 0) {
    EditButtonClick();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TCustomComboEdit::focusInEvent(QFocusEvent* event) {
  FHasFocus = true;
  QLineEdit::focusInEvent(event);
  // Entered with the left button down: on the text the caret goes where the
  // press is; on the button (EnteredByButton) the text is selected after all.
  FEnteringByMouse = (QApplication::mouseButtons() & Qt::LeftButton) != 0;
  if (FAutoSelect && FDirectInput && !FEnteringByMouse) selectAll();
}

void TCustomComboEdit::EnteredByButton() {
  if (FEnteringByMouse && FAutoSelect && FDirectInput) selectAll();
  FEnteringByMouse = false;
}

void TCustomComboEdit::mousePressEvent(QMouseEvent* event) {
  FEnteringByMouse = false;
  QLineEdit::mousePressEvent(event);
}

void TCustomComboEdit::focusOutEvent(QFocusEvent* event) {
  FHasFocus = false;
  QLineEdit::focusOutEvent(event);
}

void TCustomComboEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) SetEditRect();
  if (event->type() == QEvent::EnabledChange) Button->setEnabled(isEnabled());
}

bool TCustomComboEdit::event(QEvent* event) {
  // A shortcut override for the click key keeps it from the window's shortcuts.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!FClickKey.isEmpty() && QKeySequence(key->keyCombination()) == FClickKey) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}
