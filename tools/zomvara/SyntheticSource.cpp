#include "SyntheticSource.h"

namespace quorx::zomvara {

SyntheticSource::SyntheticSource(int kibPerSecond, std::uint16_t dataPid, QObject* parent)
    : PacedSource(kibPerSecond * 1024, TransportStreamGenerator::kPacketSize, parent), m_generator(dataPid)
{
}

QByteArray SyntheticSource::Produce(qint64 size)
{
    return m_generator.NextPackets(static_cast<int>(size / TransportStreamGenerator::kPacketSize));
}

} // namespace quorx::zomvara
