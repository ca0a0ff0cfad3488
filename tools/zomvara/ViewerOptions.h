#pragma once

#include <QString>

namespace quorx::zomvara {

// The viewer's own settings file, Zomvara.Ini in its folder: [Options] SetLastChannel,
// ShowSplash and LastChannel, [AVManager] RecordDir and RecType.
class ViewerOptions final
{
public:
    // Reads the file; a missing file is written with the defaults first.
    void Load(const QString& installFolder);

    bool SetLastChannel() const { return m_setLastChannel; }
    QString LastChannel() const { return m_lastChannel; }
    QString RecordDir() const { return m_recordDir; }
    int RecType() const { return m_recType; }
    // ".Pva" for 1, ".Mpa" for 2, ".Mpg" for any other value.
    QString RecordingExtension() const;

    // Keeps the other keys, which the scheduler may have changed since the file was read.
    bool SaveLastChannel(const QString& channel, QString* error) const;

private:
    QString m_path;
    QString m_installFolder;
    bool m_setLastChannel = true;
    QString m_lastChannel;
    QString m_recordDir;
    int m_recType = 1;
};

} // namespace quorx::zomvara
