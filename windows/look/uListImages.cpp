#include "windows/look/uListImages.h"

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

namespace {

// Two check boxes, one above the other, ticked as asked.
QIcon DrawCheckPair(bool upper, bool lower) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  const QColor frame(0, 0, 128), tick(0, 0, 0);
  auto box = [&](int x, int y, bool ticked) {
    p.setPen(frame);
    p.setBrush(Qt::white);
    p.drawRect(x, y, 8, 8);
    if (!ticked) return;
    p.setPen(tick);
    for (int k = 0; k < 2; ++k) {
      p.drawLine(x + 2, y + 4 + k, x + 3, y + 5 + k);
      p.drawLine(x + 3, y + 5 + k, x + 6, y + 2 + k);
    }
  };
  box(1, 1, upper);
  box(6, 6, lower);
  return QIcon(pm);
}

}  // namespace

void AddCheckListImages(QList<QIcon>& imageList) {
  while (imageList.size() <= ImageInverse) imageList.append(QIcon());
  imageList[ImageSelectAll] = DrawCheckPair(true, true);
  imageList[ImageDeselectAll] = DrawCheckPair(false, false);
  imageList[ImageInverse] = DrawCheckPair(true, false);
}

TCheckListBar MakeCheckListBar(QWidget* parent, const QList<QIcon>& images) {
  TCheckListBar b;
  auto picture = [&images](int index) { return index < images.size() ? images[index] : QIcon(); };
  b.ToolBar = new QToolBar(parent);
  b.ToolBar->setObjectName(QStringLiteral("ToolBarResource"));
  b.ToolBar->setIconSize(QSize(16, 16));
  b.ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  b.ToolBar->setMovable(false);
  b.ToolBar->setFloatable(false);
  b.ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  b.ActionSelectAll = new QAction(picture(ImageSelectAll), QStringLiteral("Пометить все"), parent);
  b.ActionDeselectAll = new QAction(picture(ImageDeselectAll), QStringLiteral("Разметить все"), parent);
  b.ActionInverse = new QAction(picture(ImageInverse), QStringLiteral("Инвертировать"), parent);
  const std::pair<QAction*, QToolButton**> items[] = {{b.ActionSelectAll, &b.ButtonSelectAll},
                                                      {b.ActionDeselectAll, &b.ButtonDeselectAll},
                                                      {b.ActionInverse, &b.ButtonInverse}};
  for (const auto& [action, button] : items) {
    b.ToolBar->addAction(action);
    *button = qobject_cast<QToolButton*>(b.ToolBar->widgetForAction(action));
  }
  return b;
}

