#pragma once

#include "viewer/DesktopWindows.h"

namespace quorx::test {

// A desktop whose windows the test lays out, and which records what was done to them.
class FakeDesktopWindows final : public DesktopWindows
{
public:
    struct Shared
    {
        QVector<DesktopWindow> windows;
        QVector<quint64> activated;
        QVector<QPair<quint64, QRect>> moved;
    };

    explicit FakeDesktopWindows(Shared& shared) : m_shared(shared) {}

    QVector<DesktopWindow> TopLevelWindows() override { return m_shared.windows; }
    bool Activate(quint64 id) override
    {
        m_shared.activated.push_back(id);
        return true;
    }
    bool MoveResize(quint64 id, const QRect& geometry) override
    {
        m_shared.moved.push_back({id, geometry});
        return true;
    }

private:
    Shared& m_shared;
};

} // namespace quorx::test
