// The painters of the program's look: tool bars, tool buttons, the menu tool
// bar's buttons, menu items with their check marks and radio dots, and the
// cells of the value lists. Declared in uProc.h.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "controls/KitConst.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uProc.h"

namespace {

QColor Look(int32_t bgr) { return PaintColor(bgr); }

// The rectangle filled with the canvas's brush, then the text drawn in the
// pen's colour with its top-left at (x, y), clipped to the rectangle.
void TextRect(QPainter& canvas, const QRect& rect, int x, int y, const QString& text) {
  canvas.save();
  canvas.setClipRect(rect, Qt::IntersectClip);
  canvas.fillRect(rect, canvas.brush());
  canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
  canvas.restore();
}

// A one-pixel frame along the inside of `rect`.
void FrameRect(QPainter& canvas, const QRect& rect, const QColor& color) {
  canvas.save();
  canvas.setPen(QPen(color, 1));
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(rect.adjusted(0, 0, -1, -1));
  canvas.restore();
}

int Sign(int v) { return (v > 0) - (v < 0); }

// A line from `from` up to `to`, `to` itself left out (the painters' lines are
// level, upright or at 45 degrees).
void LineTo(QPainter& canvas, const QPoint& from, const QPoint& to) {
  if (from == to) return;
  const QPoint step(Sign(to.x() - from.x()), Sign(to.y() - from.y()));
  canvas.drawLine(from, to - step);
}

// The image with its white pixels made transparent.
QPixmap WhiteTransparent(const QPixmap& image) {
  QImage img = image.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (line[x] == 0xFFFFFFFFu) line[x] = 0;
  }
  return QPixmap::fromImage(img);
}

QSize LogicalSize(const QPixmap& image) { return image.deviceIndependentSize().toSize(); }

}  // namespace

QString StripFirstAmpersand(const QString& caption) {
  QString text = caption;
  const qsizetype at = text.indexOf(QLatin1Char('&'));
  if (at >= 0) text.remove(at, 1);
  return text;
}

void DrawToolBar(QPainter& canvas, const QRect& rect) { canvas.fillRect(rect, Look(clLookBar)); }

void DrawToolButton(QPainter& canvas, const TToolButtonItem& button, TCustomDrawState state, bool& defaultDraw) {
  defaultDraw = false;
  const QRect r = button.Bounds;
  QColor brush = Look(clLookBar), text = Qt::black;
  if (state & cdsSelected) {
    brush = Look((state & cdsHot) ? clLookPressedHot : clLookPressed);
  } else if (state & cdsDisabled) {
    text = Look(clLookGrayText);
  } else if (state & cdsHot) {
    brush = Look(clLookHot);
  }
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setBrush(brush);
  canvas.setPen(text);
  if (button.ShowCaptions) {
    // Under the image at 20 on the tall buttons the positions were made for;
    // a button without an image has its caption in the middle.
    const QFontMetrics fm = canvas.fontMetrics();
    const int left = r.left() + (r.width() - fm.horizontalAdvance(button.Caption)) / 2;
    const int top = button.Image.isNull() ? r.top() + (r.height() - fm.height()) / 2 : r.top() + 20;
    TextRect(canvas, r, left, top, button.Caption);
  } else {
    canvas.fillRect(r, brush);
  }
  if (!button.Image.isNull()) {
    if (state & (cdsHot | cdsSelected)) FrameRect(canvas, r, Look(clLookFrame));
    const QSize size = LogicalSize(button.Image);
    // At 3 under the bar's top; an image without a caption sits in the middle,
    // which is the same 3 on the 22-pixel buttons of the small bars.
    const int top = button.ShowCaptions ? r.top() + 3 : r.top() + (r.height() - size.height()) / 2;
    canvas.drawPixmap(QPoint(r.left() + (r.width() - size.width()) / 2, top), WhiteTransparent(button.Image));
  }
  canvas.restore();
}

