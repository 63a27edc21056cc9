#include "windows/uPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

// The dynamic property that keeps a window's frame once it has been seen, so
// that a hidden window still tells it: left, top, right, bottom in a QRect's
// x, y, width and height.
const char* const kFrameProperty = "zoFrameMargins";

TFrameSource& Source() {
  static TFrameSource source;
  return source;
}

// Set while a PlaceWindow rule runs, when the rule read an estimated frame.
bool gCollecting = false;
bool gEstimateUsed = false;

bool Frameless(const QWidget* w) {
  const Qt::WindowType type = w->windowType();
  return (w->windowFlags() & Qt::FramelessWindowHint) || type == Qt::Popup || type == Qt::ToolTip ||
         type == Qt::SplashScreen || type == Qt::Desktop || !w->isWindow();
}

// The window system's frame of `w`, when it has told it.
std::optional<QMargins> SystemFrame(const QWidget* w) {
  if (Frameless(w)) return QMargins();
  if (const TFrameSource& source = Source()) return source(w);
  QWindow* handle = w->windowHandle();
  if (w->isVisible() && handle) {
    const QRect f = w->frameGeometry(), g = w->geometry();
    const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    // A frame the toolkit already tells is known; no frame is known to be
    // none only once the window is on the screen.
    if (!m.isNull() || handle->isExposed()) {
      const_cast<QWidget*>(w)->setProperty(kFrameProperty, QRect(m.left(), m.top(), m.right(), m.bottom()));
      return m;
    }
  }
  const QVariant seen = w->property(kFrameProperty);
  if (seen.isValid()) {
    const QRect r = seen.toRect();
    return QMargins(r.x(), r.y(), r.width(), r.height());
  }
  return std::nullopt;
}

bool IsTool(const QWidget* w) { return w->windowType() == Qt::Tool || w->windowType() == Qt::Dialog; }

// The frame of another window the window system has framed, a window of the
// same kind (tool or main window) first; none when there is no such window.
QMargins EstimatedFrame(const QWidget* w) {
  std::optional<QMargins> other;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top == w || Frameless(top)) continue;
    const std::optional<QMargins> m = SystemFrame(top);
    if (!m) continue;
    if (IsTool(top) == IsTool(w)) return *m;
    if (!other) other = m;
  }
  return other.value_or(QMargins());
}

// How far the toolkit's own position of a window (pos(), move()) lies from
// its outer corner. Before the window exists on the screen the toolkit takes
// a position as the outer corner, and once the window system has told it the
// frame it accounts for the frame itself: nothing. In between (the window
// exists, its frame is not told yet) and with a fake frame the toolkit's
// position is that of the client area: the frame's top-left.
QPoint ToolkitShift(const QWidget* w) {
  const bool toolkitKnowsFrame = w->frameGeometry().topLeft() != w->geometry().topLeft();
  if (!Source() && (!w->testAttribute(Qt::WA_WState_Created) || toolkitKnowsFrame)) return {};
  const QMargins m = FrameMargins(w);
  return {m.left(), m.top()};
}

// ---------------------------------------------------------------- pending places

struct TPendingPlace {
  QPointer<QWidget> Window;
  std::function<void()> Rule;
};

std::vector<TPendingPlace>& Pending() {
  static std::vector<TPendingPlace> pending;
  return pending;
}

// Runs a rule; true when it read an estimated frame.
bool RunRule(const std::function<void()>& rule) {
  const bool outerCollecting = gCollecting, outerUsed = gEstimateUsed;
  gCollecting = true;
  gEstimateUsed = false;
  rule();
  const bool used = gEstimateUsed;
  gCollecting = outerCollecting;
  gEstimateUsed = outerUsed || used;
  return used;
}

void RunPending();

// Watches the windows being shown and put on the screen: then frames become known.
class TFrameWatch : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) ||
        (type == QEvent::Expose && watched->isWindowType())) {
      if (!Running) {
        Running = true;
        RunPending();
        Running = false;
      }
    }
    return false;
  }
  bool Running = false;
};

TFrameWatch*& Watch() {
  static TFrameWatch* watch = nullptr;
  return watch;
}

void UpdateWatch() {
  TFrameWatch*& watch = Watch();
  if (!Pending().empty() && !watch && qApp) {
    watch = new TFrameWatch(qApp);
    qApp->installEventFilter(watch);
  } else if (Pending().empty() && watch) {
    qApp->removeEventFilter(watch);
    watch->deleteLater();
    watch = nullptr;
  }
}

