#include "schedule/ScheduleStore.h"
#include "common/IniFile.h"
#include "common/Paths.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iterator>
#include <memory>
#include <sys/resource.h>

using namespace quorx;

namespace {

// Wednesday 6 March 2024, noon.
const DateTime kNow = DateTime::FromFields(2024, 3, 6, 12, 0);
const DateTime kToday = DateTime::FromFields(2024, 3, 6);
const DateTime kYesterday = DateTime::FromFields(2024, 3, 5);

class ScheduleStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Folder() const { return m_dir.path(); }
    QString FilePath() const { return Folder() + QStringLiteral("/Programmes.Ini"); }

    void WriteFile(const QByteArray& bytes) const
    {
        QFile f(FilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadFile() const
    {
        QFile f(FilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Loads a [Programmes] section given as its lines, LF-separated.
    void LoadSection(const QByteArray& lines, DateTime now = kNow)
    {
        WriteFile("[Programmes]\n" + lines);
        ScheduleStore::LoadSchedule(Folder(), *table, settings, now, &report);
    }

    // What rewriting every key of the table over the given file gives.
    static QByteArray FullRewrite(const QByteArray& before, const ScheduleTable& t)
    {
        IniFile ini;
        ini.LoadFromBytes(before);
        ScheduleStore::WriteSchedule(ini, t);
        return ini.ToBytes();
    }

    QTemporaryDir m_dir;
    Settings settings;
    std::unique_ptr<ScheduleTable> table = std::make_unique<ScheduleTable>();
    ScheduleStore::LoadReport report;
};

TEmission Sample(int n)
{
    TEmission e;
    e.Programme = QStringLiteral("Émission n°%1").arg(n);
    e.Chaine = QStringLiteral("France %1").arg(n);
    e.Fichier = QStringLiteral("/media/rec/emission%1.ts").arg(n);
    e.Commande = n % 2 ? QStringLiteral("  ffmpeg -i \"[file]\" out.mkv ") : QString();
    e.Repetition = n % 3 ? static_cast<std::uint8_t>(Lundi | Mercredi | Dimanche) : 0;
    e.RepetitionFin = n % 4 ? DateTime::FromFields(2024, 12, 31) : DateTime();
    e.DateDebut = DateTime::FromFields(2024, 3, 1 + n % 20);
    e.DateFin = e.DateDebut.AddDays(n % 2);
    e.DateStop = n % 5 ? DateTime() : DateTime::FromFields(2024, 2, 28);
    e.HeureDebut = DateTime::FromTime(n % 24, n % 60);
    e.HeureFin = DateTime::FromTime((n + 1) % 24, (n * 7) % 60);
    e.Fermer = n % 2;
    e.Eteindre = n % 3 == 0;
    e.Veille = n % 5 == 0;
    e.VeillePro = n % 7 == 0;
    e.AjouterDate = n % 2 == 0;
    e.AjouterHeure = n % 3 != 0;
    e.AjouterChaine = n % 4 != 0;
    e.Erreur = n % 6 == 0;
    e.Actif = n % 8 != 0;
    e.EPG = n % 9 == 0;
    e.InactifPro = n % 10 == 0;
    e.Prioritaire = n % 11 == 0;
    return e;
}

} // namespace

TEST(ScheduleStoreDays, RepetitionIsReadAsPairsOfCharacters)
{
    struct Case
    {
        const char* text;
        std::uint8_t days;
    };
    const Case cases[] = {
        {"LuMeVe", Lundi | Mercredi | Vendredi},
        {"lumeve", Lundi | Mercredi | Vendredi},
        {"xxLu", Lundi},
        {"LuM", Lundi},
        {"uLu", 0}, // pairs are "uL" and "u": not shifted to find a day
        {"DiSaVeJeMeMaLu", 0x7F},
        {"", 0},
        {"Lu Ma", Lundi}, // "Lu", " M", "a"
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScheduleStore::ParseRepetition(QString::fromLatin1(c.text)), c.days) << c.text;
    EXPECT_EQ(ScheduleStore::RepetitionText(Dimanche | Lundi | Jeudi), QStringLiteral("LuJeDi"));
    EXPECT_EQ(ScheduleStore::RepetitionText(0), QString());
}

TEST_F(ScheduleStoreTest, ReadsEveryStoredFieldAndResetsTheRunTimeOnes)
{
    LoadSection("NbProgrammes=1\n"
                "Programme1=Journal de 20h\nChaine1=France 2\nRepetition1=MaJe\nCommande1=mv [file] /srv\n"
                "RepetitionFin1=30/06/2024\nDateDebut1=05/03/2024\nDateFin1=06/03/2024\n"
                "HeureDebut1=23:40:45\nHeureFin1=0:35\nFichier1=/media/rec/jt.ts\n"
                "Fermer1=1\nEteindre1=0\nVeille1=7\nVeillePro1=-1\nErreur1=1\nActif1=0\nInactifPro1=1\n"
                "Prioritaire1=1\nAjouterDate1=0\nAjouterHeure1=0\nAjouterChaine1=0\nDateStop1=01/03/2024\n"
                "EPG1=1\nEtat1=3\n");
    ASSERT_EQ(table->Count(), 1);
    const TEmission& e = (*table)[1];
    EXPECT_EQ(e.Programme, QStringLiteral("Journal de 20h"));
    EXPECT_EQ(e.Chaine, QStringLiteral("France 2"));
    EXPECT_EQ(e.Repetition, Mardi | Jeudi);
    EXPECT_EQ(e.Commande, QStringLiteral("mv [file] /srv"));
    EXPECT_EQ(e.RepetitionFin, DateTime::FromFields(2024, 6, 30));
    EXPECT_EQ(e.DateDebut, DateTime::FromFields(2024, 3, 5));
    EXPECT_EQ(e.DateFin, DateTime::FromFields(2024, 3, 6));
    EXPECT_EQ(e.HeureDebut, DateTime::FromTime(23, 40)); // seconds dropped
    EXPECT_EQ(e.HeureFin, DateTime::FromTime(0, 35));
    EXPECT_EQ(e.Fichier, QStringLiteral("/media/rec/jt.ts"));
    EXPECT_TRUE(e.Fermer && e.Veille && e.VeillePro && e.Erreur && e.InactifPro && e.Prioritaire && e.EPG);
    EXPECT_FALSE(e.Eteindre || e.Actif || e.AjouterDate || e.AjouterHeure || e.AjouterChaine);
    EXPECT_EQ(e.DateStop, DateTime::FromFields(2024, 3, 1));
    EXPECT_EQ(e.Etat, 0); // its occurrence of 1 March is long over
    EXPECT_EQ(e.GridRow, -1);
    EXPECT_EQ(report.storedCount, 1);
    EXPECT_EQ(report.loadedCount, 1);
    EXPECT_FALSE(report.clamped || report.unreadable);
}

TEST_F(ScheduleStoreTest, MissingAndUnreadableKeysTakeTheirDefaults)
{
    LoadSection(
        "NbProgrammes=3\n"
        "Programme1=Rien d'autre\n"
        "Programme2=Illisible\nActif2=oui\nAjouterDate2=\nFermer2=vrai\nEtat2=deux\nDateDebut2=31/02/2024\n"
        "HeureDebut2=25:00\nHeureFin2=midi\nRepetitionFin2=2024\nDateStop2=demain\n"
        "Programme3=Etat inconnu\nEtat3=9\nDateStop3=06/03/2024\nDateFin3=07/03/2024\n");
    ASSERT_EQ(table->Count(), 3);
    const QRegularExpression defaultFile(QStringLiteral("^") +
                                         QRegularExpression::escape(ProgramDriveRoot(Folder())) +
                                         QStringLiteral("Enreg_\\d{1,9}$"));
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const TEmission& e = (*table)[i];
        EXPECT_TRUE(e.Actif && e.AjouterDate && e.AjouterHeure && e.AjouterChaine);
        EXPECT_FALSE(e.Fermer || e.Eteindre || e.Veille || e.VeillePro || e.Erreur || e.InactifPro ||
                     e.Prioritaire || e.EPG);
        EXPECT_TRUE(e.Chaine.isEmpty() && e.Commande.isEmpty());
        EXPECT_EQ(e.Repetition, 0);
        if (i < 3) {
            EXPECT_TRUE(e.DateDebut.IsZero() && e.DateFin.IsZero() && e.RepetitionFin.IsZero() &&
                        e.DateStop.IsZero());
        }
        EXPECT_TRUE(e.HeureDebut.IsZero() && e.HeureFin.IsZero());
        EXPECT_EQ(e.Etat, 0);
        EXPECT_TRUE(defaultFile.match(e.Fichier).hasMatch()) << e.Fichier.toStdString();
    }
    EXPECT_NE((*table)[1].Fichier, (*table)[2].Fichier);
}

TEST_F(ScheduleStoreTest, RepeatingRecordWithoutFirstDayStartsFromYesterday)
{
    struct Case
    {
        const char* name;
        const char* keys;
        DateTime dateDebut, dateFin;
    };
    const Case cases[] = {
        {"evening", "Repetition1=LuMaMeJeVeSaDi\nHeureDebut1=20:00\nHeureFin1=21:00\n", kYesterday,
         kYesterday},
        {"past midnight", "Repetition1=Me\nHeureDebut1=23:30\nHeureFin1=00:30\n", kYesterday, kToday},
        {"whole day", "Repetition1=Me\nHeureDebut1=06:00\nHeureFin1=06:00\n", kYesterday, kToday},
        {"on its last day", "Repetition1=Me\nRepetitionFin1=06/03/2024\nHeureDebut1=20:00\nHeureFin1=21:00\n",
         kYesterday, kYesterday},
        {"stored as 30/12/1899",
         "Repetition1=Me\nDateDebut1=30/12/1899\nHeureDebut1=20:00\nHeureFin1=21:00\n", kYesterday,
         kYesterday},
        {"after its last day",
         "Repetition1=Me\nRepetitionFin1=05/03/2024\nHeureDebut1=20:00\nHeureFin1=21:00\n", DateTime(),
         DateTime()},
        {"one-off", "HeureDebut1=20:00\nHeureFin1=21:00\n", DateTime(), DateTime()},
        {"first day given", "Repetition1=Me\nDateDebut1=01/01/2024\nDateFin1=01/01/2024\n",
         DateTime::FromFields(2024, 1, 1), DateTime::FromFields(2024, 1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSection(QByteArray("NbProgrammes=1\n") + c.keys);
        ASSERT_EQ(table->Count(), 1);
        EXPECT_EQ((*table)[1].DateDebut.IsoText(), c.dateDebut.IsoText());
        EXPECT_EQ((*table)[1].DateFin.IsoText(), c.dateFin.IsoText());
    }
}

TEST_F(ScheduleStoreTest, StatesSurviveARestartOnlyWhileTheirOccurrenceRuns)
{
    struct Case
    {
        const char* name;
        const char* keys;
        int endMarginMinutes;
        DateTime now;
        int etat;
    };
    const QByteArray oneOffMorning = "DateDebut1=06/03/2024\nDateFin1=06/03/2024\nHeureDebut1=10:00\n"
                                     "HeureFin1=11:30\nDateStop1=06/03/2024\n";
    const Case cases[] = {
        {"under way when written", "Etat1=1\n", 0, DateTime::FromFields(2024, 3, 6, 10, 30), 0},
        {"recorded, still running", "Etat1=2\n", 0, DateTime::FromFields(2024, 3, 6, 11, 0), 2},
        {"recorded, at its end", "Etat1=2\n", 0, DateTime::FromFields(2024, 3, 6, 11, 30), 0},
        {"recorded, past its end", "Etat1=2\n", 0, kNow, 0},
        {"missed, inside the end margin", "Etat1=3\n", 45, DateTime::FromFields(2024, 3, 6, 12, 0), 3},
        {"missed, past the end margin", "Etat1=3\n", 45, DateTime::FromFields(2024, 3, 6, 12, 15), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.DelaiFin = DateTime::FromTime(0, c.endMarginMinutes);
        LoadSection("NbProgrammes=1\n" + oneOffMorning + c.keys, c.now);
        ASSERT_EQ(table->Count(), 1);
        EXPECT_EQ((*table)[1].Etat, c.etat);
    }
}

TEST_F(ScheduleStoreTest, DailyRecordingEndingInTheEndMarginPastMidnightIsFreeTheNextDay)
{
    // Recorded on Tuesday 23:00-23:55 with a 10 minute end margin: that occurrence ended on
    // Wednesday 00:05, so on Wednesday evening the record must be idle again to record that night.
    settings.DelaiFin = DateTime::FromTime(0, 10);
    LoadSection("NbProgrammes=1\nRepetition1=LuMaMeJeVeSaDi\nDateDebut1=01/03/2024\nDateFin1=01/03/2024\n"
                "HeureDebut1=23:00\nHeureFin1=23:55\nDateStop1=05/03/2024\nEtat1=2\n",
                DateTime::FromFields(2024, 3, 6, 20, 0));
    EXPECT_EQ((*table)[1].Etat, 0);
}

TEST_F(ScheduleStoreTest, SaveThenLoadThenSaveGivesTheSameBytes)
{
    for (int n = 1; n <= 12; ++n)
        table->Append(Sample(n));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    const QByteArray first = ReadFile();

    auto loaded = std::make_unique<ScheduleTable>();
    ScheduleStore::LoadSchedule(Folder(), *loaded, settings, kNow);
    ASSERT_EQ(loaded->Count(), 12);
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE(n);
        const TEmission& a = (*table)[n];
        const TEmission& b = (*loaded)[n];
        EXPECT_EQ(a.Programme, b.Programme);
        EXPECT_EQ(a.Commande, b.Commande); // blanks at the edges survive
        EXPECT_EQ(a.Repetition, b.Repetition);
        EXPECT_EQ(a.DateDebut, b.DateDebut);
        EXPECT_EQ(a.HeureFin, b.HeureFin);
        EXPECT_EQ(a.AjouterChaine, b.AjouterChaine);
        EXPECT_EQ(a.Prioritaire, b.Prioritaire);
    }
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *loaded));
    EXPECT_EQ(ReadFile(), first);
}

TEST_F(ScheduleStoreTest, WritesTheKeysInTheirOrderWithTheirEncodings)
{
    TEmission e;
    e.Programme = QStringLiteral("Film");
    e.Chaine = QStringLiteral("Arte");
    e.Repetition = Samedi | Lundi;
    e.HeureDebut = DateTime::FromTime(9, 5);
    e.HeureFin = DateTime::FromTime(10, 0);
    e.DateStop = DateTime::FromFields(2024, 3, 9, 20, 30); // the time of day is not stored
    e.Fichier = QStringLiteral("/media/rec/film.ts");
    e.Actif = true;
    e.Etat = 2;
    table->Append(e);
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_EQ(QString::fromUtf8(ReadFile()),
              QStringLiteral(
                  "[Programmes]\r\nNbProgrammes=1\r\nProgramme1=Film\r\nChaine1=Arte\r\nRepetition1=LuSa\r\n"
                  "Commande1=\r\nRepetitionFin1=30/12/1899\r\nDateDebut1=30/12/1899\r\n"
                  "DateFin1=30/12/1899\r\nHeureDebut1=09:05\r\nHeureFin1=10:00\r\n"
                  "Fichier1=/media/rec/film.ts\r\nFermer1=0\r\nEteindre1=0\r\nVeille1=0\r\nVeillePro1=0\r\n"
                  "Erreur1=0\r\nActif1=1\r\nInactifPro1=0\r\nPrioritaire1=0\r\nAjouterDate1=0\r\n"
                  "AjouterHeure1=0\r\nAjouterChaine1=0\r\nDateStop1=09/03/2024\r\nEPG1=0\r\nEtat1=2\r\n"));

    // The date 0 reads back as 0 (a first day of 0 is then fixed up like a missing one).
    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow);
    EXPECT_TRUE((*table)[1].RepetitionFin.IsZero());
    EXPECT_EQ((*table)[1].DateDebut, kYesterday);
}

TEST_F(ScheduleStoreTest, ShrinkingListLeavesTheOldKeysAndTheOtherSections)
{
    WriteFile("[Config]\r\nInitialDirSauvegardeImage=/home/me/Images\r\n");
    for (int n = 1; n <= 5; ++n)
        table->Append(Sample(n));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    table->RemoveAt(5);
    table->RemoveAt(1);
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));

    const IniFile ini(FilePath());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Programmes"), QStringLiteral("NbProgrammes")), 3);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Programmes"), QStringLiteral("Programme1")),
              Sample(2).Programme);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Programmes"), QStringLiteral("Programme4")),
              Sample(4).Programme);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Programmes"), QStringLiteral("Programme5")),
              Sample(5).Programme);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("InitialDirSauvegardeImage")),
              QStringLiteral("/home/me/Images"));

    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow);
    EXPECT_EQ(table->Count(), 3);
    EXPECT_EQ((*table)[3].Programme, Sample(4).Programme);
}

