#include "controls/KitCtrls.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "controls/KitUtils.h"
#include "controls/MaxMin.h"

namespace {

int AlignFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

// The accelerator key of a caption with "&" marks, or an empty sequence.
QKeySequence AccelOf(const QString& caption) { return QKeySequence::mnemonic(caption); }

// Keeps `accel` in step with `key`: no shortcut for an empty key, otherwise a
// window-wide shortcut of `owner` that runs `activated`.
template <class TActivated>
void SetAccelKey(QWidget* owner, QShortcut*& accel, const QKeySequence& key, TActivated activated) {
  if (key.isEmpty()) {
    delete accel;
    accel = nullptr;
    return;
  }
  if (!accel) {
    accel = new QShortcut(owner);
    accel->setContext(Qt::WindowShortcut);
    QObject::connect(accel, &QShortcut::activated, owner, activated);
  }
  accel->setKey(key);
}

// Whether the mouse at globalPos is over the control for its enter and leave
// notices: the control is enabled, topmost there and the program is in front.
bool MouseOver(QWidget* control, const QPoint& globalPos) {
  return control->isEnabled() && QApplication::widgetAt(globalPos) == control && IsForegroundTask();
}

}  // namespace

// ===========================================================================
// Shadowed text

int DrawShadowText(QPainter& canvas, const QString& text, QRect& rect, int flags, bool calcRect, int shadowSize,
                   const QColor& shadowColor, TShadowPosition shadowPos) {
  const int s = shadowSize;
  QRect textRect = rect;
  QRect shadowRect = rect;
  switch (shadowPos) {
    case spLeftTop: shadowRect.translate(-s, -s); break;
    case spLeftBottom: shadowRect.translate(-s, s); break;
    case spRightBottom: shadowRect.translate(s, s); break;
    case spRightTop: shadowRect.translate(s, -s); break;
  }
  auto draw = [&](QRect& r) -> int {
    if (text.isEmpty()) {
      if (calcRect) r.setSize(QSize(0, 0));
      return 0;
    }
    if (calcRect) {
      const int measureFlags = (flags & ~Qt::AlignHorizontal_Mask & ~Qt::AlignVertical_Mask) | Qt::AlignLeft |
                               Qt::AlignTop;
      QRect bounds = canvas.boundingRect(r, measureFlags, text);
      r = QRect(r.topLeft(), bounds.size());
      return bounds.height();
    }
    QRect bounds;
    canvas.drawText(r, flags, text, &bounds);
    return bounds.height();
  };
  const QPen oldPen = canvas.pen();
  canvas.setPen(shadowColor);
  int result = draw(shadowRect);
  if (result > 0) result += s;
  canvas.setPen(oldPen);
  draw(textRect);
  rect = textRect.united(shadowRect);
  return result;
}

// ===========================================================================
// TKitLabel

TKitLabel::TKitLabel(QWidget* parent) : QWidget(parent) {
  setProperty(kKitGraphicControl, true);
  FShadowColor = clBtnHighlight();
  FColor = clBtnFace();
  resize(65, 17);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

TKitLabel::~TKitLabel() = default;

void TKitLabel::SetCaption(const QString& value) {
  if (FCaption == value) return;
  FCaption = value;
  UpdateAccel();
  update();
  AdjustBounds();
}

void TKitLabel::SetFocusControl(QWidget* value) {
  FFocusControl = value;  // QPointer: cleared when that control goes away
  if (FShowFocus) update();
}

void TKitLabel::SetAlignment(TAlignment value) {
  if (FAlignment == value) return;
  FAlignment = value;
  update();
}

void TKitLabel::SetAutoSize(bool value) {
  if (FAutoSize == value) return;
  FAutoSize = value;
  AdjustBounds();
}

void TKitLabel::SetLayout(TTextLayout value) {
  if (FLayout == value) return;
  FLayout = value;
  update();
}

void TKitLabel::SetShadowColor(const QColor& value) {
  if (FShadowColor == value) return;
  FShadowColor = value;
  update();
}

void TKitLabel::SetShadowSize(uint8_t value) {
  if (FShadowSize == value) return;
  FShadowSize = value;
  AdjustBounds();
  update();
}

void TKitLabel::SetShadowPos(TShadowPosition value) {
  if (FShadowPos == value) return;
  FShadowPos = value;
  update();
}

void TKitLabel::SetWordWrap(bool value) {
  if (FWordWrap == value) return;
  FWordWrap = value;
  AdjustBounds();
}

void TKitLabel::SetShowAccelChar(bool value) {
  if (FShowAccelChar == value) return;
  FShowAccelChar = value;
  UpdateAccel();
  update();
}

void TKitLabel::SetShowFocus(bool value) {
  if (FShowFocus == value) return;
  FShowFocus = value;
  update();
}

void TKitLabel::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  update();
}

void TKitLabel::SetColor(const QColor& value) {
  if (FColor == value) return;
  FColor = value;
  update();
}

QColor TKitLabel::FontColor() const { return palette().color(QPalette::WindowText); }

void TKitLabel::SetFontColor(const QColor& value) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, value);
  setPalette(pal);
  update();
}

QString TKitLabel::GetLabelText() const { return FCaption; }
QColor TKitLabel::GetDefaultFontColor() const { return FontColor(); }

