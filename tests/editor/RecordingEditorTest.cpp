#include "EditorFixture.h"

#include "editor/RepetitionKinds.h"
#include "i18n/LocalisedStrings.h"

#include <QFile>

namespace quorx::test {
namespace {

using Status = RecordingEditor::Status;

class RecordingEditorTest : public EditorFixture
{
};

TEST_F(RecordingEditorTest, AValidEntryIsCommittedWithEveryField)
{
    RecordingEditor& ed = OpenNew();
    ed.SetName(QStringLiteral("Le Film"));
    SetTimes(ed, At(4, 23, 30), DateTime::FromTime(0, 30));
    EXPECT_EQ(ed.Draft().endDate, At(5, 0, 0));
    EXPECT_EQ(ed.Draft().durationSeconds, 3600);
    ed.SetFolder(root + QStringLiteral("films"));
    ed.SetFormat(RecordingFormat::Pva);
    ed.SetCommand(QStringLiteral("  convert [file]  "));
    ed.SetCommandCheck(true);
    ed.SetPowerAction(AfterRecordingBox::Veille, true);

    const auto result = ed.Validate(false);
    ASSERT_EQ(result.status, Status::Committed)
        << (result.failure ? result.failure->message.toStdString() : "");
    ed.Close(10, 20);
    ASSERT_EQ(table.Count(), 1);
    const TEmission& e = table[1];
    EXPECT_EQ(e.Programme, QStringLiteral("Le Film"));
    EXPECT_EQ(e.Chaine, QStringLiteral("Arte"));
    EXPECT_EQ(e.DateDebut, At(4, 0, 0));
    EXPECT_EQ(e.HeureDebut, DateTime::FromTime(23, 30));
    EXPECT_EQ(e.DateFin, At(5, 0, 0));
    EXPECT_EQ(e.HeureFin, DateTime::FromTime(0, 30));
    EXPECT_EQ(e.Fichier, root + QStringLiteral("films/Le Film.Pva"));
    EXPECT_TRUE(QDir(root + QStringLiteral("films")).exists()) << "the folder is created";
    EXPECT_EQ(e.Commande, QStringLiteral("convert [file]"));
    EXPECT_TRUE(e.Fermer && e.Veille && !e.VeillePro && !e.Eteindre);
    EXPECT_TRUE(e.Actif && e.Selected && !e.EPG && !e.Erreur);
    EXPECT_EQ(e.Repetition, 0);
    EXPECT_TRUE(ed.Validated());
    EXPECT_EQ(presenter.Unexpected(), 0);

    // What the editor remembers for the next time.
    const IniFile config(ConfigPath());
    EXPECT_EQ(config.ReadString(QStringLiteral("Saisie"), QStringLiteral("Chaine")),
              QStringLiteral("\"Arte\""));
    EXPECT_EQ(config.ReadString(QStringLiteral("Saisie"), QStringLiteral("DernierDossier")),
              root + QStringLiteral("films/"));
    EXPECT_EQ(config.ReadString(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelName0")),
              QStringLiteral("\"Arte\""));
    EXPECT_EQ(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("XSaisie")), 10);
    EXPECT_EQ(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("YSaisie")), 20);
    EXPECT_TRUE(config.HasKey(QStringLiteral("Saisie"), QStringLiteral("Retenir")));
}

TEST_F(RecordingEditorTest, ChecksRefuseInTheirOrderWithMessageAndTab)
{
    struct Case
    {
        const char* what;
        std::function<void(RecordingEditor&)> change;
        QString message;
        EditorTab tab;
        QString control;
    };
    const DateTime tonight = At(4, 20, 0);
    const Case cases[] = {
        {"folder", [&](RecordingEditor& ed) { ed.SetFolder(root + QStringLiteral("a*b")); }, Ls(112),
         EditorTab::File, QStringLiteral("CDossier")},
        {"file name",
         [&](RecordingEditor& ed) {
             ed.SetFileName(QStringLiteral("a:b"));
             ed.SetChannel(QString()); // a later fault does not hide an earlier one
         },
         Ls(113), EditorTab::File, QStringLiteral("CFichier")},
        {"ends in 30 s",
         [&](RecordingEditor& ed) {
             SetTimes(ed, At(4, 11, 0), DateTime::FromTime(12, 0));
             fake.clock.Advance(59 * 60 * 1000 + 30 * 1000);
         },
         Ls(65), EditorTab::ChannelAndTimes, QStringLiteral("CHeureFin")},
        {"ends in 22 days",
         [&](RecordingEditor& ed) { SetTimes(ed, At(26, 20, 0), DateTime::FromTime(21, 0)); }, Ls(145),
         EditorTab::ChannelAndTimes, QStringLiteral("CDateDebut")},
        {"no channel", [&](RecordingEditor& ed) { ed.SetChannel(QStringLiteral("  ")); }, Ls(104),
         EditorTab::ChannelAndTimes, QStringLiteral("CChaine")},
        {"equal times", [&](RecordingEditor& ed) { SetTimes(ed, tonight, DateTime::FromTime(20, 0)); },
         Ls(116), EditorTab::ChannelAndTimes, QStringLiteral("CDuree")},
        {"two minutes", [&](RecordingEditor& ed) { SetTimes(ed, tonight, DateTime::FromTime(20, 2)); },
         Ls(116), EditorTab::ChannelAndTimes, QStringLiteral("CDuree")},
    };
    for (const Case& c : cases) {
        table.Clear();
        RecordingEditor& ed = OpenNew();
        SetTimes(ed, tonight, DateTime::FromTime(21, 0));
        c.change(ed);
        presenter.ScriptDefault();
        const auto result = ed.Validate(false);
        ASSERT_EQ(result.status, Status::Refused) << c.what;
        ASSERT_TRUE(result.failure) << c.what;
        EXPECT_EQ(result.failure->message, c.message) << c.what;
        EXPECT_EQ(result.failure->tab, c.tab) << c.what;
        EXPECT_EQ(result.failure->control, c.control) << c.what;
        EXPECT_EQ(presenter.LastRequest().text, c.message) << c.what;
        EXPECT_EQ(presenter.LastRequest().kind, QuestionKind::Inform) << c.what;
        EXPECT_FALSE(ed.Validated()) << c.what;
        ed.Close(0, 0);
        EXPECT_EQ(table.Count(), 0) << c.what << ": the refused new entry is withdrawn on closing";
    }
}

TEST_F(RecordingEditorTest, ThreeMinutesAndThreeWeeksAreAccepted)
{
    RecordingEditor& ed = OpenNew();
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(20, 3));
    EXPECT_EQ(ed.Validate(false).status, Status::Committed);

