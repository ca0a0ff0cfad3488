#include "FileSource.h"

namespace quorx::zomvara {

FileSource::FileSource(const QString& path, int kibPerSecond, QObject* parent)
    : PacedSource(kibPerSecond * 1024, 1, parent), m_file(path)
{
}

void FileSource::Start()
{
    m_troubleShown = false;
    if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly)) {
        Q_EMIT Trouble(QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString()));
        m_troubleShown = true;
    }
    PacedSource::Start();
}

QByteArray FileSource::Produce(qint64 size)
{
    QByteArray out;
    if (!m_file.isOpen())
        return out;
    // Two rounds without data means the file is empty: there is nothing to loop over.
    int emptyReads = 0;
    while (out.size() < size && emptyReads < 2) {
        const QByteArray chunk = m_file.read(size - out.size());
        if (chunk.isEmpty()) {
            ++emptyReads;
            m_file.seek(0);
            continue;
        }
        emptyReads = 0;
        out += chunk;
    }
    if (out.isEmpty() && !m_troubleShown) {
        Q_EMIT Trouble(QStringLiteral("%1 is empty").arg(m_file.fileName()));
        m_troubleShown = true;
    }
    return out;
}

} // namespace quorx::zomvara
