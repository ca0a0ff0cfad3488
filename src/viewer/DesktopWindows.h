#pragma once

#include <QRect>
#include <QString>
#include <QVector>

namespace quorx {

// A top-level window of the desktop, as the window system reports it.
struct DesktopWindow
{
    quint64 id = 0;
    qint64 pid = 0; // 0 when the window does not say which process owns it
    QString title;
    bool minimised = false;
    QRect frame;
};

// The desktop's top-level windows, for bringing the viewer to the front and placing it. On a
// desktop that offers no such access the program has no instance of it, and nothing happens.
class DesktopWindows
{
public:
    virtual ~DesktopWindows() = default;
    // In the window manager's order (stacking order when there is no window manager).
    virtual QVector<DesktopWindow> TopLevelWindows() = 0;
    // Restores the window when minimised, raises it and gives it the focus.
    virtual bool Activate(quint64 id) = 0;
    virtual bool MoveResize(quint64 id, const QRect& geometry) = 0;
};

} // namespace quorx
