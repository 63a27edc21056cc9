// The program's look: the painters of tool bars, tool buttons, menu items,
// check marks and value-list cells, and the style that puts them on every
// tool bar and menu of the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "tests/windows/MainFixture.h"
#include "controls/KitConst.h"
#include "windows/look/CheckListBox.h"
#include "windows/look/FlatStyle.h"
#include "windows/look/ValueListEditor.h"
#include "windows/look/uProc.h"

namespace {

const QColor kPrefill(255, 0, 255);  // what a painter leaves untouched stays magenta

QColor Bgr(int32_t value) { return PaintColor(value); }
const QColor kBar = Bgr(0xF5C2A3), kHot = Bgr(0xC2EEFF), kPressedHot = Bgr(0x5295FE), kPressed = Bgr(0x59AFFF),
             kGrayText = Bgr(0x8D8D8D), kNavy = Bgr(0x800000), kMenu = Bgr(0xF6F6F6);

QImage Paint(QSize size, const std::function<void(QPainter&)>& draw) {
  TestApplication();
  QImage image(size, QImage::Format_RGB32);
  image.fill(kPrefill);
  QPainter p(&image);
  p.setFont(QApplication::font());
  draw(p);
  p.end();
  return image;
}

bool Dark(const QColor& c) { return c.lightness() < 110; }

// The leftmost and rightmost columns of `rows` holding a pixel of `colour` (-1 when none).
std::pair<int, int> Span(const QImage& image, int top, int bottom, const std::function<bool(QColor)>& is) {
  int left = -1, right = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = top; y <= bottom; ++y)
      if (is(image.pixelColor(x, y))) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  return {left, right};
}

QImage Item(const TMenuItemInfo& item, TOwnerDrawState state, int width = 160) {
  int height = 0;
  MeasureMenuItem(item, height);
  return Paint(QSize(width, height), [&](QPainter& p) { DrawMenuItem(item, p, QRect(0, 0, width, height), state); });
}

TMenuItemInfo Caption(const QString& caption) {
  TestApplication();
  TMenuItemInfo item;
  item.Caption = caption;
  return item;
}

// The mark box of an item at (0, 0) 23 pixels high: 11 x 11 at (5, 6).
const QRect kMarkBox(5, 6, 11, 11);

}  // namespace

TEST(MenuItemPainter, CaptionsDropTheFirstAmpersandAndShowNoUnderline) {
  EXPECT_EQ(StripFirstAmpersand(QStringLiteral("&Файл")), QStringLiteral("Файл"));
  EXPECT_EQ(StripFirstAmpersand(QStringLiteral("a&&b")), QStringLiteral("a&b"));
  EXPECT_EQ(Item(Caption(QStringLiteral("&Файл")), 0), Item(Caption(QStringLiteral("Файл")), 0));
  EXPECT_EQ(Item(Caption(QStringLiteral("a&&b")), 0), Item(Caption(QStringLiteral("&a&b")), 0));
  EXPECT_NE(Item(Caption(QStringLiteral("a&&b")), 0), Item(Caption(QStringLiteral("a&b")), 0));

  // The caption starts 25 pixels in; the shortcut ends 4 pixels before the right edge.
  TMenuItemInfo item = Caption(QStringLiteral("Наблюдение"));
  item.ShortCut = QStringLiteral("F9");
  const QImage image = Item(item, 0, 200);
  EXPECT_EQ(image.height(), 23);
  const auto [left, right] = Span(image, 5, 21, Dark);
  EXPECT_GE(left, 25);
  EXPECT_LE(left, 27);
  EXPECT_LE(right, 200 - 1 - 4);
  EXPECT_GE(right, 200 - 1 - 7);
  // A default item is bold: its caption covers more pixels.
  auto darkCount = [](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 25; x < 150; ++x) n += Dark(img.pixelColor(x, y));
    return n;
  };
  EXPECT_GT(darkCount(Item(item, odDefault, 200)), darkCount(image));
}

