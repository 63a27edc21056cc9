#pragma once
// windows/look: the program's own look and what the windows share: the style,
// uProc's painters and utilities, pictures, grids, check list, dialog foot.
//
// The program's own look, set once on the application: every tool bar and its
// buttons, every pop-up menu and its items are painted by the painters of
// uProc (pale blue bars, cream highlights, navy frames, orange pressed and
// ticked states, a blue stripe down the left of every menu). A window gets
// the look by having a QToolBar or a QMenu; nothing per window is needed.
// Everything else is drawn by the desktop's style underneath.
#include <QProxyStyle>

class QToolBar;

class TFlatStyle : public QProxyStyle {
 public:
  TFlatStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                         const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

// How a tool bar is painted.
enum class TBarLook {
  Flat,            // the program's look (every tool bar unless told otherwise)
  FlatEdgeBottom,  // the same with an etched line along its bottom edge (the menu tool bar)
  Toolkit,         // the desktop's own look (the field view's brush buttons paint themselves)
};
// Sets a bar's look (an edged bar keeps room for its edge below the buttons).
void SetBarLook(QToolBar* bar, TBarLook look);
TBarLook BarLook(const QToolBar* bar);

// Sets the look on the application, once; call before the first window.
void InstallFlatStyle();
