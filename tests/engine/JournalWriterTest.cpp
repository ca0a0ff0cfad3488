#include "engine/JournalWriter.h"
#include "EngineTestSupport.h"
#include "common/IniFile.h"
#include "i18n/LocalisedStrings.h"
#include "platform/fake/VirtualClock.h"
#include "schedule/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace quorx;
using namespace quorx::test;

namespace {

class JournalWriterTest : public ::testing::Test
{
protected:
    JournalWriterTest() : clock(March(4, 20, 5)), writer(home.path(), clock, settings) {}
    ~JournalWriterTest() override { LocalisedStrings::ResetToDefaults(); }

    QString JournalPath() const { return home.path() + QStringLiteral("/Journal.Log"); }
    IniFile Journal() const { return IniFile(JournalPath()); }
    void WriteFile(const QByteArray& bytes) const
    {
        QFile f(JournalPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadFile() const
    {
        QFile f(JournalPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool Event(const QString& event)
    {
        return writer.WriteJournalEvent(event, QString(), writer.JournalDateText(), QString(), QString());
    }

    QTemporaryDir home;
    Settings settings;
    VirtualClock clock;
    JournalWriter writer;
};

TEST_F(JournalWriterTest, FirstEventCreatesTheFileWithTheFiveKeysInOrder)
{
    ASSERT_TRUE(writer.WriteJournalEvent(JournalWriter::Text(JournalWriter::RecordingEnded),
                                         QStringLiteral("Journal - Arte"), QStringLiteral("04/03/2024 20:05"),
                                         QStringLiteral("/video/Journal.ts"),
                                         JournalWriter::SizeInMiB(734003200)));
    const QString text = QString::fromUtf8(ReadFile());
    const QString expected = QStringLiteral("[Configuration]\nEventsNb=1\n\n[1]\nEvent=Fin d'enregistrement\n"
                                            "Program=Journal - Arte\nDebut=04/03/2024 20:05\nComment=700\n"
                                            "File=/video/Journal.ts\n");
    EXPECT_EQ(QString(text).remove(QLatin1Char('\r')), expected);
}

TEST_F(JournalWriterTest, EventWithoutRecordingWritesEmptyKeys)
{
    writer.WriteJournalEvent(JournalWriter::Text(JournalWriter::ViewerClosed), QString(), QString(),
                             QString());
    const IniFile journal = Journal();
    EXPECT_EQ(journal.Keys(QStringLiteral("1")),
              QStringList({QStringLiteral("Event"), QStringLiteral("Program"), QStringLiteral("Debut"),
                           QStringLiteral("Comment"), QStringLiteral("File")}));
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("Event")),
              QStringLiteral("Fermeture de Zomvara"));
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("Debut")),
              QStringLiteral("04/03/2024 20:05"));
    for (const char* key : {"Program", "Comment", "File"})
        EXPECT_TRUE(journal.HasKey(QStringLiteral("1"), QString::fromLatin1(key))) << key;
}

TEST_F(JournalWriterTest, RingWrapsAfter512AndOverwritesInPlace)
{
    // Section 1 holds an old event with its keys in another order and one key too many.
    WriteFile("[Configuration]\r\nEventsNb=512\r\n[1]\r\nFile=old.ts\r\nEvent=Echec\r\nExtra=x\r\n"
              "Program=Old\r\n[512]\r\nEvent=Echec\r\n");
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::SuspendStarted)));
    const IniFile journal = Journal();
    EXPECT_EQ(journal.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 1);
    EXPECT_EQ(journal.Keys(QStringLiteral("1")),
              QStringList({QStringLiteral("Event"), QStringLiteral("Program"), QStringLiteral("Debut"),
                           QStringLiteral("Comment"), QStringLiteral("File")}));
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("File")), QString());
    EXPECT_EQ(journal.Sections(),
              QStringList({QStringLiteral("Configuration"), QStringLiteral("1"), QStringLiteral("512")}));

    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::Resumed)));
    EXPECT_EQ(Journal().ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 2);
}

TEST_F(JournalWriterTest, UnusableEventsNbStartsAtOne)
{
    for (const char* value : {"abc", "-3", "900", ""}) {
        WriteFile(QByteArray("[Configuration]\r\nEventsNb=") + value + "\r\n");
        ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ComputerSuspended))) << value;
        const IniFile journal = Journal();
        EXPECT_EQ(journal.ReadString(QStringLiteral("Configuration"), QStringLiteral("EventsNb")),
                  QStringLiteral("1"))
            << value;
        EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("Event")),
                  QStringLiteral("Mise en veille du micro-ordinateur"))
            << value;
    }
}

TEST_F(JournalWriterTest, TwoResumesInARowAreWrittenOnce)
{
    const QString resume = JournalWriter::Text(JournalWriter::Resumed);
    ASSERT_TRUE(Event(resume));
    ASSERT_TRUE(Event(resume));
    EXPECT_EQ(Journal().ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 1);

    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::SuspendStarted)));
    ASSERT_TRUE(Event(resume));
    EXPECT_EQ(Journal().ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 3);

    // The interface language changed since the last resume was written.
    LocalisedStrings::Set(JournalWriter::Resumed, QStringLiteral("Resumed from standby"));
    ASSERT_TRUE(Event(QStringLiteral("Resumed from standby")));
    EXPECT_EQ(Journal().ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 3);
}