TEST(MenuItemPainter, ItemColoursStripeAndFrame) {
  const QImage rest = Item(Caption(QStringLiteral("Пуск")), 0);
  EXPECT_EQ(rest.pixelColor(0, 0), kBar);  // the stripe, 23 wide, full height
  EXPECT_EQ(rest.pixelColor(22, 22), kBar);
  EXPECT_EQ(rest.pixelColor(23, 0), kMenu);
  EXPECT_EQ(rest.pixelColor(159, 22), kMenu);

  const QImage selected = Item(Caption(QStringLiteral("Пуск")), odSelected);
  EXPECT_EQ(selected.pixelColor(0, 0), kNavy);  // framed, no stripe
  EXPECT_EQ(selected.pixelColor(159, 22), kNavy);
  EXPECT_EQ(selected.pixelColor(10, 11), kHot);
  EXPECT_EQ(selected.pixelColor(150, 11), kHot);

  const QImage grayed = Item(Caption(QStringLiteral("Стоп")), odGrayed | odSelected);
  EXPECT_EQ(grayed.pixelColor(10, 11), kMenu);
  EXPECT_EQ(grayed.pixelColor(0, 11), kNavy);
  // Its text is grey: no black pixel at all.
  const auto [left, right] = Span(grayed, 1, 21, [](QColor c) { return c.lightness() < 60; });
  EXPECT_EQ(left, -1);
  const auto [gl, gr] = Span(grayed, 1, 21, [](QColor c) { return c == kGrayText; });
  EXPECT_GE(gl, 25);
}

TEST(MenuItemPainter, SeparatorIsThreePixelsOfStripeAndALineFrom25) {
  int height = 0;
  MeasureMenuItem(Caption(QStringLiteral("-")), height);
  EXPECT_EQ(height, 3);
  MeasureMenuItem(Caption(QStringLiteral("--")), height);
  EXPECT_EQ(height, 23);
  const QImage image = Item(Caption(QStringLiteral("-")), 0, 100);
  ASSERT_EQ(image.height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 23; ++x) ASSERT_EQ(image.pixelColor(x, y), kBar) << x << "," << y;
    for (int x = 23; x < 100; ++x) {
      const bool line = y == 1 && x >= 25;
      ASSERT_EQ(image.pixelColor(x, y), line ? kBar : kMenu) << x << "," << y;
    }
  }
}

TEST(MenuItemPainter, MarkBoxesOfAutoCheckItems) {
  TMenuItemInfo item = Caption(QStringLiteral("Липкие окна"));
  item.AutoCheck = true;
  // The box's colour by state, always framed in navy.
  EXPECT_EQ(Item(item, 0).pixelColor(2, 2), kBar);
  EXPECT_EQ(Item(item, odSelected).pixelColor(2, 2), kBar);
  EXPECT_EQ(Item(item, odChecked).pixelColor(2, 2), kPressed);
  EXPECT_EQ(Item(item, odChecked | odSelected).pixelColor(2, 2), kPressedHot);
  EXPECT_EQ(Item(item, odChecked).pixelColor(1, 1), kNavy);
  EXPECT_EQ(Item(item, odChecked).pixelColor(21, 21), kNavy);
  EXPECT_EQ(Item(item, odChecked).pixelColor(0, 11), kBar);  // the stripe around the box

  // The check box: white inside a grey frame, and three strokes.
  const QImage ticked = Item(item, odChecked);
  const int l = kMarkBox.left(), t = kMarkBox.top();
  EXPECT_EQ(ticked.pixelColor(l, t), clBtnShadow());
  EXPECT_EQ(ticked.pixelColor(l + 10, t + 10), clBtnShadow());
  EXPECT_EQ(ticked.pixelColor(l + 1, t + 1), clWindow());
  for (int k = 4; k <= 6; ++k) {
    for (QPoint at : {QPoint(l + 2, t + k), QPoint(l + 3, t + k + 1), QPoint(l + 4, t + k + 2), QPoint(l + 6, t + k),
                      QPoint(l + 8, t + k - 2)})
      EXPECT_EQ(ticked.pixelColor(at), QColor(Qt::black)) << k;
  }
  EXPECT_EQ(ticked.pixelColor(l + 9, t + 3), clWindow());  // the strokes' last points are left out
  EXPECT_EQ(Item(item, 0).pixelColor(l + 4, t + 6), clWindow());

  // Disabled, ticked: a menu-coloured box with the mark, selected or not.
  for (TOwnerDrawState selected : {0u, unsigned(odSelected)}) {
    const QImage image = Item(item, odGrayed | odChecked | selected);
    EXPECT_EQ(image.pixelColor(2, 2), kMenu) << selected;
    EXPECT_EQ(image.pixelColor(l + 4, t + 6), QColor(Qt::black)) << selected;
  }

  // A radio item: a circle with a dot when ticked.
  item.RadioItem = true;
  const QImage dot = Item(item, odChecked);
  EXPECT_EQ(dot.pixelColor(l + 5, t + 5), QColor(Qt::black));
  EXPECT_EQ(dot.pixelColor(l + 5, t), clBtnShadow());
  EXPECT_EQ(dot.pixelColor(l + 5, t + 1), clWindow());
  EXPECT_EQ(dot.pixelColor(l, t), kPressed);  // outside the circle, the box's colour
  EXPECT_EQ(dot.pixelColor(l + 2, t + 5), clWindow());
  EXPECT_EQ(Item(item, 0).pixelColor(l + 5, t + 5), clWindow());
}

