#include "windows/place/uSticky.h"

#include <QAction>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "windows/place/uPlace.h"
#include "windows/place/uSnap.h"

namespace {

// The window's own screen snapping keeps to this distance.
constexpr int ScreenSnapBuffer = 10;

TSnapRect ToSnap(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

class TStickyFilter;

// Who takes part: the main window with its fields, and the latest window of
// each docking kind.
struct TStickyBoard {
  QPointer<TStickyFilter> Main, Parameter, Statistic, View;
  QPointer<QAction> Option;
  const int* Buffer = nullptr;
  bool* Moving = nullptr;
  std::vector<QPointer<TStickyFilter>> All;
};

TStickyBoard& Board() {
  static TStickyBoard board;
  return board;
}

// Watches one window's moves. A move the program makes (QWidget::move) is the
// program's own placing and only remembered; a move the window system reports
// to a new outer place is the user's, and the rules apply once the window has
// stood still for StickySettleMs. The window system also reports its own
// framing of a window it maps, at the place the program asked for: that place
// is already remembered, so it passes.
class TStickyFilter : public QObject {
 public:
  TStickyFilter(QWidget* window, bool main, TStickyKind kind, unsigned char* dockable, bool screenSnap)
      : QObject(window), Window(window), IsMain(main), Kind(kind), Dockable(dockable), ScreenSnap(screenSnap) {
    Placed = OuterRect(window).topLeft();
    Settle.setSingleShot(true);
    Settle.setInterval(StickySettleMs);
    connect(&Settle, &QTimer::timeout, this, [this] { Finish(); });
    window->installEventFilter(this);
  }

  QWidget* Target() const { return Window; }
  unsigned char DockableValue() const { return Dockable ? *Dockable : 0; }
  void SetDockable(unsigned char value) {
    if (Dockable) *Dockable = value;
  }

  void Finish() {
    if (!Pending) return;
    Pending = false;
    Settle.stop();
    if (Window->isVisible()) Apply();
    Placed = OuterRect(Window).topLeft();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != Window) return false;
    switch (event->type()) {
      case QEvent::Move:
        if (!event->spontaneous()) {
          // The program placed the window: that place is not the user's.
          Pending = false;
          Settle.stop();
          Placed = OuterRect(Window).topLeft();
        } else if (Pending || OuterRect(Window).topLeft() != Placed) {
          Pending = true;
          Settle.start();
        }
        break;
      case QEvent::Show:
        if (!Pending) Placed = OuterRect(Window).topLeft();
        break;
      case QEvent::WindowActivate:
      case QEvent::WindowDeactivate:
        // A change of the main window's stacking is a position change with no
        // move: the rule stops at once and Moving is cleared.
        if (IsMain && Board().Moving) *Board().Moving = false;
        break;
      default: break;
    }
    return false;
  }

 private:
  void Apply() {
    TStickyBoard& b = Board();
    const bool haveMain = b.Main && b.Buffer && b.Moving;
    const QRect outer = OuterRect(Window);
    TSnapPoint pos{outer.left(), outer.top()};
    if (IsMain && haveMain) {
      pos = ApplyMain(outer);
    } else if (Kind != TStickyKind::None && haveMain) {
      TMemberSnap in;
      in.Proposed = ToSnap(outer);
      in.Main = ToSnap(OuterRect(b.Main->Target()));
      in.Work = ToSnap(WorkArea(Window));
      in.Buffer = *b.Buffer;
      in.Option = b.Option && b.Option->isChecked();
      in.Moving = *b.Moving;
      in.Dockable = DockableValue();
      const TSnapMember member = Kind == TStickyKind::View     ? TSnapMember::Below
                                 : Kind == TStickyKind::Dialog ? TSnapMember::Dialog
                                                               : TSnapMember::Beside;
      const TMemberSnapResult r = SnapMember(member, in);
      SetDockable(r.Dockable);
      pos = r.Pos;
    }
    if (ScreenSnap) SnapToWorkArea(pos.X, pos.Y, outer.width(), outer.height(), ToSnap(WorkArea(Window)), ScreenSnapBuffer);
    if (pos != TSnapPoint{outer.left(), outer.top()}) MoveOuter(Window, QPoint(pos.X, pos.Y));
  }

  TSnapPoint ApplyMain(const QRect& outer) {
    TStickyBoard& b = Board();
    TMainSnap in;
    in.Proposed = ToSnap(outer);
    in.Main = {Placed.x(), Placed.y(), outer.width(), outer.height()};
    in.Work = ToSnap(WorkArea(Window));
    in.Buffer = *b.Buffer;
    in.Option = b.Option && b.Option->isChecked();
    auto tool = [](TStickyFilter* f) {
      TSnapTool t;
      if (!f) return t;
      t.Exists = true;
      t.Rect = ToSnap(OuterRect(f->Target()));
      t.Dockable = f->DockableValue();
      return t;
    };
    in.View = tool(b.View);
    in.Statistic = tool(b.Statistic);
    in.Parameter = tool(b.Parameter);
    const TMainSnapResult r = SnapMainWindow(in);
    *b.Moving = r.Moving;
    if (b.View) b.View->SetDockable(r.ViewDockable);
    if (b.Statistic) b.Statistic->SetDockable(r.StatisticDockable);
    if (b.Parameter) b.Parameter->SetDockable(r.ParameterDockable);
    auto carry = [](TStickyFilter* f, const std::optional<TSnapPoint>& to) {
      if (f && to) MoveOuter(f->Target(), QPoint(to->X, to->Y));
    };
    carry(b.Parameter, r.ParameterMove);
    carry(b.Statistic, r.StatisticMove);
    carry(b.View, r.ViewMove);
    return r.Pos;
  }

  QWidget* Window;
  bool IsMain;
  TStickyKind Kind;
  unsigned char* Dockable;
  bool ScreenSnap;
  QPoint Placed;  // the outer place the window stood at before the user moved it
  bool Pending = false;
  QTimer Settle;
};

TStickyFilter* Install(QWidget* window, bool main, TStickyKind kind, unsigned char* dockable, bool screenSnap) {
  auto* filter = new TStickyFilter(window, main, kind, dockable, screenSnap);
  auto& all = Board().All;
  std::erase_if(all, [](const QPointer<TStickyFilter>& f) { return f.isNull(); });
  all.emplace_back(filter);
  return filter;
}

}  // namespace

void InstallStickyMain(QWidget* main, QAction* option, const int* snapBuffer, bool* moving) {
  TStickyBoard& b = Board();
  b.Main = Install(main, true, TStickyKind::None, nullptr, false);
  b.Option = option;
  b.Buffer = snapBuffer;
  b.Moving = moving;  // read only while b.Main lives
}

void InstallSticky(QWidget* window, TStickyKind kind, unsigned char* dockable, bool screenSnap) {
  const bool docks = kind == TStickyKind::Parameter || kind == TStickyKind::Statistic || kind == TStickyKind::View;
  TStickyFilter* filter = Install(window, false, kind, docks ? dockable : nullptr, screenSnap);
  TStickyBoard& b = Board();
  if (kind == TStickyKind::Parameter) b.Parameter = filter;
  if (kind == TStickyKind::Statistic) b.Statistic = filter;
  if (kind == TStickyKind::View) b.View = filter;
}

void FinishStickyMoves() {
  const std::vector<QPointer<TStickyFilter>> all = Board().All;
  for (const QPointer<TStickyFilter>& f : all)
    if (f) f->Finish();
}
