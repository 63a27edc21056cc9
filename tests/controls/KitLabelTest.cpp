#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/KitCtrls.h"

namespace {

// A label with a black caption on white and a red shadow, big enough to see.
struct TLabelFixture {
  QWidget window;
  TKitLabel* label;
  TLabelFixture() {
    window.resize(200, 100);
    label = new TKitLabel(&window);
    label->move(20, 20);
    label->SetColor(Qt::white);
    label->SetFontColor(Qt::black);
    label->SetShadowColor(Qt::red);
    label->SetShadowSize(3);
    QFont f = label->font();
    f.setPixelSize(20);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    label->setFont(f);
    label->SetCaption(QStringLiteral("I"));
  }
};

// Bounding box of the pixels of one colour.
QRect Extent(const QImage& image, QRgb colour) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == colour) r |= QRect(x, y, 1, 1);
  return r;
}

}  // namespace

TEST(KitLabel, ShadowOffsetInFourDirections) {
  const struct {
    TShadowPosition pos;
    int dx, dy;
  } cases[] = {{spLeftTop, -3, -3}, {spLeftBottom, -3, 3}, {spRightBottom, 3, 3}, {spRightTop, 3, -3}};
  for (const auto& c : cases) {
    TLabelFixture f;
    f.label->SetAutoSize(false);
    f.label->setGeometry(20, 20, 60, 40);
    f.label->SetLayout(tlCenter);
    f.label->SetAlignment(taCenter);
    f.label->SetShadowPos(c.pos);
    const QImage image = Picture(f.label);
    const QRect text = Extent(image, 0x000000);
    const QRect shadow = Extent(image, 0xFF0000);
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    // the shadow is the text moved: the parts not covered by the text show it
    const QRect whole = text | shadow;
    EXPECT_EQ(whole.width(), text.width() + 3) << c.pos;
    EXPECT_EQ(whole.height(), text.height() + 3) << c.pos;
    EXPECT_EQ(c.dx < 0 ? whole.left() : whole.right(), c.dx < 0 ? text.left() - 3 : text.right() + 3) << c.pos;
    EXPECT_EQ(c.dy < 0 ? whole.top() : whole.bottom(), c.dy < 0 ? text.top() - 3 : text.bottom() + 3) << c.pos;
  }
}

TEST(KitLabel, AutoSizeIsTextPlusTwoAndShadowTowardsRightOrBottom) {
  TLabelFixture f;
  const QFontMetrics fm(f.label->font());
  const int textW =
      fm.boundingRect(QRect(), Qt::TextExpandTabs | Qt::TextShowMnemonic, QStringLiteral("Wide text")).width();
  f.label->SetShadowPos(spLeftTop);
  f.label->SetCaption(QStringLiteral("Wide text"));
  EXPECT_EQ(f.label->width(), textW + 2);
  EXPECT_EQ(f.label->height(), fm.height());
  f.label->SetShadowPos(spRightBottom);
  f.label->SetShadowSize(4);  // a new size re-measures
  EXPECT_EQ(f.label->width(), textW + 2 + 4);
  EXPECT_EQ(f.label->height(), fm.height() + 4);
  f.label->SetShadowPos(spLeftBottom);
  f.label->SetShadowSize(5);
  EXPECT_EQ(f.label->width(), textW + 2);
  EXPECT_EQ(f.label->height(), fm.height() + 5);

  // an empty caption: one blank and one line
  f.label->SetShadowSize(0);
  f.label->SetCaption(QString());
  EXPECT_EQ(f.label->width(), fm.boundingRect(QRect(), 0, QStringLiteral(" ")).width() + 2);
  EXPECT_EQ(f.label->height(), fm.height());
  // "&" alone measures as "& " and draws nothing visible
  f.label->SetCaption(QStringLiteral("&"));
  EXPECT_EQ(f.label->height(), fm.height());
  EXPECT_TRUE(Extent(Picture(f.label), 0x000000).isEmpty());

  // auto-size off keeps the size
  f.label->SetAutoSize(false);
  f.label->resize(33, 44);
  f.label->SetCaption(QStringLiteral("Another text"));
  EXPECT_EQ(f.label->size(), QSize(33, 44));
}