int TKitLabel::TextFlags() const {
  int flags = Qt::TextExpandTabs | Qt::AlignTop | AlignFlag(FAlignment);
  if (FWordWrap) flags |= Qt::TextWordWrap;
  if (FShowAccelChar) flags |= Qt::TextShowMnemonic;
  return flags;
}

void TKitLabel::DoDrawText(QPainter& canvas, QRect& rect, int flags, bool calcRect) {
  QString text = GetLabelText();
  if (calcRect && (text.isEmpty() || (FShowAccelChar && text == QStringLiteral("&")))) text += QLatin1Char(' ');
  canvas.setFont(font());
  canvas.setPen(GetDefaultFontColor());
  int shadowSize = FShadowSize;
  QColor shadowColor = FShadowColor;
  TShadowPosition shadowPos = FShadowPos;
  if (!isEnabled()) {
    canvas.setPen(clGrayText());
    shadowColor = clBtnHighlight();
    if (shadowSize == 0) {
      shadowSize = 1;
      shadowPos = spRightBottom;
    }
  }
  DrawShadowText(canvas, text, rect, flags, calcRect, shadowSize, shadowColor, shadowPos);
}

QRect TKitLabel::MeasureText() const {
  // Measured on an image of the screen's resolution, as the label is
  // measured before it is ever painted.
  QImage scratch(1, 1, QImage::Format_RGB32);
  scratch.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
  scratch.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  QPainter canvas(&scratch);
  QRect r = QRect(0, 0, width(), height()).adjusted(1, 0, -1, 0);
  int flags = Qt::TextExpandTabs | Qt::AlignTop | Qt::AlignLeft;
  if (FWordWrap) flags |= Qt::TextWordWrap;
  if (FShowAccelChar) flags |= Qt::TextShowMnemonic;
  const_cast<TKitLabel*>(this)->DoDrawText(canvas, r, flags, true);
  return r.adjusted(-1, 0, 1, 0);
}

void TKitLabel::AdjustBounds() {
  if (!FAutoSize) return;
  const QRect r = MeasureText();
  const int newWidth = r.x() + r.width();  // the right edge, the rectangle starting at the origin
  const int newHeight = r.y() + r.height();
  int left = x();
  const bool keepRight = (FAlignment == taRightJustify) != (layoutDirection() == Qt::RightToLeft);
  if (keepRight) left += width() - newWidth;
  setGeometry(left, y(), newWidth, newHeight);
}

QSize TKitLabel::sizeHint() const {
  if (!FAutoSize) return size();
  const QRect r = MeasureText();
  return QSize(r.x() + r.width(), r.y() + r.height());
}

void TKitLabel::paintEvent(QPaintEvent*) {
  if (!isEnabled()) FPressed = false;
  QPainter canvas(this);
  if (!FTransparent) canvas.fillRect(rect(), FColor);
  canvas.setBrush(Qt::NoBrush);
  QRect r = rect().adjusted(1, 0, -1, 0);
  const int flags = TextFlags();
  if (FLayout != tlTop) {
    QRect measured = r;
    DoDrawText(canvas, measured, flags, true);
    r.setLeft(0);
    r.setRight(width() - 1);
    int dy = height() - (measured.y() + measured.height());
    if (FLayout == tlCenter) dy /= 2;
    r.translate(0, dy);
  }
  DoDrawText(canvas, r, flags, false);
  if (FShowFocus && FFocusControl && FFocused) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = r.adjusted(-1, 0, 1, 0);
    option.backgroundColor = FColor;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &canvas, this);
  }
}

void TKitLabel::UpdateAccel() {
  SetAccelKey(this, FAccel, FShowAccelChar ? AccelOf(FCaption) : QKeySequence(), [this] { AccelActivated(); });
}

void TKitLabel::AccelActivated() {
  QWidget* target = FFocusControl;
  if (!target || !isEnabled() || !FShowAccelChar) return;
  if (!target->isEnabled() || !target->isVisible() || target->focusPolicy() == Qt::NoFocus) return;
  target->setFocus(Qt::ShortcutFocusReason);
}

void TKitLabel::FocusChanged(QWidget* now) {
  const bool focused = FFocusControl && now == FFocusControl;
  if (focused == FFocused) return;
  FFocused = focused;
  if (FShowFocus) update();
}

void TKitLabel::UpdateTracking(const QPoint& globalPos) {
  const bool inside = MouseOver(this, globalPos);
  if (inside == FMouseInControl) return;
  FMouseInControl = inside;
  if (inside)
    MouseEnter();
  else
    MouseLeave();
}

void TKitLabel::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKitLabel::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKitLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && isEnabled()) FPressed = true;
  if (event->button() == Qt::RightButton) UpdateTracking(event->globalPosition().toPoint());
}

void TKitLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool wasPressed = FPressed;
  if (event->button() == Qt::LeftButton) FPressed = false;
  QPointer<TKitLabel> self(this);
  if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
    OnClick(this);
  if (self) UpdateTracking(event->globalPosition().toPoint());
}

void TKitLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
  if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

void TKitLabel::enterEvent(QEnterEvent*) {
  if (!FMouseInControl && isEnabled() && IsForegroundTask()) {
    FMouseInControl = true;
    MouseEnter();
  }
}

void TKitLabel::leaveEvent(QEvent*) {
  if (FMouseInControl && isEnabled() && !FPressed) {
    FMouseInControl = false;
    MouseLeave();
  }
}