    table.Clear();
    RecordingEditor& later = OpenNew();
    SetTimes(later, At(25, 11, 0), DateTime::FromTime(12, 0)); // 21 days from now exactly
    EXPECT_EQ(later.Validate(false).status, Status::Committed);
}

TEST_F(RecordingEditorTest, DaysChooseTheKindAndPersonaliseAsksToMakeItOneOff)
{
    RecordingEditor& ed = OpenNew();
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(21, 0));
    for (int day = 1; day <= 5; ++day)
        ed.SetDay(day, true);
    EXPECT_EQ(ed.Draft().kind, 4);
    ed.SetDay(6, true);
    EXPECT_EQ(ed.Draft().kind, 3);
    for (int day = 1; day <= 6; ++day)
        ed.SetDay(day, false);
    EXPECT_EQ(ed.Draft().kind, RepetitionKinds::kSans);

    ed.ChooseKind(RepetitionKinds::kEveryDay);
    EXPECT_EQ(ed.Draft().days, 0x7F);
    ed.ChooseKind(RepetitionKinds::kPersonnalise);
    EXPECT_EQ(ed.Draft().days, 0);

    presenter.ScriptNo();
    auto result = ed.Validate(false);
    EXPECT_EQ(result.status, Status::Refused);
    ASSERT_TRUE(result.failure);
    EXPECT_TRUE(result.failure->message.isEmpty());
    EXPECT_EQ(result.failure->tab, EditorTab::ChannelAndTimes);
    EXPECT_EQ(presenter.LastRequest().text, QuestionTable::Text(QuestionId::RepeatWithoutDays));
    EXPECT_EQ(ed.Draft().kind, RepetitionKinds::kPersonnalise);

    presenter.ScriptYes();
    result = ed.Validate(false);
    EXPECT_EQ(result.status, Status::Committed);
    EXPECT_EQ(table[1].Repetition, 0);
    EXPECT_EQ(ed.Draft().kind, RepetitionKinds::kSans);
}

