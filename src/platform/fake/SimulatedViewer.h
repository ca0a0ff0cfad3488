#pragma once

#include "platform/fake/FakeProcesses.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>

namespace quorx {

class FakeDisks;
class Timer;
class TimerService;
class VirtualClock;

// The viewer as the simulation and the tests play it on the fake processes. The first launch keeps
// running; later launches hand their switches to it and end. "/CH:" tunes, "/StartRecord:" creates
// the file on disk and starts recording into it, "/StopRecord" stops, "/Exit" ends the viewer.
// Writing a week of real bytes would take far too long, so the file's size is shown through the
// fake disks as the rate times the virtual time spent recording.
class SimulatedViewer final
{
public:
    enum class Mode
    {
        Ok,     // the file grows at the rate
        Silent, // the file never grows
        Vanish, // the viewer ends some seconds after it began recording
    };

    struct Act
    {
        DateTime when;
        QStringList arguments;
    };

    SimulatedViewer(VirtualClock& clock, TimerService& timers, FakeProcesses& processes, FakeDisks& disks,
                    const QString& executable);
    ~SimulatedViewer();
    Q_DISABLE_COPY_MOVE(SimulatedViewer)

    void SetMode(Mode mode, int vanishSeconds = 0);
    // Parses "ok", "silent" or "vanish=SECONDS"; false for anything else.
    bool SetMode(const QString& text);
    void SetRateKiBPerSecond(double rate) { m_rateKiB = rate; }
    // Told of every launch of the viewer, as it came.
    void SetLaunchObserver(std::function<void(const FakeLaunch&)> observer) { m_observer = std::move(observer); }

    bool Running() const;
    bool Recording() const { return !m_file.isEmpty(); }
    const QString& Channel() const { return m_channel; }
    const QString& RecordingFile() const { return m_file; }
    qint64 SizeOf(const QString& path) const;
    // The user closes the viewer.
    void CloseByUser();

private:
    FakeOutcome OnLaunch(const FakeLaunch& launch);
    void Apply(const QStringList& arguments);
    void StopRecording();
    void End();
    qint64 RecordedMs() const;

    VirtualClock& m_clock;
    FakeProcesses& m_processes;
    FakeDisks& m_disks;
    QString m_executable;
    std::unique_ptr<Timer> m_vanishTimer;
    std::function<void(const FakeLaunch&)> m_observer;
    Mode m_mode = Mode::Ok;
    int m_vanishSeconds = 0;
    double m_rateKiB = 1024.0;
    qint64 m_primary = 0;
    QString m_channel;
    QString m_file;           // being recorded, empty when not
    qint64 m_startedMs = 0;   // monotonic moment the recording began
    QHash<QString, qint64> m_finished; // sizes of files recorded before
};

} // namespace quorx
