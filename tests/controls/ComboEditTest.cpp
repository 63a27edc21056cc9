#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/ToolEdit.h"

namespace {

struct TEditFixture {
  QWidget window;
  TComboEdit* edit;
  QLineEdit* other;
  int clicks = 0;
  TEditFixture() {
    window.resize(300, 120);
    edit = new TComboEdit(&window);
    edit->setGeometry(10, 10, 99, 21);
    edit->SetGlyphKind(gkEllipsis);
    edit->SetButtonWidth(16);
    edit->OnButtonClick = [this](QObject* sender) {
      EXPECT_EQ(sender, edit);
      ++clicks;
    };
    other = new QLineEdit(&window);
    other->move(10, 60);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
};

}  // namespace

TEST(ComboEdit, ButtonSitsAtTheRightEdgeInsideTheBorder) {
  TEditFixture f;
  const QRect panel = f.edit->ButtonPanel->geometry();
  EXPECT_EQ(panel.width(), 16);
  EXPECT_EQ(f.edit->Button->width(), 16);
  const int border = panel.top();
  EXPECT_GE(border, 1);
  EXPECT_EQ(panel.left() + panel.width(), f.edit->width() - border);
  EXPECT_EQ(panel.height(), f.edit->height() - 2 * border);
  // the text stops two pixels before the button
  EXPECT_EQ(f.edit->textMargins().right(), 16 + 2);
  // follows a resize
  f.edit->resize(150, 30);
  EXPECT_EQ(f.edit->ButtonPanel->geometry().right(), 150 - border - 1);
  EXPECT_EQ(f.edit->ButtonPanel->height(), 30 - 2 * border);
  // without a border the panel takes the whole right edge
  f.edit->setFrame(false);
  f.edit->UpdateButtonBounds();
  EXPECT_EQ(f.edit->ButtonPanel->geometry(), QRect(150 - 16, 0, 16, 30));
}

TEST(ComboEdit, ClickOnTheButtonFocusesTheEditThenRaisesTheEvent) {
  TEditFixture f;
  f.other->setFocus();
  bool focusedFirst = false;
  f.edit->OnButtonClick = [&](QObject*) {
    focusedFirst = f.edit->hasFocus();
    ++f.clicks;
  };
  f.edit->setText(QStringLiteral("Кремовый"));
  QTest::mousePress(f.edit->Button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseRelease(f.edit->Button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(f.clicks, 1);
  EXPECT_TRUE(focusedFirst);
  // Entered by its button, the edit selects its text (auto-select) ...
  EXPECT_EQ(f.edit->selectedText(), QStringLiteral("Кремовый"));
  // ... but not when the press is on the text itself: the caret goes there.
  f.other->setFocus();
  QTest::mouseClick(f.edit, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
  EXPECT_TRUE(f.edit->hasFocus());
  EXPECT_TRUE(f.edit->selectedText().isEmpty());
}

TEST(ComboEdit, AltDownActsAsTheButton) {
  TEditFixture f;
  f.edit->setFocus();
  QTest::keyClick(f.edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(f.clicks, 1);
  QTest::keyClick(f.edit, Qt::Key_Down);  // Down alone is no click
  EXPECT_EQ(f.clicks, 1);
  f.edit->SetClickKey(QKeySequence(Qt::Key_F4));
  QTest::keyClick(f.edit, Qt::Key_F4);
  EXPECT_EQ(f.clicks, 2);
}

TEST(ComboEdit, ReadOnlyAndDirectInput) {
  TEditFixture f;
  f.edit->setText(QStringLiteral("abc"));
  f.edit->setFocus();
  f.edit->SetReadOnly(true);
  QTest::keyClick(f.edit, Qt::Key_Down, Qt::AltModifier);
  QTest::mouseClick(f.edit->Button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(f.clicks, 0);
  f.edit->selectAll();
  QTest::keyClick(f.edit, Qt::Key_X, Qt::ControlModifier);  // cut
  QTest::keyClicks(f.edit, QStringLiteral("x"));
  EXPECT_EQ(f.edit->text(), QStringLiteral("abc"));
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  QTest::keyClick(f.edit, Qt::Key_V, Qt::ControlModifier);  // paste
  EXPECT_EQ(f.edit->text(), QStringLiteral("abc"));

  // DirectInput off: no typing, but the button works
  f.edit->SetReadOnly(false);
  f.edit->SetDirectInput(false);
  QTest::keyClicks(f.edit, QStringLiteral("x"));
  f.edit->selectAll();
  QTest::keyClick(f.edit, Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(f.edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.edit->text(), QStringLiteral("abc"));
  QTest::keyClick(f.edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(f.clicks, 1);
  f.edit->SetDirectInput(true);
  f.edit->setCursorPosition(3);
  QTest::keyClicks(f.edit, QStringLiteral("d"));
  EXPECT_EQ(f.edit->text(), QStringLiteral("abcd"));
}

TEST(ComboEdit, ButtonWidthRules) {
  TEditFixture f;
  f.edit->SetButtonWidth(1);
  EXPECT_TRUE(f.edit->ButtonPanel->isHidden());
  // the text still leaves the panel's width plus two pixels
  EXPECT_EQ(f.edit->textMargins().right(), f.edit->ButtonPanel->width() + 2);
  f.edit->SetButtonWidth(20);
  EXPECT_FALSE(f.edit->ButtonPanel->isHidden());
  EXPECT_EQ(f.edit->ButtonWidth(), 20);
  f.edit->SetButtonWidth(200);  // wider than the edit: refused
  EXPECT_EQ(f.edit->ButtonWidth(), 20);
}

TEST(ComboEdit, GlyphKinds) {
  TEditFixture f;
  // the ellipsis of a 16-pixel button: 10 x 4 with dots at 0, 4 and 8
  const QImage dots = f.edit->Glyph();
  ASSERT_EQ(dots.size(), QSize(10, 4));
  for (int x : {0, 1, 4, 5, 8, 9}) EXPECT_EQ(dots.pixel(x, 1) & 0xFFFFFF, 0u) << x;
  for (int x : {2, 3, 6, 7}) EXPECT_EQ(dots.pixel(x, 1) & 0xFFFFFF, 0xFFFFFFu) << x;
  EXPECT_EQ(dots.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(dots.pixel(0, 2) & 0xFFFFFF, 0u);
  // a new width regenerates them
  f.edit->SetButtonWidth(30);
  EXPECT_EQ(f.edit->Glyph().width(), 24);
  EXPECT_EQ(CreateEllipsisGlyph(4).width(), 1);
  // a glyph of the user's turns the kind to custom
  QImage own(12, 12, QImage::Format_RGB32);
  own.fill(Qt::red);
  f.edit->SetGlyph(own);
  EXPECT_EQ(f.edit->GlyphKind(), gkCustom);
  EXPECT_EQ(f.edit->Glyph().size(), QSize(12, 12));
  f.edit->SetGlyphKind(gkDropDown);
  EXPECT_EQ(f.edit->NumGlyphs(), 1);
  EXPECT_GT(f.edit->ButtonWidth(), 0);

  // the dots show embossed on a disabled edit, black on an enabled one
  f.edit->SetGlyphKind(gkEllipsis);
  f.edit->SetButtonWidth(16);
  auto count = [&](QRgb colour) {
    const QImage shot = Picture(f.edit->Button);
    int n = 0;
    for (int y = 2; y < shot.height() - 2; ++y)
      for (int x = 3; x < shot.width() - 2; ++x) n += PixelAt(shot, x, y) == colour;
    return n;
  };
  EXPECT_EQ(count(Rgb(clBtnText())), 12);
  f.edit->setEnabled(false);
  EXPECT_EQ(count(Rgb(clBtnText())), 0);
  EXPECT_GE(count(Rgb(clBtnShadow())), 12);
}

TEST(ComboEdit, GrowsToItsMinimumHeight) {
  TEditFixture f;
  f.edit->resize(99, 5);
  EXPECT_EQ(f.edit->height(), f.edit->MinimumHeight());
  EXPECT_GE(f.edit->ButtonPanel->height(), 1);
}

TEST(ComboEdit, EnterAndEscapeReachTheDialog) {
  QDialog dialog;
  auto* edit = new TComboEdit(&dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->move(0, 40);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  int changes = 0;
  edit->OnChange = [&](QObject*) { ++changes; };
  QTimer::singleShot(0, [&] {
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(edit->text(), QStringLiteral("ab"));  // no line was added
  EXPECT_EQ(changes, 2);
  QTimer::singleShot(0, [&] {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);

  edit->AcceptValue(QStringLiteral("ab"));  // the same value: nothing
  EXPECT_EQ(changes, 2);
  edit->AcceptValue(QStringLiteral("Lime"));
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(edit->isModified());
}
