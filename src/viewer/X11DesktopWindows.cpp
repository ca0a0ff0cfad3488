#include "viewer/X11DesktopWindows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace quorx {

namespace {

constexpr quint32 kIconicState = 3;
constexpr quint32 kSourcePager = 2; // window managers let pagers hand the focus over

template <typename T> struct FreeDeleter
{
    void operator()(T* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter<T>>;

Reply<xcb_get_property_reply_t> GetProperty(xcb_connection_t* c, quint32 window, quint32 property,
                                            quint32 type)
{
    if (property == XCB_ATOM_NONE)
        return nullptr;
    const auto cookie = xcb_get_property(c, 0, window, property, type, 0, 4096);
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(c, cookie, nullptr));
}

std::vector<quint32> Values32(xcb_connection_t* c, quint32 window, quint32 property, quint32 type)
{
    std::vector<quint32> out;
    const auto reply = GetProperty(c, window, property, type);
    if (!reply || reply->format != 32)
        return out;
    const int n = xcb_get_property_value_length(reply.get()) / 4;
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    out.assign(values, values + n);
    return out;
}

QByteArray Bytes(xcb_connection_t* c, quint32 window, quint32 property, quint32 type)
{
    const auto reply = GetProperty(c, window, property, type);
    if (!reply || reply->format != 8)
        return QByteArray();
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

bool Succeeded(xcb_connection_t* c, xcb_void_cookie_t cookie)
{
    xcb_generic_error_t* error = xcb_request_check(c, cookie);
    std::free(error);
    return error == nullptr;
}

} // namespace

std::unique_ptr<X11DesktopWindows> X11DesktopWindows::Connect(const QString& displayName)
{
    const QByteArray name = displayName.toLocal8Bit();
    if (name.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<X11DesktopWindows>(new X11DesktopWindows(c, it.data->root));
}

X11DesktopWindows::X11DesktopWindows(xcb_connection_t* connection, quint32 root)
    : m_connection(connection), m_root(root)
{
}

X11DesktopWindows::~X11DesktopWindows()
{
    xcb_disconnect(m_connection);
}

quint32 X11DesktopWindows::Atom(const char* name)
{
    const QByteArray key(name);
    const auto cached = m_atoms.constFind(key);
    if (cached != m_atoms.constEnd())
        return cached.value();
    const auto cookie = xcb_intern_atom(m_connection, 0, static_cast<quint16>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    const quint32 atom = reply ? reply->atom : static_cast<quint32>(XCB_ATOM_NONE);
    m_atoms.insert(key, atom);
    return atom;
}

bool X11DesktopWindows::WindowManagerRuns()
{
    const auto check = Values32(m_connection, m_root, Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    return !check.empty() && check.front() != XCB_WINDOW_NONE;
}

bool X11DesktopWindows::IsMinimised(quint32 window)
{
    const quint32 wmState = Atom("WM_STATE");
    const auto state = Values32(m_connection, window, wmState, wmState);
    if (!state.empty() && state.front() == kIconicState)
        return true;
    const quint32 hidden = Atom("_NET_WM_STATE_HIDDEN");
    for (const quint32 a : Values32(m_connection, window, Atom("_NET_WM_STATE"), XCB_ATOM_ATOM))
        if (a == hidden)
            return true;
    return false;
}

QVector<DesktopWindow> X11DesktopWindows::TopLevelWindows()
{
    std::vector<quint32> ids = Values32(m_connection, m_root, Atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (ids.empty()) {
        // No window manager: the top-level windows are the root's children, of which only those
        // an application shows count (menus and tooltips bypass any manager).
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
                const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
                if (attributes && !attributes->override_redirect &&
                    attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT &&
                    attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                    ids.push_back(children[i]);
            }
        }
    }

    QVector<DesktopWindow> windows;
    const quint32 utf8 = Atom("UTF8_STRING");
    for (const quint32 id : ids) {
        DesktopWindow w;
        w.id = id;
        QByteArray title = Bytes(m_connection, id, Atom("_NET_WM_NAME"), utf8);
        w.title = title.isEmpty()
                      ? QString::fromLatin1(Bytes(m_connection, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING))
                      : QString::fromUtf8(title);
        const auto pid = Values32(m_connection, id, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
        w.pid = pid.empty() ? 0 : static_cast<qint64>(pid.front());
        w.minimised = IsMinimised(id);
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr));
        const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, id, m_root, 0, 0), nullptr));
        if (geometry && origin)
            w.frame = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        windows.push_back(w);
    }
    return windows;
}

void X11DesktopWindows::SendRootMessage(quint32 window, quint32 type, const quint32 (&data)[5])
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (int i = 0; i < 5; ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

bool X11DesktopWindows::Activate(quint64 id)
{
    const auto window = static_cast<xcb_window_t>(id);
    // Mapping an iconic window is how a client asks for it back.
    if (IsMinimised(window) && !Succeeded(m_connection, xcb_map_window_checked(m_connection, window)))
        return false;
    if (WindowManagerRuns()) {
        SendRootMessage(window, Atom("_NET_ACTIVE_WINDOW"), {kSourcePager, XCB_CURRENT_TIME, 0, 0, 0});
        xcb_flush(m_connection);
        return true;
    }
    const quint32 above[] = {XCB_STACK_MODE_ABOVE};
    if (!Succeeded(m_connection,
                   xcb_configure_window_checked(m_connection, window, XCB_CONFIG_WINDOW_STACK_MODE, above)))
        return false;
    return Succeeded(m_connection, xcb_set_input_focus_checked(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT,
                                                               window, XCB_CURRENT_TIME));
}

bool X11DesktopWindows::MoveResize(quint64 id, const QRect& geometry)
{
    if (geometry.width() <= 0 || geometry.height() <= 0)
        return false;
    const quint32 values[] = {static_cast<quint32>(geometry.x()), static_cast<quint32>(geometry.y()),
                              static_cast<quint32>(geometry.width()),
                              static_cast<quint32>(geometry.height())};
    const auto cookie = xcb_configure_window_checked(m_connection, static_cast<xcb_window_t>(id),
                                                     XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y |
                                                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                                                     values);
    return Succeeded(m_connection, cookie);
}

} // namespace quorx
