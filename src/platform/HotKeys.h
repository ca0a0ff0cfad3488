#pragma once

#include <QKeyCombination>

#include <functional>
#include <optional>

namespace quorx {

// The program's keys, each held with Ctrl. The numbers are the identifiers they are registered
// under, so that an identifier arriving from elsewhere maps back onto its key.
enum class HotKey
{
    ShowHide = 0, // Ctrl+F12: show or hide the main window
    Guide = 1,    // Ctrl+F11: open the TV guide
    Viewer = 2    // Ctrl+F10: the viewer to the front, launched when it does not run
};

inline constexpr HotKey kAllHotKeys[] = {HotKey::ShowHide, HotKey::Guide, HotKey::Viewer};

inline QKeyCombination KeyCombinationOf(HotKey key)
{
    switch (key) {
    case HotKey::ShowHide:
        return QKeyCombination(Qt::ControlModifier, Qt::Key_F12);
    case HotKey::Guide:
        return QKeyCombination(Qt::ControlModifier, Qt::Key_F11);
    case HotKey::Viewer:
        return QKeyCombination(Qt::ControlModifier, Qt::Key_F10);
    }
    return {};
}

// Any other identifier is none of ours and is ignored.
inline std::optional<HotKey> HotKeyFromId(int id)
{
    if (id < static_cast<int>(HotKey::ShowHide) || id > static_cast<int>(HotKey::Viewer))
        return std::nullopt;
    return static_cast<HotKey>(id);
}

// The keys that reach the program from anywhere on the desktop when the desktop lets it take
// them, and only while one of its windows is active otherwise. Installing never fails: Reach
// says how far the keys are heard.
class HotKeys
{
public:
    enum class Reach
    {
        None,   // not installed
        Global, // heard whichever window is active, the program's hidden ones included
        Window  // heard while a window of the program is active
    };
    using Handler = std::function<void(HotKey)>;

    virtual ~HotKeys() = default;

    // Replaces an earlier installation.
    virtual Reach Install(Handler handler) = 0;
    virtual void Uninstall() = 0;
    virtual Reach CurrentReach() const = 0;
};

} // namespace quorx
