#include "power/Questions.h"
#include "common/IniFile.h"
#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"
#include "power/QuestionTable.h"
#include "power/ScriptedQuestionPresenter.h"
#include "power/UnattendedQuestionPresenter.h"
#include "schedule/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace quorx;

namespace {

class QuestionsTest : public ::testing::Test
{
protected:
    QuestionsTest() : m_path(m_dir.filePath(QStringLiteral("Config.Ini"))) {}

    Questions Make(QuestionPresenter& presenter) { return Questions(presenter, m_settings, m_view, m_path); }

    IniFile Stored() const { return IniFile(m_path); }
    QString Dialog(const QString& key) const
    {
        return Stored().ReadString(QStringLiteral("Dialog"), key, QStringLiteral("<missing>"));
    }
    void Store(const QString& key, const QString& value)
    {
        IniFile ini(m_path);
        ini.WriteString(QStringLiteral("Dialog"), key, value);
        ASSERT_TRUE(ini.Save());
    }

    QTemporaryDir m_dir;
    QString m_path;
    Settings m_settings;
    FakePlatform m_fake{DateTime::FromFields(2026, 3, 2, 12, 0)};
    Platform m_view = m_fake.View();
    ScriptedQuestionPresenter m_scripted;
};

TEST_F(QuestionsTest, AnswerBecomesTheDefaultOfTheNextAskingAndIsStored)
{
    Questions q = Make(m_scripted);
    m_scripted.ScriptNo();
    m_scripted.ScriptDefault();

    EXPECT_FALSE(q.Ask(QuestionId::ImportLists));
    EXPECT_TRUE(m_scripted.Requests()[0].defaultYes); // the caller's default the first time
    EXPECT_EQ(Dialog(QStringLiteral("114")), QStringLiteral("0"));
    EXPECT_EQ(Dialog(QStringLiteral("AskAgain114")), QStringLiteral("1"));

    // Left alone, the next question 114 takes "&Non", the stored answer, although its caller says yes.
    EXPECT_FALSE(q.Ask(QuestionId::ImportLists));
    EXPECT_FALSE(m_scripted.LastRequest().defaultYes);
    EXPECT_EQ(m_scripted.LastRequest().DefaultButton(), QuestionButton::Non);
    EXPECT_EQ(m_scripted.Unexpected(), 0);
}

TEST_F(QuestionsTest, TickedBoxAnswersEveryLaterAskingWithoutShowingIt)
{
    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer);
        QFile::remove(m_path);
        ScriptedQuestionPresenter presenter;
        Questions q = Make(presenter);
        presenter.Script(
            answer ? ScriptedQuestionPresenter::Press::Yes : ScriptedQuestionPresenter::Press::No, true);

        const QuestionOutcome first = q.Put(QuestionId::DeleteProgrammes, {3, {}});
        EXPECT_TRUE(first.shown);
        EXPECT_EQ(first.yes, answer);
        EXPECT_EQ(Dialog(QStringLiteral("AskAgain4")), QStringLiteral("0"));

        for (int i = 0; i < 3; ++i) {
            const QuestionOutcome later = q.Put(QuestionId::DeleteProgrammes);
            EXPECT_FALSE(later.shown);
            EXPECT_EQ(later.yes, answer);
        }
        EXPECT_EQ(presenter.Requests().size(), 1);
        // Cutting asks under its own number, so it is still asked.
        EXPECT_TRUE(q.Put(QuestionId::CutProgrammes).shown);
    }
}

TEST_F(QuestionsTest, SilentModeReturnsTheCallersDefaultAndTouchesNothing)
{
    Store(QStringLiteral("114"), QStringLiteral("0"));
    Store(QStringLiteral("AskAgain114"), QStringLiteral("0"));
    Store(QStringLiteral("5"), QStringLiteral("1"));
    const QByteArray before = Stored().ToBytes();
    Questions q = Make(m_scripted);
    {
        SilentQuestions silent;
        {
            SilentQuestions nested;
        }
        EXPECT_TRUE(Questions::IsSilent());
        EXPECT_EQ(q.Put(QuestionId::ImportLists).yes, true);           // not the stored no
        EXPECT_EQ(q.Put(QuestionId::CloseViewerAfterStop).yes, false); // not the stored yes
        EXPECT_EQ(q.Put(QuestionId::DefineDefaults).yes, true);        // the default, not the fallback
        EXPECT_FALSE(q.Put(QuestionId::StopRecordingToQuit).shown);
    }
    EXPECT_FALSE(Questions::IsSilent());
    EXPECT_TRUE(m_scripted.Requests().isEmpty());
    EXPECT_TRUE(m_fake.sound.Beeps().isEmpty());
    EXPECT_EQ(Stored().ToBytes(), before);

    m_scripted.ScriptDefault();
    EXPECT_TRUE(q.Put(QuestionId::StopRecordingToQuit).shown);
}

