#include "engine/Alarm.h"

#include "platform/Sound.h"
#include "platform/TimerService.h"
#include "schedule/Settings.h"

#include <QThread>

namespace quorx {

namespace {

struct Tone
{
    int frequencyHz;
    int durationMs;
};
constexpr Tone kPattern[] = {{440, 100}, {400, 50}, {440, 100}};
constexpr int kPauseMs = 2000;
constexpr int kPauseSliceMs = 50;

} // namespace

AlarmThread::AlarmThread(Sound& sound) : m_sound(sound) {}

AlarmThread::~AlarmThread()
{
    Stop();
    Wait(-1);
}

void AlarmThread::Start()
{
    if (IsRunning())
        return;
    if (m_thread)
        m_thread->wait();
    m_stop = false;
    m_thread.reset(QThread::create([this] { Execute(); }));
    m_thread->start(QThread::LowPriority);
}

void AlarmThread::Stop()
{
    m_stop = true;
}

bool AlarmThread::IsRunning() const
{
    return m_thread && !m_thread->isFinished() && !m_stop.load();
}

bool AlarmThread::Wait(int timeoutMs)
{
    if (!m_thread)
        return true;
    return m_thread->wait(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                        : QDeadlineTimer(timeoutMs));
}

void AlarmThread::Execute()
{
    while (!m_stop) {
        for (const Tone& tone : kPattern)
            m_sound.Beep(tone.frequencyHz, tone.durationMs);
        // The pause is cut into slices so that a stop request is seen at once.
        for (int waited = 0; waited < kPauseMs && !m_stop; waited += kPauseSliceMs)
            QThread::msleep(kPauseSliceMs);
    }
}

VirtualAlarmSounder::VirtualAlarmSounder(TimerService& timers, Sound& sound)
    : m_sound(sound), m_timer(timers.CreateTimer(QStringLiteral("AlarmThread")))
{
    m_timer->SetHandler([this] { Step(); });
}

VirtualAlarmSounder::~VirtualAlarmSounder() = default;

void VirtualAlarmSounder::Start()
{
    if (m_running)
        return;
    m_running = true;
    m_stopping = false;
    m_phase = 0;
    Step();
}

void VirtualAlarmSounder::Stop()
{
    if (!m_running)
        return;
    m_stopping = true;
    // A stop during the pause ends it at once; during the tones the pattern is finished first.
    if (m_phase == 0) {
        m_timer->SetEnabled(false);
        m_running = false;
    }
}

// Phases 0..2 play a tone and wait for its length; after the third the pause follows (phase 0
// again), unless the alarm is stopping.
void VirtualAlarmSounder::Step()
{
    m_timer->SetEnabled(false);
    if (m_phase == 0 && m_stopping) {
        m_running = false;
        return;
    }
    if (m_phase < 3) {
        const Tone& tone = kPattern[m_phase];
        m_sound.Beep(tone.frequencyHz, tone.durationMs);
        ++m_phase;
        int next = tone.durationMs;
        if (m_phase == 3) {
            m_phase = 0;
            if (m_stopping) {
                m_running = false;
                return;
            }
            next += kPauseMs;
        }
        m_timer->SetInterval(next);
        m_timer->SetEnabled(true);
    }
}

Alarm::Alarm(const Settings& settings, AlarmSounder& sounder) : m_settings(settings), m_sounder(sounder) {}

bool Alarm::Request()
{
    if (m_sounder.IsRunning() || m_silenced || !m_settings.SignalSonore)
        return false;
    const bool switchedOn = m_switchedOn ? m_switchedOn() : m_settings.Actif;
    if (!switchedOn)
        return false;
    m_sounder.Start();
    return true;
}

void Alarm::Silence()
{
    if (!m_sounder.IsRunning())
        return;
    m_silenced = true;
    m_sounder.Stop();
}

void Alarm::Stop()
{
    m_sounder.Stop();
}

} // namespace quorx
