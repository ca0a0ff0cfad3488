#pragma once

#include "common/JournalSink.h"

#include <QStringList>
#include <QVector>

namespace quorx::test {

// Keeps every journal event so tests can check what was written and when.
class RecordingJournal final : public JournalSink
{
public:
    struct Entry
    {
        QString event, program, comment, file;
    };

    void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                           const QString& file) override
    {
        entries.push_back({event, program, comment, file});
    }

    QStringList Events() const
    {
        QStringList out;
        for (const Entry& e : entries)
            out << e.event;
        return out;
    }

    QVector<Entry> entries;
};

} // namespace quorx::test
