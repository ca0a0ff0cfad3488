#pragma once

#include "common/FavouritesList.h"

#include <QString>

namespace quorx {

class IniFile;

// The remembered entries of the editor's five boxes, one section of Config.Ini each. The channel
// box's list is the scheduler's channel list itself.
class EditorFavourites final
{
public:
    enum class Box
    {
        Nom,
        Chaine,
        Dossier,
        Fichier,
        Commande
    };

    // Which items of the favourites menu a box shows for its current text.
    struct MenuItems
    {
        bool add = false;
        bool remove = false;
        bool removeAll = false;
    };

    enum class AddResult
    {
        Added,
        Full,   // FullListMessage() is shown
        Refused // an empty text, or a folder that cannot be used
    };

    EditorFavourites();

    // Names and channels get their first letter capitalised when majuscules is on.
    void Load(const IniFile& config, bool majuscules);
    void Save(IniFile& config) const;

    FavouritesList& List(Box box);
    const FavouritesList& List(Box box) const;

    MenuItems MenuFor(Box box, const QString& text) const;
    // A folder gets its trailing "/" first and must be usable (it is created when missing).
    AddResult Add(Box box, const QString& text);
    bool Remove(Box box, const QString& text) { return List(box).Remove(text); }
    void RemoveAll(Box box) { List(box).Clear(); }

    static QString FullListMessage();

private:
    FavouritesList m_noms;
    FavouritesList m_chaines;
    FavouritesList m_dossiers;
    FavouritesList m_fichiers;
    FavouritesList m_commandes;
};

} // namespace quorx
