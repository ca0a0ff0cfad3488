#pragma once

#include "power/QuestionRequest.h"

#include <QString>
#include <QVector>

namespace quorx {

// Every question and numbered notice the program puts, in one place, so that a number, its
// text, its default answer and whether it offers the box are never written twice. Numbers 200
// and 201 each serve two questions, which therefore share one stored answer and one mark.
enum class QuestionId
{
    StopRecordingToDelete,   // 1
    InterruptRecording,      // 2
    ShortenRecording,        // 3
    DeleteProgrammes,        // 4
    CutProgrammes,           // 44
    CloseViewerAfterStop,    // 5
    StopRecordingToQuit,     // 7
    PasteSameName,           // 8
    OverwriteFile,           // 9
    ImportChannels,          // 103
    ImportLists,             // 114
    MergeProgrammes,         // 139
    DefineDefaults,          // 151, with fallback
    DialUpConnect,           // 200
    DeleteJournalFile,       // 200
    DialUpDisconnect,        // 201
    ClearJournal,            // 201
    StartsImmediately,       // 218
    ResetChannelPreferences, // 240
    ChannelListNotice,       // notice 149
    NoChannelNotice,         // notice 205
    ShutDown,                // the rest are not numbered: asked every time, nothing kept
    Hibernate,
    Standby,
    RepeatWithoutDays,
    DeleteInterruptedFile,
    SendWithoutSubject,
};

// What a question's text is built from: how many items it is about, and the name it quotes.
struct QuestionArgs
{
    int count = 1;
    QString name;
};

struct QuestionEntry
{
    QuestionId id;
    int number;
    QuestionKind kind;
    bool defaultYes;      // the caller's default, before any stored answer
    bool box;             // "&Ne plus poser la question" (or, for a notice, "&Ne plus afficher ...")
    bool fallbackYes;     // the answer once the question is no longer asked (Ask with fallback)
    int countdownSeconds; // notices only
    QString (*text)(const QuestionArgs& args);
};

class QuestionTable final
{
public:
    static const QVector<QuestionEntry>& All();
    static const QuestionEntry& Of(QuestionId id);
    // The entries stored under a number, in table order (two for 200 and 201, several for 0).
    static QVector<const QuestionEntry*> WithNumber(int number);
    static QString Text(QuestionId id, const QuestionArgs& args = {});
};

} // namespace quorx
