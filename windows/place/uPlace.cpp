#include "windows/place/uPlace.h"

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

#include "platform/qt/WindowFrame.h"
#include "windows/place/uSnap.h"

namespace {

// Dynamic properties of a window, each a frame as left, top, right and bottom
// in a QRect's x, y, width and height:
// the frame it was last seen with, so that a hidden window still tells it;
const char* const kFrameProperty = "zoFrameMargins";
// the estimate it was placed with while its own frame was unknown.
const char* const kPlacedFrameProperty = "zoPlacedFrame";
// The native window whose frame the window manager was asked for.
const char* const kAskedProperty = "zoFrameAsked";

// How long a placing rule waits for the window manager's answer before it
// goes on with an estimate (and places again once the answer comes).
constexpr int kAskWaitMs = 500;

TFrameSource& Source() {
  static TFrameSource source;
  return source;
}

std::optional<QMargins> MarginsProperty(const QWidget* w, const char* name) {
  const QVariant v = w->property(name);
  if (!v.isValid()) return std::nullopt;
  const QRect r = v.toRect();
  return QMargins(r.x(), r.y(), r.width(), r.height());
}

void SetMarginsProperty(const QWidget* w, const char* name, const std::optional<QMargins>& m) {
  if (MarginsProperty(w, name) == m) return;
  const_cast<QWidget*>(w)->setProperty(name, m ? QVariant(QRect(m->left(), m->top(), m->right(), m->bottom())) : QVariant());
}

bool Frameless(const QWidget* w) {
  const Qt::WindowType type = w->windowType();
  return (w->windowFlags() & Qt::FramelessWindowHint) || type == Qt::Popup || type == Qt::ToolTip ||
         type == Qt::SplashScreen || type == Qt::Desktop || !w->isWindow();
}

// Borders wider than this, or a title bar taller, are no frame but a wrong
// account of one (such as the toolkit gives while a window is being mapped).
bool Plausible(const QMargins& m) {
  constexpr int kBorder = 64, kTitle = 160;
  return m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0 && m.left() <= kBorder &&
         m.right() <= kBorder && m.bottom() <= kBorder && m.top() <= kTitle;
}

// The toolkit's own account of the frame of a window on the screen, where no
// window manager states frames.
std::optional<QMargins> ToolkitFrame(const QWidget* w) {
  QWindow* handle = w->windowHandle();
  if (!w->isVisible() || !handle) return std::nullopt;
  const QRect f = w->frameGeometry(), g = w->geometry();
  const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
  // No frame is known to be none only once the window is on the screen.
  if (m.isNull() && !handle->isExposed()) return std::nullopt;
  return m;
}

// The window system's frame of `w`, when it has told it.
std::optional<QMargins> SystemFrame(const QWidget* w) {
  if (Frameless(w)) return QMargins();
  if (const TFrameSource& source = Source()) {
    const std::optional<QMargins> m = source(w);
    return m && Plausible(*m) ? m : std::nullopt;
  }
  std::optional<QMargins> m = WindowManagerStatesFrames() ? StatedFrame(w) : ToolkitFrame(w);
  if (m && !Plausible(*m)) m.reset();
  if (m) {
    SetMarginsProperty(w, kFrameProperty, m);
    return m;
  }
  return MarginsProperty(w, kFrameProperty);
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

// ---------------------------------------------------------------- frames read by rules

// A frame a placing rule read: the window, the margins it got, and whether
// they were the window system's own.
struct TFrameUse {
  QPointer<QWidget> Window;
  QMargins Used;
  bool Known = false;
};

// While a rule runs: the frames it reads.
std::vector<TFrameUse>* gUses = nullptr;
// While placing: the window manager may be asked for a frame.
int gAsking = 0;

struct TAsking {
  TAsking() { ++gAsking; }
  ~TAsking() { --gAsking; }
  TAsking(const TAsking&) = delete;
  TAsking& operator=(const TAsking&) = delete;
};

void NoteUse(const QWidget* w, const QMargins& m, bool known) {
  if (!gUses) return;
  for (TFrameUse& u : *gUses) {
    if (u.Window != w) continue;
    u.Known = u.Known && known;
    return;
  }
  gUses->push_back({const_cast<QWidget*>(w), m, known});
}

// Asks the window manager for the frame of a window it has not mapped yet,
// once for each native window.
std::optional<QMargins> AskedFrame(const QWidget* w) {
  if (!gAsking || Source() || !w->isWindow() || w->isVisible() || !WindowManagerStatesFrames()) return std::nullopt;
  const QVariant asked = w->property(kAskedProperty);
  if (asked.isValid() && w->internalWinId() && asked.toULongLong() == w->internalWinId()) return std::nullopt;
  auto* window = const_cast<QWidget*>(w);
  AskFrame(window, kAskWaitMs);
  window->setProperty(kAskedProperty, QVariant::fromValue<qulonglong>(window->internalWinId()));
  return SystemFrame(w);
}

struct TFrame {
  QMargins Margins;
  bool Known = false;
};

TFrame FrameOf(const QWidget* w) {
  std::optional<QMargins> m = SystemFrame(w);
  if (!m) m = AskedFrame(w);
  TFrame f;
  if (m) {
    f = {*m, true};
  } else if (const std::optional<QMargins> placed = MarginsProperty(w, kPlacedFrameProperty); placed && !gUses) {
    // Placed with an estimate: read back with the same estimate, so that the
    // outer place is the place it was given. A rule estimates afresh.
    f.Margins = *placed;
  } else {
    f.Margins = EstimatedFrame(w);
  }
  NoteUse(w, f.Margins, f.Known);
  return f;
}

// The frame a window is placed or sized with, remembered while it is an estimate.
QMargins PlacingFrame(const QWidget* w) {
  const TAsking asking;
  const TFrame f = FrameOf(w);
  SetMarginsProperty(w, kPlacedFrameProperty, f.Known ? std::optional<QMargins>() : std::optional<QMargins>(f.Margins));
  return f.Margins;
}

// A frame is settled once it is known and, where the window manager states
// frames, the window is on the screen (the frame it was asked for is then the
// frame it has).
bool Settled(const TFrameUse& u) {
  if (!u.Window) return true;
  if (!u.Known) return false;
  if (Source() || Frameless(u.Window) || !WindowManagerStatesFrames()) return true;
  const QWindow* handle = u.Window->windowHandle();
  return u.Window->isVisible() && handle && handle->isExposed();
}

// The window system has told a frame other than the one the rule read, or
// an estimate would now be another one.
bool Changed(const TFrameUse& u) {
  if (!u.Window) return false;
  const std::optional<QMargins> now = SystemFrame(u.Window);
  if (now) return !u.Known || *now != u.Used;
  return !u.Known && EstimatedFrame(u.Window) != u.Used;
}

// ---------------------------------------------------------------- pending places

struct TPendingPlace {
  QPointer<QWidget> Window;
  std::function<void()> Rule;
  std::vector<TFrameUse> Uses;
  bool Waits() const { return !std::all_of(Uses.begin(), Uses.end(), Settled); }
};

std::vector<TPendingPlace>& Pending() {
  static std::vector<TPendingPlace> pending;
  return pending;
}

// Runs a rule; returns the frames it read.
std::vector<TFrameUse> RunRule(const std::function<void()>& rule) {
  std::vector<TFrameUse> uses;
  std::vector<TFrameUse>* outer = gUses;
  gUses = &uses;
  {
    const TAsking asking;
    rule();
  }
  gUses = outer;
  // A rule run inside another one: what it read, the outer one read too.
  if (outer)
    for (const TFrameUse& u : uses) NoteUse(u.Window, u.Used, u.Known);
  return uses;
}

void RunPending();

// Watches the windows being shown and put on the screen: then frames become known.
class TFrameWatch : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) ||
        (type == QEvent::Expose && watched->isWindowType()))
      RunPending();
    return false;
  }
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
    // The window manager's frames also come while no window is shown.
    static const bool listening = (OnFrameStated(RunPending), true);
    (void)listening;
  } else if (Pending().empty() && watch) {
    qApp->removeEventFilter(watch);
    watch->deleteLater();
    watch = nullptr;
  }
}