TEST(MenuItemPainter, ImageAtTwoFourWithWhiteTransparent) {
  TestApplication();
  QPixmap image(16, 16);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.fillRect(6, 6, 4, 4, Qt::red);
  }
  TMenuItemInfo item = Caption(QStringLiteral("Статистика"));
  item.Image = image;
  const QImage drawn = Item(item, 0);
  EXPECT_EQ(drawn.pixelColor(2 + 6, 4 + 6), QColor(Qt::red));
  EXPECT_EQ(drawn.pixelColor(2 + 9, 4 + 9), QColor(Qt::red));
  EXPECT_EQ(drawn.pixelColor(2 + 5, 4 + 6), kBar);  // white let the stripe through
  EXPECT_EQ(drawn.pixelColor(2 + 6, 4 + 10), kBar);
}

TEST(ToolButtonPainter, ColourOfEveryState) {
  TestApplication();
  QPixmap image(16, 16);
  image.fill(Qt::blue);
  TToolButtonItem button{QRect(0, 0, 71, 36), QStringLiteral("Такт"), image, true};
  auto draw = [&](TCustomDrawState state) {
    return Paint(QSize(71, 36), [&](QPainter& p) {
      bool defaultDraw = true;
      DrawToolButton(p, button, state, defaultDraw);
      EXPECT_FALSE(defaultDraw);
    });
  };
  const struct {
    TCustomDrawState state;
    QColor fill;
    bool frame;
  } cases[] = {{0, kBar, false},
               {cdsHot, kHot, true},
               {cdsSelected, kPressed, true},
               {cdsSelected | cdsHot, kPressedHot, true},
               {cdsDisabled, kBar, false},
               {cdsSelected | cdsDisabled, kPressed, true}};
  for (const auto& c : cases) {
    const QImage shot = draw(c.state);
    EXPECT_EQ(shot.pixelColor(3, 10), c.fill) << c.state;
    EXPECT_EQ(shot.pixelColor(0, 0), c.frame ? kNavy : c.fill) << c.state;
    EXPECT_EQ(shot.pixelColor(70, 35), c.frame ? kNavy : c.fill) << c.state;
    // The image centred at 3 under the top, the caption at 20.
    EXPECT_EQ(shot.pixelColor(27, 3), QColor(Qt::blue)) << c.state;
    EXPECT_EQ(shot.pixelColor(42, 18), QColor(Qt::blue)) << c.state;
    EXPECT_NE(shot.pixelColor(27, 2), QColor(Qt::blue)) << c.state;
    const auto [left, right] = Span(shot.copy(1, 20, 69, 15), 0, 14, [&](QColor col) { return col != c.fill; });
    EXPECT_GT(left, 10) << c.state;
    EXPECT_NEAR(left, 68 - right, 2) << c.state;  // centred
  }
  // Disabled text is grey, other text black.
  const QImage disabled = draw(cdsDisabled), hot = draw(cdsHot);
  const auto darkest = [](const QImage& img) {
    int least = 255;
    for (int y = 20; y < 35; ++y)
      for (int x = 1; x < 70; ++x) least = std::min(least, img.pixelColor(x, y).lightness());
    return least;
  };
  EXPECT_GE(darkest(disabled), kGrayText.lightness() - 2);
  EXPECT_LT(darkest(hot), 60);

  // Without an image: no frame, even under the mouse or pressed.
  button.Image = QPixmap();
  EXPECT_EQ(draw(cdsHot).pixelColor(0, 0), kHot);
  EXPECT_EQ(draw(cdsSelected).pixelColor(70, 35), kPressed);

  // The bar under the buttons.
  const QImage bar = Paint(QSize(30, 10), [](QPainter& p) { DrawToolBar(p, QRect(0, 0, 30, 10)); });
  EXPECT_EQ(bar.pixelColor(0, 0), kBar);
  EXPECT_EQ(bar.pixelColor(29, 9), kBar);
}

