#include "toolkit/X11.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace toolkit {

namespace {

xcb_connection_t* x11Connection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// A reply of the X server, freed as its owner goes.
template <class T> std::unique_ptr<T, decltype(&std::free)> owned(T* reply) {
    return {reply, &std::free};
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const auto reply = owned(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// A property's 32-bit values when it has the type asked for; none else.
std::vector<uint32_t> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom,
                               xcb_atom_t type, uint32_t most) {
    const auto cookie = xcb_get_property(c, 0, window, atom, type, 0, most);
    const auto reply = owned(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom) {
    const auto value = property(c, window, atom, XCB_ATOM_WINDOW, 1);
    return value.empty() ? static_cast<xcb_window_t>(XCB_WINDOW_NONE) : value[0];
}

} // namespace

// The handshake of the window-manager hints: the root names a window that
// names itself. A property left behind by a window manager that has gone
// names a window that no longer answers.
bool X11WindowManagerRunning() {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return false;
    const xcb_atom_t check = internAtom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t child = windowProperty(c, rootWindow(c), check);
    return child != XCB_WINDOW_NONE && windowProperty(c, child, check) == child;
}

void X11WriteStaysOnTop(uint64_t id, bool on) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    const auto window = static_cast<xcb_window_t>(id);
    const xcb_atom_t state = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t above = internAtom(c, "_NET_WM_STATE_ABOVE");
    const xcb_atom_t staysOnTop = internAtom(c, "_NET_WM_STATE_STAYS_ON_TOP");
    std::vector<uint32_t> atoms = property(c, window, state, XCB_ATOM_ATOM, 1024);
    std::erase_if(atoms, [&](uint32_t atom) { return atom == above || atom == staysOnTop; });
    if (on)
        atoms.insert(atoms.end(), {above, staysOnTop});
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(c);
}

std::optional<bool> X11LeftButtonDown() {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return std::nullopt;
    const auto reply =
        owned(xcb_query_pointer_reply(c, xcb_query_pointer(c, rootWindow(c)), nullptr));
    if (!reply)
        return std::nullopt;
    return (reply->mask & XCB_KEY_BUT_MASK_BUTTON_1) != 0;
}

X11Event X11Read(const QByteArray& eventType, void* message) {
    if (eventType != "xcb_generic_event_t" || !message)
        return {};
    switch (static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7F) {
    case XCB_CONFIGURE_NOTIFY:
        return {X11Event::Configured, static_cast<const xcb_configure_notify_event_t*>(message)->window};
    case XCB_EXPOSE:
        return {X11Event::Exposed, static_cast<const xcb_expose_event_t*>(message)->window};
    case XCB_REPARENT_NOTIFY: {
        const auto* e = static_cast<const xcb_reparent_notify_event_t*>(message);
        return {X11Event::Reparented, e->window, e->parent};
    }
    default:
        return {};
    }
}

bool X11WatchMoves(uint64_t window) {
    xcb_connection_t* c = x11Connection();
    if (!c || window == 0 || window == rootWindow(c))
        return false;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    // The frame may be gone already; that error is nobody's business.
    free(xcb_request_check(c, xcb_change_window_attributes_checked(
                                  c, static_cast<xcb_window_t>(window), XCB_CW_EVENT_MASK, &mask)));
    return true;
}

void X11ReportPlace(uint64_t window, const QRect& client) {
    xcb_connection_t* c = x11Connection();
    if (!c || window == 0)
        return;
    xcb_configure_notify_event_t report{};
    report.response_type = XCB_CONFIGURE_NOTIFY;
    report.event = report.window = static_cast<xcb_window_t>(window);
    report.x = static_cast<int16_t>(std::clamp(client.x(), INT16_MIN, INT16_MAX));
    report.y = static_cast<int16_t>(std::clamp(client.y(), INT16_MIN, INT16_MAX));
    report.width = static_cast<uint16_t>(std::clamp(client.width(), 1, UINT16_MAX));
    report.height = static_cast<uint16_t>(std::clamp(client.height(), 1, UINT16_MAX));
    xcb_send_event(c, 0, report.window, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&report));
    xcb_flush(c);
}

std::optional<bool> X11Viewable(uint64_t window) {
    xcb_connection_t* c = x11Connection();
    if (!c || window == 0)
        return std::nullopt;
    const auto cookie = xcb_get_window_attributes(c, static_cast<xcb_window_t>(window));
    const auto reply = owned(xcb_get_window_attributes_reply(c, cookie, nullptr));
    if (!reply)
        return std::nullopt;
    return reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool X11Configure(uint64_t window, const X11Change& change) {
    xcb_connection_t* c = x11Connection();
    if (!c || window == 0)
        return false;
    uint16_t mask = 0;
    uint32_t values[4];
    int n = 0;
    // The values go in the order of their mask bits.
    // The server keeps 16 bits of each: beyond them a value would wrap around.
    const auto add = [&](const std::optional<int>& v, uint16_t bit, int least, int most) {
        if (v) {
            mask |= bit;
            values[n++] = static_cast<uint32_t>(std::clamp(*v, least, most));
        }
    };
    add(change.x, XCB_CONFIG_WINDOW_X, INT16_MIN, INT16_MAX);
    add(change.y, XCB_CONFIG_WINDOW_Y, INT16_MIN, INT16_MAX);
    add(change.width, XCB_CONFIG_WINDOW_WIDTH, 1, UINT16_MAX);
    add(change.height, XCB_CONFIG_WINDOW_HEIGHT, 1, UINT16_MAX);
    if (mask) {
        xcb_configure_window(c, static_cast<xcb_window_t>(window), mask, values);
        xcb_flush(c);
    }
    return true;
}

std::optional<QRect> X11ClientGeometry(uint64_t window) {
    xcb_connection_t* c = x11Connection();
    if (!c || window == 0)
        return std::nullopt;
    const auto w = static_cast<xcb_window_t>(window);
    const auto size = xcb_get_geometry(c, w);
    const auto place = xcb_translate_coordinates(c, w, rootWindow(c), 0, 0);
    const auto s = owned(xcb_get_geometry_reply(c, size, nullptr));
    const auto p = owned(xcb_translate_coordinates_reply(c, place, nullptr));
    if (!s || !p)
        return std::nullopt;
    return QRect(p->dst_x, p->dst_y, s->width, s->height);
}

bool RequestFrameExtents(QWidget* widget) {
    xcb_connection_t* c = x11Connection();
    if (!c || !widget || !widget->isWindow() || !X11WindowManagerRunning())
        return false;
    const xcb_atom_t asked = internAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const auto supported =
        property(c, rootWindow(c), internAtom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (std::ranges::find(supported, asked) == supported.end())
        return false;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(widget->winId());
    request.type = asked;
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    return true;
}

std::optional<QMargins> FrameExtents(QWidget* widget) {
    xcb_connection_t* c = x11Connection();
    if (!c || !widget || !widget->isWindow())
        return std::nullopt;
    // _NET_FRAME_EXTENTS: left, right, top and bottom.
    const auto v = property(c, static_cast<xcb_window_t>(widget->winId()),
                            internAtom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 4);
    // Nothing sane is wider than this; a broken answer is no answer.
    constexpr uint32_t kWidest = 1000;
    if (v.size() < 4 || std::ranges::any_of(v, [](uint32_t e) { return e > kWidest; }))
        return std::nullopt;
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                    static_cast<int>(v[3]));
}

} // namespace toolkit
