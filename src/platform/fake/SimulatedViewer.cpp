#include "platform/fake/SimulatedViewer.h"

#include "platform/TimerService.h"
#include "platform/fake/FakeDisks.h"
#include "platform/fake/VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorx {

namespace {
QString Clean(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

QString ValueOf(const QString& argument, const QString& prefix)
{
    QString value = argument.mid(prefix.size());
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}
} // namespace

SimulatedViewer::SimulatedViewer(VirtualClock& clock, TimerService& timers, FakeProcesses& processes,
                                 FakeDisks& disks, const QString& executable)
    : m_clock(clock), m_processes(processes), m_disks(disks), m_executable(executable)
{
    m_vanishTimer = timers.CreateTimer(QStringLiteral("simulated viewer vanishes"));
    m_vanishTimer->SetHandler([this] {
        m_vanishTimer->SetEnabled(false);
        End();
    });
    m_processes.SetHandler(m_executable, [this](const FakeLaunch& launch) { return OnLaunch(launch); });
    m_disks.SetSizeSource([this](const QString& path) { return SizeOf(path); });
}

SimulatedViewer::~SimulatedViewer()
{
    m_processes.SetHandler(m_executable, {});
    m_disks.SetSizeSource({});
}

void SimulatedViewer::SetMode(Mode mode, int vanishSeconds)
{
    m_mode = mode;
    m_vanishSeconds = vanishSeconds;
}

bool SimulatedViewer::SetMode(const QString& text)
{
    if (text == QLatin1String("ok")) {
        SetMode(Mode::Ok);
    } else if (text == QLatin1String("silent")) {
        SetMode(Mode::Silent);
    } else if (text.startsWith(QLatin1String("vanish="))) {
        bool ok = false;
        const int seconds = text.mid(7).toInt(&ok);
        if (!ok || seconds < 0)
            return false;
        SetMode(Mode::Vanish, seconds);
    } else {
        return false;
    }
    return true;
}

bool SimulatedViewer::Running() const
{
    return m_primary != 0 && m_processes.IsAlive(m_primary);
}

qint64 SimulatedViewer::RecordedMs() const
{
    return m_clock.ElapsedMs() - m_startedMs;
}

qint64 SimulatedViewer::SizeOf(const QString& path) const
{
    // Called with the disks' lock held: it must not call back into them.
    if (!QFileInfo(path).isFile())
        return -1;
    if (!m_file.isEmpty() && path == m_file) {
        if (m_mode == Mode::Silent || !Running())
            return m_finished.value(path, 0);
        return qint64(m_rateKiB * 1024.0 * double(RecordedMs()) / 1000.0);
    }
    return m_finished.value(path, -1);
}

FakeOutcome SimulatedViewer::OnLaunch(const FakeLaunch& launch)
{
    if (m_observer)
        m_observer(launch);
    FakeOutcome outcome;
    if (!Running()) {
        m_primary = launch.pid;
        m_file.clear();
        m_channel.clear();
    } else {
        outcome.keepRunning = false;
    }
    Apply(launch.arguments);
    return outcome;
}

void SimulatedViewer::Apply(const QStringList& arguments)
{
    const QString ch = QStringLiteral("/CH:");
    const QString start = QStringLiteral("/StartRecord:");
    for (const QString& argument : arguments) {
        if (argument.startsWith(ch, Qt::CaseInsensitive)) {
            m_channel = ValueOf(argument, ch);
        } else if (argument.startsWith(start, Qt::CaseInsensitive)) {
            StopRecording();
            const QString path = Clean(ValueOf(argument, start));
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                continue;
            file.close();
            m_finished.remove(path);
            m_file = path;
            m_startedMs = m_clock.ElapsedMs();
            if (m_mode == Mode::Vanish) {
                m_vanishTimer->SetInterval(std::max(1, m_vanishSeconds * 1000));
                m_vanishTimer->SetEnabled(true);
            }
        } else if (argument.compare(QLatin1String("/StopRecord"), Qt::CaseInsensitive) == 0) {
            StopRecording();
        } else if (argument.compare(QLatin1String("/Exit"), Qt::CaseInsensitive) == 0) {
            End();
        }
    }
}

void SimulatedViewer::StopRecording()
{
    if (m_file.isEmpty())
        return;
    m_finished.insert(m_file, m_mode == Mode::Silent ? 0 : SizeOf(m_file));
    m_file.clear();
}

void SimulatedViewer::End()
{
    StopRecording();
    m_vanishTimer->SetEnabled(false);
    if (m_primary != 0)
        m_processes.EndProcess(m_primary);
    m_primary = 0;
}

void SimulatedViewer::CloseByUser()
{
    End();
}

} // namespace quorx
