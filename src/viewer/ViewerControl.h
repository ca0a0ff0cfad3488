#pragma once

#include "platform/Processes.h"
#include "viewer/DesktopWindows.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quorx {

class JournalSink;
class TimerService;

// Running, starting, closing and showing the viewer, through the platform's processes and the
// desktop's windows.
class ViewerControl final
{
public:
    struct CloseOutcome
    {
        bool wasRunning = false;
        bool ended = false; // the viewer no longer runs
        QString error;      // a switch could not be handed to it
    };

    // windows may be null: the desktop gives no access to its windows, and bring to front and
    // place do nothing but launch a viewer that does not run.
    ViewerControl(Processes& processes, TimerService& timers, JournalSink* journal,
                  std::unique_ptr<DesktopWindows> windows = nullptr);
    ~ViewerControl();
    Q_DISABLE_COPY_MOVE(ViewerControl)

    void SetExecutable(const QString& path) { m_executable = path; }
    const QString& Executable() const { return m_executable; }

    // Every launch that fails reaches the user through this, with the system's reason.
    void SetFailureNotice(std::function<void(const QString& message)> notice)
    {
        m_notice = std::move(notice);
    }

    // A process runs from the viewer executable itself; a copy installed elsewhere does not count.
    bool IsViewerRunning() const;
    QVector<qint64> ViewerProcesses() const;

    // Starts the viewer with the arguments, in its own folder. The viewer is never waited for.
    LaunchResult LaunchViewer(const QStringList& arguments, ShowState show);
    // Starts any program with the arguments, in the program's folder.
    LaunchResult Launch(const QString& program, const QStringList& arguments, ShowState show, bool wait);

    // Stops the recording, asks the viewer to end and waits for it, 30 seconds at most; the
    // waits keep timers and messages going. Journals the closing when asked and it was running.
    CloseOutcome CloseViewer(bool writeJournal);

    // Launches the viewer when it does not run; otherwise restores its window and brings it to
    // the front. False when a launch failed or no window of the viewer was found.
    bool BringToFront(int etatZomvara);
    // Moves the viewer's window over the scheduler's window (its frame, in desktop coordinates)
    // down to the top of the scheduler's status bar, then brings it to the front.
    bool PlaceViewer(const QRect& schedulerFrame, int statusBarTop);

    // EtatZomvara: 6 minimised, 3 maximised, any other value normal.
    static ShowState ShowStateFor(int etatZomvara);
    static QString LaunchFailureText(const QString& program, const QString& reason);

    // The switches of Zomvara's command line, one argument each.
    static QString ChannelSwitch(const QString& channel);
    static QString StartRecordSwitch(const QString& file);
    static QString PlaySwitch(const QString& file);
    static QString StopRecordSwitch();
    static QString ExitSwitch();
    static QString DisableMpeg2DecoderSwitch();

private:
    quint64 FindViewerWindow();

    Processes& m_processes;
    TimerService& m_timers;
    JournalSink* m_journal;
    std::unique_ptr<DesktopWindows> m_windows;
    QString m_executable;
    std::function<void(const QString&)> m_notice;
};

} // namespace quorx
