#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/KitCtrls.h"
#include "controls/KitUtils.h"

namespace {

// A glyph of `count` images 16 x 16 on fuchsia; image i has a black outline
// and a fill of its own colour.
QImage Glyph(int count) {
  QImage image(16 * count, 16, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  QPainter p(&image);
  for (int i = 0; i < count; ++i) {
    p.setPen(Qt::black);
    p.setBrush(QColor(40 * (i + 1), 10, 10));
    p.drawRect(16 * i + 2, 2, 11, 11);
  }
  return image;
}

struct TButtonFixture {
  QWidget window;
  TKitSpeedButton* button;
  int clicks = 0;
  TButtonFixture() {
    window.resize(200, 100);
    button = new TKitSpeedButton(&window);
    button->setGeometry(10, 10, 40, 30);
    button->OnClick = [this](QObject*) { ++clicks; };
    window.show();
  }
};

bool HasFrame(TKitSpeedButton* b) {
  const QImage image = Picture(b);
  // the outer frame: highlight along the top-left edge
  return PixelAt(image, 0, 5) == Rgb(clBtnHighlight()) && PixelAt(image, 5, 0) == Rgb(clBtnHighlight());
}

}  // namespace

TEST(SpeedButton, PressReleaseAndClick) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  EXPECT_EQ(b->size(), QSize(40, 30));
  b->resize(25, 25);
  EXPECT_EQ(b->State(), bsUp);
  Press(b, QPoint(5, 5));
  EXPECT_EQ(b->State(), bsDown);
  EXPECT_TRUE(b->Pressed());
  Release(b, QPoint(5, 5));
  EXPECT_EQ(b->State(), bsUp);
  EXPECT_EQ(f.clicks, 1);

  // released outside: no click; back inside before the release: a click
  Press(b, QPoint(5, 5));
  MoveHeld(b, QPoint(60, 5));
  EXPECT_EQ(b->State(), bsUp);
  Release(b, QPoint(60, 5));
  EXPECT_EQ(f.clicks, 1);
  Press(b, QPoint(5, 5));
  MoveHeld(b, QPoint(60, 5));
  MoveHeld(b, QPoint(6, 6));
  EXPECT_EQ(b->State(), bsDown);
  Release(b, QPoint(6, 6));
  EXPECT_EQ(f.clicks, 2);

  // the right button neither presses nor clicks
  Press(b, QPoint(5, 5), Qt::RightButton);
  Release(b, QPoint(5, 5), Qt::RightButton);
  EXPECT_EQ(f.clicks, 2);
  EXPECT_EQ(b->State(), bsUp);
}

TEST(SpeedButton, DownOnlyInAGroupAndExclusiveThere) {
  QWidget window;
  auto* a = new TKitSpeedButton(&window);
  auto* b = new TKitSpeedButton(&window);
  b->move(30, 0);
  auto* other = new TKitSpeedButton(&window);
  other->move(60, 0);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());  // no group index
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetDown(true);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
  a->SetDown(false);  // without AllowAllUp it stays down
  EXPECT_TRUE(a->Down());
  b->SetDown(true);  // another button of the group raises it
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_TRUE(other->Down());  // another group is left alone

  // a click toggles a grouped button; the down one stays down without AllowAllUp
  window.show();
  Press(a, QPoint(3, 3));
  Release(a, QPoint(3, 3));
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());
  Press(a, QPoint(3, 3));
  Release(a, QPoint(3, 3));
  EXPECT_TRUE(a->Down());
  // AllowAllUp is shared by the group and lets the down button go up
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());
  Press(a, QPoint(3, 3));
  Release(a, QPoint(3, 3));
  EXPECT_FALSE(a->Down());
  // released outside: a down button keeps its exclusive look
  a->SetDown(true);
  Press(a, QPoint(3, 3));
  EXPECT_EQ(a->State(), bsExclusive);
  Release(a, QPoint(100, 3));
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
}

