#include "ClickProbe.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <poll.h>
#include <stdexcept>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace vexora::bench {

ClickProbe::ClickProbe(const QString& display) {
    connection_ = xcb_connect(display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection_)) throw std::runtime_error("cannot open the display " + display.toStdString());
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // The window manager maps each client in a frame of its own, a child of the root.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

ClickProbe::~ClickProbe() { xcb_disconnect(connection_); }

double ClickProbe::clickUntilMapped(QPoint at) { return clickUntil(at, XCB_MAP_NOTIFY); }

double ClickProbe::clickUntilUnmapped(QPoint at) { return clickUntil(at, XCB_UNMAP_NOTIFY); }

double ClickProbe::clickUntil(QPoint at, int eventType) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(connection_)) std::free(stale);
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, int16_t(at.x()), int16_t(at.y()), 0);
    QElapsedTimer clock;
    clock.start();
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
    pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (clock.elapsed() < 10000) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const int type = event->response_type & 0x7f;
            bool topLevel = false;
            if (type == XCB_MAP_NOTIFY) topLevel = !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            if (type == XCB_UNMAP_NOTIFY) topLevel = reinterpret_cast<xcb_unmap_notify_event_t*>(event)->event == root_;
            std::free(event);
            if (type == eventType && topLevel) return double(clock.nsecsElapsed()) / 1e6;
        }
        ::poll(&descriptor, 1, 5);
    }
    throw std::runtime_error("no window came or went after the click");
}

}  // namespace vexora::bench
