#include "platform/hotkeys/DesktopHotKeys.h"

#include "platform/hotkeys/X11HotKeyGrab.h"

#include <QShortcut>

namespace quorx {

namespace {

std::uint32_t KeysymOf(HotKey key)
{
    switch (key) {
    case HotKey::ShowHide:
        return X11HotKeyGrab::kKeysymF12;
    case HotKey::Guide:
        return X11HotKeyGrab::kKeysymF11;
    case HotKey::Viewer:
        return X11HotKeyGrab::kKeysymF10;
    }
    return 0;
}

} // namespace

DesktopHotKeys::DesktopHotKeys(QObject* window, const QString& displayName)
    : m_window(window), m_displayName(displayName)
{
}

DesktopHotKeys::~DesktopHotKeys()
{
    Uninstall();
}

HotKeys::Reach DesktopHotKeys::Install(Handler handler)
{
    Uninstall();
    m_handler = std::move(handler);
    m_whyNotGlobal.clear();

    if (m_displayName != QLatin1String("-")) {
        if (!m_grab)
            m_grab = X11HotKeyGrab::Connect(m_displayName);
        if (m_grab) {
            QVector<X11HotKeyGrab::Key> keys;
            for (const HotKey key : kAllHotKeys)
                keys.push_back({KeysymOf(key), X11HotKeyGrab::kControlMask});
            const bool grabbed = m_grab->Grab(keys, [this](int index) {
                if (m_handler && index >= 0 && index < static_cast<int>(std::size(kAllHotKeys)))
                    m_handler(kAllHotKeys[index]);
            });
            if (grabbed) {
                m_reach = Reach::Global;
                return m_reach;
            }
            m_whyNotGlobal = m_grab->Error();
        } else {
            m_whyNotGlobal = QStringLiteral("no X display");
        }
    } else {
        m_whyNotGlobal = QStringLiteral("global keys not asked for");
    }

    for (const HotKey key : kAllHotKeys) {
        auto* shortcut = new QShortcut(QKeySequence(KeyCombinationOf(key)), m_window);
        // The main window may be hidden while another of the program's windows is active.
        shortcut->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcut, &QShortcut::activated, shortcut, [this, key] {
            if (m_handler)
                m_handler(key);
        });
        m_shortcuts.push_back(shortcut);
    }
    m_reach = Reach::Window;
    return m_reach;
}

void DesktopHotKeys::Uninstall()
{
    if (m_grab)
        m_grab->Release();
    qDeleteAll(m_shortcuts);
    m_shortcuts.clear();
    m_handler = nullptr;
    m_reach = Reach::None;
}

} // namespace quorx