void TKitLabel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  switch (event->type()) {
    case QEvent::FontChange: AdjustBounds(); break;
    case QEvent::EnabledChange:
      UpdateTracking(QCursor::pos());
      update();
      break;
    default: break;
  }
}

void TKitLabel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateTracking(QCursor::pos());
}

// ===========================================================================
// TGlyphList and TGlyphCache

TGlyphList::TGlyphList(int width, int height) : FWidth(width), FHeight(height) {}

int TGlyphList::AllocSlot() {
  for (size_t i = 0; i < UsedSlots.size(); ++i)
    if (!UsedSlots[i]) return static_cast<int>(i);
  UsedSlots.push_back(false);
  FImages.emplace_back();
  return static_cast<int>(UsedSlots.size()) - 1;
}

int TGlyphList::Add(const QImage& image, const QImage& mask) {
  QImage slot(FWidth, FHeight, QImage::Format_ARGB32);
  slot.fill(Qt::transparent);
  for (int y = 0; y < FHeight && y < image.height(); ++y)
    for (int x = 0; x < FWidth && x < image.width(); ++x) {
      const bool clear = !mask.isNull() && x < mask.width() && y < mask.height() &&
                         (mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
      if (!clear) slot.setPixel(x, y, image.pixel(x, y) | 0xFF000000u);
    }
  const int index = AllocSlot();
  FImages[static_cast<size_t>(index)] = slot;
  UsedSlots[static_cast<size_t>(index)] = true;
  ++FCount;
  return index;
}

int TGlyphList::AddMasked(const QImage& image, const QColor& maskColor) {
  QImage mask(image.size(), QImage::Format_RGB32);
  mask.fill(Qt::black);
  const QRgb key = maskColor.rgb() & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == key) mask.setPixel(x, y, 0xFFFFFFFFu);
  return Add(image, mask);
}

void TGlyphList::Delete(int index) {
  if (index < 0 || index >= static_cast<int>(UsedSlots.size()) || !UsedSlots[static_cast<size_t>(index)]) return;
  UsedSlots[static_cast<size_t>(index)] = false;
  FImages[static_cast<size_t>(index)] = QImage();
  --FCount;
}

QImage TGlyphList::Image(int index) const {
  if (index < 0 || index >= static_cast<int>(FImages.size())) return QImage();
  return FImages[static_cast<size_t>(index)];
}

void TGlyphList::Draw(QPainter& canvas, int x, int y, int index) const {
  if (index < 0 || index >= static_cast<int>(FImages.size()) || !UsedSlots[static_cast<size_t>(index)]) return;
  canvas.drawImage(x, y, FImages[static_cast<size_t>(index)]);
}

namespace {
TGlyphCache* gGlyphCache = nullptr;
TGlyphCache* EnsureGlyphCache() {
  if (!gGlyphCache) gGlyphCache = new TGlyphCache;
  return gGlyphCache;
}
}  // namespace

TGlyphCache* GlyphCacheInstance() { return gGlyphCache; }

