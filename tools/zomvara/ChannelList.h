#pragma once

#include <QString>
#include <QVector>

namespace quorx::zomvara {

struct ChannelEntry
{
    QString name;
    QString source; // as written; parsed when the channel is tuned
};

// The viewer's channels: channels/sources.ini in its folder, section [Channels], one key per
// channel (name = source), in the file's order.
class ChannelList final
{
public:
    // Loads the list; a missing file is first written with a few demonstration channels.
    bool Load(const QString& installFolder, QString* error);

    const QVector<ChannelEntry>& Entries() const { return m_entries; }
    // The index of a channel by name, without regard to case; -1 when unknown.
    int IndexOf(const QString& name) const;
    QString Path() const { return m_path; }

    static QString ChannelsFolder(const QString& installFolder);

private:
    QString m_path;
    QVector<ChannelEntry> m_entries;
};

} // namespace quorx::zomvara
