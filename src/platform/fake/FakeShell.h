#pragma once

#include "common/DateTime.h"
#include "platform/Shell.h"

#include <QVector>

namespace quorx {

class Clock;

struct FakeShellRequest
{
    DateTime when;
    QString target;
    bool showInFolder = false;
};

// Records what the program asked the desktop to open; the answer is set by the test.
class FakeShell final : public Shell
{
public:
    explicit FakeShell(const Clock& clock);
    Q_DISABLE_COPY_MOVE(FakeShell)

    bool Open(const QString& fileFolderOrAddress) override;
    bool ShowInFolder(const QString& file) override;

    void SetResult(bool succeeds) { m_succeeds = succeeds; }
    const QVector<FakeShellRequest>& Requests() const { return m_requests; }
    void ClearRecords() { m_requests.clear(); }

private:
    const Clock& m_clock;
    bool m_succeeds = true;
    QVector<FakeShellRequest> m_requests;
};

} // namespace quorx
