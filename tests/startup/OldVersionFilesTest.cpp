#include "startup/OldVersionFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quorx {
namespace {

TEST(OldVersionFiles, EitherLanguageFileInAnyCaseStopsTheStart)
{
    struct Case
    {
        QStringList files;
        QStringList folders;
        int found;
    };
    const Case cases[] = {
        {{}, {}, 0},
        {{QStringLiteral("Vizezezoruvav Zomvara.Fra")}, {}, 1},
        {{QStringLiteral("VIZEZEZORUVAV ZOMVARA.ENG")}, {}, 1},
        {{QStringLiteral("vizezezoruvav zomvara.fra"), QStringLiteral("Vizezezoruvav Zomvara.eng")}, {}, 2},
        // Near names and a folder bearing the name are not the old version's files.
        {{QStringLiteral("Vizezezoruvav Zomvara.Fra.bak"), QStringLiteral("Zomvara.eng"),
          QStringLiteral("Vizezezoruvav Zomvara.Lang")},
         {QStringLiteral("Vizezezoruvav Zomvara.fra")},
         0},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const QString& name : c.files) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        for (const QString& name : c.folders)
            ASSERT_TRUE(QDir(dir.path()).mkdir(name));

        const OldVersionFilesFinding finding = OldVersionFiles::Check(dir.path());
        const QString label = c.files.join(QLatin1Char(','));
        EXPECT_EQ(finding.files.size(), c.found) << qPrintable(label);
        EXPECT_EQ(finding.found, c.found > 0) << qPrintable(label);
        if (c.found == 0) {
            EXPECT_TRUE(finding.message.isEmpty());
            EXPECT_TRUE(finding.folderToOpen.isEmpty());
            continue;
        }
        for (const QString& path : finding.files)
            EXPECT_TRUE(QFile::exists(path)) << qPrintable(path);
        EXPECT_EQ(finding.folderToOpen, dir.path());
        EXPECT_EQ(
            finding.message,
            QStringLiteral("You have to delete .Fra and .Eng files located in Vizezezoruvav Zomvara folder "
                           "to run this new version./Veuillez effacer les fichiers.Fra et .Eng situés dans "
                           "le dossier de Programmatreur Zomvara pour faire fonctionner cette nouvelle "
                           "version."));
    }
}

} // namespace
} // namespace quorx
