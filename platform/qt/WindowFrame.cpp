#include "platform/qt/WindowFrame.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <xcb/xcb.h>

namespace {

// Dynamic properties of a window, each a frame as left, top, right and bottom
// in a QRect's x, y, width and height (absent: none), with the native window
// it is for: the frame its own _NET_FRAME_EXTENTS states, as last read, and
// the window manager's answer when it was asked.
const char* const kStatedProperty = "zoStatedFrame";
const char* const kStatedForProperty = "zoStatedFrameFor";
const char* const kAnswerProperty = "zoAnsweredFrame";
const char* const kAnswerForProperty = "zoAnsweredFrameFor";

xcb_connection_t* Connection() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

struct TAtoms {
  xcb_connection_t* For = nullptr;
  xcb_atom_t FrameExtents = XCB_ATOM_NONE, RequestFrameExtents = XCB_ATOM_NONE, Supported = XCB_ATOM_NONE,
             SupportingWmCheck = XCB_ATOM_NONE, WmState = XCB_ATOM_NONE, WmProtocols = XCB_ATOM_NONE,
             SyncCounter = XCB_ATOM_NONE, Icon = XCB_ATOM_NONE;
};

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return atom;
}

const TAtoms& Atoms(xcb_connection_t* c) {
  static TAtoms atoms;
  if (atoms.For != c) {
    atoms.For = c;
    atoms.FrameExtents = Intern(c, "_NET_FRAME_EXTENTS");
    atoms.RequestFrameExtents = Intern(c, "_NET_REQUEST_FRAME_EXTENTS");
    atoms.Supported = Intern(c, "_NET_SUPPORTED");
    atoms.SupportingWmCheck = Intern(c, "_NET_SUPPORTING_WM_CHECK");
    atoms.WmState = Intern(c, "WM_STATE");
    atoms.WmProtocols = Intern(c, "WM_PROTOCOLS");
    atoms.SyncCounter = Intern(c, "_NET_WM_SYNC_REQUEST_COUNTER");
    atoms.Icon = Intern(c, "_NET_WM_ICON");
  }
  return atoms;
}

// The 32-bit values of a window's property of the given type (at most `count`);
// empty when the property is absent or of another type.
std::vector<uint32_t> ReadValues(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                 uint32_t count) {
  std::vector<uint32_t> values;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, count), nullptr);
  if (r && r->format == 32 && r->type == type) {
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(r));
    values.assign(data, data + xcb_get_property_value_length(r) / 4);
  }
  std::free(r);
  return values;
}

xcb_window_t Root(xcb_connection_t* c) {
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
  return screens.rem ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

std::optional<QMargins> ReadFrame(xcb_connection_t* c, xcb_window_t window) {
  // Left, right, top, bottom.
  const std::vector<uint32_t> v = ReadValues(c, window, Atoms(c).FrameExtents, XCB_ATOM_CARDINAL, 4);
  if (v.size() != 4) return std::nullopt;
  auto side = [](uint32_t value) { return static_cast<int>(static_cast<int32_t>(value)); };
  return QMargins(side(v[0]), side(v[2]), side(v[1]), side(v[3]));
}

// True while the window manager manages the window (it is mapped and
// framed): only then is the frame it states the window's. (A manager may
// state no frame, or an empty one, for a window it has let go.)
bool Managed(xcb_connection_t* c, xcb_window_t window) {
  const xcb_atom_t state = Atoms(c).WmState;
  const std::vector<uint32_t> v = ReadValues(c, window, state, state, 2);
  return !v.empty() && v[0] != 0;  // not WithdrawnState
}

void Keep(QWidget* window, const char* property, const char* forProperty, xcb_window_t id,
          const std::optional<QMargins>& frame) {
  window->setProperty(forProperty, QVariant::fromValue<qulonglong>(id));
  window->setProperty(property,
                      frame ? QVariant(QRect(frame->left(), frame->top(), frame->right(), frame->bottom())) : QVariant());
}

std::optional<QMargins> Kept(const QWidget* window, const char* property) {
  const QVariant v = window->property(property);
  if (!v.isValid()) return std::nullopt;
  const QRect r = v.toRect();
  return QMargins(r.x(), r.y(), r.width(), r.height());
}

bool KeptFor(const QWidget* window, const char* forProperty, xcb_window_t id) {
  const QVariant v = window->property(forProperty);
  return v.isValid() && v.toULongLong() == id;
}

struct TManager {
  bool Checked = false;
  bool StatesFrames = false;
  bool AnswersRequests = false;
  QElapsedTimer Since;
};

// What the running window manager supports, looked up again now and then
// while none states frames (one may start after the program).
const TManager& Manager() {
  static TManager manager;
  xcb_connection_t* c = Connection();
  if (!c || manager.StatesFrames || (manager.Checked && manager.Since.elapsed() < 2000)) return manager;
  manager.Checked = true;
  manager.Since.start();
  const TAtoms& a = Atoms(c);
  const xcb_window_t root = Root(c);
  // A manager that runs names a window of its own, which names itself again.
  const std::vector<uint32_t> check = ReadValues(c, root, a.SupportingWmCheck, XCB_ATOM_WINDOW, 1);
  if (check.empty() || ReadValues(c, check[0], a.SupportingWmCheck, XCB_ATOM_WINDOW, 1) != check) return manager;
  for (uint32_t atom : ReadValues(c, root, a.Supported, XCB_ATOM_ATOM, 4096)) {
    if (atom == a.FrameExtents) manager.StatesFrames = true;
    if (atom == a.RequestFrameExtents) manager.AnswersRequests = true;
  }
  return manager;
}

// An unmapped window that carries the properties of `model` (its type, its
// size hints, its decorations), so that the window manager frames it as it
// would frame `model`. The manager may handle a window it is asked about as
// if it managed it (move it, tell it a place), which must not happen to the
// program's own window before it is shown.
xcb_window_t StandIn(xcb_connection_t* c, xcb_window_t model, const QSize& size) {
  const xcb_window_t standIn = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, standIn, Root(c), 0, 0, static_cast<uint16_t>(std::max(1, size.width())),
                    static_cast<uint16_t>(std::max(1, size.height())), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    XCB_COPY_FROM_PARENT, 0, nullptr);
  const TAtoms& a = Atoms(c);
  xcb_list_properties_reply_t* list = xcb_list_properties_reply(c, xcb_list_properties(c, model), nullptr);
  if (!list) return standIn;
  const xcb_atom_t* names = xcb_list_properties_atoms(list);
  const int count = xcb_list_properties_atoms_length(list);
  for (int i = 0; i < count; ++i) {
    const xcb_atom_t name = names[i];
    // Not what the manager writes itself, nor the protocols it would talk
    // to the window by, nor the (large, frameless) icon.
    if (name == a.FrameExtents || name == a.WmState || name == a.WmProtocols || name == a.SyncCounter ||
        name == a.Icon)
      continue;
    xcb_get_property_reply_t* p = xcb_get_property_reply(
        c, xcb_get_property(c, 0, model, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16), nullptr);
    if (p && p->format != 0)
      xcb_change_property(c, XCB_PROP_MODE_REPLACE, standIn, name, p->type, p->format,
                          static_cast<uint32_t>(xcb_get_property_value_length(p)) / (p->format / 8),
                          xcb_get_property_value(p));
    std::free(p);
  }
  std::free(list);
  return standIn;
}

