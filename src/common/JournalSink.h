#pragma once

#include <QString>

namespace quorx {

// Where recording and power events go: the journal writer implements it, and subsystems below
// the engine (the viewer control) write through it without depending on the engine.
class JournalSink
{
public:
    virtual ~JournalSink() = default;
    virtual void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                                   const QString& file) = 0;
};

} // namespace quorx