TGlyphList* TGlyphCache::GetList(int width, int height) {
  for (auto it = Lists.rbegin(); it != Lists.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
  Lists.push_back(std::make_unique<TGlyphList>(width, height));
  return Lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
  if (!list || list->Count() != 0) return;
  for (auto it = Lists.begin(); it != Lists.end(); ++it)
    if (it->get() == list) {
      Lists.erase(it);
      return;
    }
}

// ===========================================================================
// TKitButtonGlyph

TKitButtonGlyph::TKitButtonGlyph() : TransparentColor(clFuchsiaColor()) { EnsureGlyphCache(); }

TKitButtonGlyph::~TKitButtonGlyph() {
  Invalidate();
  if (gGlyphCache && gGlyphCache->Empty()) {
    delete gGlyphCache;
    gGlyphCache = nullptr;
  }
}

void TKitButtonGlyph::Invalidate() {
  for (int& index : StateIndexes) {
    if (index != -1 && GlyphList) GlyphList->Delete(index);
    index = -1;
  }
  if (GlyphList) {
    if (gGlyphCache) gGlyphCache->ReturnList(GlyphList);
    GlyphList = nullptr;
  }
}

void TKitButtonGlyph::GlyphChanged() {
  Invalidate();
  if (SourceGlyph.height() > 0) {
    if (SourceGlyph.width() > 0)
      TransparentColor = QColor::fromRgb(SourceGlyph.pixel(0, SourceGlyph.height() - 1) & 0xFFFFFF);
    if (SourceGlyph.width() % SourceGlyph.height() == 0) {
      const int n = SourceGlyph.width() / SourceGlyph.height();
      if (n > 5)
        FNumGlyphs = 1;
      else if (n >= 1)
        FNumGlyphs = n;
    }
  }
  if (OnChange) OnChange();
}

void TKitButtonGlyph::SetGlyph(const QImage& value) {
  Invalidate();
  SourceGlyph = value;
  GlyphChanged();
}

void TKitButtonGlyph::SetGlyph(const QImage& value, const QColor& transparentColor) {
  Invalidate();
  SourceGlyph = value;
  GlyphChanged();
  TransparentColor = transparentColor;
}

void TKitButtonGlyph::SetNumGlyphs(int value) {
  if (value <= 0 || value == FNumGlyphs) return;
  Invalidate();
  FNumGlyphs = value;
  if (OnChange) OnChange();
}

QRgb TKitButtonGlyph::MapColor(QRgb colour, QRgb transparent) {
  const QRgb c = colour & 0xFFFFFF;
  if (c == (transparent & 0xFFFFFF) || c == (clBtnFace().rgb() & 0xFFFFFF)) return colour;
  const int grey = (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8;
  return qRgb(grey, grey, grey);
}

int TKitButtonGlyph::CreateButtonGlyph(TButtonState state) {
  if (state == bsDown && FNumGlyphs < 3) state = bsUp;
  int& slot = StateIndexes[static_cast<size_t>(state)];
  if (slot != -1) return slot;
  if (SourceGlyph.isNull() || SourceGlyph.width() == 0 || SourceGlyph.height() == 0) return -1;
  const int w = SourceGlyph.width() / FNumGlyphs;
  const int h = SourceGlyph.height();
  if (w <= 0) return -1;
  if (!GlyphList) GlyphList = EnsureGlyphCache()->GetList(w, h);
  const QImage source = SourceGlyph.convertToFormat(QImage::Format_RGB32);
  const bool enough = (state == bsDisabled && FNumGlyphs >= 2) || (state == bsInactive && FNumGlyphs >= 5) ||
                      state == bsUp || state == bsDown || state == bsExclusive;
  if (enough) {
    int n = static_cast<int>(state);
    if (n >= FNumGlyphs) n = 0;
    slot = GlyphList->AddMasked(source.copy(n * w, 0, w, h), TransparentColor);
  } else if (state == bsDisabled) {
    QImage disabled = CreateDisabledBitmap(SourceGlyph, Qt::black).copy(0, 0, w, h);
    slot = GlyphList->AddMasked(disabled, clBtnFace());
  } else {  // inactive: a grey copy of image 1
    QImage grey = source.copy(0, 0, w, h);
    const QRgb key = TransparentColor.rgb();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) grey.setPixel(x, y, MapColor(grey.pixel(x, y), key));
    slot = GlyphList->AddMasked(grey, TransparentColor);
  }
  return slot;
}

QSize TKitButtonGlyph::GlyphSize(const std::vector<QImage>* images, int imageIndex) const {
  if (images && imageIndex >= 0 && imageIndex < static_cast<int>(images->size()))
    return (*images)[static_cast<size_t>(imageIndex)].size();
  if (!SourceGlyph.isNull() && FNumGlyphs > 0) return QSize(SourceGlyph.width() / FNumGlyphs, SourceGlyph.height());
  return QSize(0, 0);
}

QString TKitButtonGlyph::MinimizeCaption(QPainter& canvas, const QString& caption, int width) const {
  if (WordWrap) return caption;
  const QStringList lines = caption.left(255).split(QLatin1Char('\n'));
  QStringList result;
  const QFontMetrics fm = canvas.fontMetrics();
  for (const QString& line : lines) {
    QString cut = MinimizeText(line, fm, width);
    while (cut.endsWith(QLatin1Char(' '))) cut.chop(1);
    result << cut;
  }
  return result.join(QLatin1Char('\n'));
}

void TKitButtonGlyph::CalcButtonLayout(QPainter& canvas, const QRect& client, QString& caption,
                                       TButtonLayout layout, int margin, int spacing, bool popupMark,
                                       const std::vector<QImage>* images, int imageIndex, QPoint& glyphPos,
                                       QRect& textBounds, int textFlags) {
  const int cx = client.width(), cy = client.height();
  const QSize glyph = GlyphSize(images, imageIndex);
  int gx = glyph.width(), gy = glyph.height();
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  int roomW, roomH;
  if (horizontal) {
    roomW = cx - gx - (spacing != -1 ? spacing : 0) - (margin != -1 ? margin : 0) - (popupMark ? 9 : 0);
    roomH = cy;
  } else {
    roomW = cx;
    roomH = cy - gy - (spacing != -1 ? spacing : 0) - (margin != -1 ? margin : 0);
  }
  roomW = Max(roomW, 0);
  roomH = Max(roomH, 0);
  caption = MinimizeCaption(canvas, caption, roomW);
  int tx = 0, ty = 0;
  if (!caption.isEmpty()) {
    int flags = Qt::AlignLeft | Qt::AlignTop | (textFlags & ~Qt::AlignHorizontal_Mask & ~Qt::AlignVertical_Mask);
    if (WordWrap) flags |= Qt::TextWordWrap;
    const QRect measured = canvas.boundingRect(QRect(0, 0, roomW, 0), flags, caption);
    tx = Min(measured.width(), roomW);
    ty = Min(measured.height(), roomH);
  }
  if (popupMark) {
    if (gx == 0 || layout == blGlyphLeft)
      tx += 9;
    else
      gx += 6;
  }
  QPoint g, t;
  if (horizontal) {
    g.setY(cy / 2 - gy / 2);
    t.setY(cy / 2 - ty / 2);
  } else {
    g.setX(cx / 2 - gx / 2);
    t.setX(cx / 2 - tx / 2);
  }
  const int total = horizontal ? cx : cy;
  const int gMain = horizontal ? gx : gy;
  const int tMain = horizontal ? tx : ty;
  if (tMain == 0 || gMain == 0) spacing = 0;
  if (margin == -1) {
    if (spacing != -1) {
      margin = total / 2 - (gMain + spacing + tMain) / 2;
    } else {
      margin = (total - (gMain + tMain)) / 3;
      spacing = margin;
    }
  } else if (spacing == -1) {
    spacing = (total - margin - gMain) / 2 - tMain / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      g.setX(margin);
      t.setX(g.x() + gx + spacing);
      break;
    case blGlyphRight:
      g.setX(cx - margin - gx);
      t.setX(g.x() - spacing - tx);
      break;
    case blGlyphTop:
      g.setY(margin);
      t.setY(g.y() + gy + spacing);
      break;
    case blGlyphBottom:
      g.setY(cy - margin - gy);
      t.setY(g.y() - spacing - ty);
      break;
  }
  glyphPos = g + client.topLeft();
  textBounds = QRect(t + client.topLeft(), QSize(tx, ty));
}

void TKitButtonGlyph::DrawButtonGlyph(QPainter& canvas, const QPoint& pos, TButtonState state) {
  const int index = CreateButtonGlyph(state);
  if (index >= 0 && GlyphList) GlyphList->Draw(canvas, pos.x(), pos.y(), index);
}

void TKitButtonGlyph::DrawButtonImage(QPainter& canvas, const QPoint& pos, const std::vector<QImage>& images,
                                      int index, TButtonState state) {
  const QImage& image = images[static_cast<size_t>(index)];
  if (state == bsDisabled) {
    ImageListDrawDisabled(image, canvas, pos.x(), pos.y(), clBtnHighlight(), clBtnShadow(), true);
  } else if (state == bsInactive) {
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y)
      for (int x = 0; x < grey.width(); ++x) {
        const QRgb p = grey.pixel(x, y);
        grey.setPixel(x, y, (MapColor(p, 0xFF000000u | clBtnFace().rgb()) & 0xFFFFFF) | (p & 0xFF000000u));
      }
    canvas.drawImage(pos, grey);
  } else {
    canvas.drawImage(pos, image);
  }
}

