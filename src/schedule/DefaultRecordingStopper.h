#pragma once

#include "schedule/RecordingStopper.h"

#include <functional>

namespace quorx {

// Answers the question with its preselected answer ("no") without asking anyone, so that deleting
// works before a question presenter is attached. The stop command, when given, is the engine's.
class DefaultRecordingStopper final : public RecordingStopper
{
public:
    explicit DefaultRecordingStopper(std::function<void()> stop = {}) : m_stop(std::move(stop)) {}

    bool AskStopRunningRecording() override;
    void StopRunningRecording() override;

private:
    std::function<void()> m_stop;
};

} // namespace quorx
