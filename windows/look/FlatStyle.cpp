#include "windows/look/FlatStyle.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "controls/KitConst.h"
#include "windows/look/uProc.h"

namespace {

const char* const kLookProperty = "zoBarLook";
constexpr int kEdgeHeight = 2;  // the etched bottom edge of an edged bar

bool IsMenu(const QWidget* widget) { return qobject_cast<const QMenu*>(widget) != nullptr; }

// The bar when `widget` is a tool bar painted in the program's look.
const QToolBar* FlatBar(const QWidget* widget) {
  const auto* bar = qobject_cast<const QToolBar*>(widget);
  return bar && BarLook(bar) != TBarLook::Toolkit ? bar : nullptr;
}

// A tool button on a bar painted in the program's look.
bool IsFlatBarButton(const QWidget* widget) {
  return qobject_cast<const QToolButton*>(widget) && FlatBar(widget->parentWidget());
}

// A button that opens its menu when pressed: a button of the menu tool bar.
bool IsMenuBarButton(const QStyleOptionToolButton& option) {
  return (option.features & QStyleOptionToolButton::HasMenu) &&
         !(option.features & (QStyleOptionToolButton::PopupDelay | QStyleOptionToolButton::MenuButtonPopup));
}

// The part of an open menu's top edge that lies on the menu-bar button that
// opened it (empty for any other menu), in the menu's coordinates: the button
// opens into its menu, so the menu draws no frame line there.
QRect OpenerGap(const QMenu* menu) {
  if (!menu->isVisible()) return {};
  const QPoint topLeft = menu->mapToGlobal(QPoint(0, 0));
  const auto* button = qobject_cast<const QToolButton*>(QApplication::widgetAt(topLeft + QPoint(1, -1)));
  if (!button || button->menu() != menu || !IsFlatBarButton(button)) return {};
  const QRect bounds(button->mapToGlobal(QPoint(0, 0)), button->size());
  // Inside the button's two side frames, and not past the menu's own.
  const int left = std::max(bounds.left() + 1, topLeft.x() + 1) - topLeft.x();
  const int right = std::min(bounds.right() - 1, topLeft.x() + menu->width() - 2) - topLeft.x();
  return right < left ? QRect() : QRect(left, 0, right - left + 1, 1);
}

TToolButtonItem ButtonItem(const QStyleOptionToolButton& option) {
  TToolButtonItem item;
  item.Bounds = option.rect;
  item.Caption = option.text;
  item.ShowCaptions = option.toolButtonStyle != Qt::ToolButtonIconOnly;
  if (!option.icon.isNull() && option.toolButtonStyle != Qt::ToolButtonTextOnly) {
    // A disabled button shows its picture's disabled form where the picture
    // brings one of its own; other pictures show as they are.
    const bool disabledForm =
        !(option.state & QStyle::State_Enabled) && !option.icon.availableSizes(QIcon::Disabled).isEmpty();
    item.Image = option.icon.pixmap(option.iconSize, disabledForm ? QIcon::Disabled : QIcon::Normal, QIcon::Off);
  }
  return item;
}

TCustomDrawState ButtonState(const QStyleOptionToolButton& option) {
  TCustomDrawState state = 0;
  const bool enabled = option.state & QStyle::State_Enabled;
  // A checked button is drawn down, as a pressed one.
  if (option.state & (QStyle::State_Sunken | QStyle::State_On)) state |= cdsSelected;
  if (!enabled) state |= cdsDisabled;
  if (enabled && (option.state & QStyle::State_MouseOver)) state |= cdsHot;
  return state;
}

TMenuItemInfo MenuItem(const QStyleOptionMenuItem& option) {
  TMenuItemInfo item;
  if (option.menuItemType == QStyleOptionMenuItem::Separator) {
    item.Caption = QStringLiteral("-");
    return item;
  }
  const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
  item.Caption = tab < 0 ? option.text : option.text.left(tab);
  if (tab >= 0) item.ShortCut = option.text.mid(tab + 1);
  if (!option.icon.isNull()) item.Image = option.icon.pixmap(QSize(16, 16), QIcon::Normal, QIcon::Off);
  item.AutoCheck = option.checkType != QStyleOptionMenuItem::NotCheckable;
  item.RadioItem = option.checkType == QStyleOptionMenuItem::Exclusive;
  return item;
}

TOwnerDrawState MenuItemState(const QStyleOptionMenuItem& option) {
  TOwnerDrawState state = 0;
  if (option.state & QStyle::State_Selected) state |= odSelected;
  if (!(option.state & QStyle::State_Enabled)) state |= odGrayed;
  if (option.checked) state |= odChecked;
  if (option.menuItemType == QStyleOptionMenuItem::DefaultItem) state |= odDefault;
  return state;
}

}  // namespace

void SetBarLook(QToolBar* bar, TBarLook look) {
  bar->setProperty(kLookProperty, static_cast<int>(look));
  bar->setContentsMargins(0, 0, 0, look == TBarLook::FlatEdgeBottom ? kEdgeHeight : 0);
  bar->update();
}

