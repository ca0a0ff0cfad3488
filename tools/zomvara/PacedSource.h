#pragma once

#include "StreamSource.h"

#include <QElapsedTimer>
#include <QTimer>

namespace quorx::zomvara {

// A source that produces its data itself, at a steady rate, ten times a second.
class PacedSource : public StreamSource
{
    Q_OBJECT

public:
    explicit PacedSource(int bytesPerSecond, int granule, QObject* parent = nullptr);

    void Start() override;
    void Stop() override;

protected:
    // The next bytes of the stream; size is a multiple of the granule.
    virtual QByteArray Produce(qint64 size) = 0;

private:
    void OnTick();

    qint64 m_bytesPerSecond;
    int m_granule;
    qint64 m_delivered = 0;
    QElapsedTimer m_elapsed;
    QTimer m_timer;
};

} // namespace quorx::zomvara