bool gRunning = false;

void RunPending() {
  if (gRunning || Pending().empty()) return;
  gRunning = true;
  // Rules may add or replace rules: work on a copy.
  std::vector<TPendingPlace> now;
  now.swap(Pending());
  for (TPendingPlace& p : now) {
    if (!p.Window) continue;
    const bool replaced = std::any_of(Pending().begin(), Pending().end(),
                                      [&](const TPendingPlace& q) { return q.Window == p.Window; });
    if (replaced) continue;
    if (std::any_of(p.Uses.begin(), p.Uses.end(), Changed)) p.Uses = RunRule(p.Rule);
    if (p.Waits()) Pending().push_back(std::move(p));
  }
  gRunning = false;
  UpdateWatch();
}

void DropRule(const QWidget* window) {
  auto& pending = Pending();
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [window](const TPendingPlace& p) { return !p.Window || p.Window == window; }),
                pending.end());
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

TSnapRect ToSnap(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

}  // namespace

QMargins FrameMargins(const QWidget* window) { return window ? FrameOf(window).Margins : QMargins(); }

QSize ExpectedOuterSize(const QWidget* window, const QSize& clientSize) {
  const TAsking asking;
  return clientSize.grownBy(FrameOf(window).Margins);
}

bool FrameKnown(const QWidget* window) { return window && SystemFrame(window).has_value(); }

