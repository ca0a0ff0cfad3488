#pragma once

#include "channels/ChannelNameList.h"
#include "channels/TFichier.h"
#include "channels/ViewerChannelList.h"
#include "channels/ViewerListCatalogue.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace quorx {

class IniFile;

// The rules of the channel window's import page: the folder of the viewer's list files, the list
// chosen, the channels it offers (the left list) and the scheduler's channel list being built
// (the right list). The window shows these lists and forwards its controls' actions here.
class ChannelImportPage final
{
public:
    // Section [Channels] of Config.Ini: read when the page is first shown, written when the
    // window closes.
    struct Settings
    {
        QString filePath; // empty: the viewer's channels folder
        QString selectedFile;
        bool favoritesOnly = true;
        bool showFolders = true;
        // [Config] XChaines and YChaines; absent: the window is centred.
        std::optional<int> x;
        std::optional<int> y;

        static Settings Load(const IniFile& config);
        void Save(IniFile& config) const;
    };

    // The folder of the viewer's list files: the configured one, else the viewer's "channels"
    // folder; when that does not exist, [Channels] FilePath of the viewer's own Config.Ini; when
    // that does not exist either, the viewer's "channels" folder.
    static QString ResolveFolder(const QString& configuredFolder, const QString& viewerFolder);

    explicit ChannelImportPage(ChannelNameList schedulerList = ChannelNameList());

    // The first showing of the page: resolves and catalogues the folder, then chooses the list
    // named in the settings, or the first list, and reads it. With no list to choose, the first
    // ChannelList0.tree ... ChannelList5.tree of the viewer's channels folder is read.
    void Open(const Settings& settings, const QString& viewerFolder);
    bool IsOpen() const { return m_open; }

    const QString& Folder() const { return m_folder; }
    const QVector<TFichier>& Catalogue() const { return m_catalogue; }
    const ViewerListCatalogue::Choices& Choices() const { return m_choices; }
    QString SelectedItemText() const;

    // Choosing an item of the list selector reads that list.
    void ChooseItem(int item);
    void SetFavoritesOnly(bool on);
    void SetShowFolders(bool on);
    bool FavoritesOnly() const { return m_favoritesOnly; }
    bool ShowFolders() const { return m_showFolders; }
    // A list file chosen in the file dialog: its folder is catalogued and the file chosen.
    void ChooseFile(const QString& path);

    // The channels of the chosen list, and how reading it went.
    const ChannelNameList& Available() const { return m_read.names; }
    const ViewerChannelList::Result& LastRead() const { return m_read; }

    // The scheduler's channel list being built.
    const ChannelNameList& Chosen() const { return m_chosen; }
    void SetChosen(ChannelNameList names) { m_chosen = std::move(names); }
    // Adds the channels that entries of the left list stand for; returns how many were new.
    int AddEntries(const QStringList& entries);
    int AddAll() { return AddEntries(Available().Names()); }
    // A typed name, trimmed; false when blank or already there.
    bool AddTyped(const QString& name);
    int Remove(const QStringList& names);
    void RemoveAll() { m_chosen.Clear(); }

    // What the window writes back when it closes.
    Settings CurrentSettings() const;

private:
    void Recatalogue(const QString& preferred);
    void ReadSelected();

    bool m_open = false;
    QString m_folder;
    QString m_viewerFolder;
    bool m_favoritesOnly = true;
    bool m_showFolders = true;
    QVector<TFichier> m_catalogue;
    ViewerListCatalogue::Choices m_choices;
    ViewerChannelList::Result m_read;
    ChannelNameList m_chosen;
};

} // namespace quorx
