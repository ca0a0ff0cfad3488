#pragma once

#include "channels/ChannelPreferenceStore.h"
#include "channels/ChannelQuestion.h"

#include <QString>
#include <QStringList>

namespace quorx {

class FavouritesList;

// The rules of the channel window's preferences page: the entries (the scheduler's channels, then
// the default entry), the profile, the values shown, and when and how they are saved. The window
// shows Entries() and Shown() and forwards its controls' changes here.
class ChannelPreferencesPage final
{
public:
    // Question 240, asked when the default entry is saved.
    static ChannelQuestion ResetChannelsQuestion();
    // The text of the default entry, after the channels.
    static QString DefaultEntryText();

    ChannelPreferencesPage(const ChannelPreferenceStore& store, ChannelAsker ask);

    // Saving an entry adds its folder and command line to these lists when autoFavorites is on.
    void SetFavourites(FavouritesList* folders, FavouritesList* commands, bool autoFavorites);

    // Entering the page: the values shown are saved for the entry chosen before, the entries are
    // filled from channels, and the entry chosen before (or the default entry) is shown.
    bool Enter(const QStringList& channels);
    const QStringList& Entries() const { return m_entries; }
    int DefaultEntryIndex() const { return static_cast<int>(m_entries.size()) - 1; }
    int CurrentIndex() const { return m_current; }
    bool IsDefaultEntry(int index) const { return index == DefaultEntryIndex(); }

    // The profile chosen in the selector; it takes effect at the next choice of an entry.
    void SetProfile(PreferenceProfile profile) { m_selectedProfile = profile; }
    PreferenceProfile SelectedProfile() const { return m_selectedProfile; }
    // The profile of the values shown.
    PreferenceProfile ShownProfile() const { return m_shownProfile; }

    // Saves the values shown for the entry chosen before, then shows the entry at index. False
    // when saving failed (LastError() says why); the new entry is shown all the same.
    bool ChooseEntry(int index);
    bool ChooseDefaultEntry() { return ChooseEntry(DefaultEntryIndex()); }
    // "&OK": saves the values shown. A default entry that was never stored is written even
    // unchanged, as the user has now confirmed it.
    bool Commit() { return SaveShown(true); }

    // The favourites menus beside the folder and the command line. A folder gets its trailing
    // "/" first and must exist; a full list refuses with FullListMessage().
    enum class FavouriteResult
    {
        Added,
        Full,
        Refused
    };
    FavouriteResult AddShownFolderToFavourites();
    FavouriteResult AddShownCommandToFavourites();
    static QString FullListMessage();

    // The values shown, which the window's controls change.
    ChannelPreferences& Shown() { return m_shown; }
    const ChannelPreferences& Shown() const { return m_shown; }

    const QString& LastError() const { return m_lastError; }

private:
    bool SaveShown(bool confirmed);
    void Show(int index);

    const ChannelPreferenceStore& m_store;
    ChannelAsker m_ask;
    FavouritesList* m_folders = nullptr;
    FavouritesList* m_commands = nullptr;
    bool m_autoFavorites = false;

    QStringList m_entries;
    int m_current = -1;
    QString m_currentName; // the channel shown; empty for the default entry
    bool m_currentIsDefault = false;
    PreferenceProfile m_selectedProfile = PreferenceProfile::OneOff;
    PreferenceProfile m_shownProfile = PreferenceProfile::OneOff;
    ChannelPreferences m_shown;
    ChannelPreferences m_asRead; // the values as the entry was shown, to tell whether they changed
    QString m_lastError;
};

} // namespace quorx
