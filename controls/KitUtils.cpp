#include "controls/KitUtils.h"

#include <QApplication>
#include <QLabel>

#include "controls/KitConst.h"
#include "controls/MaxMin.h"

namespace {

// Marks a widget as painting a copy for as long as the guard lives.
class TPaintCopyMark {
 public:
  explicit TPaintCopyMark(QWidget* w) : w_(w), old_(w->property(kKitPaintCopy)) {
    w_->setProperty(kKitPaintCopy, true);
  }
  ~TPaintCopyMark() { w_->setProperty(kKitPaintCopy, old_); }
  TPaintCopyMark(const TPaintCopyMark&) = delete;
  TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

 private:
  QWidget* w_;
  QVariant old_;
};

bool IsMono(const QImage& image) {
  return image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
}

// Paints `colour` on `dest` at every pixel where `mask` is set, moved by (dx, dy).
void DrawThroughMask(QImage& dest, const std::vector<char>& mask, int w, int h, int dx, int dy,
                     const QColor& colour) {
  QRgb c = colour.rgb();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!mask[static_cast<size_t>(y * w + x)]) continue;
      int tx = x + dx, ty = y + dy;
      if (tx < 0 || ty < 0 || tx >= dest.width() || ty >= dest.height()) continue;
      dest.setPixel(tx, ty, c);
    }
}

}  // namespace

bool IsGraphicControl(const QWidget* w) {
  return w && (w->property(kKitGraphicControl).toBool() || qobject_cast<const QLabel*>(w) != nullptr);
}

bool IsPaintingCopy(const QWidget* w) { return w && w->property(kKitPaintCopy).toBool(); }

void CopyParentImage(QWidget* control, QPainter& target) {
  if (!control || !control->parentWidget()) return;
  QWidget* parent = control->parentWidget();
  TPaintCopyMark parentMark(parent);
  const QRect bounds = control->geometry();

  target.save();
  target.translate(-bounds.left(), -bounds.top());
  target.setClipRect(parent->rect(), Qt::IntersectClip);
  parent->render(&target, QPoint(), QRegion(parent->rect()), QWidget::DrawWindowBackground);
  target.restore();

  // Siblings lying below the control: those before it in the child order.
  for (QObject* o : parent->children()) {
    if (o == control) break;
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || !IsGraphicControl(w) || w->isHidden() || !w->geometry().intersects(bounds))
      continue;
    TPaintCopyMark mark(w);
    target.save();
    target.translate(w->x() - bounds.left(), w->y() - bounds.top());
    target.setClipRect(QRect(0, 0, w->width(), w->height()), Qt::IntersectClip);
    w->render(&target, QPoint(), QRegion(w->rect()), QWidget::RenderFlags());
    target.restore();
  }
}

QImage CreateDisabledBitmapEx(const QImage& source, const QColor& reference, const QColor& background,
                              const QColor& highlight, const QColor& shadow, bool drawHighlight) {
  const int w = source.width(), h = source.height();
  QImage result(w, h, QImage::Format_RGB32);
  if (w <= 0 || h <= 0) return result;
  // The mask marks the pixels that get the emboss colours.
  std::vector<char> mask(static_cast<size_t>(w) * h, 0);
  const bool mono = IsMono(source);
  const QRgb ref = reference.rgb() & 0xFFFFFF;
  const bool refWhite = ref == 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      QRgb p = source.pixel(x, y) & 0xFFFFFF;
      bool marked = mono ? (p == 0 || refWhite) : (p == ref);
      mask[static_cast<size_t>(y * w + x)] = marked ? 1 : 0;
    }
  result.fill(background.rgb());
  if (drawHighlight) DrawThroughMask(result, mask, w, h, 1, 1, highlight);
  DrawThroughMask(result, mask, w, h, 0, 0, shadow);
  return result;
}

QImage CreateDisabledBitmap(const QImage& source, const QColor& reference) {
  return CreateDisabledBitmapEx(source, reference, clBtnFace(), clBtnHighlight(), clBtnShadow(), true);
}

void ImageListDrawDisabled(const QImage& image, QPainter& canvas, int x, int y, const QColor& highlight,
                           const QColor& grey, bool drawHighlight) {
  if (image.isNull()) return;
  const QImage src = image.convertToFormat(QImage::Format_ARGB32);
  auto tinted = [&](const QColor& colour) {
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QRgb c = colour.rgb() | 0xFF000000u;
    for (int yy = 0; yy < src.height(); ++yy)
      for (int xx = 0; xx < src.width(); ++xx)
        if (qAlpha(src.pixel(xx, yy)) >= 128) out.setPixel(xx, yy, c);
    return out;
  };
  canvas.save();
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (drawHighlight) canvas.drawImage(x + 1, y + 1, tinted(highlight));
  canvas.drawImage(x, y, tinted(grey));
  canvas.restore();
}

void ImageListDrawDisabled(const std::vector<QImage>& images, QPainter& canvas, int x, int y, int index,
                           const QColor& highlight, const QColor& grey, bool drawHighlight) {
  if (index < 0 || index >= static_cast<int>(images.size())) return;
  ImageListDrawDisabled(images[static_cast<size_t>(index)], canvas, x, y, highlight, grey, drawHighlight);
}

void RemovePendingMessage(QObject* receiver, QEvent::Type type) {
  if (type == QEvent::Quit) return;  // a quit request stays queued
  QCoreApplication::removePostedEvents(receiver, static_cast<int>(type));
}

QString MinimizeText(const QString& text, const QFontMetrics& canvas, int maxWidth) {
  QString result = text;
  int i = 1;
  while (i <= text.length() && canvas.horizontalAdvance(result) > maxWidth) {
    ++i;
    result = text.left(Max(0, static_cast<int32_t>(text.length()) - i)) + QStringLiteral("...");
  }
  return result;
}

bool IsForegroundTask() {
  return QApplication::activeWindow() != nullptr || QApplication::activePopupWidget() != nullptr;
}
