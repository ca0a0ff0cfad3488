#include "schedule/RecordDeletion.h"

#include "schedule/RecordingStopper.h"
#include "schedule/ScheduleTable.h"

namespace quorx {

RecordDeletion::Result RecordDeletion::DeleteAt(ScheduleTable& table, int index, RecordingStopper& stopper,
                                                bool recomputeAfter)
{
    Result result;
    if (!table.IsValidIndex(index))
        return result;
    if (table[index].Etat == 1) {
        const std::int32_t id = table[index].RecordId;
        if (!stopper.AskStopRunningRecording())
            return result;
        stopper.StopRunningRecording();
        result.recordingStopped = true;
        index = table.FindById(id);
    }
    if (table.IsValidIndex(index)) {
        table.RemoveAt(index);
        result.deleted = true;
    }
    result.recompute = recomputeAfter && (result.deleted || result.recordingStopped);
    return result;
}

RecordDeletion::Result RecordDeletion::DeleteById(ScheduleTable& table, std::int32_t recordId,
                                                  RecordingStopper& stopper, bool recomputeAfter)
{
    return DeleteAt(table, table.FindById(recordId), stopper, recomputeAfter);
}

} // namespace quorx