TEST_F(JournalWriterTest, SinkFormIsDatedNowAndKeepsItsArgumentOrder)
{
    settings.DateLetters = true;
    JournalSink& sink = writer;
    sink.WriteJournalEvent(JournalWriter::Text(JournalWriter::CommandRun), QStringLiteral("Journal - Arte"),
                           QStringLiteral("ffmpeg -i x"), QStringLiteral("/video/x.ts"));
    const IniFile journal = Journal();
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("Debut")),
              QStringLiteral("Lundi 4 mars - 20:05"));
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("Comment")),
              QStringLiteral("ffmpeg -i x"));
    EXPECT_EQ(journal.ReadString(QStringLiteral("1"), QStringLiteral("File")), QStringLiteral("/video/x.ts"));
}

TEST(JournalTextTest, DateTextAndSizes)
{
    EXPECT_EQ(JournalWriter::JournalDateText(March(4, 9, 7, 42), false), QStringLiteral("04/03/2024 09:07"));
    EXPECT_EQ(JournalWriter::JournalDateText(March(4, 9, 7, 42), true),
              QStringLiteral("Lundi 4 mars - 09:07"));
    EXPECT_EQ(JournalWriter::JournalDateText(At(2024, 8, 15, 23, 59), true),
              QStringLiteral("Jeudi 15 août - 23:59"));

    const std::pair<qint64, const char*> sizes[] = {{0, "0"},       {1048575, "0"},
                                                    {1048576, "1"}, {5 * 1048576 + 123, "5"},
                                                    {-1, "0"},      {qint64(3) << 40, "3145728"}};
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(JournalWriter::SizeInMiB(bytes), QString::fromLatin1(text)) << bytes;
}

TEST_F(JournalWriterTest, UnwritableJournalReportsAndLeavesWhatWasThere)
{
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Journal.Log")));
    EXPECT_FALSE(Event(JournalWriter::Text(JournalWriter::ComputerShutDown)));
    EXPECT_FALSE(writer.LastError().isEmpty());
    EXPECT_TRUE(QFileInfo(JournalPath()).isDir());
}

TEST_F(JournalWriterTest, FindsAJournalBroughtUnderAnotherCase)
{
    QFile f(home.path() + QStringLiteral("/JOURNAL.LOG"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Configuration]\r\nEventsNb=7\r\n");
    f.close();
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ComputerHibernated)));
    EXPECT_FALSE(QFile::exists(JournalPath()));
    EXPECT_EQ(IniFile(f.fileName()).ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")),
              8);
}

TEST_F(JournalWriterTest, JournalChangedByAnotherProgramBetweenEventsIsReadAgain)
{
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ViewerClosed)));
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ComputerSuspended)));
    // Another program (the journal window emptying it, a copy brought back) replaces the file.
    WriteFile("[Configuration]\r\nEventsNb=40\r\n[40]\r\nEvent=Echec\r\nProgram=Ailleurs\r\n");
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ComputerShutDown)));
    IniFile journal = Journal();
    EXPECT_EQ(journal.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 41);
    EXPECT_EQ(journal.Sections(),
              QStringList({QStringLiteral("Configuration"), QStringLiteral("40"), QStringLiteral("41")}));
    EXPECT_EQ(journal.ReadString(QStringLiteral("40"), QStringLiteral("Program")), QStringLiteral("Ailleurs"));

    ASSERT_TRUE(QFile::remove(JournalPath()));
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ViewerClosed)));
    journal = Journal();
    EXPECT_EQ(journal.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 1);
    EXPECT_EQ(journal.Sections(), QStringList({QStringLiteral("Configuration"), QStringLiteral("1")}));
}

TEST_F(JournalWriterTest, EventThatCouldNotBeWrittenLeavesNoTraceInTheNextOne)
{
    // A ring large enough that the file is written straight through rather than buffered.
    QByteArray ring = "[Configuration]\r\nEventsNb=300\r\n";
    for (int n = 1; n <= 300; ++n)
        ring += "[" + QByteArray::number(n) + "]\r\nEvent=Echec\r\nProgram=Film du soir - Arte\r\n"
                "Debut=04/03/2024 20:05\r\nComment=\r\nFile=/video/Film du soir.ts\r\n";
    WriteFile(ring);
    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ViewerClosed)));
    const QByteArray before = ReadFile();

    // A file-size limit just below the next file makes the write fail as a full disk does.
    struct rlimit old
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = rlim_t(before.size());
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Event(JournalWriter::Text(JournalWriter::ComputerSuspended));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(writer.LastError().isEmpty());
    EXPECT_EQ(ReadFile(), before);

    ASSERT_TRUE(Event(JournalWriter::Text(JournalWriter::ComputerShutDown)));
    const IniFile journal = Journal();
    EXPECT_EQ(journal.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb")), 302);
    EXPECT_EQ(journal.ReadString(QStringLiteral("302"), QStringLiteral("Event")),
              JournalWriter::Text(JournalWriter::ComputerShutDown));
    EXPECT_EQ(journal.Sections().size(), 303);
}

} // namespace
