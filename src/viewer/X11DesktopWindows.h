#pragma once

#include "viewer/DesktopWindows.h"

#include <QHash>

#include <memory>

struct xcb_connection_t;

namespace quorx {

// Top-level windows of an X11 display through xcb: the window manager's client list, or the
// root window's children where no window manager runs.
class X11DesktopWindows final : public DesktopWindows
{
public:
    ~X11DesktopWindows() override;
    Q_DISABLE_COPY_MOVE(X11DesktopWindows)

    // A connection to the display ($DISPLAY when displayName is empty); null when there is none.
    static std::unique_ptr<X11DesktopWindows> Connect(const QString& displayName = QString());

    QVector<DesktopWindow> TopLevelWindows() override;
    bool Activate(quint64 id) override;
    bool MoveResize(quint64 id, const QRect& geometry) override;

private:
    X11DesktopWindows(xcb_connection_t* connection, quint32 root);
    quint32 Atom(const char* name);
    bool WindowManagerRuns();
    bool IsMinimised(quint32 window);
    void SendRootMessage(quint32 window, quint32 type, const quint32 (&data)[5]);

    xcb_connection_t* m_connection;
    quint32 m_root;
    QHash<QByteArray, quint32> m_atoms;
};

} // namespace quorx