TEST_F(RecordingEditorTest, AnEntryMadeOneOffByTheQuestionStillMeetsTheOneOffChecks)
{
    RecordingEditor& ed = OpenNew();
    ed.ChooseKind(RepetitionKinds::kPersonnalise);
    SetTimes(ed, At(4, 9, 0), DateTime::FromTime(10, 0)); // over this morning
    presenter.ScriptYes();
    presenter.ScriptDefault();
    const auto result = ed.Validate(false);
    ASSERT_EQ(result.status, Status::Refused);
    EXPECT_EQ(result.failure->message, Ls(65));
}

TEST_F(RecordingEditorTest, RepeatingEntryKeepsDaysAndRepetitionEnd)
{
    RecordingEditor& ed = OpenNew();
    ed.ChooseKind(6);                                     // "Chaque samedi et dimanche"
    SetTimes(ed, At(4, 9, 0), DateTime::FromTime(10, 0)); // a past start does not matter when repeating
    ed.SetRepetitionEnd(At(31, 0, 0));
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    EXPECT_EQ(table[1].Repetition, Samedi | Dimanche);
    EXPECT_EQ(table[1].RepetitionFin, At(31, 0, 0));
}

TEST_F(RecordingEditorTest, ChannelTakesTheListSpellingOnLeaving)
{
    RecordingEditor& ed = OpenNew();
    ed.SetChannel(QStringLiteral("france 2"));
    ed.LeaveChannel();
    EXPECT_EQ(ed.Draft().channel, QStringLiteral("France 2"));
    ed.SetChannel(QStringLiteral("ARTE"));
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(21, 0));
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    EXPECT_EQ(table[1].Chaine, QStringLiteral("Arte"));
}

TEST_F(RecordingEditorTest, ValidateAndNewKeepsTheValuesOnARefusedCheck)
{
    RecordingEditor& ed = OpenNew();
    ed.SetName(QStringLiteral("Documentaire"));
    ed.SetChannel(QStringLiteral("TF1"));
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(20, 1));
    presenter.ScriptDefault();
    EXPECT_EQ(ed.Validate(true).status, Status::Refused);
    EXPECT_EQ(ed.Draft().name, QStringLiteral("Documentaire"));
    EXPECT_EQ(ed.Draft().channel, QStringLiteral("TF1"));
    EXPECT_EQ(ed.Draft().endTime, DateTime::FromTime(20, 1));
    EXPECT_EQ(table.Count(), 1);

    ed.SetEndTime(DateTime::FromTime(21, 0));
    ed.ChooseKind(7);
    ASSERT_EQ(ed.Validate(true).status, Status::CommittedNew);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Documentaire"));
    EXPECT_EQ(table[1].Repetition, Lundi);
    EXPECT_TRUE(ed.IsNewMode());
    EXPECT_EQ(ed.RecordIndex(), 2);
    EXPECT_TRUE(ed.Draft().name.isEmpty());
    EXPECT_EQ(ed.Draft().kind, RepetitionKinds::kSans);
    EXPECT_EQ(table[2].Chaine, QStringLiteral("TF1")) << "the new entry takes the last channel";

    // Closed without validating the second one: it leaves the list, the first stays.
    ed.Cancel();
    ed.Close(0, 0);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Documentaire"));
    EXPECT_TRUE(ed.Validated());
    EXPECT_FALSE(ed.LastCommitted());
}

