#pragma once

#include <cstdint>

namespace quorx {

class RecordingStopper;
class ScheduleTable;

// Deleting a record as the user asks it: a record being recorded is only deleted once the user has
// agreed to stop the recording.
class RecordDeletion final
{
public:
    struct Result
    {
        bool deleted = false;          // the record has left the table
        bool recordingStopped = false; // the recording under way was stopped first
        bool recompute = false;        // the caller runs the full recomputation now
    };

    // Deletes the record at index. When its Etat is 1 the stopper asks first; "no" changes nothing,
    // "yes" stops the recording and the record is found again by its identifier, since stopping may
    // have re-sorted or shortened the table. recomputeAfter is handed back in the result when
    // something changed.
    static Result DeleteAt(ScheduleTable& table, int index, RecordingStopper& stopper, bool recomputeAfter);
    // The same for the record carrying this identifier (used to withdraw a record just appended).
    static Result DeleteById(ScheduleTable& table, std::int32_t recordId, RecordingStopper& stopper,
                             bool recomputeAfter);
};

} // namespace quorx