TEST(KitLabel, RightAlignedLabelGrowsToTheLeft) {
  TLabelFixture f;
  f.label->SetAlignment(taRightJustify);
  f.label->SetCaption(QStringLiteral("ab"));
  const int right = f.label->x() + f.label->width();
  f.label->SetCaption(QStringLiteral("abcdefgh"));
  EXPECT_EQ(f.label->x() + f.label->width(), right);
  EXPECT_LT(f.label->x(), 20);
}

TEST(KitLabel, DisabledLabelShowsLightShadowEvenWithoutShadowSize) {
  TLabelFixture f;
  f.label->SetShadowSize(0);
  f.label->SetColor(QColor(0, 0, 80));
  f.label->setEnabled(false);
  const QImage image = Picture(f.label);
  const QRect grey = Extent(image, Rgb(clGrayText()));
  const QRect light = Extent(image, Rgb(clBtnHighlight()));
  ASSERT_FALSE(grey.isEmpty());
  ASSERT_FALSE(light.isEmpty());
  EXPECT_EQ(light.right(), grey.right() + 1);
  EXPECT_EQ(light.bottom(), grey.bottom() + 1);
  EXPECT_TRUE(Extent(image, 0x000000).isEmpty());
}

TEST(KitLabel, TransparentLabelLeavesTheBackground) {
  TLabelFixture f;
  f.window.setAutoFillBackground(true);
  QPalette pal = f.window.palette();
  pal.setColor(QPalette::Window, QColor(0, 90, 0));
  f.window.setPalette(pal);
  f.label->SetTransparent(true);
  const QImage image = f.window.grab().toImage();
  EXPECT_EQ(PixelAt(image, f.label->x() + f.label->width() - 1, f.label->y()), 0x005A00u);
  f.label->SetTransparent(false);
  EXPECT_EQ(PixelAt(f.window.grab().toImage(), f.label->x() + f.label->width() - 1, f.label->y()), 0xFFFFFFu);
}

TEST(KitLabel, AcceleratorFocusesItsControlUntilThatIsGone) {
  QWidget window;
  auto* label = new TKitLabel(&window);
  label->SetCaption(QStringLiteral("&Name"));
  auto* edit = new QLineEdit(&window);
  edit->move(0, 30);
  auto* other = new QLineEdit(&window);
  other->move(0, 60);
  label->SetFocusControl(edit);
  label->SetShowFocus(true);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other->setFocus();
  QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_TRUE(label->Focused());
  other->setFocus();
  EXPECT_FALSE(label->Focused());

  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);  // nothing happens
  EXPECT_TRUE(other->hasFocus());
}

TEST(KitLabel, LeavingWhilePressedWaitsForTheRelease) {
  QWidget window;
  window.resize(200, 100);
  auto* label = new TKitLabel(&window);
  label->SetCaption(QStringLiteral("Label"));
  int enters = 0, leaves = 0, clicks = 0;
  label->OnMouseEnter = [&](QObject* s) {
    EXPECT_EQ(s, label);
    ++enters;
  };
  label->OnMouseLeave = [&](QObject*) { ++leaves; };
  label->OnClick = [&](QObject*) { ++clicks; };
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(label->mapToGlobal(QPoint(2, 2))));
  QApplication::sendEvent(label, &enter);
  EXPECT_EQ(enters, 1);
  EXPECT_TRUE(label->MouseInControl());
  Press(label, QPoint(2, 2));
  EXPECT_TRUE(label->Pressed());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(label, &leave);
  EXPECT_EQ(leaves, 0);  // still held
  Release(label, QPoint(150, 80));  // released outside: re-evaluated, left
  EXPECT_FALSE(label->Pressed());
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(label->MouseInControl());

  // a disabled label does not track the mouse
  label->setEnabled(false);
  QApplication::sendEvent(label, &enter);
  EXPECT_EQ(enters, 1);
}