TEST_F(RecordingEditorTest, ValidateAndNewStopsAtAFullList)
{
    for (int i = 1; i < ScheduleTable::kMaxRecordings; ++i)
        AddRecording(QStringLiteral("R%1").arg(i), QStringLiteral("TF1"), At(10, 1, 0), At(10, 1, 30));
    RecordingEditor& ed = OpenNew();
    EXPECT_FALSE(ed.CanValidateAndNew());
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(21, 0));
    presenter.ScriptDefault();
    EXPECT_EQ(ed.Validate(true).status, Status::ListFull);
    EXPECT_EQ(presenter.LastRequest().text, ScheduleTable::FullListMessage());
    EXPECT_EQ(table.Count(), ScheduleTable::kMaxRecordings);
}

TEST_F(RecordingEditorTest, CancellingAnExistingEntryChangesNothing)
{
    const int index =
        AddRecording(QStringLiteral("Film"), QStringLiteral("Arte"), At(5, 20, 0), At(5, 22, 0));
    const TEmission before = table[index];
    RecordingEditor& ed = OpenExisting(index);
    EXPECT_EQ(ed.Draft().name, QStringLiteral("Film"));
    EXPECT_EQ(ed.Draft().durationSeconds, 7200);
    ed.SetName(QStringLiteral("Autre"));
    ed.SetEndTime(DateTime::FromTime(23, 0));
    ed.Cancel();
    ed.Close(0, 0);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, before.Programme);
    EXPECT_EQ(table[1].HeureFin, before.HeureFin);
    EXPECT_FALSE(ed.Validated());
}

TEST_F(RecordingEditorTest, ARecordingUnderWayOnlyChangesItsTimes)
{
    const int index =
        AddRecording(QStringLiteral("Direct"), QStringLiteral("Arte"), At(4, 11, 0), At(4, 13, 0));
    table[index].Etat = 1;
    table[index].DateStop = At(4, 0, 0);
    RecordingEditor& ed = OpenExisting(index);
    ed.SetStartDate(At(6, 0, 0));
    ed.SetEndTime(DateTime::FromTime(13, 30));
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    EXPECT_EQ(table[1].DateDebut, At(4, 0, 0)) << "the date of a recording under way stays";
    EXPECT_EQ(table[1].HeureFin, DateTime::FromTime(13, 30));
    EXPECT_EQ(table[1].Etat, 1);
}

TEST_F(RecordingEditorTest, LoadingAnEntryFillsTheFileAndEndTabs)
{
    QDir().mkpath(root + QStringLiteral("films"));
    const int index =
        AddRecording(QStringLiteral("Film"), QStringLiteral("Arte"), At(5, 20, 0), At(5, 22, 0));
    TEmission& e = table[index];
    e.Fichier = root + QStringLiteral("films/film du soir.mpa");
    e.Commande = QStringLiteral("notify");
    e.Fermer = false;
    e.Eteindre = true;
    e.AjouterHeure = true;
    RecordingEditor& ed = OpenExisting(index);
    const RecordingDraft& d = ed.Draft();
    EXPECT_EQ(d.format, RecordingFormat::Mpa);
    EXPECT_EQ(d.folder, root + QStringLiteral("films/"));
    EXPECT_EQ(d.fileName, QStringLiteral("film du soir"));
    EXPECT_TRUE(d.nomAuto) << "the file name starts with the name";
    EXPECT_TRUE(d.commandCheck);
    EXPECT_TRUE(d.fermer && d.eteindre);
    EXPECT_TRUE(d.addHeure && !d.addDate && !d.addChaine);
    EXPECT_EQ(ed.EndSummary(), QStringLiteral("Fermer et éteindre"));
}

