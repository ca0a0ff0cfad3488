#pragma once

#include "channels/ChannelPreferences.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quorx {

class IniFile;
struct TEmission;

// ChannelPref.Ini, section [Channels]: a key is the profile prefix, the preference name and, for
// a channel's own preferences, the channel name ("RepFolderArte"); without a channel name it
// belongs to the profile's default entry. The file is read for every question and written for
// every change: nothing is cached, so every window and the engine see the same values.
class ChannelPreferenceStore final
{
public:
    static QString FileName() { return QStringLiteral("ChannelPref.Ini"); }
    static QString Section() { return QStringLiteral("Channels"); }

    // filePath: the preferences file; driveRoot: the root of the program's drive ("/" or a mount
    // point, with its trailing "/"), the folder of last resort.
    ChannelPreferenceStore(QString filePath, QString driveRoot);
    // The preferences file of a program folder, with that folder's drive as the last resort.
    static ChannelPreferenceStore ForProgramFolder(const QString& programFolder);

    const QString& FilePath() const { return m_filePath; }
    const QString& DriveRoot() const { return m_driveRoot; }

    // The key of a preference. A channel name is trimmed, and "=" and line breaks in it, which
    // the file could not hold in a key, are replaced.
    static QString Key(PreferenceProfile profile, const QString& name, const QString& channel = QString());

    // A channel has preferences of its own in a profile when its Format key exists.
    bool HasOwn(PreferenceProfile profile, const QString& channel) const;
    // The profile has a default entry when its plain Format key exists.
    bool HasDefault(PreferenceProfile profile) const;

    // What the preferences page shows: a channel's own values when it has them, else the
    // profile's default entry (always the default entry for an empty channel). A blank folder
    // shows the drive root; the command box is ticked only with a command line to run.
    ChannelPreferences ReadShown(PreferenceProfile profile, const QString& channel) const;

    // The eleven preferences as the channel's own. A blank channel name writes nothing.
    bool WriteOwn(PreferenceProfile profile, const QString& channel, const ChannelPreferences& values,
                  QString* error = nullptr) const;
    // The eleven preferences as the profile's default entry.
    bool WriteDefault(PreferenceProfile profile, const ChannelPreferences& values,
                      QString* error = nullptr) const;
    // The default entry and every channel's own preferences at once (one save of the file).
    bool WriteDefaultAndChannels(PreferenceProfile profile, const ChannelPreferences& values,
                                 const QStringList& channels, QString* error = nullptr) const;

    // Fills a new recording from its channel's preferences in the recording's profile: the file
    // (folder, programme, format), the three name parts, the close and power actions and the
    // command line. Every place that creates a recording calls this.
    void ApplyTo(TEmission& recording) const;

    // The recording editor's channel defaults: the channel's own values when they exist, else the
    // default entry's; nothing for an empty channel. A missing folder key reads as currentFolder,
    // and an empty folder becomes the drive root.
    std::optional<ChannelPreferences> ReadEditorDefaults(PreferenceProfile profile, const QString& channel,
                                                         const QString& currentFolder) const;
    // What the editor writes back when a recording is validated: the default entry when
    // applyToAll, or when the profile has none yet; the channel's own values when it has none yet.
    bool WriteBackFromEditor(PreferenceProfile profile, const QString& channel,
                             const ChannelPreferences& values, bool applyToAll,
                             QString* error = nullptr) const;

private:
    static ChannelPreferences ReadValues(const IniFile& ini, PreferenceProfile profile,
                                         const QString& channel, const QString& folderDefault);
    static void WriteValues(IniFile& ini, PreferenceProfile profile, const QString& channel,
                            const ChannelPreferences& values);
    static bool HasFormat(const IniFile& ini, PreferenceProfile profile, const QString& channel);
    IniFile Load() const;
    bool Update(const std::function<void(IniFile&)>& change, QString* error) const;

    QString m_filePath;
    QString m_driveRoot;
};

// Gives a new recording (its Programme, Chaine and Repetition set) the preferences of its channel
// from the program folder's ChannelPref.Ini.
void ApplyChannelPreferences(TEmission& recording, const QString& programFolder);

} // namespace quorx