TEST_F(ScheduleStoreTest, FileFromWindowsInWindows1252WithShortDates)
{
    // "Télé-matin" and "Numéro 23" in Windows-1252, CRLF line ends, day and month without zeros.
    WriteFile(
        "[Programmes]\r\nNbProgrammes=1\r\nProgramme1=T\xE9l\xE9-matin\r\nChaine1=Num\xE9ro 23\r\n"
        "Repetition1=LuMaMeJeVe\r\nDateDebut1=4/3/2024\r\nDateFin1=4/3/2024\r\nRepetitionFin1=1/9/2024\r\n"
        "HeureDebut1=6:30\r\nHeureFin1=8:45\r\nFichier1=C:\\Enregistrements\\t\xE9l\xE9.ts\r\n");
    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow);
    ASSERT_EQ(table->Count(), 1);
    const TEmission& e = (*table)[1];
    EXPECT_EQ(e.Programme, QStringLiteral("Télé-matin"));
    EXPECT_EQ(e.Chaine, QStringLiteral("Numéro 23"));
    EXPECT_EQ(e.Fichier, QStringLiteral("C:\\Enregistrements\\télé.ts"));
    EXPECT_EQ(e.DateDebut, DateTime::FromFields(2024, 3, 4));
    EXPECT_EQ(e.RepetitionFin, DateTime::FromFields(2024, 9, 1));
    EXPECT_EQ(e.HeureDebut, DateTime::FromTime(6, 30));

    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    const QByteArray saved = ReadFile();
    EXPECT_TRUE(saved.contains("Programme1=T\xC3\xA9l\xC3\xA9-matin")); // now UTF-8
    EXPECT_TRUE(saved.contains("DateDebut1=04/03/2024"));
    EXPECT_TRUE(saved.contains("HeureDebut1=06:30"));
}