TEST_F(RecordingEditorTest, AFolderOnAMissingDriveMovesToTheProgramDrive)
{
    // The recording folder was on a drive that is gone; the same path on the program's drive exists.
    QDir().mkpath(root + QStringLiteral("films"));
    fake.disks.SetSpace(QStringLiteral("/media/usb"), 10, 10);
    const int index =
        AddRecording(QStringLiteral("Film"), QStringLiteral("Arte"), At(5, 20, 0), At(5, 22, 0));
    table[index].Fichier = QStringLiteral("/media/usb/films/Film.Mpg");
    RecordingEditor& ed = OpenExisting(index);
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("films/"));

    // Neither exists: the last folder used, else the drive root.
    table[index].Fichier = QStringLiteral("/media/usb/nowhere/Film.Mpg");
    RecordingEditor& again = OpenExisting(index);
    EXPECT_EQ(again.Draft().folder, root);
}

TEST_F(RecordingEditorTest, NewModeMovesAnEndedBroadcastToTomorrow)
{
    RecordingEditor& ed = OpenNew();
    ed.SetEndTime(DateTime::FromTime(11, 30));
    ed.SetStartTime(DateTime::FromTime(11, 0));
    EXPECT_EQ(ed.Draft().startDate, At(5, 0, 0));
    EXPECT_EQ(ed.Draft().endDate, At(5, 0, 0));

    // Editing an existing entry leaves its date alone.
    const int index =
        AddRecording(QStringLiteral("Film"), QStringLiteral("Arte"), At(4, 20, 0), At(4, 22, 0));
    RecordingEditor& existing = OpenExisting(index);
    existing.SetEndTime(DateTime::FromTime(11, 30));
    existing.SetStartTime(DateTime::FromTime(11, 0));
    EXPECT_EQ(existing.Draft().startDate, At(4, 0, 0));
}

TEST_F(RecordingEditorTest, QuickButtonsAndKeypadRunTheTimeRules)
{
    RecordingEditor& ed = OpenNew();
    fake.clock.Advance(90 * 1000);
    ed.StartNow();
    EXPECT_EQ(ed.Draft().startTime, DateTime::FromTime(12, 1));
    ed.StartTomorrow();
    ed.MoveStartDays(1);
    ed.MoveStartDays(-1);
    EXPECT_EQ(ed.Draft().startDate, At(5, 0, 0));
    ed.StartToday();

    ed.KeypadPress(RecordingEditor::TimeField::Start, TimeKeypad::Button::Hour, 23, true);
    ed.KeypadPress(RecordingEditor::TimeField::Start, TimeKeypad::Button::Minute, 30, false);
    ed.KeypadPress(RecordingEditor::TimeField::End, TimeKeypad::Button::Midnight, 0, false);
    ed.KeypadPress(RecordingEditor::TimeField::End, TimeKeypad::Button::Minute, 30, false);
    EXPECT_EQ(ed.Draft().End(), At(5, 0, 30));
    EXPECT_EQ(ed.Draft().durationSeconds, 3600);
    ed.KeypadPress(RecordingEditor::TimeField::Duration, TimeKeypad::Button::Hour, 2, false);
    EXPECT_EQ(ed.Draft().End(), At(5, 1, 30));
}

