#include "EditorFixture.h"

#include "editor/EditorMerge.h"
#include "editor/RepetitionKinds.h"

namespace quorx::test {
namespace {

using Status = RecordingEditor::Status;

class EditorMergeTest : public EditorFixture
{
protected:
    // 20:00-21:00 "Journal" is listed; the editor enters "Météo" 21:03-22:00 on the same channel.
    RecordingEditor& EnterAfterJournal(const QString& channel = QStringLiteral("arte"))
    {
        AddRecording(QStringLiteral("Journal"), QStringLiteral("Arte"), At(4, 20, 0), At(4, 21, 0));
        RecordingEditor& ed = OpenNew(channel);
        ed.SetName(QStringLiteral("Météo"));
        SetTimes(ed, At(4, 21, 3), DateTime::FromTime(22, 0));
        return ed;
    }
};

TEST_F(EditorMergeTest, AcceptedMergeShowsTheJoinedEntryAndTheSecondValidationDeletesTheOther)
{
    RecordingEditor& ed = EnterAfterJournal();
    presenter.ScriptYes();
    ASSERT_EQ(ed.Validate(false).status, Status::MergeProposed);
    EXPECT_EQ(presenter.LastRequest().number, 139);
    EXPECT_TRUE(presenter.LastRequest().text.contains(QStringLiteral("Journal")));
    EXPECT_EQ(ed.Draft().name, QStringLiteral("Journal - Météo"));
    EXPECT_EQ(ed.Draft().Start(), At(4, 20, 0));
    EXPECT_EQ(ed.Draft().End(), At(4, 22, 0));
    EXPECT_EQ(ed.Draft().durationSeconds, 7200);
    EXPECT_FALSE(ed.Validated());
    EXPECT_EQ(table.Count(), 2) << "nothing is deleted before the entry is validated";

    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Journal - Météo"));
    EXPECT_EQ(table[1].HeureDebut, DateTime::FromTime(20, 0));
    EXPECT_EQ(table[1].HeureFin, DateTime::FromTime(22, 0));
    EXPECT_EQ(presenter.Unexpected(), 0);
}

TEST_F(EditorMergeTest, DeclinedMergeCommitsAsTyped)
{
    RecordingEditor& ed = EnterAfterJournal();
    presenter.ScriptNo();
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table[2].HeureDebut, DateTime::FromTime(21, 3));
}

TEST_F(EditorMergeTest, CancellingAfterAnAcceptedMergeKeepsBothRecordings)
{
    RecordingEditor& ed = EnterAfterJournal();
    presenter.ScriptYes();
    ASSERT_EQ(ed.Validate(false).status, Status::MergeProposed);
    ed.Cancel();
    ed.Close(0, 0);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Journal"));
}

TEST_F(EditorMergeTest, OnlyCloseRecordingsOfTheSameChannelAndDaysAreOffered)
{
    struct Case
    {
        const char* what;
        QString channel;
        DateTime start, end;
        std::uint8_t days;
        bool offered;
    };
    const Case cases[] = {
        {"4 min 59 apart", QStringLiteral("ARTE"), At(4, 22, 4), At(4, 23, 0), 0, true},
        {"5 min apart", QStringLiteral("Arte"), At(4, 22, 5), At(4, 23, 0), 0, false},
        {"overlapping", QStringLiteral("Arte"), At(4, 19, 0), At(4, 21, 30), 0, true},
        {"another channel", QStringLiteral("TF1"), At(4, 22, 0), At(4, 23, 0), 0, false},
        {"repeating", QStringLiteral("Arte"), At(4, 22, 0), At(4, 23, 0), Lundi, false},
    };
    for (const Case& c : cases) {
        ScheduleTable t;
        TEmission other;
        other.Chaine = c.channel;
        other.DateDebut = c.start.DatePart();
        other.HeureDebut = c.start.TimePart();
        other.DateFin = c.end.DatePart();
        other.HeureFin = c.end.TimePart();
        other.Repetition = c.days;
        other.Actif = true;
        t.Append(other);
        RecordingDraft d;
        d.channel = QStringLiteral("Arte");
        d.startDate = At(4, 0, 0);
        d.startTime = DateTime::FromTime(21, 0);
        d.endTime = DateTime::FromTime(21, 59, 1);
        d.FollowEndDate();
        const auto found = EditorMerge::Candidates(t, d, -1, {}, DateTime(), DateTime::FromTime(0, 0, 59));
        EXPECT_EQ(!found.isEmpty(), c.offered) << c.what;
    }
}

TEST_F(EditorMergeTest, RepeatingEntriesMergeOnTheOthersDateAndAnInnerOneNeverShortens)
{
    AddRecording(QStringLiteral("Série"), QStringLiteral("Arte"), At(4, 20, 0), At(4, 21, 0), Lundi);
    RecordingEditor& ed = OpenNew();
    ed.SetName(QStringLiteral("Suite"));
    ed.SetDay(1, true);
    SetTimes(ed, At(11, 21, 2), DateTime::FromTime(21, 40));
    presenter.ScriptYes();
    ASSERT_EQ(ed.Validate(false).status, Status::MergeProposed);
    EXPECT_EQ(ed.Draft().name, QStringLiteral("Série - Suite"));
    EXPECT_EQ(ed.Draft().startTime, DateTime::FromTime(20, 0));
    EXPECT_EQ(ed.Draft().endTime, DateTime::FromTime(21, 40));

    // A recording lying inside a longer one takes the longer span.
    RecordingDraft inner;
    inner.name = QStringLiteral("Flash");
    inner.startDate = At(4, 0, 0);
    inner.startTime = DateTime::FromTime(20, 30);
    inner.endTime = DateTime::FromTime(20, 45);
    inner.FollowEndDate();
    TEmission outer;
    outer.Programme = QStringLiteral("flash");
    outer.DateDebut = outer.DateFin = At(4, 0, 0);
    outer.HeureDebut = DateTime::FromTime(20, 0);
    outer.HeureFin = DateTime::FromTime(23, 0);
    EditorMerge::Merge(inner, outer, At(4, 12, 0));
    EXPECT_EQ(inner.name, QStringLiteral("Flash")) << "the same name in another case is kept once";
    EXPECT_EQ(inner.Start(), At(4, 20, 0));
    EXPECT_EQ(inner.End(), At(4, 23, 0));
}

TEST_F(EditorMergeTest, AMergedEndAlreadyPastMovesToTheNextBroadcast)
{
    RecordingDraft d;
    d.name = QStringLiteral("B");
    d.startDate = At(3, 0, 0);
    d.startTime = DateTime::FromTime(23, 0);
    d.endTime = DateTime::FromTime(23, 30);
    d.FollowEndDate();
    TEmission other;
    other.Programme = QStringLiteral("A");
    other.DateDebut = At(3, 0, 0);
    other.DateFin = At(4, 0, 0);
    other.HeureDebut = DateTime::FromTime(22, 0);
    other.HeureFin = DateTime::FromTime(1, 0);
    EditorMerge::Merge(d, other, At(4, 12, 0));
    EXPECT_EQ(d.name, QStringLiteral("A - B"));
    EXPECT_EQ(d.Start(), At(4, 22, 0));
    EXPECT_EQ(d.End(), At(5, 1, 0));
}

} // namespace
} // namespace quorx::test