TEST_F(ScheduleStoreTest, CountBeyondTheTableLoadsTheFirst256AndLeavesTheFileAlone)
{
    QByteArray bytes = "[Programmes]\r\nNbProgrammes=300\r\n";
    for (int n = 1; n <= 300; ++n)
        bytes += "Programme" + QByteArray::number(n) + "=P" + QByteArray::number(n) + "\r\n";
    WriteFile(bytes);

    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow, &report);
    EXPECT_EQ(table->Count(), 256);
    EXPECT_EQ((*table)[256].Programme, QStringLiteral("P256"));
    EXPECT_TRUE((*table)[257].Programme.isEmpty());
    EXPECT_EQ(report.storedCount, 300);
    EXPECT_EQ(report.loadedCount, 256);
    EXPECT_TRUE(report.clamped);
    EXPECT_EQ(ReadFile(), bytes);

    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    const IniFile ini(FilePath());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Programmes"), QStringLiteral("NbProgrammes")), 256);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Programmes"), QStringLiteral("Programme300")),
              QStringLiteral("P300"));
}

TEST_F(ScheduleStoreTest, MissingFileOrNonPositiveCountGivesAnEmptyList)
{
    table->Append(Sample(1)); // what was in the table before is dropped
    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow, &report);
    EXPECT_EQ(table->Count(), 0);
    EXPECT_FALSE(report.unreadable);
    EXPECT_FALSE(QFile::exists(FilePath())); // loading never writes

    for (const char* count : {"NbProgrammes=0\nProgramme1=A\n", "NbProgrammes=-4\nProgramme1=A\n",
                              "NbProgrammes=beaucoup\nProgramme1=A\n", "Programme1=A\n"}) {
        LoadSection(count);
        EXPECT_EQ(table->Count(), 0) << count;
    }

    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_TRUE(ReadFile().contains("NbProgrammes=0"));
}

