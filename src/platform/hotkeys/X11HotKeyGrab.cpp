#include "platform/hotkeys/X11HotKeyGrab.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>

namespace quorx {

namespace {

constexpr std::uint16_t kLockVariants[] = {0, X11HotKeyGrab::kLockMask, X11HotKeyGrab::kNumLockMask,
                                           X11HotKeyGrab::kLockMask | X11HotKeyGrab::kNumLockMask};
constexpr std::uint8_t kBadAccess = 10;

} // namespace

X11HotKeyGrab::X11HotKeyGrab(xcb_connection_t* connection, std::uint32_t root)
    : m_connection(connection), m_root(root)
{
    m_notifier =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { ReadEvents(); });
}

X11HotKeyGrab::~X11HotKeyGrab()
{
    Release();
    m_notifier.reset();
    xcb_disconnect(m_connection);
}

std::unique_ptr<X11HotKeyGrab> X11HotKeyGrab::Connect(const QString& displayName)
{
    const QByteArray name = displayName.toLocal8Bit();
    if (name.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    if (it.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11HotKeyGrab>(new X11HotKeyGrab(connection, it.data->root));
}

std::uint8_t X11HotKeyGrab::KeyCodeOf(std::uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count), nullptr);
    if (!reply)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perCode = reply->keysyms_per_keycode;
    std::uint8_t found = 0;
    for (int code = 0; code < count && !found; ++code)
        for (int n = 0; n < perCode; ++n)
            if (syms[code * perCode + n] == keysym) {
                found = static_cast<std::uint8_t>(setup->min_keycode + code);
                break;
            }
    std::free(reply);
    return found;
}

bool X11HotKeyGrab::GrabVariants(const GrabbedKey& key)
{
    bool ok = true;
    for (const std::uint16_t lock : kLockVariants) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(m_connection, 1, m_root, key.modifiers | lock, key.keycode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
            m_error = error->error_code == kBadAccess
                          ? QStringLiteral("another program holds key code %1").arg(key.keycode)
                          : QStringLiteral("the X server refused key code %1 (error %2)")
                                .arg(key.keycode)
                                .arg(error->error_code);
            std::free(error);
            ok = false;
        }
    }
    return ok;
}

void X11HotKeyGrab::Ungrab(const GrabbedKey& key)
{
    for (const std::uint16_t lock : kLockVariants)
        xcb_ungrab_key(m_connection, key.keycode, m_root, key.modifiers | lock);
}

bool X11HotKeyGrab::Grab(const QVector<Key>& keys, Handler handler)
{
    Release();
    m_error.clear();
    QVector<GrabbedKey> taken;
    for (const Key& key : keys) {
        const GrabbedKey grabbed{KeyCodeOf(key.keysym), key.modifiers};
        if (grabbed.keycode == 0) {
            m_error = QStringLiteral("no key of the keyboard gives keysym 0x%1").arg(key.keysym, 0, 16);
        } else {
            const bool ok = GrabVariants(grabbed);
            taken.push_back(grabbed);
            if (ok)
                continue;
        }
        m_keys = taken;
        Release();
        return false;
    }
    xcb_flush(m_connection);
    m_keys = taken;
    m_handler = std::move(handler);
    m_lastRelease.clear();
    return true;
}

void X11HotKeyGrab::Release()
{
    for (const GrabbedKey& key : m_keys)
        Ungrab(key);
    if (!m_keys.isEmpty()) {
        // A round trip, so that the keys are free for others once this returns.
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    m_keys.clear();
    m_handler = nullptr;
}

void X11HotKeyGrab::ReadEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        HandleEvent(event);
        std::free(event);
    }
}

void X11HotKeyGrab::HandleEvent(const void* raw)
{
    const auto* event = static_cast<const xcb_generic_event_t*>(raw);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return;
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (type == XCB_KEY_RELEASE) {
        m_lastRelease.insert(key->detail, key->time);
        return;
    }
    const auto repeat = m_lastRelease.constFind(key->detail);
    if (repeat != m_lastRelease.constEnd() && *repeat == key->time)
        return;
    // Mouse buttons held at the time sit above the eight modifier bits.
    const std::uint16_t state = key->state & 0xff & ~(kLockMask | kNumLockMask);
    for (int i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i].keycode == key->detail && m_keys[i].modifiers == state) {
            if (m_handler)
                m_handler(i);
            return;
        }
    }
}

} // namespace quorx
