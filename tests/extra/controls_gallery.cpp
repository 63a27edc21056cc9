// Shows every control of the component kit in one window. With a file name
// as argument it opens the pop-up window too, saves a picture of both and exits.
#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/KitConst.h"
#include "controls/KitCtrls.h"
#include "controls/ToolEdit.h"
#include "controls/ZeltorStatusBar.h"
#include "controls/fCombo.h"

namespace {

// A 16 x 16 glyph: a black-outlined square with a red middle on fuchsia.
QImage SampleGlyph() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  QPainter p(&image);
  p.setPen(Qt::black);
  p.setBrush(QColor(220, 40, 40));
  p.drawRect(2, 2, 11, 11);
  p.drawLine(5, 7, 10, 7);
  return image;
}

QWidget* Labels(QWidget* parent) {
  auto* box = new QGroupBox(QStringLiteral("TKitLabel"), parent);
  box->setFixedSize(300, 200);
  const char* names[] = {"Слева сверху", "Слева снизу", "Справа снизу", "Справа сверху"};
  for (int i = 0; i < 4; ++i) {
    auto* l = new TKitLabel(box);
    l->move(10, 22 + i * 24);
    l->SetShadowPos(static_cast<TShadowPosition>(i));
    l->SetShadowSize(2);
    l->SetShadowColor(Qt::darkGray);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(11);
    l->setFont(f);
    l->SetCaption(QString::fromUtf8(names[i]));
  }
  auto* disabled = new TKitLabel(box);
  disabled->move(160, 22);
  disabled->SetShadowSize(0);
  disabled->SetCaption(QStringLiteral("Недоступна"));
  disabled->setEnabled(false);
  // the splash's title: bold yellow on a dark picture, black shadow right-bottom
  auto* back = new QWidget(box);
  back->setGeometry(150, 50, 140, 140);
  back->setAutoFillBackground(true);
  QPalette pal = back->palette();
  pal.setColor(QPalette::Window, QColor(20, 60, 110));
  back->setPalette(pal);
  auto* title = new TKitLabel(back);
  title->SetAutoSize(false);
  title->setGeometry(5, 10, 130, 120);
  title->SetAlignment(taCenter);
  title->SetLayout(tlCenter);
  title->SetWordWrap(true);
  title->SetTransparent(true);
  title->SetShadowColor(Qt::black);
  title->SetShadowPos(spRightBottom);
  QFont f = title->font();
  f.setBold(true);
  title->setFont(f);
  title->SetFontColor(Qt::yellow);
  title->SetCaption(QStringLiteral("ZeltorOmra — искусственная эволюция на поле клеток"));
  return box;
}

QWidget* Buttons(QWidget* parent) {
  auto* box = new QGroupBox(QStringLiteral("TKitSpeedButton"), parent);
  box->setFixedSize(300, 200);
  int x = 10;
  auto add = [&](const QString& caption, int w, int h) {
    auto* b = new TKitSpeedButton(box);
    b->setGeometry(x, 24, w, h);
    b->SetCaption(caption);
    x += w + 6;
    return b;
  };
  auto* up = add(QStringLiteral("Вверх"), 60, 40);
  up->SetGlyph(SampleGlyph());
  auto* down = add(QStringLiteral("Вниз"), 60, 40);
  down->SetGlyph(SampleGlyph());
  down->SetGroupIndex(1);
  down->SetDown(true);
  auto* disabled = add(QStringLiteral("Нет"), 60, 40);
  disabled->SetGlyph(SampleGlyph());
  disabled->setEnabled(false);
  auto* flat = add(QStringLiteral("Плоская"), 70, 40);
  flat->SetGlyph(SampleGlyph());
  flat->SetFlat(true);

  x = 10;
  auto* left = new TKitSpeedButton(box);
  left->setGeometry(10, 80, 130, 26);
  left->SetLayout(blGlyphLeft);
  left->SetGlyph(SampleGlyph());
  left->SetCaption(QStringLiteral("Меню"));
  auto* menu = new QMenu(left);
  menu->addAction(QStringLiteral("Первый"));
  menu->addAction(QStringLiteral("Второй"));
  left->SetDropDownMenu(menu);
  auto* longCaption = new TKitSpeedButton(box);
  longCaption->setGeometry(150, 80, 80, 26);
  longCaption->SetCaption(QStringLiteral("Очень длинная надпись"));
  auto* grouped = new TKitSpeedButton(box);
  grouped->setGeometry(240, 80, 26, 26);
  grouped->SetGroupIndex(1);
  grouped->SetGlyph(SampleGlyph());

  auto* bigGlyph = new TKitSpeedButton(box);
  bigGlyph->setGeometry(10, 120, 60, 60);
  bigGlyph->SetLayout(blGlyphBottom);
  bigGlyph->SetGlyph(SampleGlyph().scaled(32, 32));
  bigGlyph->SetCaption(QStringLiteral("Снизу"));
  auto* exclusiveFlat = new TKitSpeedButton(box);
  exclusiveFlat->setGeometry(80, 120, 60, 60);
  exclusiveFlat->SetFlat(true);
  exclusiveFlat->SetGroupIndex(2);
  exclusiveFlat->SetDown(true);
  exclusiveFlat->SetCaption(QStringLiteral("Нажата"));
  return box;
}