QIcon DrawIcon(int index) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor navy(0, 0, 128), green(0, 150, 0), red(200, 0, 0), yellow(230, 200, 0), gray(90, 90, 90);
  auto page = [&](QColor fold) {
    p.setPen(gray);
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 14);
    p.setPen(fold);
    for (int y = 5; y <= 11; y += 3) p.drawLine(5, y, 11, y);
  };
  switch (index) {
    case 0: {  // pointer
      QPainterPath path;
      path.moveTo(4, 1);
      path.lineTo(4, 14);
      path.lineTo(7, 11);
      path.lineTo(10, 15);
      path.lineTo(12, 14);
      path.lineTo(9, 10);
      path.lineTo(13, 10);
      path.closeSubpath();
      p.setPen(Qt::black);
      p.setBrush(Qt::white);
      p.drawPath(path);
      break;
    }
    case 1:  // resource brush: a drop
      p.setPen(Qt::black);
      p.setBrush(yellow);
      p.drawEllipse(QPointF(8, 10), 4.5, 4.5);
      p.drawLine(8, 1, 4, 8);
      p.drawLine(8, 1, 12, 8);
      break;
    case 2:  // organism brush: a cell
      p.setPen(Qt::black);
      p.setBrush(QColor(0, 220, 0));
      p.drawEllipse(QPointF(8, 8), 6, 5);
      p.setBrush(Qt::black);
      p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
      break;
    case 3: page(gray); break;                      // new
    case 4:                                          // open
      p.setPen(QColor(150, 110, 0));
      p.setBrush(QColor(250, 210, 90));
      p.drawRect(1, 5, 13, 9);
      p.drawRect(1, 3, 5, 2);
      break;
    case 5:  // save
    case 6:  // save as
      p.setPen(navy);
      p.setBrush(QColor(70, 90, 180));
      p.drawRect(2, 2, 12, 12);
      p.setBrush(Qt::white);
      p.drawRect(4, 2, 8, 5);
      if (index == 6) {
        p.setPen(red);
        p.drawLine(10, 10, 14, 14);
      }
      break;
    case 7:  // import
    case 8:  // export
      page(gray);
      p.setPen(QPen(index == 7 ? green : red, 2));
      p.drawLine(8, 4, 8, 12);
      if (index == 7) {
        p.drawLine(5, 9, 8, 12);
        p.drawLine(11, 9, 8, 12);
      } else {
        p.drawLine(5, 7, 8, 4);
        p.drawLine(11, 7, 8, 4);
      }
      break;
    case 9:  // exit
      p.setPen(QPen(red, 2));
      p.drawLine(4, 4, 12, 12);
      p.drawLine(12, 4, 4, 12);
      break;
    case 10: {  // start
      QPolygonF tri({QPointF(4, 2), QPointF(14, 8), QPointF(4, 14)});
      p.setPen(Qt::darkGreen);
      p.setBrush(green);
      p.drawPolygon(tri);
      break;
    }
    case 11:  // stop
      p.setPen(Qt::darkRed);
      p.setBrush(red);
      p.drawRect(3, 3, 10, 10);
      break;
    case 12: {  // step
      QPolygonF tri({QPointF(2, 3), QPointF(10, 8), QPointF(2, 13)});
      p.setPen(navy);
      p.setBrush(QColor(60, 120, 220));
      p.drawPolygon(tri);
      p.drawRect(11, 3, 2, 10);
      break;
    }
    case 13:  // undo
      p.setPen(QPen(navy, 2));
      p.drawArc(3, 3, 10, 10, 90 * 16, 270 * 16);
      p.drawLine(8, 3, 11, 1);
      p.drawLine(8, 3, 11, 6);
      break;
    case 14:  // fill
    case 15:  // clear
      p.setPen(gray);
      p.setBrush(index == 14 ? QColor(0, 200, 0) : Qt::white);
      p.drawRect(2, 2, 12, 12);
      p.setPen(gray);
      for (int k = 5; k < 14; k += 3) {
        p.drawLine(2, k, 14, k);
        p.drawLine(k, 2, k, 14);
      }
      break;
    case 16:  // picture
      p.setPen(gray);
      p.setBrush(QColor(170, 210, 255));
      p.drawRect(1, 3, 14, 10);
      p.setBrush(green);
      p.drawEllipse(QPointF(6, 9), 3, 3);
      break;
    case 17:  // field view
      p.setPen(gray);
      p.setBrush(QColor(240, 251, 255));
      p.drawRect(1, 1, 14, 14);
      p.fillRect(3, 3, 4, 4, QColor(0, 220, 0));
      p.fillRect(9, 9, 4, 4, QColor(255, 255, 0));
      p.fillRect(9, 3, 4, 4, QColor(0, 220, 0));
      break;
    case 18:  // statistics
      p.setPen(Qt::NoPen);
      p.setBrush(navy);
      p.drawRect(2, 9, 3, 6);
      p.setBrush(green);
      p.drawRect(6, 4, 3, 11);
      p.setBrush(red);
      p.drawRect(10, 7, 3, 8);
      break;
    case 19:  // parameters
      p.setPen(QPen(gray, 1));
      for (int y = 4; y <= 12; y += 4) p.drawLine(2, y, 14, y);
      p.setPen(navy);
      p.setBrush(QColor(60, 120, 220));
      p.drawRect(4, 2, 3, 4);
      p.drawRect(9, 6, 3, 4);
      p.drawRect(6, 10, 3, 4);
      break;
    case 20: page(navy); break;  // comments
    case 21:                     // sticky windows
      p.setPen(navy);
      p.setBrush(Qt::white);
      p.drawRect(1, 1, 8, 7);
      p.drawRect(7, 8, 8, 7);
      break;
    case 22:  // autosize
      p.setPen(QPen(navy, 1.5));
      p.drawRect(3, 3, 10, 10);
      p.drawLine(1, 1, 5, 5);
      p.drawLine(15, 15, 11, 11);
      break;
    default: {  // help pages
      p.setPen(navy);
      p.setBrush(QColor(255, 255, 200));
      p.drawEllipse(QPointF(8, 8), 7, 7);
      QFont f = p.font();
      f.setBold(true);
      f.setPixelSize(11);
      p.setFont(f);
      p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, index == 26 ? QStringLiteral("i") : QStringLiteral("?"));
      break;
    }
  }
  return QIcon(pm);
}
