#pragma once

#include "EngineTestSupport.h"
#include "common/IniFile.h"
#include "engine/JournalWriter.h"
#include "engine/RecordingEngine.h"
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/SimulatedViewer.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "viewer/ViewerControl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace quorx::test {

// The recording engine on a virtual clock at Monday 4 March 2024, noon, with the simulated viewer
// installed in a scratch folder and every recording going to its video folder.
class RecordingEngineFixture : public ::testing::Test
{
protected:
    RecordingEngineFixture()
        : fake(March(4, 12, 0)),
          view(fake.View()),
          schedule(table, settings, view),
          journal(home(), fake.clock, settings),
          viewerControl(fake.processes, fake.timers, &journal),
          questions(presenter, settings, view, home() + QStringLiteral("/Config.Ini")),
          engine(table, settings, schedule, view, viewerControl, questions, &journal, home())
    {
        QDir().mkpath(ViewerFolder());
        QDir().mkpath(VideoFolder());
        viewerControl.SetExecutable(ViewerFolder() + QStringLiteral("/zomvara"));
        viewer = std::make_unique<SimulatedViewer>(fake.clock, fake.timers, fake.processes, fake.disks,
                                                   viewerControl.Executable());
        schedule.SetProgramFolder(home());
        settings.SignalSonoreInterface = false;
        settings.SignalSonore = false;
        table.SeedForTests(7);
    }

    QString home() const { return m_dir.path(); }
    QString ViewerFolder() const { return m_dir.path() + QStringLiteral("/viewer"); }
    QString VideoFolder() const { return m_dir.path() + QStringLiteral("/video"); }

    // A one-off recording today from start to end, recorded into the video folder as .Pva (the
    // viewer's default format).
    int AddToday(const QString& channel, DateTime start, DateTime end)
    {
        TEmission e = OneOff(channel, March(4), start, end);
        e.Fichier = VideoFolder() + QLatin1Char('/') + channel + QStringLiteral(".Pva");
        return table.Append(e);
    }

    void RunUntil(DateTime wall) { fake.timers.RunUntil(wall); }

    void WriteRecType(int recType)
    {
        IniFile ini;
        ini.Load(ViewerFolder() + QStringLiteral("/Zomvara.Ini"));
        ini.WriteInteger(QStringLiteral("AVManager"), QStringLiteral("RecType"), recType);
        ASSERT_TRUE(ini.SaveAs(ViewerFolder() + QStringLiteral("/Zomvara.Ini")));
    }

    struct JournalLine
    {
        QString event;
        QString program;
        QString comment;
        QString file;
    };
    QVector<JournalLine> Journal() const
    {
        QVector<JournalLine> lines;
        IniFile ini;
        ini.Load(journal.FilePath());
        const int count = ini.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb"));
        for (int n = 1; n <= count; ++n) {
            const QString s = QString::number(n);
            lines.append({ini.ReadString(s, QStringLiteral("Event")), ini.ReadString(s, QStringLiteral("Program")),
                          ini.ReadString(s, QStringLiteral("Comment")), ini.ReadString(s, QStringLiteral("File"))});
        }
        return lines;
    }
    QStringList JournalEvents() const
    {
        QStringList events;
        for (const JournalLine& line : Journal())
            events << line.event;
        return events;
    }

    // The viewer launches, each as its arguments joined by blanks, with the moment.
    QVector<FakeLaunch> ViewerLaunches() const { return fake.processes.Launches(); }
    static qint64 MsFrom(DateTime from, DateTime to) { return DateTime::MsBetween(from, to); }

    QTemporaryDir m_dir;
    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScheduleEngine schedule;
    JournalWriter journal;
    ViewerControl viewerControl;
    ScriptedQuestionPresenter presenter;
    Questions questions;
    RecordingEngine engine;
    std::unique_ptr<SimulatedViewer> viewer;
};

inline QString Text(int slot)
{
    return JournalWriter::Text(JournalWriter::EventText(slot));
}

} // namespace quorx::test