void RunPending() {
  // Rules may add or replace rules: work on a copy.
  std::vector<TPendingPlace> now;
  now.swap(Pending());
  for (TPendingPlace& p : now) {
    if (!p.Window) continue;
    const bool replaced = std::any_of(Pending().begin(), Pending().end(),
                                      [&](const TPendingPlace& q) { return q.Window == p.Window; });
    if (replaced) continue;
    if (RunRule(p.Rule)) Pending().push_back(std::move(p));
  }
  UpdateWatch();
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

QMargins FrameMargins(const QWidget* window) {
  if (!window) return {};
  if (const std::optional<QMargins> m = SystemFrame(window)) return *m;
  if (gCollecting) gEstimateUsed = true;
  return EstimatedFrame(window);
}

bool FrameKnown(const QWidget* window) { return window && SystemFrame(window).has_value(); }

QRect OuterRect(const QWidget* window) {
  const QMargins m = FrameMargins(window);
  return QRect(window->pos() - ToolkitShift(window), window->size().grownBy(m));
}

void MoveOuter(QWidget* window, const QPoint& topLeft) {
  // Placed by other hands than its rule's: the rule is done with.
  if (!gCollecting) {
    auto& pending = Pending();
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [window](const TPendingPlace& p) { return p.Window == window; }),
                  pending.end());
  }
  window->move(topLeft + ToolkitShift(window));
}

void ResizeOuter(QWidget* window, const QSize& outerSize) {
  window->resize(outerSize.shrunkBy(FrameMargins(window)).expandedTo(QSize(1, 1)));
}

QPoint BelowWindow(const QWidget* window) {
  const QRect outer = OuterRect(window);
  return QPoint(outer.left(), outer.bottom() + 1);
}

QRect WorkArea(const QWidget* window) {
  QScreen* screen = window ? window->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

QRect FitToWorkArea(const QRect& outer, const QRect& workArea) {
  // So much of a window stays on the work area across and down that it can
  // be seen and dragged back.
  constexpr int kOnScreen = 64;
  // Sizes and places far out of range (a hand-edited 2^31) first come near.
  constexpr int kFar = 1 << 20;
  const int width = Clamp(outer.width(), 1, std::max(1, workArea.width()));
  const int height = Clamp(outer.height(), 1, std::max(1, workArea.height()));
  const int seenX = std::min(kOnScreen, width), seenY = std::min(kOnScreen, height);
  const int left = Clamp(Clamp(outer.left(), -kFar, kFar), workArea.left() - width + seenX,
                         workArea.left() + workArea.width() - seenX);
  const int top = Clamp(Clamp(outer.top(), -kFar, kFar), workArea.top(), workArea.top() + workArea.height() - seenY);
  return QRect(left, top, width, height);
}

void PlaceInWorkArea(QWidget* window, std::function<QPoint()> outerTopLeft, const QSize& clientSize) {
  // The size once (the frame's share of the work area estimated if need be);
  // the place as a rule, again once the frames are known.
  const QSize room = WorkArea(window).size().shrunkBy(FrameMargins(window));
  window->resize(clientSize.boundedTo(room).expandedTo(window->minimumSize()));
  PlaceWindow(window, [window, outerTopLeft = std::move(outerTopLeft)] {
    const QRect work = WorkArea(window);
    // Larger than the work area with the frame now known: brought down to it.
    const QSize fits = work.size().shrunkBy(FrameMargins(window));
    if (window->width() > fits.width() || window->height() > fits.height())
      window->resize(window->size().boundedTo(fits).expandedTo(window->minimumSize()));
    const QRect fitted = FitToWorkArea(QRect(outerTopLeft(), OuterRect(window).size()), work);
    MoveOuter(window, fitted.topLeft());
  });
}

void PlaceWindow(QWidget* window, std::function<void()> rule) {
  if (!window || !rule) return;
  auto& pending = Pending();
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [window](const TPendingPlace& p) { return !p.Window || p.Window == window; }),
                pending.end());
  if (RunRule(rule)) pending.push_back({window, std::move(rule)});
  UpdateWatch();
}

bool PlacesPending() { return !Pending().empty(); }

void SetFrameSource(TFrameSource source) { Source() = std::move(source); }
