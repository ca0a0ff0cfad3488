#include "platform/fake/FakeShell.h"

#include "platform/Clock.h"

namespace quorx {

FakeShell::FakeShell(const Clock& clock) : m_clock(clock) {}

bool FakeShell::Open(const QString& fileFolderOrAddress)
{
    m_requests.append(FakeShellRequest{m_clock.Now(), fileFolderOrAddress, false});
    return m_succeeds;
}

bool FakeShell::ShowInFolder(const QString& file)
{
    m_requests.append(FakeShellRequest{m_clock.Now(), file, true});
    return m_succeeds;
}

} // namespace quorx