TEST_F(QuestionsTest, FallbackAnswersOnceSilencedWhateverWasAnsweredLast)
{
    Questions q = Make(m_scripted);
    m_scripted.ScriptYes(true);
    EXPECT_TRUE(q.Ask(QuestionId::DefineDefaults));
    EXPECT_EQ(Dialog(QStringLiteral("151")), QStringLiteral("1"));

    const QuestionOutcome later = q.Put(QuestionId::DefineDefaults);
    EXPECT_FALSE(later.shown);
    EXPECT_FALSE(later.yes); // the fallback, not the stored yes
    EXPECT_TRUE(q.AskWithFallback(Ls(151), true, true, 151, true));
    EXPECT_EQ(m_scripted.Requests().size(), 1);
}

TEST_F(QuestionsTest, FallbackWithStoredNoPutsNonFirstAndEscapeOnOui)
{
    Store(QStringLiteral("151"), QStringLiteral("0"));
    Questions q = Make(m_scripted);
    m_scripted.ScriptDefault();
    EXPECT_FALSE(q.Ask(QuestionId::DefineDefaults));
    const QuestionRequest& r = m_scripted.LastRequest();
    EXPECT_EQ(r.kind, QuestionKind::AskWithFallback);
    EXPECT_EQ(r.DefaultButton(), QuestionButton::Non);
    EXPECT_EQ(r.cancelButton, QuestionButton::Oui);
    EXPECT_EQ(r.firstInTabOrder, QuestionButton::Non);
}

TEST_F(QuestionsTest, NoticeBoxStopsTheNoticeAndStoresNoAnswer)
{
    Questions q = Make(m_scripted);
    m_scripted.ScriptDefault(true);
    q.Inform(QuestionId::ChannelListNotice);

    ASSERT_EQ(m_scripted.Requests().size(), 1);
    const QuestionRequest& r = m_scripted.LastRequest();
    EXPECT_EQ(r.kind, QuestionKind::Inform);
    EXPECT_EQ(r.text, Ls(149) + Ls(206));
    EXPECT_EQ(r.tickIntervalMs, 600); // 60 seconds
    EXPECT_EQ(r.yesCaption, QStringLiteral("&OK"));
    EXPECT_EQ(r.boxCaption, QStringLiteral("&Ne plus afficher cet avertissement"));
    EXPECT_FALSE(r.showNo);
    EXPECT_EQ(r.picture, QuestionPicture::Exclamation);
    EXPECT_EQ(Dialog(QStringLiteral("AskAgain149")), QStringLiteral("0"));
    EXPECT_EQ(Dialog(QStringLiteral("149")), QStringLiteral("<missing>"));

    EXPECT_FALSE(q.Put(QuestionId::ChannelListNotice).shown);
    // Silent mode is for questions; a notice that was not silenced is still shown.
    SilentQuestions silent;
    m_scripted.ScriptDefault();
    EXPECT_TRUE(q.Put(QuestionId::NoChannelNotice).shown);
    EXPECT_EQ(m_scripted.LastRequest().tickIntervalMs, 300);
}