TBarLook BarLook(const QToolBar* bar) {
  const QVariant look = bar->property(kLookProperty);
  return look.isValid() ? static_cast<TBarLook>(look.toInt()) : TBarLook::Flat;
}

TFlatStyle::TFlatStyle() = default;

void TFlatStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  switch (element) {
    case PE_PanelMenu:
      if (IsMenu(widget)) {
        painter->fillRect(option->rect, PaintColor(clLookMenu));
        return;
      }
      break;
    case PE_FrameMenu:
      if (IsMenu(widget)) {
        painter->save();
        painter->setPen(clBtnShadow());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->fillRect(OpenerGap(static_cast<const QMenu*>(widget)), PaintColor(clLookMenu));
        painter->restore();
        return;
      }
      break;
    case PE_IndicatorToolBarSeparator:
    case PE_IndicatorToolBarHandle:
      if (FlatBar(widget)) return;  // the bar's colour shows through
      break;
    default:
      break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TFlatStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
  switch (element) {
    case CE_ToolBar:
      if (const QToolBar* bar = FlatBar(widget)) {
        QRect client = option->rect;
        if (BarLook(bar) == TBarLook::FlatEdgeBottom) {
          client.setBottom(client.bottom() - kEdgeHeight);
          painter->save();
          painter->setPen(clBtnShadow());
          painter->drawLine(option->rect.left(), client.bottom() + 1, option->rect.right(), client.bottom() + 1);
          painter->setPen(clBtnHighlight());
          painter->drawLine(option->rect.left(), client.bottom() + 2, option->rect.right(), client.bottom() + 2);
          painter->restore();
        }
        DrawToolBar(*painter, client);
        return;
      }
      break;
    case CE_MenuItem:
      if (IsMenu(widget)) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
          painter->save();
          painter->setFont(item->font);
          DrawMenuItem(MenuItem(*item), *painter, item->rect, MenuItemState(*item));
          painter->restore();
          return;
        }
      }
      break;
    case CE_MenuEmptyArea:
      if (IsMenu(widget)) {
        painter->fillRect(option->rect, PaintColor(clLookMenu));
        return;
      }
      break;
    default:
      break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void TFlatStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const {
  if (control == CC_ToolButton && IsFlatBarButton(widget)) {
    if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option)) {
      // Drawn whole here: no menu arrow of the desktop's style on any button.
      const TToolButtonItem item = ButtonItem(*button);
      const TCustomDrawState state = ButtonState(*button);
      painter->save();
      painter->setFont(button->font);
      bool defaultDraw = true;
      if (IsMenuBarButton(*button)) {
        DrawMenuBarButton(*painter, item, state, defaultDraw);
        if (defaultDraw) {
          // At rest: the caption alone on the bar, where the painter puts it.
          painter->setPen(Qt::black);
          painter->drawText(QPoint(item.Bounds.left() + 5, item.Bounds.top() + 3 + painter->fontMetrics().ascent()),
                            item.Caption);
        }
      } else {
        DrawToolButton(*painter, item, state, defaultDraw);
      }
      painter->restore();
      return;
    }
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QSize TFlatStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                                   const QWidget* widget) const {
  if (type == CT_MenuItem && IsMenu(widget)) {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
      const TMenuItemInfo info = MenuItem(*item);
      int height = 0;
      MeasureMenuItem(info, height);
      // The stripe and the caption's place, the caption, room before the
      // shortcut (the menu adds the widest shortcut to every item).
      const int width = info.Caption == QStringLiteral("-") ? contentsSize.width() : 25 + contentsSize.width() + 24;
      return QSize(width, height);
    }
  }
  if (type == CT_ToolButton && IsFlatBarButton(widget)) {
    if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option)) {
      if (IsMenuBarButton(*button)) return QSize(button->fontMetrics.horizontalAdvance(button->text) + 10, 19);
      if (button->toolButtonStyle == Qt::ToolButtonIconOnly) return QSize(23, 22);
    }
  }
  return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
}

int TFlatStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth:
      if (IsMenu(widget)) return 1;
      break;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      if (IsMenu(widget)) return 0;
      break;
    case PM_ToolBarItemSpacing:
    case PM_ToolBarItemMargin:
    case PM_ToolBarFrameWidth:
      // Every bar of the program packs its buttons edge to edge.
      if (qobject_cast<const QToolBar*>(widget)) return 0;
      break;
    case PM_ToolBarHandleExtent:
      if (FlatBar(widget)) return 0;
      break;
    default:
      break;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

int TFlatStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const {
  // A disabled menu item is highlighted under the mouse as any other.
  if (hint == SH_Menu_AllowActiveAndDisabled && IsMenu(widget)) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void InstallFlatStyle() {
  if (dynamic_cast<TFlatStyle*>(QApplication::style())) return;
  QApplication::setStyle(new TFlatStyle);
}