QRect OuterRect(const QWidget* window) {
  const QMargins m = FrameMargins(window);
  const QRect client = window->geometry();
  return QRect(client.topLeft() - QPoint(m.left(), m.top()), client.size().grownBy(m));
}

void MoveOuter(QWidget* window, const QPoint& topLeft) {
  // Placed by other hands than its rule's: the rule is done with.
  if (!gUses) DropRule(window);
  const QMargins m = PlacingFrame(window);
  // The client area's place, which the window manager keeps as it frames the
  // window; a window the program has not sized yet still takes its own size
  // when it is shown.
  const bool sized = window->testAttribute(Qt::WA_Resized);
  window->setGeometry(QRect(topLeft + QPoint(m.left(), m.top()), window->size()));
  if (!sized) window->setAttribute(Qt::WA_Resized, false);
}

void ResizeOuter(QWidget* window, const QSize& outerSize) {
  window->resize(outerSize.shrunkBy(PlacingFrame(window)).expandedTo(QSize(1, 1)));
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
  const QSize room = WorkArea(window).size().shrunkBy(PlacingFrame(window));
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

QPoint BelowOnWorkArea(const QRect& mainOuter, const QSize& outerSize, const QRect& workArea) {
  const TSnapPoint p =
      PlaceBelowOnWorkArea(ToSnap(mainOuter), outerSize.width(), outerSize.height(), ToSnap(workArea));
  return QPoint(p.X, p.Y);
}

QPoint BelowMainOnWorkArea(const QWidget* window, const QWidget* main) {
  return BelowOnWorkArea(OuterRect(main), OuterRect(window).size(), WorkArea(main));
}

void PlaceBelowMain(QWidget* window, const QWidget* main) {
  PlaceWindow(window, [window, main] { MoveOuter(window, BelowMainOnWorkArea(window, main)); });
}

void PlaceWindow(QWidget* window, std::function<void()> rule) {
  if (!window || !rule) return;
  DropRule(window);
  TPendingPlace p{window, std::move(rule), {}};
  p.Uses = RunRule(p.Rule);
  if (p.Waits()) Pending().push_back(std::move(p));
  UpdateWatch();
}

bool PlacesPending() { return !Pending().empty(); }

void SettlePlaces() { RunPending(); }

void SetFrameSource(TFrameSource source) { Source() = std::move(source); }
