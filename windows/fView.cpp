#include "windows/fView.h"

#include <QCloseEvent>

TFormView* FormView = nullptr;

TFormView::TFormView(QWidget* parent) : QWidget(parent, Qt::Tool) { DrawGridField = new TDrawGrid(this); }
void TFormView::FillBrushMenu() {}
void TFormView::FillBrushMenu(QMenu*, QListWidget*, int) {}
void TFormView::SetBrushMenuItem(QMenu*, const QString&, int, int) {}
void TFormView::SetBrushMenuItem() {}
void TFormView::UpdateFieldSize() {}
void TFormView::SetCellSize(int) {}
void TFormView::ToolButtonViewClick() {}
void TFormView::ToolButtonResourceClick() {}
void TFormView::ToolButtonPlantClick() {}
void TFormView::ResourceMenuItemClick(QAction*) {}
void TFormView::PlantMenuItemClick(QAction*) {}
void TFormView::SetToolButtons(int) {}
void TFormView::DrawGridFieldDrawCell(QPainter&, int, int, const QRect&, bool) {}
void TFormView::DrawGridFieldMouseDown(QMouseEvent*, int, int) {}
void TFormView::DrawGridFieldMouseMove(QMouseEvent*, int, int) {}
void TFormView::closeEvent(QCloseEvent* event) { event->accept(); }
bool TFormView::eventFilter(QObject* w, QEvent* e) { return QWidget::eventFilter(w, e); }
void TFormView::PaintBrushButton(QToolButton*, int) {}
void TFormView::ApplyBrush(Qt::MouseButton, int, int) {}
