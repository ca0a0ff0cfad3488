#include "ViewerFileBuilder.h"

#include "channels/ViewerListCatalogue.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TFichier Entry(const char* path, const char* name, bool favourites)
{
    return TFichier{QString::fromUtf8(path), QString::fromUtf8(name), favourites};
}

} // namespace

TEST(ViewerListCatalogue, CataloguesTreeFilesInAnyCaseWithTheirHeaders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("Favourites.tree")), Tree105(105, "Mes chaînes", true, {}));
    WriteFile(dir.filePath(QStringLiteral("Sat.TREE")), Tree104("Satellite", false, {}));
    WriteFile(dir.filePath(QStringLiteral("Old.Tree")), Tree105(99, "Ancienne", true, {}));
    WriteFile(dir.filePath(QStringLiteral("channels.dat")), Dat113(113, {}));
    WriteFile(dir.filePath(QStringLiteral("notes.txt")), "x");

    QVector<TFichier> catalogue = ViewerListCatalogue::Catalogue(dir.path());
    std::sort(catalogue.begin(), catalogue.end(),
              [](const TFichier& a, const TFichier& b) { return a.Path < b.Path; });
    ASSERT_EQ(catalogue.size(), 3);
    EXPECT_EQ(catalogue[0], (TFichier{dir.filePath(QStringLiteral("Favourites.tree")),
                                      QStringLiteral("Mes chaînes"), true}));
    EXPECT_EQ(catalogue[1], (TFichier{dir.filePath(QStringLiteral("Old.Tree")), QString(), false}));
    EXPECT_EQ(catalogue[2],
              (TFichier{dir.filePath(QStringLiteral("Sat.TREE")), QStringLiteral("Satellite"), false}));
    // A list without a name is shown by its path.
    EXPECT_EQ(catalogue[1].DisplayName(), dir.filePath(QStringLiteral("Old.Tree")));

    EXPECT_TRUE(ViewerListCatalogue::Catalogue(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

TEST(ViewerListCatalogue, TakesAtMostTwentyFourFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int i = 0; i < 30; ++i)
        WriteFile(dir.filePath(QStringLiteral("List%1.Tree").arg(i)), Tree105(106, "L", true, {}));
    const QVector<TFichier> catalogue = ViewerListCatalogue::Catalogue(dir.path());
    ASSERT_EQ(catalogue.size(), ViewerListCatalogue::kMaxFiles);
    QSet<QString> paths;
    for (const TFichier& f : catalogue)
        paths.insert(f.Path);
    EXPECT_EQ(paths.size(), ViewerListCatalogue::kMaxFiles);
}

TEST(ViewerListCatalogue, ChoicesAreSortedAndChooseThePreviousThenAFavourite)
{
    const QVector<TFichier> catalogue = {
        Entry("/c/sat.tree", "Satellite", false),
        Entry("/c/b.tree", "Bouquet", true),
        Entry("/c/a.tree", "", true),
        Entry("/c/t.tree", "TNT", true),
    };
    ViewerListCatalogue::Choices all = ViewerListCatalogue::BuildChoices(catalogue, false, QString());
    EXPECT_EQ(all.items, (QStringList{QStringLiteral("/c/a.tree"), QStringLiteral("Bouquet"),
                                      QStringLiteral("Satellite"), QStringLiteral("TNT")}));
    // No previous choice: the first favourites entry of the catalogue, "Bouquet".
    EXPECT_EQ(all.selected, 1);
    EXPECT_EQ(all.SelectedEntry(), 1);

    EXPECT_EQ(ViewerListCatalogue::BuildChoices(catalogue, false, QStringLiteral("Satellite")).selected, 2);

    const ViewerListCatalogue::Choices favourites =
        ViewerListCatalogue::BuildChoices(catalogue, true, QStringLiteral("Satellite"));
    EXPECT_EQ(favourites.items,
              (QStringList{QStringLiteral("/c/a.tree"), QStringLiteral("Bouquet"), QStringLiteral("TNT")}));
    EXPECT_EQ(favourites.items[favourites.selected], QStringLiteral("Bouquet"));

    // Without any favourites list, the first entry of the catalogue.
    const ViewerListCatalogue::Choices none = ViewerListCatalogue::BuildChoices(
        {Entry("/c/z.tree", "Zeta", false), Entry("/c/y.tree", "Alpha", false)}, false, QString());
    EXPECT_EQ(none.items[none.selected], QStringLiteral("Zeta"));
    EXPECT_EQ(ViewerListCatalogue::BuildChoices({}, true, QString()).selected, -1);

    EXPECT_EQ(ViewerListCatalogue::FindEntry(catalogue, QStringLiteral("TNT")), 3);
    EXPECT_EQ(ViewerListCatalogue::FindEntry(catalogue, QStringLiteral("/c/a.tree")), 2);
    EXPECT_EQ(ViewerListCatalogue::FindEntry(catalogue, QStringLiteral("Autre")), -1);
}
