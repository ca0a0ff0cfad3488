#include "channels/ViewerListCatalogue.h"

#include "channels/ChannelNameList.h"
#include "channels/TreeFile.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace quorx {

QVector<TFichier> ViewerListCatalogue::Catalogue(const QString& folder)
{
    QVector<TFichier> catalogue;
    if (folder.isEmpty() || !QDir(folder).exists())
        return catalogue;
    // Without QDir::CaseSensitive the name filter ignores case, so "Favourites.tree" counts.
    QDirIterator it(folder, {QStringLiteral("*.Tree")}, QDir::Files | QDir::Hidden);
    while (it.hasNext() && catalogue.size() < kMaxFiles) {
        const QString path = it.next();
        const TreeFile::Header header = TreeFile::ReadHeaderOfFile(path);
        catalogue.append(TFichier{path, header.name, header.favourites});
    }
    return catalogue;
}

ViewerListCatalogue::Choices ViewerListCatalogue::BuildChoices(const QVector<TFichier>& catalogue,
                                                               bool favouritesOnly, const QString& previous)
{
    Choices choices;
    for (int i = 0; i < catalogue.size(); ++i) {
        if (!favouritesOnly || catalogue[i].Favourites)
            choices.entries.append(i);
    }
    std::stable_sort(choices.entries.begin(), choices.entries.end(), [&](int a, int b) {
        return ChannelNameList::Compare(catalogue[a].DisplayName(), catalogue[b].DisplayName()) < 0;
    });
    for (const int i : choices.entries)
        choices.items.append(catalogue[i].DisplayName());
    if (choices.items.isEmpty())
        return choices;

    if (!previous.isEmpty()) {
        choices.selected = static_cast<int>(choices.items.indexOf(previous));
        if (choices.selected >= 0)
            return choices;
    }
    for (int i = 0; i < catalogue.size() && choices.selected < 0; ++i) {
        if (catalogue[i].Favourites)
            choices.selected = static_cast<int>(choices.entries.indexOf(i));
    }
    if (choices.selected < 0)
        choices.selected = static_cast<int>(choices.entries.indexOf(0));
    if (choices.selected < 0)
        choices.selected = 0;
    return choices;
}

int ViewerListCatalogue::FindEntry(const QVector<TFichier>& catalogue, const QString& text)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].DisplayName() == text || catalogue[i].Path == text)
            return i;
    }
    return -1;
}

} // namespace quorx
