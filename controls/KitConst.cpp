#include "controls/KitConst.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <map>

namespace {

std::map<int, QCursor>& CursorTable() {
  static std::map<int, QCursor> table;
  return table;
}

// Turns a picture painted in black, white and transparency into a
// two-colour cursor: black and white where painted, see-through elsewhere.
QCursor MonoCursor(const QImage& art, int hotX, int hotY) {
  QImage bits(art.size(), QImage::Format_Mono);
  QImage mask(art.size(), QImage::Format_Mono);
  bits.fill(0);
  mask.fill(0);
  for (int y = 0; y < art.height(); ++y)
    for (int x = 0; x < art.width(); ++x) {
      QRgb p = art.pixel(x, y);
      if (qAlpha(p) < 128) continue;
      mask.setPixel(x, y, 1);
      if (qGray(p) < 128) bits.setPixel(x, y, 1);
    }
  return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotX, hotY);
}

QImage BlankArt() {
  QImage art(32, 32, QImage::Format_ARGB32);
  art.fill(Qt::transparent);
  return art;
}

}  // namespace

QCursor CreateKitHandCursor() {
  // A hand pointing left: the raised finger ends at (6, 16).
  QImage art = BlankArt();
  QPainter p(&art);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  // palm with the folded fingers
  p.drawRoundedRect(QRect(15, 11, 12, 14), 3, 3);
  // the raised finger
  p.drawRoundedRect(QRect(6, 14, 12, 4), 2, 2);
  // thumb along the lower edge
  p.drawRoundedRect(QRect(12, 21, 8, 4), 2, 2);
  // cuff
  p.drawRect(QRect(26, 12, 3, 12));
  p.setPen(Qt::white);
  p.drawLine(16, 15, 17, 15);
  p.drawLine(16, 16, 17, 16);
  p.drawLine(16, 17, 17, 17);
  p.drawLine(16, 22, 19, 22);
  p.drawLine(16, 23, 19, 23);
  p.setPen(Qt::black);
  // creases of the folded fingers
  p.drawLine(19, 19, 24, 19);
  p.drawLine(19, 22, 24, 22);
  p.drawLine(19, 16, 24, 16);
  p.end();
  return MonoCursor(art, 6, 16);
}

QCursor CreateKitDragCursor() {
  // A closed hand seen from above, centred on (15, 16).
  QImage art = BlankArt();
  QPainter p(&art);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRect(8, 12, 15, 12), 4, 4);  // back of the hand
  for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRect(8 + i * 4, 9, 4, 6), 2, 2);  // knuckles
  p.drawRoundedRect(QRect(5, 15, 5, 6), 2, 2);  // thumb
  p.setPen(Qt::white);
  for (int i = 0; i < 4; ++i) p.drawLine(9 + i * 4, 14, 11 + i * 4, 14);
  p.drawLine(9, 16, 9, 19);
  p.end();
  return MonoCursor(art, 15, 16);
}

void RegisterKitCursors() {
  auto& table = CursorTable();
  if (table.count(crKitHand) == 0) table.emplace(crKitHand, CreateKitHandCursor());
  if (table.count(crKitDrag) == 0) table.emplace(crKitDrag, CreateKitDragCursor());
}

QCursor KitCursor(int number) {
  RegisterKitCursors();
  auto& table = CursorTable();
  auto it = table.find(number);
  return it == table.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

QRgb PaintRgb(int32_t color) {
  const int32_t rgb = ColorToRGB(color);
  return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
QColor PaintColor(int32_t color) { return QColor::fromRgb(PaintRgb(color)); }
QColor SysQColor(TSysColor c) { return PaintColor(SysColorValue(c)); }
QColor clBtnFace() { return SysQColor(TSysColor::BtnFace); }
QColor clBtnHighlight() { return SysQColor(TSysColor::BtnHighlight); }
QColor clBtnShadow() { return SysQColor(TSysColor::BtnShadow); }
QColor clBtnText() { return SysQColor(TSysColor::BtnText); }
QColor clWindowFrame() { return SysQColor(TSysColor::WindowFrame); }
QColor clGrayText() { return SysQColor(TSysColor::GrayText); }
QColor clWindowText() { return SysQColor(TSysColor::WindowText); }
QColor clWindow() { return SysQColor(TSysColor::Window); }
QColor clInfoBk() { return SysQColor(TSysColor::InfoBk); }