std::vector<std::function<void()>>& Listeners() {
  static std::vector<std::function<void()>> listeners;
  return listeners;
}

// Forgets a window's stated frame when the window manager states another one
// or takes up or lets go of the window, and tells the listeners once the
// burst of events is handled.
class TFrameFilter : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    xcb_connection_t* c = Connection();
    if (!c || (notify->atom != Atoms(c).FrameExtents && notify->atom != Atoms(c).WmState)) return false;
    if (QWidget* window = QWidget::find(notify->window)) window->setProperty(kStatedForProperty, QVariant());
    if (!Scheduled) {
      Scheduled = true;
      QTimer::singleShot(0, QCoreApplication::instance(), [this] {
        Scheduled = false;
        const std::vector<std::function<void()>> listeners = Listeners();
        for (const auto& listener : listeners) listener();
      });
    }
    return false;
  }
  bool Scheduled = false;
};

void WatchFrames() {
  static TFrameFilter* filter = nullptr;
  if (filter || !QCoreApplication::instance()) return;
  filter = new TFrameFilter;
  QCoreApplication::instance()->installNativeEventFilter(filter);
}

// Creates a window's native window as showing it would. (QWidget::winId()
// would also mark it a native window, and with it every child of its parent.)
struct TWindowCreator : QWidget {
  static void Create(QWidget* window) { (window->*&TWindowCreator::create)(0, true, true); }
};

}  // namespace

bool WindowManagerStatesFrames() { return Manager().StatesFrames; }

std::optional<QMargins> StatedFrame(const QWidget* window) {
  xcb_connection_t* c = Connection();
  if (!c || !window || !window->testAttribute(Qt::WA_WState_Created) || !window->internalWinId()) return std::nullopt;
  WatchFrames();
  const auto id = static_cast<xcb_window_t>(window->internalWinId());
  // A window the program has hidden is being let go of: the manager takes its
  // frame away (and says so) before it says that it no longer manages it.
  if (window->isVisible()) {
    if (!KeptFor(window, kStatedForProperty, id))
      Keep(const_cast<QWidget*>(window), kStatedProperty, kStatedForProperty, id,
           Managed(c, id) ? ReadFrame(c, id) : std::nullopt);
    if (const std::optional<QMargins> own = Kept(window, kStatedProperty)) return own;
  }
  // Not framed yet: the answer the manager gave when asked.
  if (KeptFor(window, kAnswerForProperty, id)) return Kept(window, kAnswerProperty);
  return std::nullopt;
}

bool AskFrame(QWidget* window, int waitMs) {
  xcb_connection_t* c = Connection();
  if (!c || !window || !window->isWindow() || !Manager().AnswersRequests) return false;
  if (!window->testAttribute(Qt::WA_WState_Created)) TWindowCreator::Create(window);
  const auto id = static_cast<xcb_window_t>(window->internalWinId());
  if (!id) return false;
  WatchFrames();
  const xcb_window_t standIn = StandIn(c, id, window->size());
  xcb_client_message_event_t ask;
  std::memset(&ask, 0, sizeof ask);
  ask.response_type = XCB_CLIENT_MESSAGE;
  ask.format = 32;
  ask.window = standIn;
  ask.type = Atoms(c).RequestFrameExtents;
  xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&ask));
  xcb_flush(c);
  // A manager that let the last question go unanswered is not waited for
  // long again until it answers one.
  static bool lastUnanswered = false;
  const int wait = lastUnanswered ? std::min(waitMs, 50) : waitMs;
  QElapsedTimer waited;
  waited.start();
  std::optional<QMargins> frame;
  while (!(frame = ReadFrame(c, standIn)) && waited.elapsed() < wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  xcb_destroy_window(c, standIn);
  xcb_flush(c);
  lastUnanswered = !frame;
  if (!frame) return false;
  Keep(window, kAnswerProperty, kAnswerForProperty, id, frame);
  return true;
}

void OnFrameStated(std::function<void()> changed) {
  WatchFrames();
  Listeners().push_back(std::move(changed));
}