void DrawMenuBarButton(QPainter& canvas, const TToolButtonItem& button, TCustomDrawState state, bool& defaultDraw) {
  const QRect r = button.Bounds.adjusted(0, 1, 0, 0);
  const bool open = state & cdsSelected;
  if (!open && !(state & cdsHot)) return;
  defaultDraw = false;
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setBrush(Look(open ? clLookMenu : clLookHot));
  canvas.setPen(Qt::black);
  TextRect(canvas, r, r.left() + 5, button.Bounds.top() + 3, button.Caption);
  FrameRect(canvas, r, Look(clLookFrame));
  if (open) {
    // The button opens into the menu below it: no frame along its bottom.
    canvas.setPen(QPen(Look(clLookMenu), 1));
    LineTo(canvas, QPoint(r.left() + 1, r.bottom()), QPoint(r.right(), r.bottom()));
  }
  canvas.restore();
}

void MeasureMenuItem(const TMenuItemInfo& item, int& height) {
  height = item.Caption == QStringLiteral("-") ? 3 : 23;
}

void DrawMenuItem(const TMenuItemInfo& item, QPainter& canvas, const QRect& r, TOwnerDrawState state) {
  const bool selected = state & odSelected;
  const bool grayed = state & odGrayed;
  const bool separator = item.Caption == QStringLiteral("-");
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  if (state & odDefault) {
    QFont bold = canvas.font();
    bold.setBold(true);
    canvas.setFont(bold);
  }
  auto caption = [&] {
    TextRect(canvas, r, r.left() + 25, r.top() + 5, StripFirstAmpersand(item.Caption));
    if (item.ShortCut.isEmpty()) return;
    // Right-aligned, ending 4 pixels before the item's right edge.
    const int width = canvas.fontMetrics().horizontalAdvance(item.ShortCut);
    const QRect rest(QPoint(r.left() + 25, r.top() + 5), r.bottomRight());
    canvas.save();
    canvas.setClipRect(rest, Qt::IntersectClip);
    canvas.drawText(QPoint(r.right() + 1 - 4 - width, r.top() + 5 + canvas.fontMetrics().ascent()), item.ShortCut);
    canvas.restore();
  };
  if (selected) {
    canvas.setBrush(Look(grayed ? clLookMenu : clLookHot));
    canvas.setPen(grayed ? Look(clLookGrayText) : QColor(Qt::black));
    caption();
    FrameRect(canvas, r, Look(clLookFrame));
  } else {
    canvas.setBrush(Look(clLookMenu));
    canvas.setPen(grayed ? Look(clLookGrayText) : QColor(Qt::black));
    if (separator) {
      canvas.fillRect(r, canvas.brush());
      const int middle = (r.top() + r.bottom() + 1) / 2;
      canvas.setPen(QPen(Look(clLookBar), 1));
      LineTo(canvas, QPoint(r.left() + 25, middle), QPoint(r.right() + 1, middle));
    } else {
      caption();
    }
    canvas.fillRect(QRect(r.left(), r.top(), 23, r.height()), Look(clLookBar));
  }
  if (item.AutoCheck && !separator) {
    const bool ticked = state & odChecked;
    const QRect box(r.left() + 1, r.top() + 1, 21, r.height() - 2);
    canvas.setBrush(Look(grayed   ? clLookMenu
                         : ticked ? (selected ? clLookPressedHot : clLookPressed)
                                  : clLookBar));
    if (item.RadioItem)
      DrawRadioButton(canvas, box, ticked);
    else
      DrawCheckBox(canvas, box, ticked);
    FrameRect(canvas, box, Look(clLookFrame));
  }
  if (!item.Image.isNull()) canvas.drawPixmap(QPoint(r.left() + 2, r.top() + 4), WhiteTransparent(item.Image));
  canvas.restore();
}

QRect MarkBoxRect(const QRect& rect) {
  return QRect(rect.left() + rect.width() / 2 - 6, rect.top() + rect.height() / 2 - 5, 11, 11);
}

