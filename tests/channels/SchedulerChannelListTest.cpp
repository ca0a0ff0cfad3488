#include "channels/SchedulerChannelList.h"
#include "common/IniFile.h"

#include <QFile>

#include <QTemporaryDir>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace quorx;

namespace {

ChannelNameList Names(const QStringList& names)
{
    ChannelNameList list;
    for (const QString& n : names)
        list.Insert(n);
    return list;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SchedulerChannelList, SavingThreeChannelsWritesTheLastIndexAndQuotedNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.Ini"));
    // What else the file holds stays as it was.
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write("[Config]\r\nCouleur=123\r\n[Chaines]\r\nNbChaines=4\r\nChaine3=\"Old\"\r\nChaine4="
               "\"Older\"\r\nNote=x\r\n");
    seed.close();

    ASSERT_TRUE(SchedulerChannelList::SaveFile(
        Names({QStringLiteral("TF1"), QStringLiteral("Arte"), QStringLiteral("France 2")}), path));
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines")), 2);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("Couleur")), 123);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Chaines"), QStringLiteral("Note")), QStringLiteral("x"));
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Chaines"), QStringLiteral("Chaine3")));
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Chaines"), QStringLiteral("Chaine4")));
    // Each name is stored between double quotes, in the list's order.
    const QStringList expected = {QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("TF1")};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ini.ReadString(QStringLiteral("Chaines"), QStringLiteral("Chaine%1").arg(i)),
                  QLatin1Char('"') + expected[i] + QLatin1Char('"'));
    EXPECT_EQ(SchedulerChannelList::LoadFile(path).Names(), expected);
}

TEST(SchedulerChannelList, AnEmptyListWritesMinusOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.Ini"));
    ASSERT_TRUE(SchedulerChannelList::SaveFile(Names({QStringLiteral("Arte")}), path));
    ASSERT_TRUE(SchedulerChannelList::SaveFile(ChannelNameList(), path));
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), 99), -1);
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Chaines"), QStringLiteral("Chaine0")));
    EXPECT_TRUE(SchedulerChannelList::LoadFile(path).IsEmpty());
}

TEST(SchedulerChannelList, ReadingRemovesOneQuoteEachSideAndSkipsWhatIsNotAChannel)
{
    IniFile ini;
    ini.LoadFromBytes("[chaines]\r\n"
                      "nbchaines=6\r\n"
                      "Chaine0=\"Arte\"\r\n"
                      "Chaine1=France 2\r\n"
                      "Chaine2=\"\"\r\n"
                      "Chaine3=\"\"Canal \"\"\r\n"
                      "Chaine4=\"ARTE\"\r\n"
                      "Chaine01=\"Not an entry\"\r\n"
                      "Chaine6=\"TV5\r\n"
                      "Chaine7=\"Past the count\"\r\n");
    EXPECT_EQ(SchedulerChannelList::Load(ini).Names(),
              (QStringList{QStringLiteral("Arte"), QStringLiteral("Canal "), QStringLiteral("France 2"),
                           QStringLiteral("TV5")}));

    IniFile none;
    EXPECT_TRUE(SchedulerChannelList::Load(none).IsEmpty());
}

TEST(SchedulerChannelList, ADamagedCountReadsOnlyTheKeysThatExist)
{
    IniFile ini;
    ini.LoadFromBytes("[Chaines]\r\nNbChaines=2147483647\r\nChaine0=\"A\"\r\nChaine900000=\"B\"\r\n");
    EXPECT_EQ(SchedulerChannelList::Load(ini).Names(),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(SchedulerChannelList, NamesWithAwkwardCharactersSurviveTheRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.Ini"));
    const QStringList names = {QStringLiteral(" Lead blank"), QStringLiteral("A=B"),
                               QStringLiteral("\"Quoted\""), QStringLiteral("Télé ; Sud")};
    ASSERT_TRUE(SchedulerChannelList::SaveFile(Names(names), path));
    EXPECT_EQ(SchedulerChannelList::LoadFile(path).Names(), Names(names).Names());
}

TEST(SchedulerChannelList, AFileThatCannotBeReadIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.Ini"));
    QFile seed(path);
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    seed.write("[Config]\r\nCouleur=123\r\n");
    seed.close();
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QString error;
    EXPECT_FALSE(SchedulerChannelList::SaveFile(Names({QStringLiteral("Arte")}), path, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadAll(path), QByteArray("[Config]\r\nCouleur=123\r\n"));
}
