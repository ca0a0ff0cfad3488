#include "RecordingFile.h"

#include <QDir>
#include <QFileInfo>

namespace quorx::zomvara {

bool RecordingFile::Open(const QString& path, QString* error)
{
    Close();
    m_written = 0;
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    m_file.setFileName(info.absoluteFilePath());
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

bool RecordingFile::Append(const QByteArray& data, QString* error)
{
    if (!m_file.isOpen())
        return false;
    const qint64 n = m_file.write(data);
    if (n != data.size()) {
        if (n > 0)
            m_written += n;
        *error = QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString());
        Close();
        return false;
    }
    m_written += n;
    return true;
}

void RecordingFile::Close()
{
    if (m_file.isOpen())
        m_file.close();
}

} // namespace quorx::zomvara