TEST_F(ScheduleStoreTest, TwoLoadsGiveTheSameRecordsWithNewIdentifiers)
{
    for (int n = 1; n <= 20; ++n)
        table->Append(Sample(n));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    auto a = std::make_unique<ScheduleTable>();
    auto b = std::make_unique<ScheduleTable>();
    ScheduleStore::LoadSchedule(Folder(), *a, settings, kNow);
    ScheduleStore::LoadSchedule(Folder(), *b, settings, kNow);
    ASSERT_EQ(a->Count(), 20);
    ASSERT_EQ(b->Count(), 20);
    int sameId = 0;
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ((*a)[n].Programme, (*b)[n].Programme);
        EXPECT_EQ(a->FindById((*a)[n].RecordId), n);
        sameId += (*a)[n].RecordId == (*b)[n].RecordId;
    }
    EXPECT_LT(sameId, 20);
}

TEST_F(ScheduleStoreTest, FileNamedInAnotherCaseIsTheOneReadAndRewritten)
{
    const QString upper = Folder() + QStringLiteral("/PROGRAMMES.INI");
    {
        QFile f(upper);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[programmes]\r\nnbprogrammes=1\r\nprogramme1=Venu de Windows\r\n");
    }
    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow);
    ASSERT_EQ(table->Count(), 1);
    EXPECT_EQ((*table)[1].Programme, QStringLiteral("Venu de Windows"));

    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{QStringLiteral("PROGRAMMES.INI")});
}

