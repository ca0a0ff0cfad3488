#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace quorx {

class Sound;
class Timer;
class TimerService;
struct Settings;

// Plays the alarm pattern until told to stop: 440 Hz for 100 ms, 400 Hz for 50 ms, 440 Hz for
// 100 ms, then 2 s of silence, which is skipped when stopping.
class AlarmSounder
{
public:
    virtual ~AlarmSounder() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};

// The program's sounder: a worker thread at lower priority, beeping through Sound.
class AlarmThread final : public AlarmSounder
{
public:
    explicit AlarmThread(Sound& sound);
    ~AlarmThread() override;
    Q_DISABLE_COPY_MOVE(AlarmThread)

    void Start() override;
    void Stop() override;
    bool IsRunning() const override;
    // Waits for the thread after Stop (tests, the program's end).
    bool Wait(int timeoutMs);

private:
    void Execute();

    Sound& m_sound;
    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
};

// The same pattern on the virtual clock, for tests and the simulation; the beeps go to Sound with
// their virtual moments.
class VirtualAlarmSounder final : public AlarmSounder
{
public:
    VirtualAlarmSounder(TimerService& timers, Sound& sound);
    ~VirtualAlarmSounder() override;
    Q_DISABLE_COPY_MOVE(VirtualAlarmSounder)

    void Start() override;
    void Stop() override;
    bool IsRunning() const override { return m_running; }

private:
    void Step();

    Sound& m_sound;
    std::unique_ptr<Timer> m_timer;
    bool m_running = false;
    bool m_stopping = false;
    int m_phase = 0;
};

// When the alarm may sound: a failed recording or a drive short of space requests it; the user
// silences it by moving the mouse over the list, and it stays silent until the next recording starts.
class Alarm final
{
public:
    Alarm(const Settings& settings, AlarmSounder& sounder);
    Q_DISABLE_COPY_MOVE(Alarm)

    // Whether recording is switched on; by default the Actif setting.
    void SetRecordingSwitchedOn(std::function<bool()> switchedOn) { m_switchedOn = std::move(switchedOn); }

    // Sounds when not sounding already, not silenced, SignalSonore is on and recording is switched
    // on. True when this request started the alarm.
    bool Request();
    // The mouse moved over the list: only while sounding.
    void Silence();
    // A recording starts.
    void AllowAgain() { m_silenced = false; }
    // Stops the sound without silencing (the program's end).
    void Stop();

    bool Sounding() const { return m_sounder.IsRunning(); }
    bool Silenced() const { return m_silenced; }

private:
    const Settings& m_settings;
    AlarmSounder& m_sounder;
    std::function<bool()> m_switchedOn;
    bool m_silenced = false;
};

} // namespace quorx
