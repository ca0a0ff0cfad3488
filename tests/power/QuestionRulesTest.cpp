#include "common/Colours.h"
#include "common/IniFile.h"
#include "i18n/LocalisedStrings.h"
#include "power/DialogMemory.h"
#include "power/InterfaceSounds.h"
#include "power/QuestionAppearance.h"
#include "power/QuestionPlacement.h"
#include "power/QuestionRequest.h"
#include "power/QuestionTable.h"
#include "schedule/Settings.h"

#include <gtest/gtest.h>

using namespace quorx;

namespace {

TEST(InterfaceSoundsTest, QuietHoursCountWholeHoursOnEitherSideOfMidnight)
{
    struct Case
    {
        bool wanted;
        bool quietHours;
        int quietFrom[2];
        int quietUntil[2];
        int now[3];
        bool allowed;
    };
    const Case cases[] = {
        {false, false, {22, 0}, {8, 0}, {12, 0, 0}, false},
        {true, false, {22, 0}, {8, 0}, {3, 0, 0}, true},
        {true, true, {22, 0}, {8, 0}, {7, 59, 59}, false},
        {true, true, {22, 0}, {8, 0}, {8, 0, 1}, true},
        {true, true, {22, 0}, {8, 0}, {21, 59, 59}, true},
        {true, true, {22, 0}, {8, 0}, {22, 0, 0}, false},
        {true, true, {22, 45}, {8, 30}, {8, 10, 0}, true}, // minutes do not count
        {true, true, {22, 45}, {8, 30}, {22, 10, 0}, false},
        {true, true, {1, 0}, {6, 0}, {12, 0, 0}, true}, // quiet hours within one day
        {true, true, {1, 0}, {6, 0}, {0, 30, 0}, true},
        {true, true, {1, 0}, {6, 0}, {3, 0, 0}, false},
        {true, true, {1, 0}, {6, 0}, {6, 0, 1}, true},
    };
    for (const Case& c : cases) {
        Settings s;
        s.SignalSonoreInterface = c.wanted;
        s.NoSoundStartEnd = c.quietHours;
        s.NoSoundStart = DateTime::FromTime(c.quietFrom[0], c.quietFrom[1]);
        s.NoSoundEnd = DateTime::FromTime(c.quietUntil[0], c.quietUntil[1]);
        const DateTime now = DateTime::FromFields(2026, 5, 4, c.now[0], c.now[1], c.now[2]);
        EXPECT_EQ(InterfaceSounds::AllowedNow(s, now), c.allowed)
            << c.quietFrom[0] << "h-" << c.quietUntil[0] << "h at " << c.now[0] << ':' << c.now[1] << ':'
            << c.now[2];
    }
}

TEST(QuestionPlacementTest, DefaultButtonUnderTheCursorAndFiveClearOfTheEdges)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect oui(10, 8, 70, 27);
    const QRect non(10, 43, 70, 27);
    const QSize frame(477, 164); // 3-pixel borders and a 25-pixel title bar around 471 x 136
    const QPoint client(3, 25);
    struct Case
    {
        QPoint cursor;
        QRect button;
        QRect screen;
        QPoint expected;
    };
    const Case cases[] = {
        {{600, 400}, oui, screen, {600 - 35 - 10 - 3, 400 - 13 - 8 - 25 + 2}},
        {{600, 400}, non, screen, {552, 400 - 13 - 43 - 25 + 2}},
        {{20, 10}, non, screen, {5, 5}},
        {{1275, 795}, oui, screen, {1280 - 477 - 5, 800 - 164 - 5}},
        // A second screen to the right of the first: its own edges count.
        {{1290, 20}, oui, QRect(1280, 0, 1024, 768), {1285, 5}},
        {{2300, 760}, oui, QRect(1280, 0, 1024, 768), {1280 + 1024 - 477 - 5, 768 - 164 - 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuestionPlacement::Place(c.cursor, c.button, client, frame, c.screen), c.expected)
            << c.cursor.x() << ',' << c.cursor.y();

    // Where it is not pushed back, the button's centre lands exactly on the cursor.
    const QPoint at = QuestionPlacement::Place({600, 400}, non, client, frame, screen);
    EXPECT_EQ(at.x() + client.x() + non.x() + non.width() / 2, 600);
}

TEST(QuestionAppearanceTest, CaptionAndDarkenedPanel)
{
    EXPECT_EQ(QuestionAppearance::CaptionFor(QString()), QStringLiteral("Vizezezoruvav Zomvara"));
    EXPECT_EQ(QuestionAppearance::CaptionFor(QStringLiteral("   ")), QStringLiteral("Vizezezoruvav Zomvara"));
    EXPECT_EQ(QuestionAppearance::CaptionFor(QStringLiteral(" Salon ")),
              QStringLiteral("Vizezezoruvav Zomvara - Salon"));

    for (const quint32 couleur : {0xFF00001Cu, MakeColour(200, 120, 40), MakeColour(10, 10, 12)}) {
        const Hls base = ColorToHls(ResolveColour(couleur));
        const Hls dark = ColorToHls(QuestionAppearance::PanelColourFor(static_cast<qint32>(couleur)));
        EXPECT_NEAR(dark.luminance, std::max(0, base.luminance - 25), 1) << couleur;
        if (base.luminance > 25 && base.saturation > 0) {
            EXPECT_NEAR(dark.hue, base.hue, 2) << couleur;
        }
    }
    Settings dark;
    dark.Couleur = static_cast<qint32>(MakeColour(20, 20, 90));
    EXPECT_EQ(QuestionAppearance::FromSettings(dark).textColour, 0xFFFFFFu);
    EXPECT_EQ(QuestionAppearance::FromSettings(Settings()).textColour, 0x000000u);
}

TEST(QuestionRequestTest, ButtonsPerVariant)
{
    using B = QuestionButton;
    struct Case
    {
        QuestionRequest request;
        B defaultButton, cancel, first;
    };
    const Case cases[] = {
        {QuestionRequest::ForAsk(QStringLiteral("t"), true, true, 4), B::Oui, B::Non, B::Oui},
        {QuestionRequest::ForAsk(QStringLiteral("t"), false, true, 4), B::Non, B::Non, B::Non},
        {QuestionRequest::ForAskWithFallback(QStringLiteral("t"), true, true, 151), B::Oui, B::Non, B::Oui},
        {QuestionRequest::ForAskWithFallback(QStringLiteral("t"), false, true, 151), B::Non, B::Oui, B::Non},
        {QuestionRequest::ForInform(QStringLiteral("t"), true, 205, 30), B::Oui, B::None, B::Oui},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.request.kind));
        EXPECT_EQ(c.request.DefaultButton(), c.defaultButton);
        EXPECT_EQ(c.request.cancelButton, c.cancel);
        EXPECT_EQ(c.request.firstInTabOrder, c.first);
        EXPECT_EQ(c.request.CountdownMs(), 30000);
    }
    EXPECT_EQ(QuestionRequest::ForInform(QStringLiteral("t"), false, 0, 60).CountdownMs(), 60000);
    // A countdown of nothing still ends: the notice must never hold up an unattended program.
    EXPECT_EQ(QuestionRequest::ForInform(QStringLiteral("t"), false, 0, 0).tickIntervalMs, 1);
    EXPECT_EQ(QuestionRequest::ForInform(QStringLiteral("t"), false, 0, -5).tickIntervalMs, 1);
    EXPECT_FALSE(QuestionRequest::ForAsk(QStringLiteral("t"), false, true, 0).offerBox);
}

