#include "EditorFixture.h"

#include "editor/EditorFavourites.h"
#include "editor/EditorFolder.h"
#include "editor/EndActions.h"
#include "editor/FavouriteChannels.h"
#include "editor/FilePreview.h"
#include "editor/RecordingDraft.h"
#include "editor/RepetitionKinds.h"
#include "i18n/LocalisedStrings.h"

namespace quorx::test {
namespace {

constexpr std::uint8_t kAll = 0x7F;

TEST(RepetitionKindsTest, KindFollowsFromTheDays)
{
    struct Case
    {
        std::uint8_t days;
        int kind;
    };
    const Case cases[] = {
        {0, 0},
        {kAll, 2},
        {kAll & ~Dimanche, 3},
        {Lundi | Mardi | Mercredi | Jeudi | Vendredi, 4},
        {Mercredi | Samedi | Dimanche, 5},
        {Samedi | Dimanche, 6},
        {Lundi, 7},
        {Jeudi, 10},
        {Dimanche, 13},
        {Lundi | Mercredi, 1},
        {Lundi | Mardi | Mercredi | Jeudi | Vendredi | Dimanche, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RepetitionKinds::KindOf(c.days), c.kind) << int(c.days);
}

TEST(RepetitionKindsTest, ChoosingAKindTicksItsDaysAndPersonaliseUnticksAll)
{
    ASSERT_EQ(RepetitionKinds::Texts().size(), RepetitionKinds::kCount);
    EXPECT_EQ(RepetitionKinds::Texts().at(1), QStringLiteral("Personnalisé"));
    for (int kind = 0; kind < RepetitionKinds::kCount; ++kind) {
        if (kind == RepetitionKinds::kPersonnalise)
            continue;
        EXPECT_EQ(RepetitionKinds::KindOf(RepetitionKinds::DaysOf(kind)), kind) << kind;
    }
    EXPECT_EQ(RepetitionKinds::DaysOf(RepetitionKinds::kPersonnalise), 0);
    EXPECT_EQ(RepetitionKinds::DaysOf(RepetitionKinds::kEveryDay), kAll);
}

RecordingDraft DraftOn(DateTime start, DateTime endTime)
{
    RecordingDraft d;
    d.startDate = start.DatePart();
    d.startTime = start.TimePart();
    d.endTime = endTime.TimePart();
    d.FollowEndDate();
    d.RefreshDuration();
    return d;
}

TEST(RecordingDraftTest, EndDateAndDurationFollowTheTimes)
{
    // Past midnight: the end is on the next day and the duration is one hour.
    RecordingDraft d = DraftOn(At(4, 23, 30), DateTime::FromTime(0, 30));
    EXPECT_EQ(d.endDate, At(5, 0, 0));
    EXPECT_EQ(d.durationSeconds, 3600);

    // Equal times: the same day and no duration at all.
    d = DraftOn(At(4, 20, 0), DateTime::FromTime(20, 0));
    EXPECT_EQ(d.endDate, At(4, 0, 0));
    EXPECT_EQ(d.durationSeconds, 0);

    // The duration sets the end, over midnight too.
    d = DraftOn(At(4, 22, 0), DateTime::FromTime(23, 0));
    d.ApplyDuration(2 * 3600 + 15 * 60);
    EXPECT_EQ(d.End(), At(5, 0, 15));
    EXPECT_EQ(d.durationSeconds, 8100);
}

TEST(RecordingDraftTest, ASpanOfMoreThanADayIsBroughtBack)
{
    RecordingDraft d;
    d.startDate = At(4, 0, 0);
    d.startTime = DateTime::FromTime(10, 0);
    d.endDate = At(6, 0, 0);
    d.endTime = DateTime::FromTime(10, 0);
    d.RefreshDuration();
    EXPECT_EQ(d.durationSeconds, RecordingDraft::kMaxDurationSeconds);
    EXPECT_EQ(d.End(), At(5, 9, 59));
}

TEST(RecordingDraftTest, RepetitionEndStaysAfterTheEndDate)
{
    RecordingDraft d = DraftOn(At(4, 23, 0), DateTime::FromTime(1, 0));
    EXPECT_EQ(d.repEnd, At(6, 0, 0));
    d.repEnd = At(20, 0, 0);
    d.startDate = At(10, 0, 0);
    d.FollowEndDate();
    EXPECT_EQ(d.repEnd, At(20, 0, 0)) << "a later repetition end is kept";
}

TEST(RecordingDraftTest, PowerActionsExcludeEachOtherAndNeedTheViewerClosed)
{
    RecordingDraft d;
    d.SetPowerAction(AfterRecordingBox::Veille, true);
    d.SetPowerAction(AfterRecordingBox::Eteindre, true);
    EXPECT_EQ(d.PowerAction(), AfterRecordingBox::Eteindre);
    EXPECT_FALSE(d.veille);
    d.SetFermer(false);
    EXPECT_EQ(d.PowerAction(), AfterRecordingBox::None);
}

TEST(FilePreviewTest, NameChannelDateTimeAndFormat)
{
    RecordingDraft d = DraftOn(At(4, 20, 0), DateTime::FromTime(21, 0));
    d.name = QStringLiteral("Le Journal");
    d.channel = QStringLiteral("France 2: HD");
    d.folder = QStringLiteral("/media/rec/");
    FilePreview::Inputs in;
    in.now = At(4, 12, 0);
    in.driveRoot = QStringLiteral("/");
    EXPECT_EQ(FilePreview::Text(d, in),
              QStringLiteral("/media/rec/Le Journal_France 2_ HD_04-03-2024_20-00.Mpg"));

    // A start already past takes now; without the year when asked.
    in.now = At(4, 20, 30);
    in.sansAnnee = true;
    d.format = RecordingFormat::Pva;
    EXPECT_EQ(FilePreview::Text(d, in), QStringLiteral("/media/rec/Le Journal_France 2_ HD_04-03_20-30.Pva"));

    // Nothing to name the file after: the channel, then "Enreg"; a bad folder gives the drive.
    d.addDate = d.addHeure = d.addChaine = false;
    d.name.clear();
    d.folder = QStringLiteral("relative/folder");
    EXPECT_EQ(FilePreview::Text(d, in), QStringLiteral("/France 2_ HD.Pva"));
    d.channel.clear();
    in.viewerRecordingFolder = QStringLiteral("/viewer/");
    EXPECT_EQ(FilePreview::Text(d, in), QStringLiteral("/viewer/Enreg.Pva"));

    // A file name of one's own.
    d.nomAuto = false;
    d.fileName = QStringLiteral("mine");
    EXPECT_EQ(FilePreview::Text(d, in), QStringLiteral("/viewer/mine.Pva"));
}

TEST(FilePreviewTest, PressesCycleFormatsAndNameParts)
{
    EXPECT_EQ(FilePreview::NextFormat(RecordingFormat::Mpg), RecordingFormat::Pva);
    EXPECT_EQ(FilePreview::NextFormat(RecordingFormat::Pva), RecordingFormat::Mpa);
    EXPECT_EQ(FilePreview::NextFormat(RecordingFormat::Mpa), RecordingFormat::Mpg);

    bool date = false, time = false, channel = false;
    QStringList seen;
    for (int i = 0; i < 7; ++i) {
        FilePreview::NextNameParts(date, time, channel);
        seen << QStringLiteral("%1%2%3").arg(int(date)).arg(int(time)).arg(int(channel));
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("100"), QStringLiteral("110"), QStringLiteral("111"),
                                 QStringLiteral("001"), QStringLiteral("101"), QStringLiteral("011"),
                                 QStringLiteral("000")}));
}

TEST(EndActionsTest, SummaryAndPresses)
{
    RecordingDraft d;
    EXPECT_EQ(EndActions::Summary(d), QStringLiteral("Fermer"));
    d.SetPowerAction(AfterRecordingBox::VeillePro, true);
    EXPECT_EQ(EndActions::Summary(d), QStringLiteral("Fermer et mettre en veille prolongée"));
    EndActions::LeftPress(d);
    EXPECT_EQ(EndActions::Summary(d), QStringLiteral("Ne pas fermer"));
    EXPECT_EQ(d.PowerAction(), AfterRecordingBox::None);

    struct Case
    {
        bool canSuspend, canHibernate;
        QVector<AfterRecordingBox> cycle;
    };
    using B = AfterRecordingBox;
    const Case cases[] = {
        {true, true, {B::VeillePro, B::Eteindre, B::Veille, B::None}},
        {true, false, {B::Eteindre, B::Veille, B::None}},
        {false, true, {B::VeillePro, B::Eteindre, B::VeillePro}},
        {false, false, {B::Eteindre, B::None}},
    };
    for (const Case& c : cases) {
        RecordingDraft r;
        r.SetFermer(false);
        for (const B want : c.cycle) {
            EndActions::RightPress(r, c.canSuspend, c.canHibernate);
            EXPECT_TRUE(r.fermer);
            EXPECT_EQ(r.PowerAction(), want) << c.canSuspend << c.canHibernate;
        }
    }
    EXPECT_FALSE(EndActions::VeilleEnabled(d, true)) << "the viewer is not closed";
    d.SetFermer(true);
    EXPECT_TRUE(EndActions::VeilleEnabled(d, true));
    EXPECT_FALSE(EndActions::VeilleProEnabled(d, false));
}

TEST(EditorFolderTest, PathsKeysAndDrives)
{
    EXPECT_TRUE(EditorFolder::IsValidPath(QStringLiteral("/rec/"), QStringLiteral("Film 2")));
    EXPECT_FALSE(EditorFolder::IsValidPath(QStringLiteral("rec/"), QStringLiteral("Film")));
    EXPECT_FALSE(EditorFolder::IsValidPath(QStringLiteral("/re*c/"), QStringLiteral("Film")));
    for (const char* bad : {"a:b", "a/b", "a\\b", "a?", "a*", "a\"", "a<", "a>", "a|"})
        EXPECT_FALSE(EditorFolder::IsValidFileName(QString::fromLatin1(bad))) << bad;

    for (const char c : QByteArray("?\\:*\"<>/|"))
        EXPECT_FALSE(EditorFolder::NameAcceptsKey(QLatin1Char(c))) << c;
    EXPECT_TRUE(EditorFolder::NameAcceptsKey(QLatin1Char('-')));
    EXPECT_FALSE(EditorFolder::FolderAcceptsKey(QStringLiteral("/rec/"), 5, QLatin1Char('/')));
    EXPECT_FALSE(EditorFolder::FolderAcceptsKey(QString(), 0, QLatin1Char('r')));
    EXPECT_TRUE(EditorFolder::FolderAcceptsKey(QStringLiteral("/rec"), 4, QLatin1Char('/')));

    EXPECT_EQ(EditorFolder::OnProgramDrive(QStringLiteral("films/"), QStringLiteral("/home/")),
              QStringLiteral("/home/films/"));
}

TEST(EditorFolderTest, FreeSpaceTextAndColour)
{
    FakeDisks disks;
    constexpr qint64 G = FakeDisks::kGiB;
    struct Case
    {
        qint64 freeBytes, total;
        QString text;
        EditorFolder::SpaceLevel level;
        quint32 colour;
    };
    const Case cases[] = {
        {5 * G, 100 * G,
         QStringLiteral("5% d'espace disponible sur le lecteur - 5 Go libre(s) sur 100 Go au total"),
         EditorFolder::SpaceLevel::Low, 0x000080},
        {10 * G + G / 2, 100 * G,
         QStringLiteral("11% d'espace disponible sur le lecteur - 10 Go libre(s) sur 100 Go au total"),
         EditorFolder::SpaceLevel::Medium, 0x0080FF},
        {30 * G, 40 * G,
         QStringLiteral("75% d'espace disponible sur le lecteur - 30 Go libre(s) sur 40 Go au total"),
         EditorFolder::SpaceLevel::High, 0x008000},
        {0, 0, QStringLiteral("0% d'espace disponible sur le lecteur - 0 Go libre(s) sur 0 Go au total"),
         EditorFolder::SpaceLevel::Low, 0x000080},
        {-1, 0, Ls(112), EditorFolder::SpaceLevel::Unreadable, 0x000080},
    };
    for (const Case& c : cases) {
        disks.SetSpace(QStringLiteral("/media/rec"), c.freeBytes, c.total);
        const auto space = EditorFolder::FreeSpaceOf(disks, QStringLiteral("/media/rec/films/"));
        EXPECT_EQ(space.text, c.text);
        EXPECT_EQ(space.level, c.level);
        EXPECT_EQ(space.colour, c.colour);
    }
}

TEST(FavouriteChannelsTest, CountsUsesAndReplacesTheLeastUsedOldest)
{
    FavouriteChannels fav;
    for (int i = 0; i < FavouriteChannels::kSlots; ++i)
        fav.CountUse(QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0')), At(1, 0, i));
    fav.CountUse(QStringLiteral("c05"), At(2, 0, 0)); // counted in any letter case
    fav.CountUse(QStringLiteral("  "), At(2, 0, 0));  // nothing to count
    fav.CountUse(QStringLiteral("C00"), At(2, 0, 0));
    // Everyone else has one use; the oldest of them, C01, makes room.
    fav.CountUse(QStringLiteral("Arte"), At(3, 0, 0));
    QStringList names;
    for (const auto& slot : fav.Ordered())
        names << slot.name;
    EXPECT_TRUE(names.contains(QStringLiteral("Arte")));
    EXPECT_FALSE(names.contains(QStringLiteral("C01")));
    EXPECT_EQ(names.first(), QStringLiteral("Arte"));
    EXPECT_EQ(names.at(1), QStringLiteral("C00"));

    IniFile ini;
    fav.Save(ini);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelName0")),
              QStringLiteral("\"C00\""));
    FavouriteChannels again;
    again.Load(ini);
    EXPECT_EQ(again.Slots()[5].name, QStringLiteral("C05"));
    EXPECT_EQ(again.Slots()[5].usage, 2);
    EXPECT_EQ(again.Slots()[1].lastUsed, At(3, 0, 0));
}

TEST(FavouriteChannelsTest, EmptySlotsGoLast)
{
    FavouriteChannels fav;
    fav.CountUse(QStringLiteral("b"), At(1, 0, 0));
    fav.CountUse(QStringLiteral("B"), At(1, 0, 0));
    fav.CountUse(QStringLiteral("a"), At(1, 0, 0));
    const auto ordered = fav.Ordered();
    EXPECT_EQ(ordered.at(0).name, QStringLiteral("a"));
    EXPECT_EQ(ordered.at(1).name, QStringLiteral("b"));
    EXPECT_EQ(ordered.at(1).usage, 2);
    EXPECT_TRUE(ordered.at(2).name.isEmpty());
}

class EditorFavouritesTest : public EditorFixture
{
};

TEST_F(EditorFavouritesTest, MenuItemsFollowTheText)
{
    EditorFavourites fav;
    using B = EditorFavourites::Box;
    EXPECT_EQ(fav.MenuFor(B::Nom, QStringLiteral("Film")).removeAll, false);
    fav.Add(B::Nom, QStringLiteral("Film"));
    auto items = fav.MenuFor(B::Nom, QStringLiteral("Film"));
    EXPECT_TRUE(items.remove);
    EXPECT_FALSE(items.add);
    EXPECT_TRUE(items.removeAll);
    items = fav.MenuFor(B::Nom, QStringLiteral("FILM"));
    EXPECT_TRUE(items.remove);
    EXPECT_TRUE(items.add) << "another spelling may replace the item";
    items = fav.MenuFor(B::Nom, QStringLiteral("Autre"));
    EXPECT_FALSE(items.remove);
    EXPECT_TRUE(items.add);
}

TEST_F(EditorFavouritesTest, FoldersMustBeUsableAndAFullListRefuses)
{
    EditorFavourites fav;
    using B = EditorFavourites::Box;
    const QString folder = root + QStringLiteral("new/films");
    EXPECT_EQ(fav.Add(B::Dossier, folder), EditorFavourites::AddResult::Added);
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(fav.List(B::Dossier).Entries(), QStringList{folder + QLatin1Char('/')});
    EXPECT_EQ(fav.Add(B::Dossier, QStringLiteral("no/drive")), EditorFavourites::AddResult::Refused);

    editor = std::make_unique<RecordingEditor>(Context());
    for (int i = 0; i < FavouritesList::kMaxEntries; ++i)
        editor->Favourites().Add(B::Commande, QStringLiteral("cmd %1").arg(i));
    presenter.ScriptDefault();
    EXPECT_EQ(editor->AddFavourite(B::Commande, QStringLiteral("one more")),
              EditorFavourites::AddResult::Full);
    EXPECT_EQ(presenter.LastRequest().text, Ls(100));
}

TEST_F(EditorFavouritesTest, ListsRoundTripWithQuotedChannelsAndCapitals)
{
    IniFile config(ConfigPath());
    config.WriteInteger(QStringLiteral("Prog"), QStringLiteral("NbProg"), 2);
    config.WriteString(QStringLiteral("Prog"), QStringLiteral("Prog0"), QStringLiteral("journal"));
    config.WriteString(QStringLiteral("Prog"), QStringLiteral("Prog1"), QString());
    config.WriteString(QStringLiteral("Prog"), QStringLiteral("Prog2"), QStringLiteral("météo"));
    EditorFavourites fav;
    fav.Load(config, true);
    using B = EditorFavourites::Box;
    EXPECT_EQ(fav.List(B::Nom).Entries(), (QStringList{QStringLiteral("Journal"), QStringLiteral("Météo")}));
    EXPECT_EQ(fav.List(B::Chaine).Entries().first(), QStringLiteral("Arte"));

    IniFile out;
    fav.Save(out);
    EXPECT_EQ(out.ReadInteger(QStringLiteral("Prog"), QStringLiteral("NbProg"), 9), 1);
    EXPECT_EQ(out.ReadString(QStringLiteral("Chaines"), QStringLiteral("Chaine1")),
              QStringLiteral("\"France 2\""));
    EXPECT_EQ(out.ReadInteger(QStringLiteral("Fichiers"), QStringLiteral("NbFichiers"), 9), -1);
}

} // namespace
} // namespace quorx::test
