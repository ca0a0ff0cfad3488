#pragma once

#include "PacedSource.h"
#include "TransportStreamGenerator.h"

namespace quorx::zomvara {

class SyntheticSource final : public PacedSource
{
    Q_OBJECT

public:
    SyntheticSource(int kibPerSecond, std::uint16_t dataPid, QObject* parent = nullptr);

protected:
    QByteArray Produce(qint64 size) override;

private:
    TransportStreamGenerator m_generator;
};

} // namespace quorx::zomvara
