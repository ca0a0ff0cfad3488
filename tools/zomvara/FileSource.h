#pragma once

#include "PacedSource.h"

#include <QFile>

namespace quorx::zomvara {

// A recording played in a loop, as if it were broadcast again and again.
class FileSource final : public PacedSource
{
    Q_OBJECT

public:
    FileSource(const QString& path, int kibPerSecond, QObject* parent = nullptr);

    void Start() override;

protected:
    QByteArray Produce(qint64 size) override;

private:
    QFile m_file;
    bool m_troubleShown = false;
};

} // namespace quorx::zomvara
