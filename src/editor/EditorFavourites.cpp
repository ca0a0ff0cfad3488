#include "editor/EditorFavourites.h"

#include "channels/RecordingFolder.h"
#include "common/IniFile.h"
#include "common/TextUtils.h"
#include "editor/EditorFolder.h"
#include "i18n/LocalisedStrings.h"

namespace quorx {

EditorFavourites::EditorFavourites()
    : m_noms(QStringLiteral("Prog"), QStringLiteral("NbProg"), QStringLiteral("Prog")),
      m_chaines(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), QStringLiteral("Chaine"), true),
      m_dossiers(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"), QStringLiteral("Dossier")),
      m_fichiers(QStringLiteral("Fichiers"), QStringLiteral("NbFichiers"), QStringLiteral("Fichier")),
      m_commandes(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"), QStringLiteral("Commande"))
{
}

void EditorFavourites::Load(const IniFile& config, bool majuscules)
{
    for (FavouritesList* list : {&m_noms, &m_chaines, &m_dossiers, &m_fichiers, &m_commandes})
        list->Load(config);
    if (!majuscules)
        return;
    for (FavouritesList* list : {&m_noms, &m_chaines}) {
        const QStringList entries = list->Entries();
        list->Clear();
        for (const QString& entry : entries)
            list->Add(CapitaliseFirst(entry));
    }
}

void EditorFavourites::Save(IniFile& config) const
{
    for (const FavouritesList* list : {&m_noms, &m_chaines, &m_dossiers, &m_fichiers, &m_commandes})
        list->Save(config);
}

FavouritesList& EditorFavourites::List(Box box)
{
    return const_cast<FavouritesList&>(static_cast<const EditorFavourites*>(this)->List(box));
}

const FavouritesList& EditorFavourites::List(Box box) const
{
    switch (box) {
    case Box::Nom:
        return m_noms;
    case Box::Chaine:
        return m_chaines;
    case Box::Dossier:
        return m_dossiers;
    case Box::Fichier:
        return m_fichiers;
    case Box::Commande:
        break;
    }
    return m_commandes;
}

EditorFavourites::MenuItems EditorFavourites::MenuFor(Box box, const QString& text) const
{
    const FavouritesList& list = List(box);
    MenuItems items;
    items.remove = list.Contains(text);
    items.add = !items.remove || !list.ContainsExactly(text);
    items.removeAll = list.Count() > 0;
    return items;
}

EditorFavourites::AddResult EditorFavourites::Add(Box box, const QString& text)
{
    QString entry = text;
    if (box == Box::Dossier) {
        entry = RecordingFolder::WithTrailingSeparator(text.trimmed());
        if (!EditorFolder::MakeUsable(entry))
            return AddResult::Refused;
    }
    switch (List(box).Add(entry)) {
    case FavouritesList::AddResult::Added:
        return AddResult::Added;
    case FavouritesList::AddResult::Full:
        return AddResult::Full;
    case FavouritesList::AddResult::Ignored:
        break;
    }
    return AddResult::Refused;
}

QString EditorFavourites::FullListMessage()
{
    return Ls(100);
}

} // namespace quorx
