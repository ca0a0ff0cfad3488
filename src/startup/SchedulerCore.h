#pragma once

#include "platform/Platform.h"

#include <QString>

#include <functional>
#include <memory>

namespace quorx {

class AfterRecording;
class Alarm;
class AlarmSounder;
class ChannelPreferenceStore;
class CommandRunner;
class FreeSpaceWatch;
class JournalWriter;
class ManualStop;
class MergeAdjacent;
class OneSecondClock;
class PowerManager;
class QuestionPresenter;
class Questions;
class RecordingEngine;
class ScheduleEngine;
class ScheduleTable;
class ViewerControl;
class ViewerSchedulerImport;
struct Settings;

// Everything the scheduler runs for one program folder, built and wired once: the window and the
// simulation both sit on top of it and call into the same objects.
class SchedulerCore final
{
public:
    struct Options
    {
        Options();
        ~Options();
        Options(Options&&) noexcept;
        Options& operator=(Options&&) noexcept;

        // Null: the program's own (worker threads for command lines, the sound card for the alarm).
        // The simulation hands in the ones that run on the virtual clock.
        std::unique_ptr<CommandRunner> commands;
        std::unique_ptr<AlarmSounder> sounder;
        // Asked for the viewer's folder when it is not found; empty: nobody can answer.
        std::function<QString(const QString& lastTried)> askViewerFolder;
        // Told of every journal event once it is handed to Journal.Log.
        std::function<void(const QString& event, const QString& program, const QString& comment,
                           const QString& file)>
            journalObserver;
    };

    // platform must be complete (power, peers and clock watch included) and outlive this object.
    SchedulerCore(const QString& programFolder, const Platform& platform, QuestionPresenter& presenter,
                  Options options = {});
    ~SchedulerCore();
    Q_DISABLE_COPY_MOVE(SchedulerCore)

    // The start-up: settings group one, the schedule, groups two and three, the viewer, then the
    // one-second clock's first tick (a new day, so the schedule is computed) and its ticking.
    // False when the viewer cannot be found; StartError() says why and nothing was started.
    bool Start();
    const QString& StartError() const { return m_startError; }
    bool Started() const { return m_started; }
    // The end of the program: timers stopped, the schedule saved, the settings written back.
    // False with the reason in LastError() when a file could not be written.
    bool Shutdown(bool applicationMinimised = false);
    const QString& LastError() const { return m_lastError; }

    // Told after every tick of the one-second clock, for the window's labels.
    void SetTickObserver(std::function<void()> observer);

    const QString& ProgramFolder() const { return m_programFolder; }
    ScheduleTable& Table();
    Settings& CoreSettings();
    ScheduleEngine& Schedule();
    JournalWriter& Journal();
    Questions& Ask();
    ViewerControl& Viewer();
    ManualStop& ViewerManualStop();
    RecordingEngine& Engine();
    PowerManager& Power();
    OneSecondClock& Clock3();
    FreeSpaceWatch& FreeSpace();
    Alarm& AlarmControl();
    AfterRecording& After();
    CommandRunner& Commands();

private:
    struct Parts;
    void Wire();
    QString m_programFolder;
    Platform m_platform;
    std::unique_ptr<Parts> m_parts;
    QString m_startError;
    QString m_lastError;
    bool m_started = false;
    bool m_shutDown = false;
};

} // namespace quorx
