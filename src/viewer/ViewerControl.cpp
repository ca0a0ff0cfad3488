#include "viewer/ViewerControl.h"

#include "common/JournalSink.h"
#include "i18n/LocalisedStrings.h"
#include "platform/TimerService.h"
#include "viewer/DesktopWindows.h"

#include <QFileInfo>

namespace quorx {

namespace {

constexpr int kStopRecordSteps = 30; // 3 s in steps of 100 ms, so the viewer can close its file
constexpr int kStopRecordStepMs = 100;
constexpr int kExitSteps = 120; // 30 s in steps of 250 ms
constexpr int kExitStepMs = 250;
constexpr int kClosingText = 70; // "Fermeture de Zomvara"
const QString kViewerCaption = QStringLiteral("zomvara");

} // namespace

ViewerControl::ViewerControl(Processes& processes, TimerService& timers, JournalSink* journal,
                             std::unique_ptr<DesktopWindows> windows)
    : m_processes(processes), m_timers(timers), m_journal(journal), m_windows(std::move(windows))
{
}

ViewerControl::~ViewerControl() = default;

ShowState ViewerControl::ShowStateFor(int etatZomvara)
{
    switch (etatZomvara) {
    case 6:
        return ShowState::Minimised;
    case 3:
        return ShowState::Maximised;
    default:
        return ShowState::Normal;
    }
}

QString ViewerControl::LaunchFailureText(const QString& program, const QString& reason)
{
    return QStringLiteral("%1 : %2").arg(program.isEmpty() ? QStringLiteral("Zomvara") : program, reason);
}

QString ViewerControl::ChannelSwitch(const QString& channel)
{
    return QStringLiteral("/CH:") + channel;
}
QString ViewerControl::StartRecordSwitch(const QString& file)
{
    return QStringLiteral("/StartRecord:") + file;
}
QString ViewerControl::PlaySwitch(const QString& file)
{
    return QStringLiteral("/play:") + file;
}
QString ViewerControl::StopRecordSwitch()
{
    return QStringLiteral("/StopRecord");
}
QString ViewerControl::ExitSwitch()
{
    return QStringLiteral("/Exit");
}
QString ViewerControl::DisableMpeg2DecoderSwitch()
{
    return QStringLiteral("/DisableMPEG2Decoder");
}

QVector<qint64> ViewerControl::ViewerProcesses() const
{
    if (m_executable.isEmpty())
        return {};
    return m_processes.FindByExecutable(m_executable);
}

bool ViewerControl::IsViewerRunning() const
{
    return !ViewerProcesses().isEmpty();
}

LaunchResult ViewerControl::Launch(const QString& program, const QStringList& arguments, ShowState show,
                                   bool wait)
{
    LaunchResult result;
    if (program.trimmed().isEmpty()) {
        result.error = QStringLiteral("no program given");
    } else {
        const QString folder = QFileInfo(program).absolutePath();
        result = m_processes.Launch(program, arguments, QFileInfo(folder).isDir() ? folder : QString(), show,
                                    wait);
    }
    if (!result.started && m_notice)
        m_notice(LaunchFailureText(program, result.error));
    return result;
}

LaunchResult ViewerControl::LaunchViewer(const QStringList& arguments, ShowState show)
{
    return Launch(m_executable, arguments, show, false);
}

ViewerControl::CloseOutcome ViewerControl::CloseViewer(bool writeJournal)
{
    CloseOutcome outcome;
    outcome.wasRunning = IsViewerRunning();
    if (outcome.wasRunning) {
        const LaunchResult stop = LaunchViewer({StopRecordSwitch()}, ShowState::Normal);
        for (int i = 0; i < kStopRecordSteps; ++i)
            m_timers.Wait(kStopRecordStepMs);
        const LaunchResult exit = LaunchViewer({ExitSwitch()}, ShowState::Normal);
        if (!exit.started)
            outcome.error = exit.error;
        else if (!stop.started)
            outcome.error = stop.error;
        // When the switch could not even be handed over there is nothing to wait for.
        for (int i = 0; exit.started && i < kExitSteps && IsViewerRunning(); ++i)
            m_timers.Wait(kExitStepMs);
    }
    outcome.ended = !IsViewerRunning();
    if (writeJournal && outcome.wasRunning && m_journal)
        m_journal->WriteJournalEvent(Ls(kClosingText), QString(), QString(), QString());
    return outcome;
}

quint64 ViewerControl::FindViewerWindow()
{
    if (!m_windows)
        return 0;
    const QVector<qint64> pids = ViewerProcesses();
    if (pids.isEmpty())
        return 0;
    for (const DesktopWindow& w : m_windows->TopLevelWindows()) {
        if (w.title.trimmed().compare(kViewerCaption, Qt::CaseInsensitive) == 0 && pids.contains(w.pid))
            return w.id;
    }
    return 0;
}

bool ViewerControl::BringToFront(int etatZomvara)
{
    if (!IsViewerRunning())
        return LaunchViewer({}, ShowStateFor(etatZomvara)).started;
    const quint64 window = FindViewerWindow();
    return window != 0 && m_windows->Activate(window);
}

bool ViewerControl::PlaceViewer(const QRect& schedulerFrame, int statusBarTop)
{
    const quint64 window = FindViewerWindow();
    if (window == 0)
        return false;
    const int height = statusBarTop - schedulerFrame.top();
    const QRect target(schedulerFrame.left(), schedulerFrame.top(), schedulerFrame.width(),
                       height > 0 ? height : schedulerFrame.height());
    m_windows->MoveResize(window, target);
    return m_windows->Activate(window);
}

} // namespace quorx