TEST(ToolButtonPainter, MenuBarButtonOpensIntoItsMenu) {
  TestApplication();
  const TToolButtonItem button{QRect(0, 0, 40, 19), QStringLiteral("Вид"), QPixmap(), true};
  auto draw = [&](TCustomDrawState state, bool& defaultDraw) {
    defaultDraw = true;
    return Paint(QSize(40, 19), [&](QPainter& p) { DrawMenuBarButton(p, button, state, defaultDraw); });
  };
  bool defaultDraw = false;
  const QImage rest = draw(0, defaultDraw);
  EXPECT_TRUE(defaultDraw);
  EXPECT_EQ(rest.pixelColor(20, 10), kPrefill);  // left to the bar

  const QImage hot = draw(cdsHot, defaultDraw);
  EXPECT_FALSE(defaultDraw);
  EXPECT_EQ(hot.pixelColor(20, 0), kPrefill);  // one pixel down from the top
  EXPECT_EQ(hot.pixelColor(20, 1), kNavy);
  EXPECT_EQ(hot.pixelColor(20, 18), kNavy);
  EXPECT_EQ(hot.pixelColor(2, 17), kHot);

  const QImage open = draw(cdsSelected, defaultDraw);
  EXPECT_FALSE(defaultDraw);
  EXPECT_EQ(open.pixelColor(20, 1), kNavy);
  EXPECT_EQ(open.pixelColor(0, 10), kNavy);
  EXPECT_EQ(open.pixelColor(2, 17), kMenu);
  for (int x = 1; x <= 38; ++x) EXPECT_EQ(open.pixelColor(x, 18), kMenu) << x;  // no frame along the bottom
  EXPECT_EQ(open.pixelColor(0, 18), kNavy);
  EXPECT_EQ(open.pixelColor(39, 18), kNavy);
  const auto [left, right] = Span(open.copy(1, 2, 38, 16), 0, 15, [](QColor c) { return c != kMenu; });
  EXPECT_GE(left + 1, 5);
  EXPECT_LE(left + 1, 7);
}

TEST(ValueListCellPainter, SectionRowIsOneInfoBandInBoldAcrossBothColumns) {
  TestApplication();
  TValueListEditor grid;
  grid.resize(300, 120);
  grid.SetTitleCaptions(QStringLiteral("Параметр"), QStringLiteral("Значение"));
  grid.SetColWidths(0, 60);
  grid.InsertRow(QStringLiteral("&Постоянные параметры"), QString());
  grid.InsertRow(QStringLiteral("Цвет"), QStringLiteral("Белый"));
  grid.show();
  QApplication::processEvents();
  const QImage image = grid.viewport()->grab().toImage();
  const QRect key = grid.CellRect(0, 1), value = grid.CellRect(1, 1);
  const QRect band = key.united(value);
  // One band: no column line between the two cells, the title running over both.
  for (int x = band.left(); x <= band.right(); ++x) EXPECT_EQ(image.pixelColor(x, band.top()), clInfoBk()) << x;
  const auto [left, right] = Span(image.copy(band), 0, band.height() - 1, Dark);
  EXPECT_GE(left, 1);
  EXPECT_LE(left, 3);
  EXPECT_GT(right, value.left() - band.left() + 20);
  // The title without its "&", in bold: more ink than the same words in the normal style.
  const QImage normal = Paint(band.size(), [&](QPainter& p) {
    p.setFont(grid.font());
    p.fillRect(QRect(QPoint(), band.size()), clInfoBk());
    p.setPen(Qt::black);
    p.drawText(QPoint(1, 2 + p.fontMetrics().ascent()), QStringLiteral("Постоянные параметры"));
  });
  auto ink = [](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += Dark(img.pixelColor(x, y));
    return n;
  };
  EXPECT_GT(ink(image.copy(band)), ink(normal) * 11 / 10);
  const auto [nl, nr] = Span(normal, 0, normal.height() - 1, Dark);
  EXPECT_EQ(nl, left);  // drawn from the same place: no "&" in front

  // An ordinary row: grey, a shadow line closing the key cell, a light line opening the value cell.
  const QRect k2 = grid.CellRect(0, 2), v2 = grid.CellRect(1, 2);
  EXPECT_EQ(image.pixelColor(k2.right(), k2.center().y()), clBtnShadow());
  EXPECT_EQ(image.pixelColor(k2.right() - 1, k2.top()), clBtnFace());
  EXPECT_EQ(image.pixelColor(v2.left(), v2.center().y()), clBtnHighlight());
  EXPECT_EQ(image.pixelColor(v2.right() - 1, v2.top()), clBtnFace());
  // The title row in relief: light top, dark bottom.
  const QRect title = grid.CellRect(1, 0);
  EXPECT_EQ(image.pixelColor(title.center().x(), title.top()), clBtnHighlight());
  EXPECT_EQ(image.pixelColor(title.center().x(), title.bottom()), clBtnShadow());
}

