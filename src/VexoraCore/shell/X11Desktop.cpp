#include "shell/X11Desktop.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xinput.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace vexora::X11Desktop {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

// Interned once: a round trip to the server on every show would slow the click down.
xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    static std::map<std::string, xcb_atom_t> known;
    if (auto found = known.find(name); found != known.end()) return found->second;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    if (value != XCB_ATOM_NONE) known.emplace(name, value);
    return value;
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type, std::initializer_list<uint32_t> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    int i = 0;
    for (uint32_t value : data) event.data.data32[i++] = value;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace

bool isActive() { return connection() != nullptr; }

bool hasXEmbedTray() {
    xcb_connection_t* c = connection();
    if (!c) return false;
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
    std::free(host);
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, selection.c_str())), nullptr);
    const bool owned = reply && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return owned;
}

void skipTaskbarAndPager(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t wanted[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    // A withdrawn window has no state of its own left; Qt merges its own into this one when it
    // maps the window.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, 2, wanted);
    xcb_flush(c);
}

void activate(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window || !window->isVisible()) return;
    // Source 2 is a pager acting for the user: no focus-stealing check applies to it.
    sendToRoot(c, xcb_window_t(window->winId()), atom(c, "_NET_ACTIVE_WINDOW"), {2, XCB_CURRENT_TIME, 0});
    xcb_flush(c);
}

GlobalClickWatcher::GlobalClickWatcher(Callback pressed) : pressed_(std::move(pressed)) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (!extension || !extension->present) return;
    extensionOpcode_ = extension->major_opcode;
    // Raw presses reach every client that asks for them on the root, whatever holds a grab.
    struct {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS};
    xcb_input_xi_select_events(c, rootOf(c), 1, &selection.header);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalClickWatcher::~GlobalClickWatcher() {
    if (extensionOpcode_ < 0) return;
    if (xcb_connection_t* c = connection()) {
        struct {
            xcb_input_event_mask_t header;
            uint32_t mask;
        } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, 0};
        xcb_input_xi_select_events(c, rootOf(c), 1, &selection.header);
        xcb_flush(c);
    }
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalClickWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC) return false;
    auto* generic = reinterpret_cast<xcb_ge_generic_event_t*>(event);
    if (generic->extension != extensionOpcode_ || generic->event_type != XCB_INPUT_RAW_BUTTON_PRESS) return false;
    const auto* raw = reinterpret_cast<xcb_input_raw_button_press_event_t*>(event);
    const Qt::MouseButton button = raw->detail == 1 ? Qt::LeftButton : raw->detail == 3 ? Qt::RightButton
                                 : raw->detail == 2 ? Qt::MiddleButton : Qt::NoButton;
    // Wheel turns arrive as buttons 4 to 7; they are not clicks.
    if (button != Qt::NoButton) pressed_(button, QCursor::pos());
    return false;
}

}  // namespace vexora::X11Desktop
