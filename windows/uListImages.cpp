#include "windows/uListImages.h"

#include <QPainter>
#include <QPixmap>

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
