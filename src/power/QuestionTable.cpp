#include "power/QuestionTable.h"

#include "i18n/LocalisedStrings.h"

namespace quorx {

namespace {

QString Agree(int slot)
{
    return Ls(slot) + Ls(177);
}

// The quoted name of a recording, or the localised "Sans nom" when it has none.
QString NameOrUnnamed(const QString& name)
{
    return name.trimmed().isEmpty() ? Ls(143) : name;
}

QVector<QuestionEntry> BuildTable()
{
    using K = QuestionKind;
    using Id = QuestionId;
    const auto deleteText = [](const QuestionArgs& a) -> QString { return a.count > 1 ? Ls(162) : Ls(49); };
    return {
        {Id::StopRecordingToDelete, 1, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(62); }},
        {Id::InterruptRecording, 2, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Agree(63); }},
        {Id::ShortenRecording, 3, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Agree(64); }},
        {Id::DeleteProgrammes, 4, K::Ask, false, true, false, 0, deleteText},
        {Id::CutProgrammes, 44, K::Ask, false, true, false, 0, deleteText},
        {Id::CloseViewerAfterStop, 5, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(59); }},
        {Id::StopRecordingToQuit, 7, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(62); }},
        {Id::PasteSameName, 8, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(60); }},
        {Id::OverwriteFile, 9, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(108); }},
        {Id::ImportChannels, 103, K::Ask, true, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(103); }},
        {Id::ImportLists, 114, K::Ask, true, true, false, 0,
         [](const QuestionArgs& a) -> QString { return a.count > 1 ? Ls(115) : Ls(114); }},
        {Id::MergeProgrammes, 139, K::Ask, false, true, false, 0,
         [](const QuestionArgs& a) -> QString { return Ls(139) + NameOrUnnamed(a.name) + Ls(140); }},
        {Id::DefineDefaults, 151, K::AskWithFallback, true, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(151); }},
        {Id::DialUpConnect, 200, K::Ask, true, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(200); }},
        {Id::DeleteJournalFile, 200, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(89); }},
        {Id::DialUpDisconnect, 201, K::Ask, true, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(201); }},
        {Id::ClearJournal, 201, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(90); }},
        {Id::StartsImmediately, 218, K::Ask, true, true, false, 0,
         [](const QuestionArgs& a) -> QString { return Ls(218) + NameOrUnnamed(a.name) + Ls(219); }},
        {Id::ResetChannelPreferences, 240, K::Ask, false, true, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(224); }},
        {Id::ChannelListNotice, 149, K::Inform, true, true, false, 60,
         [](const QuestionArgs&) -> QString { return Ls(149) + Ls(206); }},
        {Id::NoChannelNotice, 205, K::Inform, true, true, false, 30,
         [](const QuestionArgs&) -> QString { return Ls(205); }},
        {Id::ShutDown, 0, K::Ask, true, false, false, 0,
         [](const QuestionArgs&) -> QString { return Agree(96); }},
        {Id::Hibernate, 0, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Agree(97); }},
        {Id::Standby, 0, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Agree(98); }},
        {Id::RepeatWithoutDays, 0, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(105); }},
        {Id::DeleteInterruptedFile, 0, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(61); }},
        {Id::SendWithoutSubject, 0, K::Ask, false, false, false, 0,
         [](const QuestionArgs&) -> QString { return Ls(94); }},
    };
}

} // namespace

const QVector<QuestionEntry>& QuestionTable::All()
{
    static const QVector<QuestionEntry> table = BuildTable();
    return table;
}

const QuestionEntry& QuestionTable::Of(QuestionId id)
{
    // The table lists the identifiers in their declaration order.
    return All()[static_cast<int>(id)];
}

QVector<const QuestionEntry*> QuestionTable::WithNumber(int number)
{
    QVector<const QuestionEntry*> found;
    for (const QuestionEntry& e : All())
        if (e.number == number)
            found.append(&e);
    return found;
}

QString QuestionTable::Text(QuestionId id, const QuestionArgs& args)
{
    return Of(id).text(args);
}

} // namespace quorx
