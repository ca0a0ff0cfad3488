#pragma once

#include <QFile>
#include <QString>

namespace quorx::zomvara {

// The file a recording goes into. It is a stream, so it cannot be written atomically; each
// chunk is flushed at once, so that the file's size tells how far the recording has come.
class RecordingFile final
{
public:
    // Creates missing folders and replaces an existing file, as a new recording does.
    bool Open(const QString& path, QString* error);
    // False when the write failed (full disk, removed drive); the file is then closed.
    bool Append(const QByteArray& data, QString* error);
    void Close();

    bool IsOpen() const { return m_file.isOpen(); }
    QString Path() const { return m_file.fileName(); }
    qint64 Written() const { return m_written; }

private:
    QFile m_file;
    qint64 m_written = 0;
};

} // namespace quorx::zomvara