void TKitButtonGlyph::DrawButtonText(QPainter& canvas, const QString& caption, const QRect& textBounds,
                                     TButtonState state, int textFlags) {
  if (caption.isEmpty()) return;
  canvas.setBrush(Qt::NoBrush);
  int flags = textFlags | Qt::AlignVCenter;
  if (WordWrap) flags |= Qt::TextWordWrap;
  if (state == bsDisabled) {
    canvas.setPen(clBtnHighlight());
    canvas.drawText(textBounds.translated(1, 1), flags, caption);
    canvas.setPen(clBtnShadow());
    canvas.drawText(textBounds, flags, caption);
  } else {
    canvas.setPen(clBtnText());
    canvas.drawText(textBounds, flags, caption);
  }
}

void DrawMarkArrow(QPainter& canvas, int x, int y, const QColor& colour) {
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setPen(Qt::NoPen);
  canvas.setBrush(Qt::NoBrush);
  canvas.fillRect(QRect(x, y - 1, 7, 1), colour);
  canvas.fillRect(QRect(x + 1, y, 5, 1), colour);
  canvas.fillRect(QRect(x + 2, y + 1, 3, 1), colour);
  canvas.fillRect(QRect(x + 3, y + 2, 1, 1), colour);
  canvas.restore();
}

void TKitButtonGlyph::DrawPopupMark(QPainter& canvas, int x, int y, TButtonState state) {
  if (state == bsDisabled) {
    DrawMarkArrow(canvas, x + 1, y + 1, clBtnHighlight());
    DrawMarkArrow(canvas, x, y, clBtnShadow());
  } else {
    DrawMarkArrow(canvas, x, y, clBtnText());
  }
}

QRect TKitButtonGlyph::Draw(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout,
                            int margin, int spacing, bool popupMark, TButtonState state, int textFlags) {
  return DrawEx(canvas, client, caption, layout, margin, spacing, popupMark, nullptr, -1, state, textFlags);
}

QRect TKitButtonGlyph::DrawEx(QPainter& canvas, const QRect& client, const QString& caption, TButtonLayout layout,
                              int margin, int spacing, bool popupMark, const std::vector<QImage>* images,
                              int imageIndex, TButtonState state, int textFlags) {
  QString text = caption;
  QPoint glyphPos;
  QRect textBounds;
  CalcButtonLayout(canvas, client, text, layout, margin, spacing, popupMark, images, imageIndex, glyphPos,
                   textBounds, textFlags);
  const QSize glyph = GlyphSize(images, imageIndex);
  const bool useImages = images && imageIndex >= 0 && imageIndex < static_cast<int>(images->size()) &&
                         (*images)[static_cast<size_t>(imageIndex)].width() >= 1;
  if (useImages)
    DrawButtonImage(canvas, glyphPos, *images, imageIndex, state);
  else
    DrawButtonGlyph(canvas, glyphPos, state);
  const bool hasGlyph = glyph.width() > 0;
  // With the mark beside the caption its room was added to the text box.
  QRect captionBounds = textBounds;
  if (popupMark && (!hasGlyph || layout == blGlyphLeft)) captionBounds.setWidth(Max(0, captionBounds.width() - 9));
  DrawButtonText(canvas, text, captionBounds, state, textFlags);
  if (popupMark) {
    int x, y;
    if (layout != blGlyphLeft && hasGlyph) {
      x = glyphPos.x() + glyph.width() + 1;
      y = glyphPos.y() + glyph.height() / 2;
    } else {
      x = text.isEmpty() ? (client.left() + client.left() + client.width() - 7) / 2
                         : captionBounds.x() + captionBounds.width() + 3;
      y = textBounds.y() + textBounds.height() / 2;
    }
    DrawPopupMark(canvas, x, y, state);
  }
  return textBounds;
}