QWidget* Edits(QWidget* parent, TComboEdit** anchor) {
  auto* box = new QGroupBox(QStringLiteral("TComboEdit"), parent);
  box->setFixedSize(300, 200);
  auto add = [&](int y, TGlyphKind kind, const QString& text) {
    auto* e = new TComboEdit(box);
    e->setGeometry(10, y, 99, 21);
    e->SetGlyphKind(kind);
    e->SetButtonWidth(16);
    e->setText(text);
    return e;
  };
  *anchor = add(24, gkEllipsis, QStringLiteral("Lime"));
  add(54, gkDropDown, QStringLiteral("Yellow"));
  auto* disabled = add(84, gkEllipsis, QStringLiteral("Недоступно"));
  disabled->setEnabled(false);
  auto* wide = new TComboEdit(box);
  wide->setGeometry(120, 24, 170, 21);
  wide->SetGlyph(SampleGlyph());
  wide->setText(QStringLiteral("Свой рисунок"));
  auto* readOnly = add(54, gkEllipsis, QStringLiteral("Только чтение"));
  readOnly->setGeometry(120, 54, 170, 21);
  readOnly->SetReadOnly(true);

  for (int corner = 1; corner <= 4; ++corner) {
    auto* host = new QWidget(box);
    host->setGeometry(10 + (corner - 1) * 70, 120, 60, 60);
    host->setAutoFillBackground(true);
    QPalette pal = host->palette();
    pal.setColor(QPalette::Window, clBtnFace().darker(105));
    host->setPalette(pal);
    auto* grip = new TZeltorStatusBar(host);
    grip->SetCorner(static_cast<uint8_t>(corner));
  }
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  RegisterKitCursors();
  QWidget window;
  window.setWindowTitle(QStringLiteral("Компоненты"));
  window.setGeometry(40, 40, 940, 240);
  auto* layout = new QHBoxLayout(&window);
  TComboEdit* anchor = nullptr;
  layout->addWidget(Labels(&window));
  layout->addWidget(Buttons(&window));
  layout->addWidget(Edits(&window, &anchor));
  window.show();

  auto* combo = new TWindowCombo(&window, anchor);
  auto* list = new QListWidget(combo);
  for (const char* name : {"Black", "Maroon", "Green", "Olive", "Navy", "Lime", "Yellow"})
    list->addItem(QString::fromUtf8(name));
  combo->resize(160, 150);
  combo->SetFrame(list);
  combo->OnSelect = [list, anchor](QObject*) {
    if (list->currentItem()) anchor->setText(list->currentItem()->text());
  };
  anchor->OnButtonClick = [combo, list](QObject*) {
    combo->Show();
    list->setCurrentRow(5);
  };

  const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (!file.isEmpty()) {
    QTimer::singleShot(300, [&] {
      anchor->OnButtonClick(anchor);
      QTimer::singleShot(300, [&, file] {
        QPixmap shot = window.grab();
        QPixmap all(shot.width(), shot.height() + 160);
        all.fill(Qt::white);
        QPainter p(&all);
        p.drawPixmap(0, 0, shot);
        const QPoint at = combo->geometry().topLeft() - window.geometry().topLeft();
        p.drawPixmap(at, combo->grab());
        p.end();
        all.save(file);
        app.quit();
      });
    });
  }
  return app.exec();
}
