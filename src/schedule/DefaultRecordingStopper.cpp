#include "schedule/DefaultRecordingStopper.h"

namespace quorx {

bool DefaultRecordingStopper::AskStopRunningRecording()
{
    return kDefaultAnswer;
}

void DefaultRecordingStopper::StopRunningRecording()
{
    if (m_stop)
        m_stop();
}

} // namespace quorx
