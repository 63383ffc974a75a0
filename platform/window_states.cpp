#include "platform/window_states.h"

#include <QWidget>

#if QT_CONFIG(xcb)
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>
#endif

#if QT_CONFIG(xcb)
namespace {
xcb_connection_t *connection()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}
}  // namespace
#endif

std::optional<QMargins> frameExtentsPx(const QWidget *window)
{
#if QT_CONFIG(xcb)
    xcb_connection_t *c = connection();
    if (!c || !window->windowHandle())
        return std::nullopt;
    std::optional<QMargins> m;
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    if (xcb_get_property_reply_t *r = xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window->winId()), extents, XCB_ATOM_CARDINAL, 0, 4), nullptr)) {
        if (r->format == 32 && xcb_get_property_value_length(r) == 16) {
            const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(r));
            m = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
        }
        free(r);
    }
    return m;
#else
    Q_UNUSED(window);
    return std::nullopt;
#endif
}

void skipTaskbarAndPager(QWidget *window)
{
#if QT_CONFIG(xcb)
    xcb_connection_t *c = connection();
    if (!c)
        return;
    auto atom = [c](const char *name) { return ::atom(c, name); };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t wanted[] = {atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")};
    const auto id = xcb_window_t(window->winId());
    // The states already asked for stay; the toolkit adds its own to these
    // when it maps the window.
    std::vector<xcb_atom_t> states;
    if (xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr)) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(r));
        states.assign(data, data + xcb_get_property_value_length(r) / int(sizeof(xcb_atom_t)));
        free(r);
    }
    for (xcb_atom_t a : wanted)
        if (a != XCB_ATOM_NONE && std::find(states.begin(), states.end(), a) == states.end())
            states.push_back(a);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.data());
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}
