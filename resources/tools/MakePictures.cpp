// Draws the program's pictures: the two message pictures and the icon of the
// page folder, the program icon and the splash picture. Run it once after a
// change and commit what it writes:
//   QT_QPA_PLATFORM=offscreen zo_make_pictures <resources folder>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <cstring>

#include "platform/Jpeg.h"

namespace {

const QColor kPage(0xFF, 0xFB, 0xF0);  // the pages' background

QImage Canvas(int size, const QColor& fill) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(fill);
  return img;
}

void Badge(QPainter& p, const QColor& light, const QColor& dark) {
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient g(QPointF(12, 10), 20);
  g.setColorAt(0, light);
  g.setColorAt(1, dark);
  p.setPen(QPen(dark.darker(140), 1.2));
  p.setBrush(g);
  p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
}

QImage StopPicture() {
  QImage img = Canvas(32, kPage);
  QPainter p(&img);
  Badge(p, QColor(255, 120, 100), QColor(190, 20, 20));
  p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(11, 11), QPointF(21, 21));
  p.drawLine(QPointF(21, 11), QPointF(11, 21));
  return img;
}

QImage InformationPicture() {
  QImage img = Canvas(32, kPage);
  QPainter p(&img);
  Badge(p, QColor(130, 180, 255), QColor(20, 70, 180));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(14, 7.5, 4, 4));
  p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1, 1);
  return img;
}

// A small field: yellow food, green organisms, one with the red frame of a mutant.
QImage FieldIcon(int size) {
  QImage img = Canvas(size, Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 32.0;
  p.setPen(QPen(QColor(90, 70, 20), 1.5 * s));
  p.setBrush(QColor(255, 236, 140));
  p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 4 * s, 4 * s);
  const double cell = 8 * s;
  const int pattern[3][3] = {{1, 0, 1}, {0, 2, 1}, {1, 1, 0}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      const QRectF box(4 * s + c * (cell + 0.5 * s), 4 * s + r * (cell + 0.5 * s), cell, cell);
      if (pattern[r][c] == 0) continue;
      p.setPen(pattern[r][c] == 2 ? QPen(QColor(230, 0, 0), 1.8 * s) : QPen(QColor(0, 110, 0), 0.8 * s));
      p.setBrush(QColor(40, 200, 40));
      p.drawRect(box.adjusted(0.6 * s, 0.6 * s, -0.6 * s, -0.6 * s));
    }
  return img;
}

QImage SplashPicture() {
  QImage img(300, 200, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient sky(0, 0, 0, 200);
  sky.setColorAt(0, QColor(18, 52, 30));
  sky.setColorAt(1, QColor(6, 20, 12));
  p.fillRect(img.rect(), sky);
  // A field of cells fading to the right: food, two species and a few mutants.
  const int cell = 10;
  unsigned seed = 20240607u;
  auto next = [&seed] { seed = seed * 134775813u + 1u; return seed >> 8; };
  for (int r = 0; r < 20; ++r)
    for (int c = 0; c < 30; ++c) {
      const unsigned v = next() % 100;
      const double fade = 0.25 + 0.75 * (1.0 - c / 30.0) * (r < 16 ? 1.0 : 0.4);
      QColor color;
      if (v < 30) color = QColor(240, 210, 60);
      else if (v < 48) color = QColor(60, 200, 70);
      else if (v < 60) color = QColor(70, 150, 230);
      else continue;
      color.setAlphaF(0.55 * fade);
      const QRect box(c * cell + 1, r * cell + 1, cell - 2, cell - 2);
      p.fillRect(box, color);
      if (v % 11 == 0 && v >= 30) {
        p.setPen(QColor(230, 40, 40, int(200 * fade)));
        p.drawRect(box.adjusted(0, 0, -1, -1));
      }
    }
  p.fillRect(QRect(0, 0, 300, 200), QColor(0, 0, 0, 70));
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(36);
  title.setBold(true);
  p.setFont(title);
  const QRect titleBox(0, 46, 300, 48);
  p.setPen(QColor(0, 0, 0, 180));
  p.drawText(titleBox.translated(2, 2), Qt::AlignCenter, QStringLiteral("ZeltorOmra"));
  p.setPen(QColor(255, 236, 120));
  p.drawText(titleBox, Qt::AlignCenter, QStringLiteral("ZeltorOmra"));
  QFont sub(QStringLiteral("DejaVu Sans"));
  sub.setPixelSize(13);
  p.setFont(sub);
  p.setPen(QColor(210, 240, 210));
  p.drawText(QRect(0, 96, 300, 20), Qt::AlignCenter, QStringLiteral("искусственная эволюция на поле клеток"));
  const QImage icon = FieldIcon(40);
  p.drawImage(250, 150, icon);
  p.end();
  return img;
}

bool SaveJpeg(const QImage& source, const QString& path) {
  const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
  TJpegImage jpeg;
  jpeg.Width = rgb.width();
  jpeg.Height = rgb.height();
  jpeg.Pixels.resize(static_cast<size_t>(jpeg.Width) * jpeg.Height * 3);
  for (int y = 0; y < jpeg.Height; ++y)
    std::memcpy(&jpeg.Pixels[static_cast<size_t>(y) * jpeg.Width * 3], rgb.constScanLine(y),
                static_cast<size_t>(jpeg.Width) * 3);
  std::string error;
  if (!JpegWriteFile(path.toStdString(), jpeg, 92, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: zo_make_pictures <resources folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
  bool ok = true;
  ok &= StopPicture().convertToFormat(QImage::Format_RGB888).save(root + "Files/XPdialogstop32.bmp", "BMP");
  ok &= InformationPicture().convertToFormat(QImage::Format_RGB888).save(root + "Files/XPdialoginformation32.bmp", "BMP");
  ok &= FieldIcon(32).save(root + "Files/omra32.ico", "ICO");
  ok &= FieldIcon(64).save(root + "omra.png", "PNG");
  ok &= SaveJpeg(SplashPicture(), root + "splash.jpg");
  if (!ok) std::fprintf(stderr, "some pictures were not written\n");
  return ok ? 0 : 1;
}