// ===========================================================================
// Frames

void Frame3D(QPainter& canvas, QRect& rect, const QColor& topColor, const QColor& bottomColor) {
  const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
  canvas.fillRect(QRect(l, t, 1, b - t + 1), topColor);
  canvas.fillRect(QRect(l, t, r - l, 1), topColor);
  canvas.fillRect(QRect(r, t, 1, b - t + 1), bottomColor);
  canvas.fillRect(QRect(l, b, r - l + 1, 1), bottomColor);
  rect.adjust(1, 1, -1, -1);
}

QRect DrawButtonFrame(QPainter& canvas, const QRect& rect, bool pressed, TButtonStyle style, bool flat) {
  const bool newStyle = style != bsWin31;
  QRect r = rect;
  if (pressed) {
    if (newStyle) {
      Frame3D(canvas, r, clWindowFrame(), clBtnHighlight());
      if (!flat) Frame3D(canvas, r, clBtnShadow(), clBtnFace());
    } else if (flat) {
      Frame3D(canvas, r, clWindowFrame(), clBtnHighlight());
    } else {
      Frame3D(canvas, r, clWindowFrame(), clWindowFrame());
      canvas.fillRect(QRect(r.left(), r.top(), 1, r.height()), clBtnShadow());
      canvas.fillRect(QRect(r.left(), r.top(), r.width(), 1), clBtnShadow());
    }
  } else {
    if (newStyle) {
      if (flat) {
        Frame3D(canvas, r, clBtnHighlight(), clBtnShadow());
      } else {
        Frame3D(canvas, r, clBtnHighlight(), clWindowFrame());
        Frame3D(canvas, r, clBtnFace(), clBtnShadow());
      }
    } else if (flat) {
      Frame3D(canvas, r, clBtnHighlight(), clWindowFrame());
    } else {
      Frame3D(canvas, r, clWindowFrame(), clWindowFrame());
      Frame3D(canvas, r, clBtnHighlight(), clBtnShadow());
    }
  }
  r.adjust(1, 1, -1, -1);
  return r;
}

// ===========================================================================
// TKitSpeedButton

namespace {

// Fills a rectangle with the checkered pattern of a held-down button.
void FillChecker(QPainter& canvas, const QRect& rect) {
  QImage pattern(8, 8, QImage::Format_RGB32);
  const QRgb face = clBtnFace().rgb(), light = clBtnHighlight().rgb();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.setPixel(x, y, ((x + y) & 1) ? face : light);
  canvas.fillRect(rect, QBrush(pattern));
}

}  // namespace

TKitSpeedButton::TKitSpeedButton(QWidget* parent) : QWidget(parent), FGlyph(std::make_unique<TKitButtonGlyph>()) {
  setProperty(kKitGraphicControl, true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(25, 25);
  FGlyph->OnChange = [this] { update(); };
}

TKitSpeedButton::~TKitSpeedButton() {
  if (FDropDownMenu) FDropDownMenu->removeEventFilter(this);
}

void TKitSpeedButton::SetCaption(const QString& value) {
  if (FCaption == value) return;
  FCaption = value;
  UpdateAccel();
  update();
}

void TKitSpeedButton::UpdateAccel() {
  SetAccelKey(this, FAccel, AccelOf(FCaption), [this] {
    if (isEnabled()) Click();
  });
}

void TKitSpeedButton::SetGroupIndex(int value) {
  if (FGroupIndex == value) return;
  FGroupIndex = value;
  UpdateExclusive();
}

void TKitSpeedButton::SetAllowAllUp(bool value) {
  if (FAllowAllUp == value) return;
  FAllowAllUp = value;
  UpdateExclusive();
}

void TKitSpeedButton::SetStyle(TButtonStyle value) {
  if (FStyle == value) return;
  FStyle = value;
  update();
}

void TKitSpeedButton::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  update();
}

void TKitSpeedButton::SetLayout(TButtonLayout value) {
  if (FLayout == value) return;
  FLayout = value;
  update();
}

void TKitSpeedButton::SetSpacing(int value) {
  if (FSpacing == value) return;
  FSpacing = value;
  update();
}

void TKitSpeedButton::SetMargin(int value) {
  if (FMargin == value || value < -1) return;
  FMargin = value;
  update();
}

void TKitSpeedButton::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  setAttribute(Qt::WA_OpaquePaintEvent, !value);
  update();
}

void TKitSpeedButton::SetMarkDropDown(bool value) {
  if (FMarkDropDown == value) return;
  FMarkDropDown = value;
  update();
}

void TKitSpeedButton::SetGrayedInactive(bool value) {
  if (FGrayedInactive == value) return;
  FGrayedInactive = value;
  update();
}

void TKitSpeedButton::SetWordWrap(bool value) {
  if (FGlyph->WordWrap == value) return;
  FGlyph->WordWrap = value;
  update();
}

void TKitSpeedButton::SetAlignment(TAlignment value) {
  if (FGlyph->Alignment == value) return;
  FGlyph->Alignment = value;
  update();
}

void TKitSpeedButton::SetDropDownMenu(QMenu* value) {
  FDropDownMenu = value;  // QPointer: cleared when the menu goes away
  if (FMarkDropDown) update();
}