TEST(CheckListPainter, BoxesAndHeaderBandsComeFromTheSharedPainters) {
  TestApplication();
  TCheckListBox list;
  for (const char* t : {"Ресурсы", "Трава", "Камни"}) list.AddItem(QString::fromUtf8(t));
  list.SetHeader(0, true);
  list.SetChecked(1, true);
  list.resize(200, 80);
  list.show();
  QApplication::processEvents();
  const QImage image = list.viewport()->grab().toImage();
  const QRect ticked = list.CheckBoxRect(1), empty = list.CheckBoxRect(2);
  ASSERT_EQ(ticked.size(), QSize(11, 11));
  EXPECT_EQ(image.pixelColor(ticked.topLeft()), clBtnShadow());
  EXPECT_EQ(image.pixelColor(ticked.left() + 2, ticked.top() + 4), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(ticked.left() + 8, ticked.top() + 2), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(empty.left() + 2, empty.top() + 4), clWindow());
  const QRect header = list.visualItemRect(list.item(0));
  EXPECT_EQ(image.pixelColor(header.left(), header.top()), clInfoBk());
  const auto [left, right] = Span(image.copy(header), 0, header.height() - 1, Dark);
  EXPECT_GE(left, 2);
  EXPECT_LE(left, 4);
}

// The look on the program's own bars and menus.
class LookTest : public MainWindowTest {
 protected:
  // The menu opened and painted, as the user sees it.
  QImage Shot(QMenu* menu, QAction* active = nullptr) {
    menu->popup(QPoint(10, 10));
    QApplication::processEvents();
    if (active) menu->setActiveAction(active);
    EXPECT_EQ(menu->activeAction(), active);
    QApplication::processEvents();
    QImage image = menu->grab().toImage();
    menu->hide();
    return image;
  }
  // An item's rectangle in the menu, and one of its pixels relative to it.
  static QColor At(const QImage& image, QMenu* menu, QAction* action, int x, int y) {
    return image.pixelColor(menu->actionGeometry(action).topLeft() + QPoint(x, y));
  }
  static QToolButton* Button(QToolBar* bar, QAction* action) {
    for (QToolButton* b : bar->findChildren<QToolButton*>())
      if (b->defaultAction() == action) return b;
    return nullptr;
  }
};

TEST_F(LookTest, ViewMenuShowsWhichWindowsAreShown) {
  QMenu* menu = Form->PopupMenuView;
  Form->ActionViewParameter->setChecked(false);
  Form->ActionViewStatistic->setChecked(true);
  Form->ActionViewDock->setChecked(false);
  const QImage image = Shot(menu);
  EXPECT_EQ(menu->actionGeometry(Form->ActionViewField).height(), 23);
  EXPECT_EQ(At(image, menu, Form->ActionViewStatistic, 2, 2), kPressed);  // shown: the ticked box
  EXPECT_EQ(At(image, menu, Form->ActionViewParameter, 2, 2), kBar);      // hidden
  EXPECT_EQ(At(image, menu, Form->ActionViewParameter, 1, 1), kNavy);
  // "Липкие окна" on and off: the tick shows between the lines of its picture.
  const QRect box = kMarkBox.translated(menu->actionGeometry(Form->ActionViewDock).topLeft());
  Form->ActionViewDock->setChecked(true);
  const QImage on = Shot(menu);
  int tick = 0;
  for (int y = box.top() + 1; y < box.bottom(); ++y)
    for (int x = box.left() + 1; x < box.right(); ++x)
      tick += on.pixelColor(x, y) == QColor(Qt::black) && image.pixelColor(x, y) != QColor(Qt::black);
  EXPECT_GT(tick, 3);
  EXPECT_EQ(on.pixelColor(box.topLeft() - QPoint(3, 4)), kPressed);
  // Every item goes through the shared measurer: separators are 3 pixels high.
  for (QAction* a : menu->actions()) EXPECT_EQ(menu->actionGeometry(a).height(), a->isSeparator() ? 3 : 23);
}

