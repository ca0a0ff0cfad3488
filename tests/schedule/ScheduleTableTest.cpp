#include "schedule/ScheduleTable.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/RecordDeletion.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace quorx;

namespace {

TEmission Named(const QString& programme, std::int8_t etat = 0)
{
    TEmission e;
    e.Programme = programme;
    e.Chaine = QStringLiteral("France 2");
    e.Actif = true;
    e.Etat = etat;
    return e;
}

std::unique_ptr<ScheduleTable> TableOf(std::initializer_list<TEmission> records)
{
    auto table = std::make_unique<ScheduleTable>();
    for (const TEmission& e : records)
        table->Append(e);
    return table;
}

QStringList Programmes(const ScheduleTable& table)
{
    QStringList names;
    for (int i = 1; i <= table.Count(); ++i)
        names << table[i].Programme;
    return names;
}

} // namespace

TEST(TEmission, ClearResetsEverythingButTheEffectiveStart)
{
    TEmission e = Named(QStringLiteral("Journal"), 2);
    e.Fichier = QStringLiteral("/media/rec/journal.ts");
    e.Repetition = Lundi | Vendredi;
    e.DateDebut = DateTime::FromFields(2024, 3, 4);
    e.HeureFin = DateTime::FromTime(21, 0);
    e.NextStart = DateTime::FromFields(2024, 3, 8, 20, 0);
    e.EffectiveStart = DateTime::FromFields(2024, 3, 8, 20, 0);
    e.RecordId = 77;
    e.GridRow = 4;
    e.CutAtStart = -1;
    e.Commande = QStringLiteral("echo [file]");

    e.Clear();

    EXPECT_TRUE(e.Programme.isEmpty() && e.Fichier.isEmpty() && e.Chaine.isEmpty() && e.Commande.isEmpty());
    EXPECT_EQ(e.Repetition, 0);
    EXPECT_TRUE(e.DateDebut.IsZero() && e.HeureFin.IsZero() && e.NextStart.IsZero());
    EXPECT_EQ(e.EffectiveStart, DateTime::FromFields(2024, 3, 8, 20, 0));
    EXPECT_EQ(e.RecordId, 0);
    EXPECT_EQ(e.GridRow, 0);
    EXPECT_EQ(e.CutAtStart, 0);
    EXPECT_EQ(e.Etat, 0);
    EXPECT_FALSE(e.Actif);
}

TEST(TEmission, TitleJoinsProgrammeAndChannelUnlessTheProgrammeIsBlank)
{
    struct Case
    {
        QString programme;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("Journal"), QStringLiteral("Journal - France 2")},
        {QString(), QStringLiteral("France 2")},
        {QStringLiteral("   "), QStringLiteral("France 2")},
    };
    for (const Case& c : cases) {
        TEmission e = Named(c.programme);
        EXPECT_EQ(e.Title(), c.expected) << c.programme.toStdString();
    }
}

TEST(ScheduleTable, AppendDrawsUniqueIdentifiersAndStopsAt256)
{
    auto table = std::make_unique<ScheduleTable>();
    std::set<std::int32_t> ids;
    for (int i = 1; i <= ScheduleTable::kMaxRecordings; ++i) {
        TEmission e = Named(QString::number(i));
        e.RecordId = 5; // whatever the caller left there is replaced
        ASSERT_EQ(table->Append(e), i);
        const std::int32_t id = (*table)[i].RecordId;
        EXPECT_GE(id, 0);
        EXPECT_LE(id, 2147483646);
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 256u);
    EXPECT_TRUE(table->IsFull());

    EXPECT_EQ(table->Append(Named(QStringLiteral("one too many"))), -1);
    EXPECT_EQ(table->Count(), 256);
    EXPECT_EQ((*table)[256].Programme, QStringLiteral("256"));
    EXPECT_TRUE((*table)[257].Programme.isEmpty());
    EXPECT_EQ(ScheduleTable::FullListMessage(),
              QStringLiteral("La liste de programmation ne peut pas contenir plus de 256 programmes."));
}

