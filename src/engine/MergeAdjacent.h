#pragma once

#include "common/DateTime.h"

#include <QString>

#include <cstdint>

namespace quorx {

class Questions;
class ScheduleTable;
struct Settings;
struct TEmission;

// Offers to merge a recording just created from a guide with a one-off recording of the same
// channel that overlaps it or ends or starts less than five minutes from it.
class MergeAdjacent final
{
public:
    static constexpr int kTouchSeconds = 300;

    MergeAdjacent(ScheduleTable& table, const Settings& settings, Questions& questions);
    Q_DISABLE_COPY_MOVE(MergeAdjacent)

    // Record a is the one just created; its guide flag is set first. At most one other record is
    // merged into it; that one is deleted without recomputation. True when a merge took place.
    bool Run(std::int32_t recordIdA);

    // The first record, in table order, that a may be merged with; -1 when none.
    static int FindAdjacent(const ScheduleTable& table, int indexA, DateTime delaiDeb, DateTime delaiFin);
    // a takes b in: the joined name, the span of both, the file renamed after the new name.
    static void MergeInto(TEmission& a, const TEmission& b, DateTime delaiDeb, DateTime delaiFin);
    // "first - second", or the one that is not blank, or first when both are the same.
    static QString JoinNames(const QString& first, const QString& second);

private:
    ScheduleTable& m_table;
    const Settings& m_settings;
    Questions& m_questions;
};

} // namespace quorx