TEST(QuestionTableTest, EveryIdentifierFindsItsOwnEntry)
{
    for (const QuestionEntry& e : QuestionTable::All())
        EXPECT_EQ(QuestionTable::Of(e.id).id, e.id) << e.number;
    EXPECT_EQ(QuestionTable::WithNumber(200).size(), 2);
    EXPECT_EQ(QuestionTable::WithNumber(201).size(), 2);
    EXPECT_EQ(QuestionTable::WithNumber(1).size(), 1);
    EXPECT_TRUE(QuestionTable::WithNumber(6).isEmpty());
    for (const QuestionEntry* e : QuestionTable::WithNumber(0))
        EXPECT_FALSE(e->box);
}

TEST(QuestionTableTest, TextsFollowTheLanguageAndTheirArguments)
{
    using Id = QuestionId;
    EXPECT_EQ(QuestionTable::Text(Id::DeleteProgrammes),
              QStringLiteral("Voulez-vous vraiment effacer ce programme ?"));
    EXPECT_EQ(QuestionTable::Text(Id::CutProgrammes, {2, {}}),
              QStringLiteral("Voulez-vous vraiment effacer ces programmes ?"));
    EXPECT_EQ(QuestionTable::Text(Id::ImportLists, {2, {}}),
              QStringLiteral("Voulez-vous importer ces listes de programmes ?"));
    EXPECT_EQ(QuestionTable::Text(Id::InterruptRecording),
              QStringLiteral("L'enregistrement en cours va être interrompu. Etes-vous d'accord ?"));
    EXPECT_EQ(QuestionTable::Text(Id::MergeProgrammes, {1, QStringLiteral("Journal")}),
              QStringLiteral(
                  "Le programme que vous venez de définir semble pouvoir être fusionné avec le programme "
                  "«Journal». Désirez-vous effacer ce dernier et effectuer la fusion des deux "
                  "programmes ?"));
    EXPECT_TRUE(
        QuestionTable::Text(Id::StartsImmediately, {1, QStringLiteral("  ")})
            .startsWith(QStringLiteral("L'enregistrement intitulé «Sans nom » va débuter immédiatement.")));

    LocalisedStrings::Set(62, QStringLiteral("A recording is under way. Stop it?"));
    LocalisedStrings::Set(143, QStringLiteral("Untitled"));
    EXPECT_EQ(QuestionTable::Text(Id::StopRecordingToQuit),
              QStringLiteral("A recording is under way. Stop it?"));
    EXPECT_TRUE(QuestionTable::Text(Id::MergeProgrammes).contains(QStringLiteral("«Untitled»")));
    LocalisedStrings::ResetToDefaults();
}

TEST(DialogMemoryTest, AskAllAgainClearsOnlyTheMarksThatExist)
{
    IniFile ini;
    ini.LoadFromBytes("[Dialog]\n4=1\nAskAgain4=0\naskagain200=0\nAskAgain300=0\n");
    DialogMemory::AskAllAgain(ini);
    EXPECT_TRUE(DialogMemory::AskAgain(ini, 4));
    EXPECT_TRUE(DialogMemory::AskAgain(ini, 200));
    EXPECT_FALSE(DialogMemory::AskAgain(ini, 300)); // beyond the numbers the program uses
    EXPECT_TRUE(DialogMemory::StoredAnswer(ini, 4, false));
    EXPECT_FALSE(ini.HasKey(DialogMemory::Section(), DialogMemory::AskAgainKey(114)));
}

} // namespace
