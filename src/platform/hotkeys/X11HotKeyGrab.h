#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include <cstdint>
#include <functional>
#include <memory>

struct xcb_connection_t;
class QSocketNotifier;

namespace quorx {

// Keys taken from the X server for the whole desktop, on a connection of our own so that it
// works whatever Qt draws the windows with. A key is grabbed together with the Caps Lock and
// Num Lock states, which would otherwise hide it from the grab while either is on.
class X11HotKeyGrab final
{
public:
    struct Key
    {
        std::uint32_t keysym = 0;
        std::uint16_t modifiers = 0; // the X modifier mask, e.g. Control
    };
    // Called with the index of the key in the grabbed list.
    using Handler = std::function<void(int index)>;

    // Modifier masks and keysyms as the X protocol numbers them.
    static constexpr std::uint16_t kControlMask = 1 << 2;
    static constexpr std::uint16_t kLockMask = 1 << 1;
    static constexpr std::uint16_t kNumLockMask = 1 << 4;
    static constexpr std::uint32_t kKeysymF10 = 0xffc7;
    static constexpr std::uint32_t kKeysymF11 = 0xffc8;
    static constexpr std::uint32_t kKeysymF12 = 0xffc9;

    ~X11HotKeyGrab();
    Q_DISABLE_COPY_MOVE(X11HotKeyGrab)

    // A connection to the display ($DISPLAY when displayName is empty); null when there is none.
    static std::unique_ptr<X11HotKeyGrab> Connect(const QString& displayName = QString());

    // All the keys or none: when another client holds one of them, the ones taken are let go
    // and the reason is in Error().
    bool Grab(const QVector<Key>& keys, Handler handler);
    void Release();
    bool IsGrabbed() const { return !m_keys.isEmpty(); }
    const QString& Error() const { return m_error; }

    // The key code the server gives a keysym; 0 when no key produces it.
    std::uint8_t KeyCodeOf(std::uint32_t keysym);

    // One event as it comes from the server (an xcb_generic_event_t, whose type cannot be
    // declared ahead); events of other kinds or keys are left alone.
    void HandleEvent(const void* event);

private:
    struct GrabbedKey
    {
        std::uint8_t keycode = 0;
        std::uint16_t modifiers = 0;
    };

    X11HotKeyGrab(xcb_connection_t* connection, std::uint32_t root);
    void ReadEvents();
    bool GrabVariants(const GrabbedKey& key);
    void Ungrab(const GrabbedKey& key);

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QVector<GrabbedKey> m_keys; // by index in the grabbed list
    Handler m_handler;
    QString m_error;
    // Held keys repeat as release and press pairs carrying the same time: only the first press
    // of a key counts.
    QHash<std::uint8_t, std::uint32_t> m_lastRelease;
};

} // namespace quorx
