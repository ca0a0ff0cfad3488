#pragma once

#include "platform/HotKeys.h"

#include <QString>
#include <QVector>

#include <memory>

class QObject;
class QShortcut;

namespace quorx {

class X11HotKeyGrab;

// The keys on a Linux desktop: grabbed from the X server for the whole desktop when there is
// one and no other program holds them, else shortcuts of the given window, heard while a window
// of the program is active (a Wayland session, a key taken by another program).
class DesktopHotKeys final : public HotKeys
{
public:
    // window: a QWidget or QWindow that lives as long as this object. An empty displayName is
    // $DISPLAY; "-" never tries the X server.
    explicit DesktopHotKeys(QObject* window, const QString& displayName = QString());
    ~DesktopHotKeys() override;
    Q_DISABLE_COPY_MOVE(DesktopHotKeys)

    Reach Install(Handler handler) override;
    void Uninstall() override;
    Reach CurrentReach() const override { return m_reach; }

    // Why the keys are not global, when they are not; empty otherwise.
    const QString& WhyNotGlobal() const { return m_whyNotGlobal; }

private:
    QObject* m_window;
    QString m_displayName;
    std::unique_ptr<X11HotKeyGrab> m_grab;
    QVector<QShortcut*> m_shortcuts;
    Handler m_handler;
    Reach m_reach = Reach::None;
    QString m_whyNotGlobal;
};

} // namespace quorx