TEST_F(RecordingEditorTest, ChannelDefaultsFillTheFileAndEndTabsAndAreWrittenBack)
{
    ChannelPreferences tf1;
    tf1.Folder = root + QStringLiteral("tf1");
    tf1.Format = QStringLiteral(".Pva");
    tf1.Date = false;
    tf1.Command = QStringLiteral("notify");
    tf1.CommandCheck = true;
    tf1.VeillePro = true;
    ASSERT_TRUE(Store().WriteOwn(PreferenceProfile::OneOff, QStringLiteral("TF1"), tf1));
    ChannelPreferences repeating;
    repeating.Folder = root + QStringLiteral("series/");
    repeating.Fermer = false;
    ASSERT_TRUE(Store().WriteDefault(PreferenceProfile::Repeating, repeating));

    RecordingEditor& ed = OpenNew();
    ed.SetChannel(QStringLiteral("TF1"));
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("tf1"));
    EXPECT_EQ(ed.Draft().format, RecordingFormat::Pva);
    EXPECT_FALSE(ed.Draft().addDate);
    EXPECT_TRUE(ed.Draft().commandCheck);
    EXPECT_EQ(ed.Draft().PowerAction(), AfterRecordingBox::VeillePro);

    // A channel without its own: the general values, here none at all for one-off entries.
    ed.SetChannel(QStringLiteral("France 2"));
    EXPECT_EQ(ed.Draft().format, RecordingFormat::Mpg);
    EXPECT_EQ(ed.Draft().PowerAction(), AfterRecordingBox::None);

    // A repeating kind takes the repeating profile, until tab 2 or 3 has been shown.
    ed.ChooseKind(RepetitionKinds::kEveryDay);
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("series/"));
    EXPECT_FALSE(ed.Draft().fermer);
    ed.TabShown(int(EditorTab::File));
    ed.SetFolder(root + QStringLiteral("mine/"));
    ed.ChooseKind(RepetitionKinds::kSans);
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("mine/"));

    // Validation writes the general defaults (none existed) and the channel's own.
    ed.SetApplyToAll(false);
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(21, 0));
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    const ChannelPreferenceStore store = Store();
    EXPECT_TRUE(store.HasDefault(PreferenceProfile::OneOff));
    EXPECT_TRUE(store.HasOwn(PreferenceProfile::OneOff, QStringLiteral("France 2")));
    EXPECT_EQ(store.ReadShown(PreferenceProfile::OneOff, QStringLiteral("France 2")).Folder,
              root + QStringLiteral("mine/"));
    EXPECT_EQ(store.ReadShown(PreferenceProfile::OneOff, QStringLiteral("TF1")).Folder,
              root + QStringLiteral("tf1"))
        << "a channel's own values are not overwritten";
}

