#include "channels/ChannelImportPage.h"

#include "common/IniFile.h"
#include "common/Paths.h"

#include <QFileInfo>

namespace quorx {

namespace {

const QString kSection = QStringLiteral("Channels");
const QString kConfigSection = QStringLiteral("Config");

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

ChannelImportPage::Settings ChannelImportPage::Settings::Load(const IniFile& config)
{
    Settings s;
    s.filePath = config.ReadString(kSection, QStringLiteral("FilePath"));
    s.selectedFile = config.ReadString(kSection, QStringLiteral("SelectedFile"));
    s.favoritesOnly = config.ReadBool(kSection, QStringLiteral("FavoritesOnly"), s.favoritesOnly);
    s.showFolders = config.ReadBool(kSection, QStringLiteral("ShowFolders"), s.showFolders);
    // A half-stored position is no position: the window is centred rather than put at a guess.
    if (config.HasKey(kConfigSection, QStringLiteral("XChaines")) &&
        config.HasKey(kConfigSection, QStringLiteral("YChaines"))) {
        s.x = config.ReadInteger(kConfigSection, QStringLiteral("XChaines"), 0);
        s.y = config.ReadInteger(kConfigSection, QStringLiteral("YChaines"), 0);
    }
    return s;
}

void ChannelImportPage::Settings::Save(IniFile& config) const
{
    config.WriteString(kSection, QStringLiteral("FilePath"), filePath);
    config.WriteString(kSection, QStringLiteral("SelectedFile"), selectedFile);
    config.WriteBool(kSection, QStringLiteral("FavoritesOnly"), favoritesOnly);
    config.WriteBool(kSection, QStringLiteral("ShowFolders"), showFolders);
    if (x && y) {
        config.WriteInteger(kConfigSection, QStringLiteral("XChaines"), *x);
        config.WriteInteger(kConfigSection, QStringLiteral("YChaines"), *y);
    }
}

QString ChannelImportPage::ResolveFolder(const QString& configuredFolder, const QString& viewerFolder)
{
    const QString viewerChannels =
        viewerFolder.isEmpty() ? QString() : FindFileNoCase(viewerFolder, QStringLiteral("channels"));
    QString folder = configuredFolder.isEmpty() ? viewerChannels : configuredFolder;
    if (IsFolder(folder))
        return folder;
    if (!viewerFolder.isEmpty()) {
        const IniFile viewerConfig(FindFileNoCase(viewerFolder, QStringLiteral("Config.Ini")));
        folder = viewerConfig.ReadString(kSection, QStringLiteral("FilePath"));
        if (IsFolder(folder))
            return folder;
    }
    return viewerChannels;
}

ChannelImportPage::ChannelImportPage(ChannelNameList schedulerList) : m_chosen(std::move(schedulerList)) {}

void ChannelImportPage::Open(const Settings& settings, const QString& viewerFolder)
{
    m_open = true;
    m_favoritesOnly = settings.favoritesOnly;
    m_showFolders = settings.showFolders;
    m_viewerFolder = viewerFolder;
    m_folder = ResolveFolder(settings.filePath, viewerFolder);
    Recatalogue(settings.selectedFile);
}

QString ChannelImportPage::SelectedItemText() const
{
    return m_choices.selected < 0 ? QString() : m_choices.items[m_choices.selected];
}

void ChannelImportPage::Recatalogue(const QString& preferred)
{
    m_catalogue = ViewerListCatalogue::Catalogue(m_folder);
    m_choices = ViewerListCatalogue::BuildChoices(m_catalogue, m_favoritesOnly, preferred);
    ReadSelected();
}

void ChannelImportPage::ReadSelected()
{
    const int entry = m_choices.SelectedEntry();
    if (entry < 0) {
        const QString channels =
            m_viewerFolder.isEmpty() ? m_folder : FindFileNoCase(m_viewerFolder, QStringLiteral("channels"));
        const QString fallback = ViewerChannelList::DefaultListFile(channels);
        m_read = fallback.isEmpty() ? ViewerChannelList::Result()
                                    : ViewerChannelList::Read(fallback, m_showFolders);
        return;
    }
    m_read = ViewerChannelList::Read(m_catalogue[entry].Path, m_showFolders);
}

void ChannelImportPage::ChooseItem(int item)
{
    if (item < 0 || item >= m_choices.items.size())
        return;
    m_choices.selected = item;
    ReadSelected();
}

void ChannelImportPage::SetFavoritesOnly(bool on)
{
    m_favoritesOnly = on;
    Recatalogue(SelectedItemText());
}

void ChannelImportPage::SetShowFolders(bool on)
{
    m_showFolders = on;
    ReadSelected();
}

void ChannelImportPage::ChooseFile(const QString& path)
{
    const QFileInfo info(path);
    m_folder = info.absolutePath();
    m_catalogue = ViewerListCatalogue::Catalogue(m_folder);
    QString preferred = SelectedItemText();
    for (const TFichier& f : std::as_const(m_catalogue)) {
        if (QFileInfo(f.Path) == info) {
            preferred = f.DisplayName();
            break;
        }
    }
    m_choices = ViewerListCatalogue::BuildChoices(m_catalogue, m_favoritesOnly, preferred);
    ReadSelected();
}

int ChannelImportPage::AddEntries(const QStringList& entries)
{
    int added = 0;
    for (const QString& entry : entries) {
        if (m_chosen.Insert(ViewerChannelList::ChannelOfEntry(entry, m_showFolders)))
            ++added;
    }
    return added;
}

bool ChannelImportPage::AddTyped(const QString& name)
{
    return m_chosen.Insert(name.trimmed());
}

int ChannelImportPage::Remove(const QStringList& names)
{
    int removed = 0;
    for (const QString& name : names) {
        if (m_chosen.Remove(name))
            ++removed;
    }
    return removed;
}

ChannelImportPage::Settings ChannelImportPage::CurrentSettings() const
{
    Settings s;
    s.filePath = m_folder;
    s.selectedFile = SelectedItemText();
    s.favoritesOnly = m_favoritesOnly;
    s.showFolders = m_showFolders;
    return s;
}

} // namespace quorx
