#include "windows/look/uListImages.h"

#include <QAction>
#include <QPainter>
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