TEST_F(RecordingEditorTest, AnExistingFileOfOnesOwnNameIsOfferedForOverwriting)
{
    RecordingEditor& ed = OpenNew();
    ed.SetFolder(root);
    ed.SetFileName(QStringLiteral("taken"));
    EXPECT_FALSE(ed.Draft().nomAuto);
    QFile f(root + QStringLiteral("taken.Mpg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    presenter.ScriptYes();
    ed.CheckFolder();
    EXPECT_EQ(ed.Draft().fileName, QStringLiteral("taken"));
    presenter.ScriptNo();
    ed.CheckFolder();
    EXPECT_TRUE(ed.Draft().fileName.startsWith(QStringLiteral("Enreg_")));
    EXPECT_EQ(presenter.LastRequest().number, 9);
}

TEST_F(RecordingEditorTest, ShowingAsksAboutChannelsAndDefaults)
{
    WriteChannels({});
    RecordingEditor& ed = OpenNew();
    presenter.ScriptDefault(); // notice 149
    presenter.ScriptYes();     // 103: import channels
    presenter.ScriptYes();     // 151: define the defaults
    const auto requests = ed.AskAtShow();
    EXPECT_TRUE(requests.openChannelImport);
    EXPECT_TRUE(requests.openPreferences);
    EXPECT_FALSE(requests.repeatingPreferences);
    ASSERT_EQ(presenter.Requests().size(), 3);
    EXPECT_EQ(presenter.Requests()[0].number, 149);
    EXPECT_EQ(presenter.Requests()[1].number, 103);
    EXPECT_EQ(presenter.Requests()[2].number, 151);

    // With channels and defaults, only the notice.
    WriteChannels({QStringLiteral("Arte")});
    ASSERT_TRUE(Store().WriteDefault(PreferenceProfile::OneOff, ChannelPreferences{}));
    RecordingEditor& again = OpenNew();
    presenter.ScriptDefault();
    const auto none = again.AskAtShow();
    EXPECT_FALSE(none.openChannelImport || none.openPreferences);
    EXPECT_EQ(presenter.Requests().size(), 4);
}

TEST_F(RecordingEditorTest, BrowsedFolderAndChosenProgram)
{
    RecordingEditor& ed = OpenNew();
    ed.BrowsedFolder(root + QStringLiteral("chosen"));
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("chosen/"));
    // An unusable choice keeps the folder there was.
    ed.BrowsedFolder(QStringLiteral("/proc/cannot/be/made"));
    EXPECT_EQ(ed.Draft().folder, root + QStringLiteral("chosen/"));
    // Neither usable: the program's own folder.
    ed.SetFolder(QStringLiteral("/proc/neither"));
    ed.BrowsedFolder(QStringLiteral("/proc/cannot/be/made"));
    EXPECT_EQ(ed.Draft().folder, dir.path() + QLatin1Char('/'));
    // The dialog cancelled: nothing changes.
    ed.BrowsedFolder(QString());
    EXPECT_EQ(ed.Draft().folder, dir.path() + QLatin1Char('/'));

    ASSERT_FALSE(ed.Draft().commandCheck);
    ed.ChosenProgram(QStringLiteral("/usr/bin/convert"));
    EXPECT_EQ(ed.Draft().commande, QStringLiteral("/usr/bin/convert"));
    EXPECT_TRUE(ed.Draft().commandCheck);
}

TEST_F(RecordingEditorTest, CreationTakesTheRememberedChannelAndNameChoice)
{
    IniFile config(ConfigPath());
    config.WriteString(QStringLiteral("Saisie"), QStringLiteral("Chaine"), QStringLiteral("\"TF1\""));
    config.WriteBool(QStringLiteral("Saisie"), QStringLiteral("NomAuto"), false);
    config.WriteBool(QStringLiteral("Saisie"), QStringLiteral("Retenir"), false);
    ASSERT_TRUE(config.Save());
    RecordingEditor ed(Context());
    EXPECT_EQ(ed.Draft().channel, QStringLiteral("TF1"));
    EXPECT_FALSE(ed.Draft().nomAuto);
    EXPECT_FALSE(ed.Draft().applyToAll);
    EXPECT_EQ(ed.Draft().Start(), At(4, 12, 0));
    EXPECT_EQ(ed.Draft().End(), At(4, 14, 0));
}

TEST_F(RecordingEditorTest, CapitalsAndAutomaticFavouritesAtValidation)
{
    settings.Majuscules = true;
    settings.AutoFavorites = true;
    RecordingEditor& ed = OpenNew();
    ed.SetName(QStringLiteral("  le journal "));
    ed.SetChannel(QStringLiteral("m6"));
    SetTimes(ed, At(4, 20, 0), DateTime::FromTime(21, 0));
    ASSERT_EQ(ed.Validate(false).status, Status::Committed);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Le journal"));
    EXPECT_EQ(table[1].Chaine, QStringLiteral("M6"));
    EXPECT_TRUE(ed.Favourites().List(EditorFavourites::Box::Nom).Contains(QStringLiteral("le journal")));
    EXPECT_TRUE(ed.Channels().contains(QStringLiteral("m6"), Qt::CaseInsensitive));
    ed.Close(0, 0);
    const IniFile config(ConfigPath());
    EXPECT_EQ(config.ReadInteger(QStringLiteral("Prog"), QStringLiteral("NbProg"), -1), 0);
    EXPECT_EQ(config.ReadInteger(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"), -1), 0);
}

} // namespace
} // namespace quorx::test
