#include "channels/RecordingFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;

TEST(RecordingFolder, KeyFilterOfTheFolderField)
{
    struct Case
    {
        const char* text;
        int position;
        char16_t key;
        bool accepted;
    };
    const Case cases[] = {
        {"", 0, u'/', true},       {"", 0, u'm', false},      {"/rec", 0, u'/', false},
        {"/rec", 4, u'/', true},   {"/rec/", 5, u'/', false}, {"/rec/x", 4, u'/', false},
        {"/rec", 4, u'?', false},  {"/rec", 4, u'*', false},  {"/rec", 4, u'"', false},
        {"/rec", 4, u'<', false},  {"/rec", 4, u'>', false},  {"/rec", 4, u'|', false},
        {"/rec", 4, u'\\', false}, {"/rec", 4, u':', true},   {"/rec", 4, u'é', true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordingFolder::AcceptsKey(QString::fromUtf8(c.text), c.position, QChar(c.key)),
                  c.accepted)
            << c.text << " at " << c.position << " key " << int(c.key);
}

TEST(RecordingFolder, BrowsedFolderFallsBackToTheProgramFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(RecordingFolder::FromBrowse(dir.path(), QStringLiteral("/prog")),
              dir.path() + QLatin1Char('/'));
    EXPECT_EQ(RecordingFolder::FromBrowse(dir.filePath(QStringLiteral("gone")), QStringLiteral("/prog")),
              QStringLiteral("/prog/"));
    EXPECT_EQ(RecordingFolder::FromBrowse(QStringLiteral("relative"), QStringLiteral("/prog/")),
              QStringLiteral("/prog/"));

    EXPECT_TRUE(RecordingFolder::IsValidPath(QStringLiteral("/media/rec")));
    EXPECT_FALSE(RecordingFolder::IsValidPath(QStringLiteral("C:\\Rec")));
    EXPECT_FALSE(RecordingFolder::IsValidPath(QStringLiteral("/media/re?c")));
}
