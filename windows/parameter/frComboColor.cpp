#include "windows/parameter/frComboColor.h"

#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/KitConst.h"
#include "controls/fCombo.h"
#include "platform/SysColor.h"

const std::vector<TNamedColor>& NamedColors() {
  // Colours are $BBGGRR (red in the low byte).
  static const std::vector<TNamedColor> list = {
      // standard
      {0x000000, QStringLiteral("Чёрный")},
      {0x000080, QStringLiteral("Бордовый")},
      {0x008000, QStringLiteral("Зелёный")},
      {0x008080, QStringLiteral("Оливковый")},
      {0x800000, QStringLiteral("Тёмно-синий")},
      {0x800080, QStringLiteral("Пурпурный")},
      {0x808000, QStringLiteral("Сине-зелёный")},
      {0x808080, QStringLiteral("Серый")},
      {0xC0C0C0, QStringLiteral("Серебристый")},
      {0x0000FF, QStringLiteral("Красный")},
      {0x00FF00, QStringLiteral("Ярко-зелёный")},
      {0x00FFFF, QStringLiteral("Жёлтый")},
      {0xFF0000, QStringLiteral("Синий")},
      {0xFF00FF, QStringLiteral("Фуксия")},
      {0xFFFF00, QStringLiteral("Голубой")},
      {0xFFFFFF, QStringLiteral("Белый")},
      // extended
      {0xC0DCC0, QStringLiteral("Мятный")},
      {0xF0CAA6, QStringLiteral("Небесный")},
      {0xF0FBFF, QStringLiteral("Кремовый")},
      {0xA4A0A0, QStringLiteral("Средне-серый")},
      // system colours: their identifiers, painted through the program's table
      {SysColorValue(TSysColor::ScrollBar), QStringLiteral("Полоса прокрутки")},
      {SysColorValue(TSysColor::Background), QStringLiteral("Рабочий стол")},
      {SysColorValue(TSysColor::ActiveCaption), QStringLiteral("Заголовок окна")},
      {SysColorValue(TSysColor::InactiveCaption), QStringLiteral("Неактивный заголовок")},
      {SysColorValue(TSysColor::Menu), QStringLiteral("Меню")},
      {SysColorValue(TSysColor::Window), QStringLiteral("Фон окна")},
      {SysColorValue(TSysColor::WindowFrame), QStringLiteral("Рамка окна")},
      {SysColorValue(TSysColor::MenuText), QStringLiteral("Текст меню")},
      {SysColorValue(TSysColor::WindowText), QStringLiteral("Текст окна")},
      {SysColorValue(TSysColor::CaptionText), QStringLiteral("Текст заголовка")},
      {SysColorValue(TSysColor::ActiveBorder), QStringLiteral("Граница окна")},
      {SysColorValue(TSysColor::InactiveBorder), QStringLiteral("Неактивная граница")},
      {SysColorValue(TSysColor::AppWorkSpace), QStringLiteral("Рабочая область")},
      {SysColorValue(TSysColor::Highlight), QStringLiteral("Выделение")},
      {SysColorValue(TSysColor::HighlightText), QStringLiteral("Выделенный текст")},
      {SysColorValue(TSysColor::BtnFace), QStringLiteral("Поверхность кнопки")},
      {SysColorValue(TSysColor::BtnShadow), QStringLiteral("Тень кнопки")},
      {SysColorValue(TSysColor::GrayText), QStringLiteral("Недоступный текст")},
      {SysColorValue(TSysColor::BtnText), QStringLiteral("Текст кнопки")},
      {SysColorValue(TSysColor::InactiveCaptionText), QStringLiteral("Текст неактивного заголовка")},
      {SysColorValue(TSysColor::BtnHighlight), QStringLiteral("Блик кнопки")},
      {SysColorValue(TSysColor::DkShadow3D), QStringLiteral("Тёмная тень")},
      {SysColorValue(TSysColor::Light3D), QStringLiteral("Светлая грань")},
      {SysColorValue(TSysColor::InfoText), QStringLiteral("Текст подсказки")},
      {SysColorValue(TSysColor::InfoBk), QStringLiteral("Фон подсказки")},
      {SysColorValue(TSysColor::HotLight), QStringLiteral("Ссылка")},
      {SysColorValue(TSysColor::GradientActiveCaption), QStringLiteral("Градиент заголовка")},
      {SysColorValue(TSysColor::GradientInactiveCaption), QStringLiteral("Градиент неактивного заголовка")},
      {SysColorValue(TSysColor::MenuHighlight), QStringLiteral("Выделение меню")},
      {SysColorValue(TSysColor::MenuBar), QStringLiteral("Строка меню")},
  };
  return list;
}

int PickerItemHeight(const QWidget* list) { return std::max(14, list->fontMetrics().height() + 2); }

void TSwatchItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QRect rect = option.rect;
  const int h = rect.height();
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& pal = option.palette;
  painter->save();
  painter->fillRect(rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
  painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
  painter->setFont(option.font);
  const QRect text(rect.left() + h + 2, rect.top(), rect.width() - h - 2, h);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  const QRect swatch(rect.left() + 1, rect.top() + 1, h - 1, h - 2);
  painter->fillRect(swatch, PaintColor(ColorOf ? ColorOf(index.row()) : clBlack));
  painter->setPen(Qt::black);
  painter->drawRect(swatch.adjusted(0, 0, -1, -1));
  painter->restore();
}

QSize TSwatchItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(std::max(14, option.fontMetrics.height() + 2));
  return size;
}

void AcceptOnDoubleClick(QListWidget* list, QWidget* owner) {
  auto* combo = qobject_cast<TWindowCombo*>(owner);
  if (!combo) return;
  QObject::connect(list, &QListWidget::itemDoubleClicked, combo, [combo] { combo->SpeedButtonYesClick(); });
}

QListWidget* AddSwatchList(QWidget* frame, QWidget* owner, std::function<TColor(int)> colorOf) {
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* list = new QListWidget(frame);
  list->setFrameShape(QFrame::Box);
  list->setUniformItemSizes(true);
  list->setItemDelegate(new TSwatchItemDelegate(std::move(colorOf), list));
  layout->addWidget(list);
  AcceptOnDoubleClick(list, owner);
  return list;
}

TFrameComboColor::TFrameComboColor(QWidget* owner) : QWidget(owner) {
  resize(169, 196);
  ListBox = AddSwatchList(this, owner, [](int row) {
    const auto& list = NamedColors();
    return row >= 0 && row < static_cast<int>(list.size()) ? list[row].Color : clBlack;
  });
  for (const TNamedColor& item : NamedColors()) ListBox->addItem(item.Name);
}

void TFrameComboColor::SelectColor(TColor color) {
  int row = 0;
  const auto& list = NamedColors();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].Color == color) {
      row = static_cast<int>(i);
      break;
    }
  ListBox->setCurrentRow(row);
  ListBox->scrollToItem(ListBox->currentItem());
}

TColor TFrameComboColor::SelectedColor() const {
  const int row = std::max(0, ListBox->currentRow());
  return NamedColors()[std::min<size_t>(row, NamedColors().size() - 1)].Color;
}

QString TFrameComboColor::SelectedName() const {
  const int row = std::max(0, ListBox->currentRow());
  return NamedColors()[std::min<size_t>(row, NamedColors().size() - 1)].Name;
}