TEST_F(LookTest, MenuStripeRunsThroughSeparatorsAndDisabledItemsHighlight) {
  QMenu* menu = Form->PopupMenuService;
  ASSERT_FALSE(Form->ActionFieldStop->isEnabled());
  const QImage image = Shot(menu, Form->ActionFieldStop);
  const QRect first = menu->actionGeometry(menu->actions().first());
  const QRect last = menu->actionGeometry(menu->actions().last());
  for (int y = first.top(); y <= last.bottom(); ++y) {
    if (menu->actionAt(QPoint(first.left() + 22, y)) == Form->ActionFieldStop) continue;
    ASSERT_EQ(image.pixelColor(first.left() + 22, y), kBar) << y;
  }
  // The disabled Stop under the mouse: menu colour, navy frame.
  EXPECT_EQ(At(image, menu, Form->ActionFieldStop, 0, 0), kNavy);
  EXPECT_EQ(At(image, menu, Form->ActionFieldStop, 22, 11), kMenu);
  EXPECT_EQ(image.pixelColor(0, first.top()), clBtnShadow());  // the menu's frame
}

TEST_F(LookTest, FieldViewMenusShareTheLook) {
  QMenu* context = FormView->PopupMenu;
  const QImage image = Shot(context);
  const QRect item = context->actionGeometry(FormView->MenuItemStart);
  EXPECT_EQ(item.height(), 23);
  EXPECT_EQ(image.pixelColor(item.left() + 22, item.top()), kBar);
  EXPECT_EQ(image.pixelColor(item.left() + 100, item.top() + 1), kMenu);

  // The organism brush menu: radio items, the brush in force ticked with a dot.
  QMenu* plants = FormView->PopupMenuPlant;
  FormView->SetBrushMenuItem(plants, QStringLiteral("Второй"), -1, TBrushTool::Plant);
  ASSERT_EQ(plants->actions().size(), 2);
  const QImage brush = Shot(plants);
  QAction* on = plants->actions()[0];
  QAction* off = plants->actions()[1];
  ASSERT_TRUE(on->isChecked());
  const QPoint dot = kMarkBox.topLeft() + QPoint(5, 5);
  EXPECT_EQ(At(brush, plants, on, dot.x(), dot.y()), QColor(Qt::black));
  EXPECT_EQ(At(brush, plants, on, 2, 2), kPressed);
  EXPECT_EQ(At(brush, plants, off, dot.x(), dot.y()), clWindow());
  EXPECT_EQ(At(brush, plants, off, 2, 2), kBar);
}

TEST_F(LookTest, CommandToolBarButtons) {
  Form->show();
  QApplication::processEvents();
  QToolButton* step = Button(Form->ToolBar, Form->ActionFieldStep);
  QToolButton* view = Button(Form->ToolBar, Form->ActionViewField);
  QToolButton* open = Button(Form->ToolBar, Form->ActionFileLoad);
  ASSERT_TRUE(step && view && open);
  auto fill = [](QToolButton* b) { return b->grab().toImage().pixelColor(3, 10); };
  auto frame = [](QToolButton* b) { return b->grab().toImage().pixelColor(0, 0); };
  EXPECT_EQ(fill(step), kBar);
  EXPECT_EQ(frame(step), kBar);
  step->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(fill(step), kHot);
  EXPECT_EQ(frame(step), kNavy);
  step->setAttribute(Qt::WA_UnderMouse, false);
  step->setDown(true);
  EXPECT_EQ(fill(step), kPressed);
  step->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(fill(step), kPressedHot);
  step->setDown(false);
  step->setAttribute(Qt::WA_UnderMouse, false);
  // A shown window's toggle is down.
  Form->ActionViewField->setChecked(true);
  EXPECT_EQ(fill(view), kPressed);
  Form->ActionViewField->setChecked(false);
  EXPECT_EQ(fill(view), kBar);
  Form->ActionFieldStep->setEnabled(false);
  EXPECT_EQ(fill(step), kBar);
  Form->ActionFieldStep->setEnabled(true);
  // The Open button has a pop-up but no arrow: its right half below the picture is bare bar.
  const QImage openShot = open->grab().toImage();
  for (int y = 2; y < 18; ++y)
    for (int x = 46; x < open->width() - 1; ++x) ASSERT_EQ(openShot.pixelColor(x, y), kBar) << x << "," << y;
  // The bars themselves.
  const QImage bar = Form->ToolBar->grab().toImage();
  EXPECT_EQ(bar.pixelColor(bar.width() - 1, bar.height() - 1), kBar);
  const QImage menuBar = Form->ToolBarMenu->grab().toImage();
  EXPECT_EQ(menuBar.pixelColor(menuBar.width() - 1, 2), kBar);
  EXPECT_EQ(menuBar.pixelColor(menuBar.width() - 1, menuBar.height() - 2), clBtnShadow());
  EXPECT_EQ(menuBar.pixelColor(menuBar.width() - 1, menuBar.height() - 1), clBtnHighlight());
}