TEST_F(QuestionsTest, SharedNumbersShareTheAnswerAndTheBox)
{
    Questions q = Make(m_scripted);
    // 200: the journal file answered no makes "&Non" the default of the dial-up question.
    m_scripted.ScriptNo();
    m_scripted.ScriptDefault();
    q.Ask(QuestionId::DeleteJournalFile);
    EXPECT_FALSE(q.Ask(QuestionId::DialUpConnect));
    EXPECT_FALSE(m_scripted.LastRequest().defaultYes);
    EXPECT_EQ(m_scripted.LastRequest().text, QStringLiteral("Voulez-vous vous connecter ?"));

    // 201: silencing the hang-up question with yes silences the journal deletion with yes as well.
    m_scripted.ScriptYes(true);
    EXPECT_TRUE(q.Ask(QuestionId::DialUpDisconnect));
    const QuestionOutcome clear = q.Put(QuestionId::ClearJournal);
    EXPECT_FALSE(clear.shown);
    EXPECT_TRUE(clear.yes);
    EXPECT_EQ(m_scripted.Requests().size(), 3);
}

TEST_F(QuestionsTest, NumberZeroReadsAndWritesNothingAndOffersNoBox)
{
    Questions q = Make(m_scripted);
    m_scripted.ScriptNo(true);
    m_scripted.ScriptYes(true);
    EXPECT_FALSE(q.Ask(Ls(61), false, true, 0));
    EXPECT_TRUE(q.Ask(Ls(61), false, true, 0));
    EXPECT_FALSE(m_scripted.Requests()[0].offerBox);
    EXPECT_FALSE(m_scripted.Requests()[1].defaultYes);
    EXPECT_FALSE(QFile::exists(m_path));
}

TEST_F(QuestionsTest, SilencedMarkIsIgnoredWhenTheQuestionOffersNoBox)
{
    Store(QStringLiteral("AskAgain9"), QStringLiteral("0"));
    Store(QStringLiteral("9"), QStringLiteral("1"));
    Questions q = Make(m_scripted);
    m_scripted.ScriptNo();
    const QuestionOutcome o = q.Put(QuestionId::OverwriteFile);
    EXPECT_TRUE(o.shown);
    EXPECT_TRUE(m_scripted.LastRequest().defaultYes);
    EXPECT_FALSE(m_scripted.LastRequest().offerBox);
    EXPECT_EQ(Dialog(QStringLiteral("9")), QStringLiteral("0"));
    EXPECT_EQ(Dialog(QStringLiteral("AskAgain9")), QStringLiteral("0")); // untouched
}

TEST_F(QuestionsTest, DamagedValuesReadAsDefaults)
{
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Dialog]\n114=oui\nAskAgain114=\n[Config\ngarbage line\n");
    file.close();
    Questions q = Make(m_scripted);
    m_scripted.ScriptDefault();
    EXPECT_TRUE(q.Put(QuestionId::ImportLists).shown);
    EXPECT_TRUE(m_scripted.LastRequest().defaultYes);
    EXPECT_TRUE(q.LastError().isEmpty());
    EXPECT_EQ(Dialog(QStringLiteral("114")), QStringLiteral("1"));
}

// Writes to Config.Ini while the question is on the screen, as a nested question or a window
// closing meanwhile would.
class MeddlingPresenter final : public QuestionPresenter
{
public:
    std::function<void()> during;
    QuestionReply Present(const QuestionRequest&) override
    {
        during();
        return {true, false};
    }
};

TEST_F(QuestionsTest, WhatOthersWroteDuringTheQuestionIsKept)
{
    IniFile seed(m_path);
    seed.WriteString(QStringLiteral("Config"), QStringLiteral("NomInstance"), QStringLiteral("Salon"));
    ASSERT_TRUE(seed.Save());

    MeddlingPresenter presenter;
    presenter.during = [&] {
        IniFile ini(m_path);
        ini.WriteBool(QStringLiteral("Dialog"), QStringLiteral("AskAgain8"), false);
        ini.WriteInteger(QStringLiteral("Config"), QStringLiteral("TailleFonte"), 10);
        ASSERT_TRUE(ini.Save());
    };
    Questions q = Make(presenter);
    EXPECT_TRUE(q.Ask(QuestionId::ImportChannels));

    const IniFile after = Stored();
    EXPECT_EQ(after.ReadString(QStringLiteral("Config"), QStringLiteral("NomInstance")),
              QStringLiteral("Salon"));
    EXPECT_EQ(after.ReadInteger(QStringLiteral("Config"), QStringLiteral("TailleFonte")), 10);
    EXPECT_FALSE(after.ReadBool(QStringLiteral("Dialog"), QStringLiteral("AskAgain8"), true));
    EXPECT_TRUE(after.ReadBool(QStringLiteral("Dialog"), QStringLiteral("103"), false));
}

