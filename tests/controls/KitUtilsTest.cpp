#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/KitConst.h"
#include "controls/KitUtils.h"
#include "controls/MaxMin.h"

TEST(MaxMin, LargerAndSmaller) {
  EXPECT_EQ(Max(-3, 2), 2);
  EXPECT_EQ(Min(-3, 2), -3);
  EXPECT_EQ(Max(INT32_MIN, INT32_MAX), INT32_MAX);
}

TEST(MinimizeText, ShortensByTheRule) {
  const QFontMetrics fm(QApplication::font());
  const QString text = QStringLiteral("abcdefghij");
  // fits: unchanged
  EXPECT_EQ(MinimizeText(text, fm, fm.horizontalAdvance(text)), text);
  // room for "abcdef..." only: each shortening drops one more character,
  // the first one two
  const int room = fm.horizontalAdvance(QStringLiteral("abcdef..."));
  ASSERT_GT(fm.horizontalAdvance(QStringLiteral("abcdefg...")), room);
  ASSERT_GT(fm.horizontalAdvance(text), room);
  EXPECT_EQ(MinimizeText(text, fm, room), QStringLiteral("abcdef..."));
  // one pixel short of the whole text: two characters go first
  const int almost = fm.horizontalAdvance(text) - 1;
  if (fm.horizontalAdvance(QStringLiteral("abcdefgh...")) <= almost) {
    EXPECT_EQ(MinimizeText(text, fm, almost), QStringLiteral("abcdefgh..."));
  }
  // not even "..." fits: "..." all the same
  EXPECT_EQ(MinimizeText(text, fm, 2), QStringLiteral("..."));
  EXPECT_EQ(MinimizeText(text, fm, 0), QStringLiteral("..."));
  // an empty text stays empty; a short one that does not fit becomes "..."
  EXPECT_EQ(MinimizeText(QString(), fm, 0), QString());
  EXPECT_EQ(MinimizeText(QStringLiteral("ab"), fm, 1), QStringLiteral("..."));
}

TEST(DisabledBitmap, EmbossesReferencePixels) {
  QImage source(8, 8, QImage::Format_RGB32);
  source.fill(Qt::white);
  source.setPixel(3, 3, qRgb(0, 0, 0));
  const QColor bg(200, 200, 200), hl(255, 255, 255), sh(100, 100, 100);
  QImage result = CreateDisabledBitmapEx(source, Qt::black, bg, hl, sh, true);
  ASSERT_EQ(result.size(), source.size());
  EXPECT_EQ(PixelAt(result, 3, 3), Rgb(sh));  // shadow at (0, 0)
  EXPECT_EQ(PixelAt(result, 4, 4), Rgb(hl));  // highlight at (+1, +1)
  int background = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (PixelAt(result, x, y) == Rgb(bg)) ++background;
  EXPECT_EQ(background, 62);  // all other pixels

  // without the highlight only the shadow is drawn
  result = CreateDisabledBitmapEx(source, Qt::black, bg, hl, sh, false);
  EXPECT_EQ(PixelAt(result, 4, 4), Rgb(bg));
  EXPECT_EQ(PixelAt(result, 3, 3), Rgb(sh));

  // the shadow wins where it overlaps the highlight of a neighbour
  source.setPixel(4, 4, qRgb(0, 0, 0));
  result = CreateDisabledBitmapEx(source, Qt::black, bg, hl, sh, true);
  EXPECT_EQ(PixelAt(result, 4, 4), Rgb(sh));
  EXPECT_EQ(PixelAt(result, 5, 5), Rgb(hl));
}