void TKitSpeedButton::SetAllowTimer(bool value) {
  FAllowTimer = value;
  if (!value && FRepeatTimer) {
    FRepeatTimer->stop();
    delete FRepeatTimer;
    FRepeatTimer = nullptr;
  }
}

void TKitSpeedButton::SetGlyph(const QImage& value) {
  FGlyph->SetGlyph(value);
  update();
}

void TKitSpeedButton::SetGlyph(const QImage& value, const QColor& transparentColor) {
  FGlyph->SetGlyph(value, transparentColor);
  update();
}

void TKitSpeedButton::SetNumGlyphs(int value) {
  if (value > 5) value = 5;
  if (value == FGlyph->NumGlyphs()) return;
  FGlyph->SetNumGlyphs(value);
  update();
}

void TKitSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  if (value) {
    if (FState == bsUp) update();
    FState = bsExclusive;
  } else {
    FState = bsUp;
  }
  update();
  if (value) UpdateExclusive();
}

void TKitSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !parentWidget()) return;
  for (QObject* o : parentWidget()->children())
    if (auto* b = qobject_cast<TKitSpeedButton*>(o)) b->ButtonPressed(FGroupIndex, this);
}

void TKitSpeedButton::ButtonPressed(int groupIndex, TKitSpeedButton* sender) {
  if (sender == this || groupIndex != FGroupIndex || !sender) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    update();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TKitSpeedButton::SetAction(QAction* value) {
  if (FAction) disconnect(FAction, nullptr, this, nullptr);
  FAction = value;
  if (FAction) {
    connect(FAction, &QAction::changed, this, [this] { ActionChange(); });
    ActionChange();
  }
}

void TKitSpeedButton::ActionChange() {
  if (!FAction) return;
  SetCaption(FAction->text());
  setEnabled(FAction->isEnabled());
  setToolTip(FAction->toolTip());
  if (FAction->isCheckable() && FGroupIndex != 0) SetDown(FAction->isChecked());
  if (Glyph().isNull() && !FAction->icon().isNull()) {
    // Copy the action's image onto a fuchsia ground that stays see-through.
    const QList<QSize> sizes = FAction->icon().availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
    QImage image(size, QImage::Format_RGB32);
    image.fill(clFuchsiaColor());
    QPainter canvas(&image);
    canvas.drawPixmap(0, 0, FAction->icon().pixmap(size));
    canvas.end();
    SetGlyph(image, clFuchsiaColor());
  }
}

void TKitSpeedButton::Click() {
  QPointer<TKitSpeedButton> self(this);
  if (FModalResult != 0)
    if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->done(FModalResult);
  if (!self) return;
  if (OnClick)
    OnClick(this);
  else if (FAction)
    FAction->trigger();
}

bool TKitSpeedButton::Inside(const QPoint& pos) const {
  return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() <= height();
}

QPoint TKitSpeedButton::GetDropDownMenuPos() const {
  if (!FDropDownMenu) return QPoint(0, 0);
  // Our menus open left-aligned at the point given.
  if (FMenuPosition == dmpBottom) return QPoint(-1, height());
  return QPoint(width(), -1);
}

bool TKitSpeedButton::CheckMenuDropDown(const QPoint& pos, bool forced) {
  Q_UNUSED(forced);
  if (!FDropDownMenu) return false;
  QPointer<QMenu> menu = FDropDownMenu;
  menu->installEventFilter(this);
  menu->exec(mapToGlobal(pos));
  if (menu) {
    menu->removeEventFilter(this);
    menu->setAttribute(Qt::WA_NoMouseReplay, false);
  }
  return true;
}

bool TKitSpeedButton::eventFilter(QObject* watched, QEvent* event) {
  // The press that closes the drop-down menu on this button must not press
  // it again: such a press is not handed back to the button.
  if (watched == FDropDownMenu && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mapFromGlobal(mouse->globalPosition().toPoint());
    if (Inside(local) && !FDropDownMenu->rect().contains(mouse->position().toPoint()))
      FDropDownMenu->setAttribute(Qt::WA_NoMouseReplay, true);
  }
  return QWidget::eventFilter(watched, event);
}

void TKitSpeedButton::MouseDown(QMouseEvent* event) {
  if (FMenuTracking) return;
  if (isEnabled() && !FMouseInControl) {
    FMouseInControl = true;
    update();
  }
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    update();
  }
  FPressed = true;
  FMenuTracking = true;
  struct TClearTracking {
    QPointer<TKitSpeedButton> b;
    ~TClearTracking() {
      if (b) b->FMenuTracking = false;
    }
  } clearTracking{this};
  const QPoint pos = event->position().toPoint();
  if (FDropDownMenu) {
    repaint();
    QPointer<TKitSpeedButton> self(this);
    if (CheckMenuDropDown(GetDropDownMenuPos(), false) && self) DoMouseUp(Qt::LeftButton, pos);
    if (!self) return;
  }
  FMenuTracking = false;
  if (FAllowTimer) {
    if (!FRepeatTimer) {
      FRepeatTimer = new QTimer(this);
      connect(FRepeatTimer, &QTimer::timeout, this, [this] { TimerExpired(); });
    }
    FRepeatTimer->setInterval(FInitPause);
    FRepeatTimer->start();
  }
}

void TKitSpeedButton::MouseMove(const QPoint& pos) {
  if (!FPressed) return;
  TButtonState newState;
  if (FDown)
    newState = bsExclusive;
  else
    newState = Inside(pos) ? bsDown : bsUp;
  if (newState != FState) {
    FState = newState;
    update();
  }
}