TEST_F(QuestionsTest, UnreadableConfigIsReportedAndLeftAlone)
{
    // A folder where the file should be: it exists but cannot be read as a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Config.Ini")));
    Questions q = Make(m_scripted);
    m_scripted.ScriptYes();
    EXPECT_TRUE(q.Ask(QuestionId::PasteSameName));
    EXPECT_FALSE(q.LastError().isEmpty());
    EXPECT_TRUE(QFileInfo(m_path).isDir());

    QDir(m_path).removeRecursively();
    m_scripted.ScriptNo();
    EXPECT_FALSE(q.Ask(QuestionId::PasteSameName));
    EXPECT_TRUE(q.LastError().isEmpty());
    EXPECT_EQ(Dialog(QStringLiteral("8")), QStringLiteral("0"));
}

TEST_F(QuestionsTest, QuestionsAndNoticesBeepDifferentlyAndOnlyWhenAllowed)
{
    Questions q = Make(m_scripted);
    m_scripted.ScriptDefault();
    m_scripted.ScriptDefault();
    q.Ask(QuestionId::ShutDown);
    q.Inform(Ls(205), false, 0, 30);

    const QVector<FakeBeep> beeps = m_fake.sound.Beeps();
    ASSERT_EQ(beeps.size(), 4);
    const int expected[4][2] = {{100, 100}, {300, 50}, {300, 50}, {100, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(beeps[i].frequencyHz, expected[i][0]) << i;
        EXPECT_EQ(beeps[i].durationMs, expected[i][1]) << i;
    }

    m_fake.sound.ClearRecords();
    m_settings.NoSoundStartEnd = true; // 12:00 lies outside the quiet hours 22:00 to 08:00
    m_scripted.ScriptDefault();
    q.Ask(QuestionId::Standby);
    EXPECT_EQ(m_fake.sound.Beeps().size(), 2);
    m_fake.sound.ClearRecords();
    m_settings.SignalSonoreInterface = false;
    m_scripted.ScriptDefault();
    q.Ask(QuestionId::Standby);
    EXPECT_TRUE(m_fake.sound.Beeps().isEmpty());
}

TEST_F(QuestionsTest, RequestCarriesTheLookOfTheCurrentSettings)
{
    Questions q = Make(m_scripted);
    m_settings.NomInstance = QStringLiteral("  Chambre ");
    m_settings.AideContextuelle = false;
    m_scripted.ScriptDefault();
    q.Ask(QuestionId::Hibernate);
    EXPECT_EQ(m_scripted.LastRequest().look.caption, QStringLiteral("Vizezezoruvav Zomvara - Chambre"));
    EXPECT_FALSE(m_scripted.LastRequest().look.showHints);
    EXPECT_EQ(m_scripted.LastRequest().text,
              QStringLiteral("Le micro-ordinateur va être mis en veille prolongée. Etes-vous d'accord ?"));
}

TEST_F(QuestionsTest, UnattendedQuestionsTakeTheirDefaultAfterTheCountdownWhileTimersRun)
{
    UnattendedQuestionPresenter presenter(m_fake.timers);
    Questions q = Make(presenter);
    auto timer = m_fake.timers.CreateTimer(QStringLiteral("Timer3"));
    int ticks = 0;
    timer->SetHandler([&] { ++ticks; });
    timer->SetInterval(1000);
    timer->SetEnabled(true);
    const DateTime start = m_fake.clock.Now();

    EXPECT_TRUE(q.Ask(QuestionId::ShutDown));
    EXPECT_EQ(DateTime::MsBetween(start, m_fake.clock.Now()), 30000);
    EXPECT_EQ(ticks, 30);

    EXPECT_FALSE(q.Ask(QuestionId::Standby));
    q.Inform(QuestionId::ChannelListNotice);
    EXPECT_EQ(DateTime::MsBetween(start, m_fake.clock.Now()), 30000 + 30000 + 60000);
    EXPECT_EQ(presenter.PresentedCount(), 3);
    // Nobody ticked the box: the notice is shown again next time.
    EXPECT_EQ(Dialog(QStringLiteral("AskAgain149")), QStringLiteral("1"));
}

} // namespace
