#pragma once

#include "common/JournalSink.h"
#include "engine/EngineActivity.h"
#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"
#include "power/OneSecondClock.h"
#include "power/PowerManager.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/Settings.h"
#include "viewer/ManualStop.h"
#include "viewer/ViewerControl.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quorx::test {

inline DateTime At(int day, int hour, int minute, int second = 0)
{
    return DateTime::FromFields(2024, 1, day, hour, minute, second);
}

// The recording engine as the power manager sees it: plain flags a test sets, and counts of the
// work the power manager asked for.
class FakeActivity final : public EngineActivity
{
public:
    bool RecordingUnderWay() const override { return recording; }
    bool DelayedStartPending() const override { return delayedStart; }
    bool StartArmed(DateTime* target) const override
    {
        if (start.IsNoTime())
            return false;
        *target = start;
        return true;
    }
    bool ManualStopRunning() const override { return manualStop; }
    int RunningCommands() const override { return commands; }
    bool GuideBusy() const override { return guide; }
    bool Armed() const override { return armed; }
    void RecomputeForPower() override
    {
        ++powerPasses;
        armed = true;
    }
    void RecomputeSchedule() override
    {
        ++fullPasses;
        armed = true;
    }
    void PrepareForSuspend() override
    {
        ++suspendPreparations;
        if (onPrepareForSuspend)
            onPrepareForSuspend();
    }
    void MarkUnarmed() override { armed = false; }
    void ScheduleResumeRefresh() override { ++resumeRefreshes; }
    bool RecordingSwitchedOn() const override { return switchedOn; }

    bool recording = false;
    bool delayedStart = false;
    bool manualStop = false;
    bool guide = false;
    bool armed = true;
    bool switchedOn = true;
    int commands = 0;
    DateTime start = DateTime::NoTime();
    std::function<void()> onPrepareForSuspend;

    int powerPasses = 0;
    int fullPasses = 0;
    int suspendPreparations = 0;
    int resumeRefreshes = 0;
};

class EventList final : public JournalSink
{
public:
    void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                           const QString& file) override
    {
        EXPECT_TRUE(program.isEmpty() && comment.isEmpty() && file.isEmpty());
        events << event;
    }
    QStringList events;
};

inline const QString kViewer = QStringLiteral("/opt/zomvara/zomvara");

// A power manager on the fake platform with the viewer control, the manual stop and the one-second
// clock around it, as the composition root puts them together.
class PowerFixture : public ::testing::Test
{
public:
    explicit PowerFixture(DateTime start = At(1, 10, 0))
        : m_fake(start),
          m_questions(m_presenter, m_settings, ViewOf(m_fake), m_dir.filePath(QStringLiteral("Config.Ini"))),
          m_viewer(m_fake.processes, m_fake.timers, &m_journal),
          m_manualStop(m_fake.clock, m_fake.timers, m_viewer, &m_journal,
                       {[this] { return m_engine.recording || m_engine.delayedStart; },
                        [this] { return m_engine.start; }}),
          m_power(m_settings, m_fake.clock, m_fake.timers, m_fake.power, m_fake.peers, m_questions,
                  &m_journal, m_engine)
    {
        LocalisedStrings::ResetToDefaults();
        m_viewer.SetExecutable(kViewer);
    }

    static Platform ViewOf(FakePlatform& fake) { return fake.View(); }

    // The one-second clock, with hooks that count.
    void MakeClock()
    {
        OneSecondClock::Hooks hooks;
        hooks.viewerSchedulerImport = [this] { ++m_schedulerImports; };
        hooks.taskSchedulerImport = [this] { ++m_taskImports; };
        hooks.freeSpaceWatch = [this] { ++m_freeSpaceWatches; };
        hooks.updateCheck = [this] { ++m_updateChecks; };
        hooks.guideUpdateCheck = [this] { ++m_guideChecks; };
        hooks.freeSpaceMaroon = [this] { return m_maroon; };
        m_clock3 = std::make_unique<OneSecondClock>(m_fake.clock, m_fake.timers, m_settings, m_viewer,
                                                    m_manualStop, m_power, m_engine, hooks);
        m_power.AttachClock(m_clock3.get());
    }

    int Count(FakePowerOp op) const { return static_cast<int>(m_fake.power.CallsOf(op).size()); }

    QTemporaryDir m_dir;
    FakePlatform m_fake;
    Settings m_settings;
    ScriptedQuestionPresenter m_presenter;
    Questions m_questions;
    EventList m_journal;
    FakeActivity m_engine;
    ViewerControl m_viewer;
    ManualStop m_manualStop;
    PowerManager m_power;
    std::unique_ptr<OneSecondClock> m_clock3;

    int m_schedulerImports = 0;
    int m_taskImports = 0;
    int m_freeSpaceWatches = 0;
    int m_updateChecks = 0;
    int m_guideChecks = 0;
    bool m_maroon = false;
};

} // namespace quorx::test
