#include "MachineStandIns.h"
#include "ZomvaraFixture.h"

#include "common/IniFile.h"
#include "engine/JournalWriter.h"
#include "engine/RecordingEngine.h"
#include "engine/ScheduleEngine.h"
#include "i18n/LocalisedStrings.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/SettingsStore.h"
#include "schedule/TEmission.h"
#include "startup/SchedulerCore.h"

#include <QDir>
#include <QFileInfo>

namespace quorx::test {

namespace {

struct Event
{
    QString event;
    QString program;
    QString file;
};

} // namespace

// The whole scheduler on the real clock, timers and processes, recording through the substitute
// viewer: two recordings of half a minute, the second starting as the first ends.
class RecordingIntegrationTest : public ZomvaraTest
{
protected:
    void WriteConfig(const QString& home)
    {
        IniFile ini;
        ini.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiDeb"), QStringLiteral("00:00:00"));
        ini.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiFin"), QStringLiteral("00:00:00"));
        const SettingsStore::Key* viewerKey = SettingsStore::FindKey(QStringLiteral("CheminZomvara"));
        ASSERT_NE(viewerKey, nullptr);
        ini.WriteString(QString(viewerKey->section), QString(viewerKey->name),
                        QFileInfo(m_executable).absolutePath() + QLatin1Char('/'));
        ASSERT_TRUE(ini.SaveAs(SettingsStore::FilePath(home)));
    }

    static TEmission Recording(const QString& title, DateTime start, DateTime end, const QString& file)
    {
        TEmission e;
        e.Programme = title;
        e.Chaine = QStringLiteral("Arte");
        e.Fichier = file;
        e.DateDebut = start.DatePart();
        e.DateFin = end.DatePart();
        e.HeureDebut = start.TimePart();
        e.HeureFin = end.TimePart();
        e.Actif = true;
        return e;
    }

    static QVector<Event> JournalOf(const QString& path)
    {
        QVector<Event> events;
        IniFile ini;
        ini.Load(path);
        const int count = ini.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb"));
        for (int n = 1; n <= count; ++n) {
            const QString s = QString::number(n);
            events.append({ini.ReadString(s, QStringLiteral("Event")),
                           ini.ReadString(s, QStringLiteral("Program")),
                           ini.ReadString(s, QStringLiteral("File"))});
        }
        return events;
    }
};

TEST_F(RecordingIntegrationTest, TwoBackToBackRecordingsAreMadeThroughTheRealViewer)
{
    const QString home = Path(QStringLiteral("home"));
    const QString video = Path(QStringLiteral("video"));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QDir().mkpath(video));
    WriteConfig(home);

    MachineStandIns machine;
    const Platform platform = machine.With(m_timers, m_processes);
    ScriptedQuestionPresenter presenter;
    SchedulerCore core(home, platform, presenter);
    ASSERT_TRUE(core.Start()) << core.StartError().toStdString();
    EXPECT_EQ(core.Viewer().Executable(), m_executable);

    // Whole seconds, so that the moments the engine arms are not cut short by a fraction.
    const DateTime now = machine.clock.Now();
    const DateTime start = DateTime::FromSeconds(std::floor(now.Value() * DateTime::kSecondsPerDay) + 8);
    const DateTime middle = start.AddSeconds(30);
    const DateTime end = middle.AddSeconds(30);
    const QString first = video + QStringLiteral("/Premier.ts");
    const QString second = video + QStringLiteral("/Second.ts");
    core.Table().Append(Recording(QStringLiteral("Premier"), start, middle, first));
    core.Table().Append(Recording(QStringLiteral("Second"), middle, end, second));
    ASSERT_TRUE(core.Schedule().RecomputeSchedule()) << core.Schedule().LastSaveError().toStdString();

    const QString journalPath = core.Journal().FilePath();
    const auto endedCount = [&] {
        int ended = 0;
        for (const Event& e : JournalOf(journalPath))
            ended +=
                e.event == Ls(JournalWriter::RecordingEnded) || e.event == Ls(JournalWriter::RecordingFailed);
        return ended;
    };
    const qint64 deadline = m_timers.ElapsedMs() + 85000;
    while (endedCount() < 2 && m_timers.ElapsedMs() < deadline)
        m_timers.Wait(250);

    const QVector<Event> events = JournalOf(journalPath);
    QStringList seen;
    for (const Event& e : events)
        seen << e.event + QLatin1Char('/') + e.program;
    const QString started = Ls(JournalWriter::RecordingStarted);
    const QString ended = Ls(JournalWriter::RecordingEnded);
    EXPECT_TRUE(seen.contains(started + QStringLiteral("/Premier - Arte")))
        << seen.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(seen.contains(ended + QStringLiteral("/Premier - Arte")))
        << seen.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(seen.contains(started + QStringLiteral("/Second - Arte")))
        << seen.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(seen.contains(ended + QStringLiteral("/Second - Arte")))
        << seen.join(QLatin1Char('|')).toStdString();
    EXPECT_LT(seen.indexOf(ended + QStringLiteral("/Premier - Arte")),
              seen.lastIndexOf(ended + QStringLiteral("/Second - Arte")));

    // The viewer names the files itself from what it was told; each is the one the journal gives.
    for (const Event& e : events) {
        if (e.event != ended)
            continue;
        EXPECT_GT(SizeOf(e.file), 128 * 1024) << e.file.toStdString();
    }
    EXPECT_TRUE(core.Shutdown()) << core.LastError().toStdString();
}

} // namespace quorx::test