TEST(ScheduleTable, NewIdentifierIsRedrawnWhenAlreadyInUse)
{
    auto table = std::make_unique<ScheduleTable>();
    table->SeedForTests(42);
    const std::int32_t first = table->NewRecordId();
    table->SetCount(1);
    (*table)[1].RecordId = first;
    table->SeedForTests(42); // the same draw comes first again
    const std::int32_t next = table->NewRecordId();
    EXPECT_NE(next, first);
    EXPECT_EQ(table->FindById(next), -1);
}

TEST(ScheduleTable, RemoveMovesLaterRecordsUpAndClearsTheFreedSlot)
{
    auto table =
        TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B")), Named(QStringLiteral("C"))});
    const std::int32_t idC = (*table)[3].RecordId;

    table->RemoveAt(1);
    EXPECT_EQ(Programmes(*table), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(table->FindById(idC), 2);
    EXPECT_TRUE((*table)[3].Programme.isEmpty());
    EXPECT_EQ((*table)[3].RecordId, 0);

    table->RemoveById(idC);
    EXPECT_EQ(Programmes(*table), QStringList{QStringLiteral("B")});
    EXPECT_TRUE((*table)[2].Programme.isEmpty());
    EXPECT_FALSE((*table)[2].Actif);
}

TEST(ScheduleTable, IndicesOutsideTheListAreIgnored)
{
    auto table = TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B"))});
    for (const int index : {-1, 0, 3, 257, 300}) {
        table->RemoveAt(index);
        EXPECT_FALSE(table->IsEligible(index)) << index;
    }
    table->RemoveById(-12345);
    EXPECT_EQ(Programmes(*table), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(table->FindById(-12345), -1);

    // A stray write lands in a scratch record that the next stray read does not show.
    (*table)[0].Programme = QStringLiteral("stray");
    (*table)[400].Etat = 3;
    EXPECT_TRUE((*table)[0].Programme.isEmpty());
    EXPECT_EQ((*table)[400].Etat, 0);
    const ScheduleTable& constTable = *table;
    EXPECT_TRUE(constTable[-5].Programme.isEmpty());
}

TEST(ScheduleTable, RecordIsFoundByIdentifierAfterReordering)
{
    auto table =
        TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B")), Named(QStringLiteral("C"))});
    const std::int32_t idA = (*table)[1].RecordId;
    table->Reorder({3, 1, 2});
    EXPECT_EQ(Programmes(*table),
              (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(table->FindById(idA), 2);

    // Not a permutation: nothing moves, nothing is lost or doubled.
    for (const std::vector<int>& bad : {std::vector<int>{1, 1, 2}, std::vector<int>{1, 2},
                                        std::vector<int>{0, 1, 2}, std::vector<int>{1, 2, 4}}) {
        table->Reorder(bad);
        EXPECT_EQ(Programmes(*table),
                  (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
    }
}

TEST(ScheduleTable, EligibilityNeedsActiveEnabledAndNotYetRecorded)
{
    struct Case
    {
        bool actif;
        bool inactifPro;
        std::int8_t etat;
        bool eligible;
    };
    const Case cases[] = {
        {true, false, 0, true},  {true, false, 1, true},   {true, false, 2, false},
        {true, false, 3, false}, {false, false, 0, false}, {true, true, 0, false},
    };
    for (const Case& c : cases) {
        TEmission e = Named(QStringLiteral("X"), c.etat);
        e.Actif = c.actif;
        e.InactifPro = c.inactifPro;
        auto table = TableOf({e});
        EXPECT_EQ(table->IsEligible(1), c.eligible) << c.actif << c.inactifPro << int(c.etat);
    }
}

namespace {

// Answers as told and, when asked to stop, does what the engine may do meanwhile.
class ScriptedStopper final : public RecordingStopper
{
public:
    ScriptedStopper(bool answer, std::function<void()> onStop = {})
        : m_answer(answer), m_onStop(std::move(onStop))
    {
    }
    bool AskStopRunningRecording() override
    {
        ++asked;
        return m_answer;
    }
    void StopRunningRecording() override
    {
        ++stopped;
        if (m_onStop)
            m_onStop();
    }
    int asked = 0;
    int stopped = 0;

private:
    bool m_answer;
    std::function<void()> m_onStop;
};

} // namespace

TEST(RecordDeletion, IdleRecordIsDeletedWithoutAskingAndTheFlagIsHandedBack)
{
    for (const bool recompute : {true, false}) {
        auto table = TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B"), 2)});
        ScriptedStopper stopper(false);
        const auto result = RecordDeletion::DeleteAt(*table, 2, stopper, recompute);
        EXPECT_TRUE(result.deleted);
        EXPECT_FALSE(result.recordingStopped);
        EXPECT_EQ(result.recompute, recompute);
        EXPECT_EQ(stopper.asked, 0);
        EXPECT_EQ(Programmes(*table), QStringList{QStringLiteral("A")});
    }
}

TEST(RecordDeletion, RecordUnderWayStaysWhenTheAnswerIsNo)
{
    auto table = TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B"), 1)});
    ScriptedStopper stopper(false);
    const auto result = RecordDeletion::DeleteAt(*table, 2, stopper, true);
    EXPECT_EQ(stopper.asked, 1);
    EXPECT_EQ(stopper.stopped, 0);
    EXPECT_FALSE(result.deleted || result.recordingStopped || result.recompute);
    EXPECT_EQ(Programmes(*table), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ((*table)[2].Etat, 1);
}

TEST(RecordDeletion, YesStopsFirstThenDeletesTheSameRecordWhereverItMoved)
{
    auto table =
        TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B"), 1), Named(QStringLiteral("C"))});
    ScriptedStopper stopper(true, [&] {
        // Stopping ends the state and re-sorts the list: B is now last.
        const int b = table->FindById((*table)[2].RecordId);
        (*table)[b].Etat = 3;
        table->Reorder({1, 3, 2});
    });
    const auto result = RecordDeletion::DeleteAt(*table, 2, stopper, true);
    EXPECT_EQ(stopper.stopped, 1);
    EXPECT_TRUE(result.deleted && result.recordingStopped && result.recompute);
    EXPECT_EQ(Programmes(*table), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_TRUE((*table)[3].Programme.isEmpty());
}

TEST(RecordDeletion, NothingElseIsDeletedWhenStoppingAlreadyRemovedTheRecord)
{
    auto table = TableOf({Named(QStringLiteral("A")), Named(QStringLiteral("B"), 1)});
    const std::int32_t idB = (*table)[2].RecordId;
    ScriptedStopper stopper(true, [&] { table->RemoveById(idB); });
    const auto result = RecordDeletion::DeleteAt(*table, 2, stopper, true);
    EXPECT_FALSE(result.deleted);
    EXPECT_TRUE(result.recordingStopped);
    EXPECT_TRUE(result.recompute);
    EXPECT_EQ(Programmes(*table), QStringList{QStringLiteral("A")});
}

TEST(RecordDeletion, DefaultStopperAnswersNoAndNeverStops)
{
    bool stopCalled = false;
    DefaultRecordingStopper stopper([&] { stopCalled = true; });
    auto table = TableOf({Named(QStringLiteral("A"), 1), Named(QStringLiteral("B"))});
    const std::int32_t idA = (*table)[1].RecordId;

    EXPECT_FALSE(RecordDeletion::DeleteById(*table, idA, stopper, true).deleted);
    EXPECT_FALSE(stopCalled);
    EXPECT_EQ(table->Count(), 2);

    // A record just appended and withdrawn leaves its slot cleared.
    const std::int32_t idB = (*table)[2].RecordId;
    EXPECT_TRUE(RecordDeletion::DeleteById(*table, idB, stopper, false).deleted);
    EXPECT_EQ(table->Count(), 1);
    EXPECT_TRUE((*table)[2].Programme.isEmpty());
    EXPECT_EQ(RecordingStopper::QuestionText(),
              QStringLiteral("Un enregistrement est en cours. Voulez-vous y mettre fin ?"));
}
