#include "channels/ByteReader.h"

#include <algorithm>

namespace quorx {

bool ByteReader::Has(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= Size() && length <= Size() - offset;
}

std::optional<qint32> ByteReader::Int32At(qint64 offset) const
{
    if (!Has(offset, 4))
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(m_data.constData() + offset);
    const quint32 v = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
    return static_cast<qint32>(v);
}

std::optional<quint16> ByteReader::WordAt(qint64 offset) const
{
    if (!Has(offset, 2))
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(m_data.constData() + offset);
    return static_cast<quint16>(quint16(p[0]) | (quint16(p[1]) << 8));
}

std::optional<quint8> ByteReader::ByteAt(qint64 offset) const
{
    if (!Has(offset, 1))
        return std::nullopt;
    return static_cast<quint8>(m_data.at(offset));
}

QByteArray ByteReader::BytesAt(qint64 offset, qint64 length) const
{
    if (offset < 0 || offset >= Size() || length <= 0)
        return {};
    return m_data.mid(offset, std::min(length, Size() - offset));
}

} // namespace quorx