TEST_F(ScheduleStoreTest, FailedSaveReportsWhyAndKeepsThePreviousFile)
{
    for (int n = 1; n <= 3; ++n)
        table->Append(Sample(n));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    const QByteArray before = ReadFile();
    for (int n = 4; n <= 200; ++n)
        table->Append(Sample(n));

    // A file-size limit makes the write fail as a full disk does, whoever runs the test.
    struct rlimit old
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = ScheduleStore::SaveSchedule(Folder(), *table, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(), before);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{QStringLiteral("Programmes.Ini")});

    // The next save starts from the file, not from what the failed one had prepared.
    while (table->Count() > 3)
        table->RemoveAt(table->Count());
    (*table)[2].Chaine = QStringLiteral("Arte");
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_EQ(ReadFile(), FullRewrite(before, *table));
    EXPECT_FALSE(IniFile(FilePath()).HasKey(QStringLiteral("Programmes"), QStringLiteral("Programme4")));
}

TEST_F(ScheduleStoreTest, FolderThatCannotHoldTheFileIsReported)
{
    const QString notAFolder = Folder() + QStringLiteral("/plain-file");
    {
        QFile f(notAFolder);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    table->Append(Sample(1));
    QString error;
    EXPECT_FALSE(ScheduleStore::SaveSchedule(notAFolder, *table, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ScheduleStoreTest, ScheduleFileThatCannotBeReadIsNeitherLoadedNorOverwritten)
{
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("Programmes.Ini")));
    table->Append(Sample(1));
    ScheduleStore::LoadSchedule(Folder(), *table, settings, kNow, &report);
    EXPECT_EQ(table->Count(), 0);
    EXPECT_TRUE(report.unreadable);

    table->Append(Sample(1));
    QString error;
    EXPECT_FALSE(ScheduleStore::SaveSchedule(Folder(), *table, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Programmes.Ini")));
    EXPECT_TRUE(QFileInfo(FilePath()).isDir());
}

TEST_F(ScheduleStoreTest, SuccessiveSavesWriteWhatRewritingEveryKeyWrites)
{
    WriteFile("[Config]\r\nInitialDirSauvegardeImage=/home/me/Images\r\n");
    for (int n = 1; n <= 6; ++n)
        table->Append(Sample(n));
    const std::function<void()> edits[] = {
        [&] { (*table)[3].HeureFin = (*table)[3].HeureFin.AddMinutes(1); },
        [&] { (*table)[4].DateDebut = (*table)[4].DateDebut.AddDays(1); },
        [&] { (*table)[2].Commande = QStringLiteral(" blanks at the edges "); },
        [&] { table->RemoveAt(2); }, // every later record moves down one number
        [&] { (*table)[1].Etat = 3; },
        [&] { table->Append(Sample(20)); table->Append(Sample(21)); },
        [&] { table->RemoveAt(7); table->RemoveAt(1); },
        [&] { table->Append(Sample(22)); }, // takes a number whose keys the file still holds
        [&] { (*table)[2].HeureDebut = (*table)[2].HeureDebut.AddSeconds(20); }, // no stored change
    };
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        SCOPED_TRACE(i);
        const QByteArray before = ReadFile();
        edits[i]();
        ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
        EXPECT_EQ(ReadFile(), FullRewrite(before, *table));
    }
}

TEST_F(ScheduleStoreTest, FileChangedByAnotherProgramIsReadAgainBeforeTheNextSave)
{
    for (int n = 1; n <= 3; ++n)
        table->Append(Sample(n));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    {
        IniFile other(FilePath());
        other.WriteString(QStringLiteral("Programmes"), QStringLiteral("Programme2"), QStringLiteral("Changé"));
        other.WriteString(QStringLiteral("Config"), QStringLiteral("Calendrier"), QStringLiteral("1"));
        ASSERT_TRUE(other.Save());
    }
    const QByteArray changed = ReadFile();
    (*table)[3].Programme = QStringLiteral("Autre");
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_EQ(ReadFile(), FullRewrite(changed, *table));
    const IniFile ini(FilePath());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Programmes"), QStringLiteral("Programme2")), Sample(2).Programme);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("Calendrier")), QStringLiteral("1"));

    // A file removed meanwhile is written whole again.
    ASSERT_TRUE(QFile::remove(FilePath()));
    ASSERT_TRUE(ScheduleStore::SaveSchedule(Folder(), *table));
    EXPECT_EQ(ReadFile(), FullRewrite(QByteArray(), *table));
}