TEST(SpeedButton, DisabledAndFlatLooks) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  EXPECT_TRUE(HasFrame(b));  // not flat by default
  b->SetFlat(true);
  EXPECT_FALSE(HasFrame(b));  // flat and the mouse elsewhere: no frame
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(b->mapToGlobal(QPoint(2, 2))));
  f.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
  QApplication::sendEvent(b, &enter);
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_TRUE(HasFrame(b));  // the mouse over it: the flat frame shows
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(b, &leave);
  EXPECT_FALSE(HasFrame(b));

  b->SetFlat(false);
  b->setEnabled(false);
  Picture(b);
  EXPECT_EQ(b->State(), bsDisabled);
  Press(b, QPoint(5, 5));
  Release(b, QPoint(5, 5));
  EXPECT_EQ(f.clicks, 0);
  b->setEnabled(true);
  Picture(b);
  EXPECT_EQ(b->State(), bsUp);
}

TEST(SpeedButton, GlyphCountFromItsShape) {
  TKitButtonGlyph g;
  g.SetGlyph(Glyph(4));  // 64 x 16
  EXPECT_EQ(g.NumGlyphs(), 4);
  QImage seven(112, 16, QImage::Format_RGB32);
  seven.fill(Qt::white);
  g.SetGlyph(seven);
  EXPECT_EQ(g.NumGlyphs(), 1);
  QImage odd(20, 16, QImage::Format_RGB32);
  odd.fill(Qt::white);
  g.SetNumGlyphs(2);
  g.SetGlyph(odd);  // not a whole multiple: the count stays
  EXPECT_EQ(g.NumGlyphs(), 2);
  // the bottom-left pixel is the see-through colour
  EXPECT_EQ(Rgb(g.TransparentColor), 0xFFFFFFu);
}

TEST(SpeedButton, DisabledGlyphIsEmbossedOnTheFace) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  b->SetGlyph(Glyph(1));
  b->setEnabled(false);
  TKitButtonGlyph* holder = b->GlyphHolder();
  const int index = holder->CreateButtonGlyph(bsDisabled);
  ASSERT_GE(index, 0);
  const QImage image = holder->GlyphList->Image(index);
  // outline pixel (2, 2) in the shadow colour, its highlight at (3, 3) inside
  // the outline; the fill and the fuchsia ground see-through
  EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, Rgb(clBtnShadow()));
  EXPECT_EQ(image.pixel(3, 3) & 0xFFFFFF, Rgb(clBtnHighlight()));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(6, 6)), 0);

  // painted on the button: the same colours on the face
  const QImage shot = Picture(b);
  bool shadow = false, highlight = false, red = false;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb p = PixelAt(shot, x, y);
      shadow |= p == Rgb(clBtnShadow());
      highlight |= p == Rgb(clBtnHighlight());
      red |= qRed(p) == 40 && qGreen(p) == 10;
    }
  EXPECT_TRUE(shadow);
  EXPECT_TRUE(highlight);
  EXPECT_FALSE(red);
}

TEST(SpeedButton, StateImagesComeFromTheGlyphStrip) {
  TKitButtonGlyph g;
  g.SetGlyph(Glyph(2));
  const QImage down = g.GlyphList ? QImage() : QImage();
  Q_UNUSED(down);
  const int up = g.CreateButtonGlyph(bsUp);
  // fewer than 3 images: the pressed state shows the up image
  EXPECT_EQ(g.CreateButtonGlyph(bsDown), up);
  // two images: the disabled state takes image 2
  const int disabled = g.CreateButtonGlyph(bsDisabled);
  EXPECT_EQ(qRed(g.GlyphList->Image(disabled).pixel(6, 6)), 80);
  EXPECT_EQ(qRed(g.GlyphList->Image(up).pixel(6, 6)), 40);
  // inactive: a grey copy of image 1, see-through kept
  const QImage inactive = g.GlyphList->Image(g.CreateButtonGlyph(bsInactive));
  const QRgb p = inactive.pixel(6, 6);
  EXPECT_EQ(qRed(p), qGreen(p));
  EXPECT_EQ(qGreen(p), qBlue(p));
  EXPECT_EQ(qAlpha(inactive.pixel(0, 0)), 0);
}

