#pragma once

#include "channels/TFichier.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace quorx {

// The viewer list files (*.Tree) of one folder, and what the list selector offers from them.
class ViewerListCatalogue final
{
public:
    static constexpr int kMaxFiles = 24;

    // What the selector shows: its items in sorted order, the catalogue entry behind each item,
    // and the item chosen (-1 when there is none).
    struct Choices
    {
        QStringList items;
        QVector<int> entries; // index into the catalogue, one per item
        int selected = -1;

        int SelectedEntry() const { return selected < 0 ? -1 : entries[selected]; }
    };

    // Every *.Tree file of the folder (any letter case) in the order the file system gives them,
    // at most kMaxFiles, each with the name and favourites flag of its header. A missing folder
    // gives an empty catalogue.
    static QVector<TFichier> Catalogue(const QString& folder);

    // The items of every entry (favourites entries only when favouritesOnly), chosen: the item
    // named previous when there is one; else the first favourites entry of the catalogue; else
    // the first entry.
    static Choices BuildChoices(const QVector<TFichier>& catalogue, bool favouritesOnly,
                                const QString& previous);

    // The entry whose list name or path is text; -1 when none.
    static int FindEntry(const QVector<TFichier>& catalogue, const QString& text);
};

} // namespace quorx
