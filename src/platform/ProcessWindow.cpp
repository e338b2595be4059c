#include "platform/ProcessWindow.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace velmora::platform
{

namespace
{

// An xcb reply, freed with free() as xcb asks.
template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T> Reply<T> reply(T *p)
{
    return Reply<T>(p, &std::free);
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto r = reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr));
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property; empty when it has none.
std::vector<std::uint32_t> property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    const auto r = reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 4096), nullptr));
    if (!r || r->format != 32)
        return {};
    const auto *values = static_cast<const std::uint32_t *>(xcb_get_property_value(r.get()));
    return std::vector<std::uint32_t>(values, values + xcb_get_property_value_length(r.get()) / 4);
}

// The top-level windows: the window manager's list of client windows, or without a window
// manager the root's children.
std::vector<xcb_window_t> topLevelWindows(xcb_connection_t *c, xcb_window_t root)
{
    std::vector<xcb_window_t> clients = property(c, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!clients.empty())
        return clients;
    const auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

bool isViewable(xcb_connection_t *c, xcb_window_t window)
{
    const auto r = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
}

// Raises the window and gives it the focus: directly, which is all there is without a
// window manager, and by asking the window manager as a pager would, which it grants even
// where it keeps applications from stealing the focus.
void activate(xcb_connection_t *c, xcb_window_t root, xcb_window_t window)
{
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(c, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2; // the request comes from a pager
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

// The toolkit's connection to the X server; null on any other display.
xcb_connection_t *x11Connection()
{
    const auto *app = qGuiApp;
    const auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

} // namespace

bool activateProcessWindow(pid_t pid)
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return false;
    const xcb_window_t root = rootWindow(c);
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    for (xcb_window_t window : topLevelWindows(c, root)) {
        const std::vector<std::uint32_t> owner = property(c, window, pidAtom, XCB_ATOM_CARDINAL);
        if (!owner.empty() && owner.front() == static_cast<std::uint32_t>(pid) && isViewable(c, window)) {
            activate(c, root, window);
            return true;
        }
    }
    return false;
}

void activateOwnWindow(QWidget &window)
{
    xcb_connection_t *c = x11Connection();
    if (c && window.window()->windowHandle())
        activate(c, rootWindow(c), static_cast<xcb_window_t>(window.window()->winId()));
    else
        window.activateWindow();
}

} // namespace velmora::platform