TEST_F(LookTest, MenuBarButtonOpensIntoItsMenuWithNoLineBetween) {
  Form->show();
  QToolButton* file = nullptr;
  for (QToolButton* b : Form->ToolBarMenu->findChildren<QToolButton*>())
    if (b->menu() == Form->PopupMenuFile) file = b;
  ASSERT_NE(file, nullptr);
  // The user clicks "Файл"; the menu is looked at while it is open.
  QMenu* menu = Form->PopupMenuFile;
  QImage shot;
  QPoint menuAt;
  QTimer look;
  look.setInterval(5);
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (!menu->isVisible()) return;
    look.stop();
    shot = menu->grab().toImage();
    menuAt = menu->mapToGlobal(QPoint(0, 0));
    menu->close();
  });
  look.start();
  QTest::mouseClick(file, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_FALSE(shot.isNull());
  const QRect button(file->mapToGlobal(QPoint(0, 0)), file->size());
  ASSERT_LE(menuAt.y(), button.bottom() + 1);
  // Under the button, between its side frames: the menu's own colour, no frame line.
  int line = 0;
  for (int x = button.left() + 1; x < button.right(); ++x) line += shot.pixelColor(x - menuAt.x(), 0) != kMenu;
  EXPECT_EQ(line, 0);
  // Past the button the menu's frame goes on.
  EXPECT_EQ(shot.pixelColor(button.right() + 1 - menuAt.x(), 0), clBtnShadow());
  EXPECT_EQ(shot.pixelColor(shot.width() - 1, 0), clBtnShadow());
  // A menu opened by anything else keeps its whole frame.
  const QImage other = Shot(Form->PopupMenuService);
  EXPECT_EQ(other.pixelColor(button.width() / 2, 0), clBtnShadow());
}

// The texts the toolkit draws itself are Russian as well, whatever the locale.
TEST_F(LookTest, ContextMenusOfEditAndSpinBoxesAreRussian) {
  FormParameter->show();
  FormParameter->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(FormParameter));
  // A right click on the box, as the user opens its menu; the menu is read
  // while it is open (a spin box's menu waits for the choice).
  auto menuOf = [](QWidget* box) {
    QStringList texts;
    QTimer look;
    look.setInterval(5);
    QObject::connect(&look, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      look.stop();
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
      menu->close();
    });
    look.start();
    QWidget* top = box->window();
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, Qt::NoModifier, box->mapTo(top, QPoint(8, 8)));
    (void)QTest::qWaitFor([&] { return !texts.isEmpty(); }, 2000);
    return texts;
  };
  const QRegularExpression english(QStringLiteral("Undo|Redo|Cut|Copy|Paste|Delete|Select|Step"));
  const QRegularExpression russian(QStringLiteral("[А-Яа-я]"));
  FormParameter->PageControl->setCurrentIndex(0);
  for (QWidget* box : std::initializer_list<QWidget*>{FormParameter->EditUserName, FormParameter->UpDownC}) {
    const QStringList texts = menuOf(box);
    ASSERT_GE(texts.size(), 6) << box->objectName().toStdString();
    for (const QString& text : texts) {
      EXPECT_FALSE(text.contains(english)) << text.toStdString();
      EXPECT_TRUE(text.contains(russian)) << text.toStdString();
    }
  }
}
