#include "windows/view/fView.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/KitConst.h"
#include "windows/look/FlatStyle.h"
#include "windows/look/uProc.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/place/uSticky.h"
#include "windows/statistic/fStatistic.h"

TFormView* FormView = nullptr;

namespace {

// A brush button: the colour of its tool fills the button inside its frame,
// with the tool's image over it.
class TBrushButton : public QToolButton {
 public:
  TBrushButton(TBrushTool tool, QWidget* parent) : QToolButton(parent), Tool(tool) {}
  TBrushTool Tool;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QToolButton::paintEvent(event);
    QPainter p(this);
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    if (!MainForm) return;
    bool has = true;
    TColor color = clBlack;
    if (Tool == TBrushTool::Pointer) {
      color = MainForm->Resource ? MainForm->Resource->EmptyColor : clBlack;
    } else if (Tool == TBrushTool::Resource) {
      has = MainForm->Resource && MainForm->Resource->Count > 0 && MainForm->SubBrushResource >= 0 &&
            MainForm->SubBrushResource < MainForm->Resource->Count;
      if (has) color = MainForm->Resource->Params[MainForm->SubBrushResource].Color;
    } else {
      has = MainForm->Plant && MainForm->Plant->Count > 0 && MainForm->SubBrushPlant >= 0 &&
            MainForm->SubBrushPlant < MainForm->Plant->Count;
      if (has) color = MainForm->Plant->Params[MainForm->SubBrushPlant].Const.Color;
    }
    if (has) {
      p.fillRect(inner, PaintColor(color));
    } else {
      p.setPen(palette().color(QPalette::Dark));
      p.drawRect(inner.adjusted(0, 0, -1, -1));
    }
    if (!icon().isNull()) {
      const QSize s = iconSize();
      const QPoint at((width() - s.width()) / 2, (height() - s.height()) / 2);
      icon().paint(&p, QRect(at, s), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    if (isChecked()) {
      p.setPen(QColor(0, 0, 128));
      p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }
};

// The box of one display of the tool panel: a sunken label filling a box of
// fixed size, the panel's row height and at least as wide as the widest of
// `widest` needs. A new text in the label asks only its box, which takes
// another width only when the text needs one (never, for a box of fixed
// width), so a new tick count at every tick of a run repaints the label and
// lays out nothing else.
class TDisplayBox : public QWidget {
 public:
  TDisplayBox(const QString& text, const QString& hint, const QStringList& widest, bool fixedWidth, int height,
              QWidget* parent)
      : QWidget(parent), Label(new QLabel(text, this)), FixedWidth(fixedWidth) {
    Label->setToolTip(hint);
    Label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const QString& w : widest) MinWidth = std::max(MinWidth, Label->fontMetrics().horizontalAdvance(w));
    MinWidth += 2 * Label->frameWidth() + 2;
    setFixedHeight(height);
    Fit();
  }
  QLabel* const Label;

 protected:
  bool event(QEvent* event) override {
    // A label's new text: a box without a layout hears of it as a layout
    // request, and not at all while hidden, so it fits again when shown.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) Fit();
    return QWidget::event(event);
  }
  void resizeEvent(QResizeEvent*) override { Label->setGeometry(rect()); }

 private:
  void Fit() {
    const int width = FixedWidth ? MinWidth : std::max(MinWidth, Label->sizeHint().width());
    if (width == minimumWidth() && width == maximumWidth()) return;
    setFixedWidth(width);
    // The displays after it move in the same pass, not one later.
    if (QLayout* row = parentWidget() ? parentWidget()->layout() : nullptr) row->activate();
  }
  const bool FixedWidth;
  int MinWidth = 0;
};

// A display of the tool panel, added to its row `bar`; `height` is the row's height.
QLabel* StaticText(QBoxLayout* bar, int height, const QString& text, const QString& hint, const QStringList& widest,
                   bool fixedWidth = false) {
  auto* box = new TDisplayBox(text, hint, widest, fixedWidth, height, bar->parentWidget());
  bar->addWidget(box);
  return box->Label;
}

}  // namespace

TFormView::TFormView(QWidget* parent) : QWidget(parent, Qt::Tool) {
  FormView = this;
  InstallSticky(this, TStickyKind::View, &Dockable);
  setWindowTitle(QStringLiteral("Наблюдение"));
  // Hints of the brush buttons and displays also while another window of the program is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setMinimumWidth(408);
  resize(408, 454);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // The tool panel in the window's small font (11 pixels). The brush buttons
  // keep their place at any width; the displays after them take what room is
  // left (at the minimum width with a wide font the last one may be cut).
  constexpr int kPanelHeight = 22, kPanelMargin = 1;
  PanelToolBar = new QWidget(this);
  PanelToolBar->setFixedHeight(kPanelHeight);
  QFont panelFont = PanelToolBar->font();
  panelFont.setPixelSize(11);
  PanelToolBar->setFont(panelFont);
  auto* bar = new QHBoxLayout(PanelToolBar);
  bar->setContentsMargins(2, kPanelMargin, 2, kPanelMargin);
  bar->setSpacing(2);
  Label6 = new QLabel(QStringLiteral("Кисть:"));
  bar->addWidget(Label6);
  ToolBar = new QToolBar(PanelToolBar);
  ToolBar->setIconSize(QSize(16, 16));
  ToolBar->setContentsMargins(0, 0, 0, 0);
  SetBarLook(ToolBar, TBarLook::Toolkit);  // the brush buttons paint their colours themselves
  const QString hints[3] = {QStringLiteral("Указатель"), QStringLiteral("Ресурс"), QStringLiteral("Организм")};
  QToolButton* buttons[3];
  for (int i = 0; i < 3; ++i) {
    auto* b = new TBrushButton(static_cast<TBrushTool>(i), ToolBar);
    b->setFixedSize(35, 19);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setToolTip(hints[i]);
    if (MainForm && MainForm->ImageList.size() > i) b->setIcon(MainForm->ImageList[i]);
    ToolBar->addWidget(b);
    buttons[i] = b;
  }
  ToolButtonView = buttons[0];
  ToolButtonResource = buttons[1];
  ToolButtonPlant = buttons[2];
  // Never squeezed: the bar would hide its buttons behind a "»".
  ToolBar->setFixedSize(ToolBar->sizeHint());
  bar->addWidget(ToolBar);
  auto* displays = new QWidget(PanelToolBar);
  displays->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  bar->addWidget(displays, 1);
  bar = new QHBoxLayout(displays);
  bar->setContentsMargins(2, 0, 0, 0);
  bar->setSpacing(2);
  const int row = kPanelHeight - 2 * kPanelMargin;
  Label11 = new QLabel(QStringLiteral("Такт:"));
  bar->addWidget(Label11);
  StaticTextStep = StaticText(bar, row, QStringLiteral("0"), QStringLiteral("Текущий такт"), {QStringLiteral("88888")});
  // The speed in four significant digits with two decimals, in the exponent
  // form from 10,000 on: room for its widest texts, so it never pushes the
  // cell displays aside during a run.
  StaticTextSPS = StaticText(bar, row, QStringLiteral("0.00"), QStringLiteral("Скорость, тактов в секунду"),
                             {FixedText(8888.88, 4, 2), FixedText(8.888e88, 4, 2)}, true);
  bar->addSpacing(2);
  Label3 = new QLabel(QStringLiteral("Ячейка:"));
  bar->addWidget(Label3);
  StaticTextV = StaticText(bar, row, QStringLiteral("1"), QStringLiteral("Ячейка по вертикали"), {QStringLiteral("8888")});
  bar->addWidget(new QLabel(QStringLiteral(":")));
  StaticTextH = StaticText(bar, row, QStringLiteral("1"), QStringLiteral("Ячейка по горизонтали"), {QStringLiteral("8888")});
  bar->addStretch(1);
  layout->addWidget(PanelToolBar);

  PanelField = new QWidget(this);
  auto* fieldLayout = new QVBoxLayout(PanelField);
  fieldLayout->setContentsMargins(0, 0, 0, 0);
  DrawGridField = new TDrawGrid(PanelField);
  fieldLayout->addWidget(DrawGridField);
  layout->addWidget(PanelField, 1);

  DrawGridField->OnDrawCell = [this](int c, int r, QRgb& fill, QRgb& frame) { DrawGridFieldDrawCell(c, r, fill, frame); };
  DrawGridField->OnDrawSelected = [this](int c, int r) { DrawGridFieldDrawSelected(c, r); };
  DrawGridField->OnMouseDown = [this](QMouseEvent* e, int c, int r) { DrawGridFieldMouseDown(e, c, r); };
  DrawGridField->OnMouseMove = [this](QMouseEvent* e, int c, int r) { DrawGridFieldMouseMove(e, c, r); };

  PopupMenu = new QMenu(this);
  PopupMenuResource = new QMenu(this);
  PopupMenuPlant = new QMenu(this);
  GroupResource = new QActionGroup(this);
  GroupPlant = new QActionGroup(this);
  if (MainForm) {
    MenuItemStart = ProxyItem(MainForm->ActionFieldStart, PopupMenu);
    MenuItemStop = ProxyItem(MainForm->ActionFieldStop, PopupMenu);
    PopupMenu->addAction(MenuItemStart);
    PopupMenu->addAction(MenuItemStop);
    PopupMenu->addSeparator();
    PopupMenu->addAction(ProxyItem(MainForm->ActionFieldUndo, PopupMenu));
    PopupMenu->addSeparator();
    PopupMenu->addAction(ProxyItem(MainForm->ActionFieldInput, PopupMenu));
    PopupMenu->addAction(ProxyItem(MainForm->ActionFieldClear, PopupMenu));
    PopupMenu->addSeparator();
    PopupMenu->addAction(ProxyItem(MainForm->ActionFieldSaveShot, PopupMenu));
    PopupMenu->addSeparator();
    PopupMenu->addAction(ProxyItem(MainForm->ActionAutoSize, PopupMenu));
    MenuItemStop->setVisible(false);
  }
  DrawGridField->PopupMenu = PopupMenu;

  connect(ToolButtonView, &QToolButton::clicked, this, [this] { ToolButtonViewClick(); });
  connect(ToolButtonResource, &QToolButton::clicked, this, [this] { ToolButtonResourceClick(); });
  connect(ToolButtonPlant, &QToolButton::clicked, this, [this] { ToolButtonPlantClick(); });
  ToolButtonResource->installEventFilter(this);
  ToolButtonPlant->installEventFilter(this);
  SetToolButtons(TBrushTool::Pointer);
}

void TFormView::closeEvent(QCloseEvent* event) {
  event->accept();
  if (MainForm && MainForm->ActionViewField) MainForm->ActionViewField->setChecked(false);
}

bool TFormView::eventFilter(QObject* watched, QEvent* event) {
  // The right button released on a brush button opens its brush menu below it.
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    auto* button = qobject_cast<QToolButton*>(watched);
    QMenu* menu = button == ToolButtonResource ? PopupMenuResource : button == ToolButtonPlant ? PopupMenuPlant : nullptr;
    if (menu) {
      menu->popup(button->mapToGlobal(QPoint(0, button->height())));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TFormView::SetToolButtons(TBrushTool brush) {
  ToolButtonView->setChecked(brush == TBrushTool::Pointer);
  ToolButtonResource->setChecked(brush == TBrushTool::Resource);
  ToolButtonPlant->setChecked(brush == TBrushTool::Plant);
}

void TFormView::UpdateGridMenu() {
  DrawGridField->PopupMenu = MainForm->Brush == TBrushTool::Pointer ? PopupMenu : nullptr;
}

void TFormView::FillBrushMenu() {
  if (!FormParameter) return;
  FillBrushMenu(PopupMenuResource, FormParameter->ListBoxResource, TBrushTool::Resource);
  FillBrushMenu(PopupMenuPlant, FormParameter->ListBoxPlant, TBrushTool::Plant);
}

void TFormView::FillBrushMenu(QMenu* menu, QListWidget* list, TBrushTool brush) {
  if (!menu->actions().isEmpty()) {
    QActionGroup* group = brush == TBrushTool::Resource ? GroupResource : GroupPlant;
    for (QAction* a : menu->actions()) {
      group->removeAction(a);
      menu->removeAction(a);
      a->deleteLater();
    }
  }
  if (!list) return;
  for (int i = 0; i < list->count(); ++i) SetBrushMenuItem(menu, list->item(i)->text(), i, brush);
}

void TFormView::SetBrushMenuItem(QMenu* menu, const QString& name, int index, TBrushTool brush) {
  QList<QAction*> items = menu->actions();
  QAction* item;
  if (index < 0 || index >= items.size()) {
    index = items.size();
    item = menu->addAction(name);
    item->setCheckable(true);
    (brush == TBrushTool::Resource ? GroupResource : GroupPlant)->addAction(item);
    connect(item, &QAction::triggered, this, [this, item, brush] {
      if (brush == TBrushTool::Resource)
        ResourceMenuItemClick(item);
      else
        PlantMenuItemClick(item);
    });
  } else {
    item = items[index];
  }
  item->setText(name);
  item->setData(index);
  if (!MainForm) return;
  const int sub = brush == TBrushTool::Resource ? MainForm->SubBrushResource : MainForm->SubBrushPlant;
  items = menu->actions();
  if (sub >= 0 && sub < items.size()) items[sub]->setChecked(true);
}

void TFormView::SetBrushMenuItem(TBrushTool brush, const QString& name, int index) {
  SetBrushMenuItem(brush == TBrushTool::Resource ? PopupMenuResource : PopupMenuPlant, name, index, brush);
}

void TFormView::SetBrushMenuItem() {
  if (!MainForm) return;
  const QList<QAction*> r = PopupMenuResource->actions();
  if (MainForm->SubBrushResource >= 0 && MainForm->SubBrushResource < r.size())
    r[MainForm->SubBrushResource]->setChecked(true);
  const QList<QAction*> p = PopupMenuPlant->actions();
  if (MainForm->SubBrushPlant >= 0 && MainForm->SubBrushPlant < p.size()) p[MainForm->SubBrushPlant]->setChecked(true);
}

void TFormView::UpdateFieldSize() {
  if (!MainForm || !MainForm->Plant) return;
  DrawGridField->SetColCount(MainForm->Plant->ColCount);
  DrawGridField->SetRowCount(MainForm->Plant->RowCount);
}

void TFormView::SetCellSize(int pixels) {
  DrawGridField->SetDefaultColWidth(pixels);
  DrawGridField->SetDefaultRowHeight(pixels);
}

void TFormView::SetPointer() {
  SetToolButtons(TBrushTool::Pointer);
  MainForm->Brush = TBrushTool::Pointer;
  UpdateGridMenu();
}

void TFormView::BrushGivesWay(TBrushTool brush) {
  if (MainForm->Brush == brush) SetPointer();
  if (MainForm->SavedBrush == brush) MainForm->SavedBrush = TBrushTool::Pointer;
}

void TFormView::ToolButtonViewClick() {
  SetPointer();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormView::ToolButtonResourceClick() {
  SetToolButtons(TBrushTool::Resource);
  TResourceObject* res = MainForm->Resource;
  if (MainForm->Brush == TBrushTool::Resource && res->Count > 0) {
    MainForm->SubBrushResource += 1;
    if (MainForm->SubBrushResource >= res->Count || MainForm->SubBrushResource < 0) MainForm->SubBrushResource = 0;
    ToolButtonResource->setToolTip(QStringLiteral("Ресурс: ") +
                                   QString::fromStdString(res->Params[MainForm->SubBrushResource].Name));
    SetBrushMenuItem();
  }
  MainForm->Brush = TBrushTool::Resource;
  UpdateGridMenu();
  ToolBar->update();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormView::ToolButtonPlantClick() {
  SetToolButtons(TBrushTool::Plant);
  TPlantObject* plant = MainForm->Plant;
  if (MainForm->Brush == TBrushTool::Plant && plant->Count > 0) {
    MainForm->SubBrushPlant += 1;
    if (MainForm->SubBrushPlant >= plant->Count || MainForm->SubBrushPlant < 0) MainForm->SubBrushPlant = 0;
    ToolButtonPlant->setToolTip(QStringLiteral("Организм: ") +
                                QString::fromStdString(plant->Params[MainForm->SubBrushPlant].Const.Name));
    SetBrushMenuItem();
  }
  MainForm->Brush = TBrushTool::Plant;
  UpdateGridMenu();
  ToolBar->update();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormView::ResourceMenuItemClick(QAction* item) {
  BrushMenuItemClick(item, TBrushTool::Resource, MainForm->SubBrushResource);
}

void TFormView::PlantMenuItemClick(QAction* item) {
  BrushMenuItemClick(item, TBrushTool::Plant, MainForm->SubBrushPlant);
}

void TFormView::BrushMenuItemClick(QAction* item, TBrushTool brush, int32_t& subBrush) {
  MainForm->Brush = brush;
  SetToolButtons(brush);
  subBrush = item->data().toInt();
  item->setChecked(true);
  ToolBar->update();
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormView::DrawGridFieldDrawCell(int c, int r, QRgb& fill, QRgb& frame) {
  const TResourceObject& res = *MainForm->Resource;
  const TPlantObject& plant = *MainForm->Plant;
  if (r >= plant.RowCount || c >= plant.ColCount || r >= res.RowCount || c >= res.ColCount) {
    fill = PaintRgb(res.EmptyColor);
    return;
  }
  switch (MainForm->Brush) {
    case TBrushTool::Resource: {
      const int32_t sub = MainForm->SubBrushResource;
      fill = PaintRgb(sub >= 0 && sub < res.Count ? res.GetResourceColor(sub, r, c) : res.EmptyColor);
      break;
    }
    case TBrushTool::Plant: {
      const int32_t sub = MainForm->SubBrushPlant;
      if (sub < 0 || sub >= plant.Count) {
        fill = PaintRgb(plant.EmptyColor);
        break;
      }
      fill = PaintRgb(plant.GetSpeciesColor(sub, r, c));
      const TPlantCell& cell = plant.Field(r, c);
      if (cell.Mass > 0 && cell.Species == sub && plant.IsMutant(r, c)) frame = PaintRgb(clRed);
      break;
    }
    default: {
      TColor color = plant.GetColor(r, c);
      if (color == res.EmptyColor) {
        const bool onlyPlant = MainForm->IsRunning() && FormParameter && FormParameter->CheckBoxOnlyPlant->isChecked();
        if (!onlyPlant) color = res.GetColor(r, c);
      }
      fill = PaintRgb(color);
      if (plant.IsMutant(r, c)) frame = PaintRgb(plant.Params[plant.Field(r, c).Species].Const.ColorMutant);
      break;
    }
  }
}

void TFormView::DrawGridFieldDrawSelected(int c, int r) {
  StaticTextH->setText(QString::number(c + 1));
  StaticTextV->setText(QString::number(r + 1));
  if (FormStatistic) FormStatistic->ShowCell(DrawGridField->Col(), DrawGridField->Row());
}

void TFormView::ApplyBrush(Qt::MouseButton button, int c, int r) {
  TResourceObject& res = *MainForm->Resource;
  TPlantObject& plant = *MainForm->Plant;
  const bool inside = c >= 0 && r >= 0 && r < plant.RowCount && c < plant.ColCount && r < res.RowCount &&
                      c < res.ColCount;
  if (!inside) return;
  const int32_t subR = MainForm->SubBrushResource, subP = MainForm->SubBrushPlant;
  const bool okR = subR >= 0 && subR < res.Count, okP = subP >= 0 && subP < plant.Count;
  if (button == Qt::LeftButton) {
    if (MainForm->Brush == TBrushTool::Resource && okR) res.Brush(subR, r, c);
    if (MainForm->Brush == TBrushTool::Plant && okP) plant.Place(subP, r, c);
  } else if (button == Qt::RightButton) {
    if (MainForm->Brush == TBrushTool::Resource && okR) res.ClearCell(subR, r, c);
    if (MainForm->Brush == TBrushTool::Plant && okP) plant.Kill(subP, r, c);
  }
}

void TFormView::DrawGridFieldMouseDown(QMouseEvent* event, int c, int r) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  ApplyBrush(event->button(), c, r);
  if (FormStatistic) FormStatistic->UpdateView();
}

void TFormView::DrawGridFieldMouseMove(QMouseEvent* event, int c, int r) {
  if (c == DrawGridField->Col() && r == DrawGridField->Row()) return;
  if (c > -1) DrawGridField->SetCol(c);
  if (r > -1) DrawGridField->SetRow(r);
  if (event->buttons() & Qt::LeftButton) {
    ApplyBrush(Qt::LeftButton, c, r);
    if (FormStatistic) FormStatistic->UpdateView();
  } else if (event->buttons() & Qt::RightButton) {
    ApplyBrush(Qt::RightButton, c, r);
    if (FormStatistic) FormStatistic->UpdateView();
    if (MainForm->SubBrushPlant >= 0 && MainForm->SubBrushPlant < MainForm->Plant->Count)
      MainForm->Plant->CalcAverage(MainForm->SubBrushPlant);
  }
}
