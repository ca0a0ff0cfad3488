#pragma once

#include <QByteArray>

#include <optional>

namespace quorx {

// Little-endian reads from a file held in memory. Every read names its offset and fails, rather
// than reading past the end, when the bytes are not all there: the viewer's files may be cut short
// or damaged, and every length in them is checked against what is really there.
class ByteReader final
{
public:
    explicit ByteReader(const QByteArray& data) : m_data(data) {}

    qint64 Size() const { return m_data.size(); }
    // True when length bytes from offset lie inside the data (a negative offset or length never does).
    bool Has(qint64 offset, qint64 length) const;

    std::optional<qint32> Int32At(qint64 offset) const;
    std::optional<quint16> WordAt(qint64 offset) const;
    std::optional<quint8> ByteAt(qint64 offset) const;
    // Up to length bytes from offset, cut at the end of the data; empty when offset is outside.
    QByteArray BytesAt(qint64 offset, qint64 length) const;

private:
    const QByteArray& m_data;
};

} // namespace quorx