TEST(SpeedButton, GlyphListsAreSharedAndFreedWithTheirLastImage) {
  TGlyphList* list = nullptr;
  {
    TKitButtonGlyph a, b;
    a.SetGlyph(Glyph(1));
    b.SetGlyph(Glyph(1));
    a.CreateButtonGlyph(bsUp);
    b.CreateButtonGlyph(bsUp);
    b.CreateButtonGlyph(bsInactive);
    ASSERT_NE(a.GlyphList, nullptr);
    EXPECT_EQ(a.GlyphList, b.GlyphList);  // one list per size
    list = a.GlyphList;
    EXPECT_EQ(list->Count(), 3);
    b.Invalidate();
    EXPECT_EQ(list->Count(), 1);
    // a freed slot is reused and the list never shrinks
    EXPECT_EQ(list->Capacity(), 3);
    b.CreateButtonGlyph(bsUp);
    EXPECT_EQ(list->Capacity(), 3);
    ASSERT_NE(GlyphCacheInstance(), nullptr);
    EXPECT_EQ(GlyphCacheInstance()->Lists.size(), 1u);
    a.Invalidate();
    b.Invalidate();
    EXPECT_TRUE(GlyphCacheInstance()->Empty());  // the list went with its last image
  }
  EXPECT_EQ(GlyphCacheInstance(), nullptr);  // and the cache with the last holder
}

TEST(SpeedButton, LongCaptionEndsInDots) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  QImage canvasImage(10, 10, QImage::Format_RGB32);
  QPainter canvas(&canvasImage);
  canvas.setFont(b->font());
  const QString caption = QStringLiteral("A caption far too wide");
  TKitButtonGlyph* g = b->GlyphHolder();
  EXPECT_TRUE(g->MinimizeCaption(canvas, caption, 40).endsWith(QStringLiteral("...")));
  EXPECT_LE(canvas.fontMetrics().horizontalAdvance(g->MinimizeCaption(canvas, caption, 40)), 40);
  EXPECT_EQ(g->MinimizeCaption(canvas, caption, 3), QStringLiteral("..."));
  EXPECT_EQ(g->MinimizeCaption(canvas, QStringLiteral("ok"), 100), QStringLiteral("ok"));
}

TEST(SpeedButton, LayoutPlacesGlyphAndText) {
  TKitButtonGlyph g;
  g.SetGlyph(Glyph(1));
  QImage scratch(10, 10, QImage::Format_RGB32);
  QPainter canvas(&scratch);
  QPoint glyphPos;
  QRect text;
  QString caption;
  // no caption, centred glyph
  g.CalcButtonLayout(canvas, QRect(2, 2, 40, 30), caption, blGlyphTop, -1, 1, false, nullptr, -1, glyphPos, text, 0);
  EXPECT_EQ(glyphPos, QPoint(2 + 20 - 8, 2 + 15 - 8));
  // margin given, glyph on the left
  caption = QStringLiteral("x");
  g.CalcButtonLayout(canvas, QRect(0, 0, 80, 20), caption, blGlyphLeft, 4, 3, false, nullptr, -1, glyphPos, text, 0);
  EXPECT_EQ(glyphPos.x(), 4);
  EXPECT_EQ(text.x(), 4 + 16 + 3);
  // glyph on the right
  g.CalcButtonLayout(canvas, QRect(0, 0, 80, 20), caption, blGlyphRight, 4, 3, false, nullptr, -1, glyphPos, text, 0);
  EXPECT_EQ(glyphPos.x(), 80 - 4 - 16);
  EXPECT_EQ(text.x() + text.width(), glyphPos.x() - 3);
}

