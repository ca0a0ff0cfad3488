#pragma once

#include "EngineTestSupport.h"
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <gtest/gtest.h>

namespace quorx::test {

// A schedule, its settings and the engine on a virtual clock standing at Monday 4 March 2024, noon.
class EngineFixture : public ::testing::Test
{
protected:
    EngineFixture() : fake(March(4, 12, 0)), view(fake.View()), engine(table, settings, view) {}

    int Add(const TEmission& e) { return table.Append(e); }
    void SetNow(DateTime now) { fake.clock.SetNow(now); }
    const RecordingWindow& Window(int index) const { return engine.Windows()[index]; }

    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScheduleEngine engine;
};

} // namespace quorx::test
