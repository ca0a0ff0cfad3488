#include "channels/ChannelPreferencesPage.h"

#include "channels/RecordingFolder.h"
#include "common/FavouritesList.h"
#include "i18n/LocalisedStrings.h"

namespace quorx {

namespace {

void AddWhenMissing(FavouritesList* list, const QString& text)
{
    // Silent: a full list simply does not take the entry, as no question may interrupt a save.
    if (list && !text.trimmed().isEmpty() && !list->Contains(text))
        list->Add(text);
}

ChannelPreferencesPage::FavouriteResult AddToFavourites(FavouritesList* list, const QString& text)
{
    switch (list->Add(text)) {
    case FavouritesList::AddResult::Added:
        return ChannelPreferencesPage::FavouriteResult::Added;
    case FavouritesList::AddResult::Full:
        return ChannelPreferencesPage::FavouriteResult::Full;
    case FavouritesList::AddResult::Ignored:
        break;
    }
    return ChannelPreferencesPage::FavouriteResult::Refused;
}

} // namespace

ChannelQuestion ChannelPreferencesPage::ResetChannelsQuestion()
{
    return ChannelQuestion{240, Ls(224), false, true};
}

QString ChannelPreferencesPage::DefaultEntryText()
{
    return Ls(150);
}

ChannelPreferencesPage::ChannelPreferencesPage(const ChannelPreferenceStore& store, ChannelAsker ask)
    : m_store(store), m_ask(std::move(ask))
{
    m_entries.append(DefaultEntryText());
}

void ChannelPreferencesPage::SetFavourites(FavouritesList* folders, FavouritesList* commands,
                                           bool autoFavorites)
{
    m_folders = folders;
    m_commands = commands;
    m_autoFavorites = autoFavorites;
}

bool ChannelPreferencesPage::Enter(const QStringList& channels)
{
    const bool saved = SaveShown(false);
    const bool wasChannel = m_current >= 0 && !m_currentIsDefault;
    const QString previous = m_currentName;
    m_entries = channels;
    m_entries.append(DefaultEntryText());
    int index = DefaultEntryIndex();
    if (wasChannel) {
        for (int i = 0; i < channels.size(); ++i) {
            if (channels[i].compare(previous, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    Show(index);
    return saved;
}

ChannelPreferencesPage::FavouriteResult ChannelPreferencesPage::AddShownFolderToFavourites()
{
    const QString folder = RecordingFolder::WithTrailingSeparator(m_shown.Folder.trimmed());
    if (!m_folders || !RecordingFolder::IsExistingFolder(folder))
        return FavouriteResult::Refused;
    m_shown.Folder = folder;
    return AddToFavourites(m_folders, folder);
}

ChannelPreferencesPage::FavouriteResult ChannelPreferencesPage::AddShownCommandToFavourites()
{
    if (!m_commands)
        return FavouriteResult::Refused;
    return AddToFavourites(m_commands, m_shown.Command);
}

QString ChannelPreferencesPage::FullListMessage()
{
    return Ls(100);
}

bool ChannelPreferencesPage::ChooseEntry(int index)
{
    const bool saved = SaveShown(false);
    if (index >= 0 && index < m_entries.size())
        Show(index);
    return saved;
}

void ChannelPreferencesPage::Show(int index)
{
    m_current = index;
    m_currentIsDefault = IsDefaultEntry(index);
    m_currentName = m_currentIsDefault ? QString() : m_entries[index];
    m_shownProfile = m_selectedProfile;
    m_shown = m_store.ReadShown(m_shownProfile, m_currentName);
    m_asRead = m_shown;
}

bool ChannelPreferencesPage::SaveShown(bool confirmed)
{
    m_lastError.clear();
    if (m_current < 0)
        return true;
    if (!m_currentIsDefault && m_currentName.trimmed().isEmpty())
        return true;
    // Looking at an entry is not changing it: passing by a channel must not tie it to a copy of
    // the default values, nor passing by the default entry ask whether to reset every channel.
    const bool changed = m_shown != m_asRead;
    if (!changed && !(confirmed && m_currentIsDefault && !m_store.HasDefault(m_shownProfile)))
        return true;

    if (m_autoFavorites) {
        AddWhenMissing(m_folders, m_shown.Folder);
        AddWhenMissing(m_commands, m_shown.Command);
    }

    bool ok = false;
    if (m_currentIsDefault) {
        const bool resetChannels = m_ask && m_ask(ResetChannelsQuestion());
        if (resetChannels) {
            const QStringList channels = m_entries.mid(0, DefaultEntryIndex());
            ok = m_store.WriteDefaultAndChannels(m_shownProfile, m_shown, channels, &m_lastError);
        } else {
            ok = m_store.WriteDefault(m_shownProfile, m_shown, &m_lastError);
        }
    } else {
        ok = m_store.WriteOwn(m_shownProfile, m_currentName, m_shown, &m_lastError);
    }
    if (ok)
        m_asRead = m_shown;
    return ok;
}

} // namespace quorx