TEST(SpeedButton, DropDownMenuOpensOnPressWithoutClicking) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  auto* menu = new QMenu(&f.window);
  menu->addAction(QStringLiteral("Один"));
  b->SetDropDownMenu(menu);
  bool shown = false;
  QPoint shownAt;
  QTimer::singleShot(0, [&] {
    shown = menu->isVisible();
    shownAt = menu->pos();
    EXPECT_TRUE(b->MenuTracking());
    EXPECT_EQ(b->State(), bsDown);
    menu->close();
  });
  Press(b, QPoint(5, 5));
  EXPECT_TRUE(shown);
  EXPECT_EQ(shownAt, b->mapToGlobal(QPoint(-1, b->height())));
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_FALSE(b->Pressed());
  Release(b, QPoint(5, 5));
  EXPECT_EQ(f.clicks, 0);
  EXPECT_EQ(b->State(), bsUp);
  EXPECT_EQ(b->GetDropDownMenuPos(), QPoint(-1, b->height()));
  b->SetMenuPosition(dmpRight);
  EXPECT_EQ(b->GetDropDownMenuPos(), QPoint(b->width(), -1));

  delete menu;  // the button is left without a menu
  EXPECT_EQ(b->DropDownMenu(), nullptr);
  EXPECT_EQ(b->GetDropDownMenuPos(), QPoint(0, 0));
  Press(b, QPoint(5, 5));
  Release(b, QPoint(5, 5));
  EXPECT_EQ(f.clicks, 1);
}

TEST(SpeedButton, AutoRepeatWhileHeld) {
  TButtonFixture f;
  TKitSpeedButton* b = f.button;
  b->SetAllowTimer(true);
  b->SetInitPause(400);
  b->SetRepeatInterval(50);
  Press(b, QPoint(5, 5));
  ASSERT_NE(b->RepeatTimer(), nullptr);
  EXPECT_TRUE(b->RepeatTimer()->isActive());
  EXPECT_EQ(b->RepeatTimer()->interval(), 400);
  b->TimerExpired();
  b->TimerExpired();
  EXPECT_EQ(f.clicks, 2);
  EXPECT_EQ(b->RepeatTimer()->interval(), 50);
  // moved off the button: no repeat
  MoveHeld(b, QPoint(90, 5));
  b->TimerExpired();
  EXPECT_EQ(f.clicks, 2);
  Release(b, QPoint(90, 5));
  EXPECT_FALSE(b->RepeatTimer()->isActive());
  b->SetAllowTimer(false);
  EXPECT_EQ(b->RepeatTimer(), nullptr);
}

TEST(SpeedButton, ModalResultClosesItsDialogAndActionsDriveIt) {
  QDialog dialog;
  auto* b = new TKitSpeedButton(&dialog);
  b->SetModalResult(QDialog::Accepted);
  QTimer::singleShot(0, [&] {
    Press(b, QPoint(3, 3));
    Release(b, QPoint(3, 3));
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);

  QWidget window;
  auto* c = new TKitSpeedButton(&window);
  c->SetGroupIndex(3);
  QAction action(QStringLiteral("Действие"));
  action.setCheckable(true);
  QPixmap icon(16, 16);
  icon.fill(Qt::blue);
  action.setIcon(QIcon(icon));
  int triggered = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
  c->SetAction(&action);
  EXPECT_EQ(c->Caption(), QStringLiteral("Действие"));
  EXPECT_EQ(c->Glyph().size(), QSize(16, 16));
  action.setChecked(true);
  EXPECT_TRUE(c->Down());
  action.setEnabled(false);
  EXPECT_FALSE(c->isEnabled());
  action.setEnabled(true);
  c->Click();
  EXPECT_EQ(triggered, 1);
}