TEST(DisabledBitmap, TwoColourSourceMarksBlackPixels) {
  QImage mono(4, 4, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.fill(0);
  mono.setPixel(1, 1, 1);  // black
  const QColor bg(10, 20, 30), hl(250, 250, 250), sh(90, 90, 90);
  // any reference but white: the black pixels
  QImage r = CreateDisabledBitmapEx(mono, QColor(255, 0, 0), bg, hl, sh, true);
  EXPECT_EQ(PixelAt(r, 1, 1), Rgb(sh));
  EXPECT_EQ(PixelAt(r, 2, 2), Rgb(hl));
  EXPECT_EQ(PixelAt(r, 0, 0), Rgb(bg));
  // reference white: every pixel
  r = CreateDisabledBitmapEx(mono, Qt::white, bg, hl, sh, false);
  EXPECT_EQ(PixelAt(r, 0, 0), Rgb(sh));
  EXPECT_EQ(PixelAt(r, 3, 3), Rgb(sh));
}

TEST(DisabledBitmap, ImageListImageOnOpaquePixelsOnly) {
  QImage image(4, 4, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  image.setPixel(0, 0, qRgba(10, 200, 10, 255));
  QImage canvas(8, 8, QImage::Format_RGB32);
  canvas.fill(qRgb(1, 2, 3));
  {
    QPainter p(&canvas);
    ImageListDrawDisabled(image, p, 2, 2, QColor(255, 255, 255), QColor(128, 128, 128), true);
    // a bad index draws nothing
    ImageListDrawDisabled(std::vector<QImage>{image}, p, 0, 0, 3, Qt::red, Qt::red, true);
  }
  EXPECT_EQ(PixelAt(canvas, 2, 2), 0x808080u);
  EXPECT_EQ(PixelAt(canvas, 3, 3), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(canvas, 4, 4), 0x010203u);
  EXPECT_EQ(PixelAt(canvas, 0, 0), 0x010203u);
}

TEST(RectSize, WidthAndHeight) {
  EXPECT_EQ(RectWidth(QRect(QPoint(2, 3), QPoint(11, 7))), 10);
  EXPECT_EQ(RectHeight(QRect(QPoint(2, 3), QPoint(11, 7))), 5);
}

namespace {
// A lightweight control painting itself in one colour.
class TSolid : public QWidget {
 public:
  TSolid(QWidget* parent, QColor c) : QWidget(parent), colour(c) { setProperty(kKitGraphicControl, true); }
  QColor colour;

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};
}  // namespace

TEST(CopyParentImage, PaintsParentAndSiblingsBelowOnly) {
  QWidget parent;
  parent.resize(100, 100);
  parent.setAutoFillBackground(true);
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, QColor(0, 0, 200));
  parent.setPalette(pal);
  auto* below = new TSolid(&parent, QColor(0, 200, 0));  // before the control: below it
  below->setGeometry(10, 10, 10, 10);
  auto* hidden = new TSolid(&parent, QColor(200, 200, 0));
  hidden->setGeometry(20, 10, 10, 10);
  hidden->hide();
  auto* apart = new TSolid(&parent, QColor(200, 0, 200));  // does not overlap
  apart->setGeometry(80, 80, 10, 10);
  auto* control = new QWidget(&parent);
  control->setGeometry(5, 5, 40, 40);
  auto* above = new TSolid(&parent, QColor(200, 0, 0));  // after the control: above it
  above->setGeometry(30, 30, 10, 10);
  parent.show();

  QImage target(40, 40, QImage::Format_RGB32);
  target.fill(Qt::white);
  {
    QPainter p(&target);
    CopyParentImage(control, p);
    EXPECT_FALSE(IsPaintingCopy(&parent));  // the mark is gone afterwards
  }
  EXPECT_EQ(PixelAt(target, 0, 0), 0x0000C8u);    // the parent's background
  EXPECT_EQ(PixelAt(target, 6, 6), 0x00C800u);    // the sibling below, at its place
  EXPECT_EQ(PixelAt(target, 16, 6), 0x0000C8u);   // the hidden one is not painted
  EXPECT_EQ(PixelAt(target, 27, 27), 0x0000C8u);  // the one above is not painted

  // a control without a parent copies nothing
  QWidget orphan;
  target.fill(Qt::white);
  {
    QPainter p(&target);
    CopyParentImage(&orphan, p);
    CopyParentImage(nullptr, p);
  }
  EXPECT_EQ(PixelAt(target, 0, 0), 0xFFFFFFu);
}

TEST(RemovePendingMessage, DropsEventsButNeverQuit) {
  QObject receiver;
  struct TCounter : QObject {
    int seen = 0;
    bool event(QEvent* e) override {
      if (e->type() == QEvent::User) ++seen;
      return QObject::event(e);
    }
  } counter;
  QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
  RemovePendingMessage(&counter, QEvent::User);
  QCoreApplication::sendPostedEvents(&counter);
  EXPECT_EQ(counter.seen, 0);

  // a posted quit request survives
  struct TQuitCatcher : QObject {
    int quits = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() != QEvent::Quit) return false;
      ++quits;
      return true;  // caught here, the tests go on
    }
  } catcher;
  qApp->installEventFilter(&catcher);
  QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
  RemovePendingMessage(qApp, QEvent::Quit);
  QCoreApplication::sendPostedEvents(qApp, QEvent::Quit);
  qApp->removeEventFilter(&catcher);
  EXPECT_EQ(catcher.quits, 1);
}

TEST(KitCursors, TableHoldsBothHandsWithTheirHotSpots) {
  RegisterKitCursors();
  const QCursor hand = KitCursor(crKitHand);
  const QCursor drag = KitCursor(crKitDrag);
  EXPECT_EQ(hand.hotSpot(), QPoint(6, 16));
  EXPECT_EQ(drag.hotSpot(), QPoint(15, 16));
  EXPECT_EQ(hand.bitmap().size(), QSize(32, 32));
  EXPECT_EQ(drag.mask().size(), QSize(32, 32));
  // the hot spot of the hand lies on the drawn finger
  const QImage mask = hand.mask().toImage();
  EXPECT_NE(mask.pixelIndex(7, 16), mask.pixelIndex(0, 0));
  EXPECT_EQ(KitCursor(1).shape(), Qt::ArrowCursor);
}