void TKitSpeedButton::MouseUp(Qt::MouseButton button, const QPoint& pos) {
  QPointer<TKitSpeedButton> self(this);
  DoMouseUp(button, pos);
  if (self && FRepeatTimer) FRepeatTimer->stop();
}

void TKitSpeedButton::DoMouseUp(Qt::MouseButton button, const QPoint& pos) {
  if (button != Qt::LeftButton || !FPressed) return;
  FPressed = false;
  const bool inside = Inside(pos);
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = false;
    update();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) update();
  } else {
    if (FDown) FState = bsExclusive;
    update();
  }
  QPointer<TKitSpeedButton> self(this);
  if (inside && !FMenuTracking) Click();
  if (self) UpdateTracking(mapToGlobal(pos));
}

void TKitSpeedButton::TimerExpired() {
  if (!FRepeatTimer) return;
  FRepeatTimer->setInterval(FRepeatInterval);
  if (FState == bsDown && FPressed) {
    try {
      Click();
    } catch (...) {
      if (FRepeatTimer) FRepeatTimer->stop();
      throw;
    }
  }
}

void TKitSpeedButton::UpdateTracking(const QPoint& globalPos) {
  const bool inside = MouseOver(this, globalPos);
  if (inside == FMouseInControl) return;
  FMouseInControl = inside;
  if (FFlat) update();
  if (inside)
    MouseEnter();
  else
    MouseLeave();
}

void TKitSpeedButton::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKitSpeedButton::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKitSpeedButton::mousePressEvent(QMouseEvent* event) {
  MouseDown(event);
  if (event->button() == Qt::RightButton) UpdateTracking(event->globalPosition().toPoint());
}

void TKitSpeedButton::mouseMoveEvent(QMouseEvent* event) { MouseMove(event->position().toPoint()); }

void TKitSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  MouseUp(event->button(), event->position().toPoint());
  if (event->button() == Qt::RightButton) UpdateTracking(event->globalPosition().toPoint());
}

void TKitSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (FMenuTracking) return;
  QPointer<TKitSpeedButton> self(this);
  MouseDown(event);
  if (self && FDown && OnDblClick) OnDblClick(this);
}

void TKitSpeedButton::enterEvent(QEnterEvent*) {
  if (!FMouseInControl && isEnabled() && IsForegroundTask()) {
    FMouseInControl = true;
    if (FFlat) update();
    MouseEnter();
  }
}

void TKitSpeedButton::leaveEvent(QEvent*) {
  if (FMouseInControl && isEnabled() && !FPressed) {
    FMouseInControl = false;
    if (FFlat) update();
    MouseLeave();
  }
}

void TKitSpeedButton::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  switch (event->type()) {
    case QEvent::EnabledChange:
      FGlyph->CreateButtonGlyph(isEnabled() ? (FFlat ? bsInactive : bsUp) : bsDisabled);
      UpdateTracking(QCursor::pos());
      update();
      break;
    case QEvent::PaletteChange:
      FGlyph->Invalidate();
      update();
      break;
    case QEvent::FontChange: update(); break;
    default: break;
  }
}

void TKitSpeedButton::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateTracking(QCursor::pos());
}

void TKitSpeedButton::paintEvent(QPaintEvent*) {
  if (!isEnabled()) {
    FState = bsDisabled;
    FPressed = false;
  } else if (FState == bsDisabled) {
    FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
  }
  const qreal ratio = devicePixelRatioF();
  if (FDrawBitmap.size() != size() * ratio || FDrawBitmap.devicePixelRatio() != ratio) {
    FDrawBitmap = QPixmap(size() * ratio);
    FDrawBitmap.setDevicePixelRatio(ratio);
  }
  {
    QPainter canvas(&FDrawBitmap);
    canvas.setFont(font());
    Paint(canvas);
  }
  QPainter(this).drawPixmap(0, 0, FDrawBitmap);
}

void TKitSpeedButton::Paint(QPainter& canvas) {
  const TButtonState paintState = (FFlat && !FMouseInControl) ? bsInactive : FState;
  canvas.fillRect(rect(), clBtnFace());
  if (FTransparent) CopyParentImage(this, canvas);
  QRect content;
  if (!(paintState == bsInactive && FState != bsExclusive))
    content = DrawButtonFrame(canvas, rect(), FState == bsDown || FState == bsExclusive, FStyle, FFlat);
  else
    content = rect().adjusted(2, 2, -2, -2);
  if (FState == bsExclusive && !FTransparent && (!FFlat || paintState == bsInactive))
    FillChecker(canvas, content.adjusted(-1, -1, 1, 1));
  if (FState == bsDown || FState == bsExclusive) content.translate(1, 1);
  const TButtonState glyphState = (FGrayedInactive && FState != bsDisabled) ? paintState : FState;
  PaintGlyph(canvas, content, glyphState, FMarkDropDown && FDropDownMenu);
}

void TKitSpeedButton::PaintGlyph(QPainter& canvas, const QRect& rect, TButtonState state, bool dropDownMark) {
  FGlyph->Draw(canvas, rect, FCaption, FLayout, FMargin, FSpacing, dropDownMark, state,
               AlignFlag(FGlyph->Alignment) | Qt::TextShowMnemonic);
}
