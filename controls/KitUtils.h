#pragma once
// Drawing and window utilities shared by the kit's controls: painting what
// lies behind a see-through control, embossed images of disabled glyphs,
// shortening a caption to a width, dropping a pending event and telling
// whether the program is the one the user works with.
#include <QColor>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

// Name of the widget property that marks a lightweight control (one that is
// painted as part of its parent, like a label or a speed button): only these
// siblings are copied into the background of a see-through control.
inline constexpr const char* kKitGraphicControl = "kitGraphicControl";
// Name of the property that is true while a widget paints a copy of itself
// into another control's background.
inline constexpr const char* kKitPaintCopy = "kitPaintCopy";

bool IsGraphicControl(const QWidget* w);
bool IsPaintingCopy(const QWidget* w);

// Paints into `target` (whose origin is the control's top-left corner) what
// the control's parent shows at the control's place: the parent's own
// background and painting, then the visible lightweight siblings lying below
// the control that overlap it. Nothing happens without a control or parent.
void CopyParentImage(QWidget* control, QPainter& target);

// The embossed picture of a disabled image: background everywhere, the
// highlight colour at (+1, +1) and the shadow colour at (0, 0) of every pixel
// that has the reference colour (for a two-colour source: every black pixel,
// or every pixel when the reference is white).
QImage CreateDisabledBitmapEx(const QImage& source, const QColor& reference, const QColor& background,
                              const QColor& highlight, const QColor& shadow, bool drawHighlight);
// The same on the button face colour with the desktop's highlight and shadow.
QImage CreateDisabledBitmap(const QImage& source, const QColor& reference);

// Draws an image of an image list embossed: the highlight colour (optional)
// at (x + 1, y + 1) and the grey colour at (x, y) on the image's opaque
// pixels; the canvas stays unchanged elsewhere.
void ImageListDrawDisabled(const QImage& image, QPainter& canvas, int x, int y, const QColor& highlight,
                           const QColor& grey, bool drawHighlight);
void ImageListDrawDisabled(const std::vector<QImage>& images, QPainter& canvas, int x, int y, int index,
                           const QColor& highlight, const QColor& grey, bool drawHighlight);

inline int RectWidth(const QRect& r) { return r.width(); }
inline int RectHeight(const QRect& r) { return r.height(); }

// Drops pending posted events of the given type for the receiver. A quit
// request is never dropped.
void RemovePendingMessage(QObject* receiver, QEvent::Type type);

// Shortens a text to a width: the first characters followed by "...", never
// shorter than "...".
QString MinimizeText(const QString& text, const QFontMetrics& canvas, int maxWidth);

// True when one of the program's windows is the active one.
bool IsForegroundTask();
