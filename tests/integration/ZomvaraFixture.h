#pragma once

#include "RecordingJournal.h"

#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/QtTimerService.h"
#include "viewer/ViewerControl.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace quorx::test {

// Each test installs copies of the substitute viewer in folders of its own, drives them through
// the viewer control over the real processes, and ends whatever is left running.
class ZomvaraTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A copy of the viewer in root/folder with this channel list; returns its executable.
    QString Install(const QString& folder, const QByteArray& sources);
    QString Path(const QString& relative) const;

    // Polls while the event loop runs; false when the condition did not come true in time.
    bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);
    // Starts the viewer without switches and waits until it listens for later starts.
    void StartViewer(ViewerControl& control, ShowState show = ShowState::Normal);
    static qint64 SizeOf(const QString& path);
    // The file grows over the next moments.
    bool Grows(const QString& path, int withinMs = 3000);
    // The file stays the same size for this long.
    bool StaysStill(const QString& path, int forMs = 600);
    static QByteArray Read(const QString& path);

    // 188-byte packets with sync bytes, and continuity counters that run on within each PID.
    static ::testing::AssertionResult IsTransportStream(const QByteArray& data);

    LinuxProcesses m_processes;
    QtTimerService m_timers;
    RecordingJournal m_journal;
    std::unique_ptr<ViewerControl> m_control;
    QString m_executable;
    QStringList m_notices;

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QStringList m_installed;
};

} // namespace quorx::test