void DrawCheckBox(QPainter& canvas, const QRect& rect, bool ticked, bool enabled) {
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.fillRect(rect, canvas.brush());
  const QRect box = MarkBoxRect(rect);
  canvas.fillRect(box, enabled ? clWindow() : clBtnFace());
  FrameRect(canvas, box, clBtnShadow());
  if (ticked) {
    canvas.setPen(QPen(enabled ? QColor(Qt::black) : clBtnShadow(), 1));
    const int l = box.left(), t = box.top();
    for (int k = 4; k <= 6; ++k) {
      // Each stroke ends where the next begins; only the last end is left out.
      canvas.drawLine(QPoint(l + 2, t + k), QPoint(l + 3, t + k + 1));
      LineTo(canvas, QPoint(l + 4, t + k + 2), QPoint(l + 9, t + k - 3));
    }
  }
  canvas.restore();
}

void DrawRadioButton(QPainter& canvas, const QRect& rect, bool ticked) {
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.fillRect(rect, canvas.brush());
  const QRect box = MarkBoxRect(rect);
  canvas.setPen(QPen(clBtnShadow(), 1));
  canvas.setBrush(clWindow());
  canvas.drawEllipse(box.adjusted(0, 0, -1, -1));
  if (ticked) {
    canvas.setPen(QPen(Qt::black, 1));
    canvas.setBrush(Qt::black);
    canvas.drawEllipse(QRect(box.left() + 3, box.top() + 3, 4, 4));
  }
  canvas.restore();
}

void DrawSectionBand(QPainter& canvas, const QRect& rect, const QString& title, const QPoint& at) {
  canvas.save();
  canvas.setClipRect(rect, Qt::IntersectClip);
  canvas.fillRect(rect, clInfoBk());
  QFont bold = canvas.font();
  bold.setBold(true);
  canvas.setFont(bold);
  canvas.setPen(clWindowText());
  canvas.drawText(QPoint(at.x(), at.y() + canvas.fontMetrics().ascent()), title);
  canvas.restore();
}

void DrawValueListCell(const TValueListEditor& editor, QPainter& canvas, int col, int row, const QRect& rect) {
  const QString key = editor.Keys(row);
  if (editor.IsSectionRow(row)) {
    // One band over the key and the value cell, titled with the key without its "&".
    const QRect band = editor.CellRect(0, row).united(editor.CellRect(1, row));
    DrawSectionBand(canvas, band, key.mid(1, 255), QPoint(band.left() + 1, band.top() + 2));
    return;
  }
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setClipRect(rect, Qt::IntersectClip);
  canvas.fillRect(rect, clBtnFace());
  auto line = [&](const QColor& color, QPoint from, QPoint to) {
    canvas.setPen(QPen(color, 1));
    canvas.drawLine(from, to);
  };
  if (row == 0) {
    // The title row stands out in relief.
    line(clBtnHighlight(), QPoint(rect.left() + 1, rect.top()), QPoint(rect.right() - 1, rect.top()));
    line(clBtnHighlight(), rect.topLeft(), rect.bottomLeft());
    line(clBtnShadow(), rect.bottomLeft(), rect.bottomRight());
    line(clBtnShadow(), rect.topRight(), rect.bottomRight());
  }
  const int ascent = canvas.fontMetrics().ascent();
  if (col == 0) {
    line(clBtnShadow(), rect.topRight(), rect.bottomRight());
    canvas.setPen(clWindowText());
    canvas.drawText(QPoint(rect.left(), rect.top() + 2 + ascent), key);
  } else {
    line(clBtnHighlight(), rect.topLeft(), rect.bottomLeft());
    canvas.setPen(clWindowText());
    canvas.drawText(QPoint(rect.left() + 2, rect.top() + 1 + ascent), editor.Values(row));
  }
  canvas.restore();
}
