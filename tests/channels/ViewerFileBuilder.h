#pragma once

// Builds the viewer's binary channel files byte by byte, in every version the reader knows, so
// the tests control every offset, count and length the reader has to check.
#include "channels/TTree.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstring>
#include <memory>

namespace quorx::test {

class LeBytes
{
public:
    LeBytes& I32(qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.append(static_cast<char>((quint32(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    LeBytes& W16(quint16 v)
    {
        m_bytes.append(static_cast<char>(v & 0xFF));
        m_bytes.append(static_cast<char>(v >> 8));
        return *this;
    }
    LeBytes& Zeros(int n)
    {
        m_bytes.append(QByteArray(n, '\0'));
        return *this;
    }
    LeBytes& Raw(const QByteArray& b)
    {
        m_bytes.append(b);
        return *this;
    }
    // text padded with zeros (or cut) to exactly size bytes
    LeBytes& Fixed(const QByteArray& text, int size)
    {
        m_bytes.append(text.left(size));
        return Zeros(size - int(std::min<qsizetype>(text.size(), size)));
    }
    void PutI32At(qint64 offset, qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = static_cast<char>((quint32(v) >> (8 * i)) & 0xFF);
    }
    qint64 Size() const { return m_bytes.size(); }
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

struct Group
{
    QByteArray name; // bytes as the file holds them
    QVector<TTree> refs;
};

// Offsets of the files built below that tests patch to damage them.
constexpr qint64 kTree104GroupCountOffset = 16;
constexpr qint64 kTree105FirstGroupOffset = 104;

// Version 104: header, the list name of L bytes at 60, a table of M integers, 15 filler bytes,
// then the group records (16-bit group names).
inline QByteArray Tree104(const QByteArray& listName, bool favourites, const QVector<Group>& groups,
                          int tableCount = 2)
{
    LeBytes b;
    b.I32(0x45455254).I32(104).Zeros(8).I32(int(groups.size())).I32(0).I32(favourites ? 0 : 1).Zeros(28);
    b.I32(int(listName.size())).Raw(listName);
    b.I32(tableCount);
    for (int i = 0; i < tableCount; ++i)
        b.I32(1000 + i);
    b.Zeros(15);
    for (const Group& g : groups) {
        LeBytes r;
        for (const char c : g.name)
            r.W16(static_cast<unsigned char>(c));
        r.W16(0).Zeros(1).I32(int(g.refs.size()));
        for (const TTree& t : g.refs)
            r.Zeros(4).I32(t.N3).I32(t.N2).Zeros(8).I32(t.N6).Zeros(4);
        b.I32(int(r.Size())).Raw(r.Bytes());
    }
    return b.Bytes();
}

// Versions 105 to 107: header with the first group's offset at 8 and the list name in 64 bytes at
// 40; group records with 128-byte names and references of six words and an integer, followed by
// 0, 13 or 17 bytes.
inline QByteArray Tree105(int version, const QByteArray& listName, bool favourites,
                          const QVector<Group>& groups)
{
    const int trailing = version == 106 ? 13 : version == 107 ? 17 : 0;
    LeBytes b;
    b.I32(0x45455254)
        .I32(version)
        .I32(int(kTree105FirstGroupOffset))
        .Zeros(12)
        .I32(favourites ? 0 : 7)
        .Zeros(12);
    b.Fixed(listName, 64);
    for (const Group& g : groups) {
        b.I32(0).Fixed(g.name, 128).I32(int(g.refs.size()));
        for (const TTree& t : g.refs) {
            b.W16(quint16(t.N1)).W16(quint16(t.N3)).W16(quint16(t.N2)).W16(quint16(t.N4)).W16(quint16(t.N5));
            b.W16(quint16(t.N6)).I32(t.N7).Zeros(trailing);
        }
    }
    return b.Bytes();
}

// Version 112: records from offset 20, each with its length, then N6, N3, N2 and the name at
// fixed places; wide = the name in 16-bit characters.
inline QByteArray Dat112(const QVector<TTree>& channels, bool wide = false)
{
    LeBytes b;
    b.I32(0x54414443).I32(112).Zeros(12);
    for (const TTree& t : channels) {
        LeBytes r;
        r.Zeros(132).W16(quint16(t.N6)).Zeros(21).I32(t.N3).I32(t.N2).Zeros(26);
        const QByteArray name = t.Name.toLatin1();
        for (const char c : name) {
            r.Raw(QByteArray(1, c));
            if (wide)
                r.Zeros(1);
        }
        r.Zeros(2).Zeros(10);
        b.I32(int(r.Size())).Raw(r.Bytes());
    }
    return b.Bytes();
}

// Versions 113 and 114: the first record's offset at 8; records of a 16-bit length, six words, an
// integer and a 128-byte name. nameBytes replaces the Latin-1 names when given.
inline QByteArray Dat113(int version, const QVector<TTree>& channels,
                         const QVector<QByteArray>& nameBytes = {})
{
    LeBytes b;
    b.I32(0x54414443).I32(version).I32(16).I32(int(channels.size()));
    for (int i = 0; i < channels.size(); ++i) {
        const TTree& t = channels[i];
        b.W16(146).W16(quint16(t.N1)).W16(quint16(t.N3)).W16(quint16(t.N2)).W16(quint16(t.N4));
        b.W16(quint16(t.N5)).W16(quint16(t.N6)).I32(t.N7);
        b.Fixed(i < nameBytes.size() ? nameBytes[i] : t.Name.toLatin1(), 128);
    }
    return b.Bytes();
}

// A copy of the first n bytes in a buffer of exactly n bytes, with no terminator behind it, so
// that a read past the end touches memory the sanitizer guards.
class ExactBuffer
{
public:
    ExactBuffer(const QByteArray& source, qsizetype n) : m_storage(new char[n > 0 ? n : 1])
    {
        std::memcpy(m_storage.get(), source.constData(), size_t(n));
        m_view = QByteArray::fromRawData(m_storage.get(), n);
    }
    const QByteArray& Bytes() const { return m_view; }

private:
    std::unique_ptr<char[]> m_storage;
    QByteArray m_view;
};

inline TTree Ref(qint32 n1, qint32 n2, qint32 n3, qint32 n4, qint32 n5, qint32 n6, qint32 n7,
                 const QString& name = QString())
{
    TTree t;
    t.Name = name;
    t.N1 = n1;
    t.N2 = n2;
    t.N3 = n3;
    t.N4 = n4;
    t.N5 = n5;
    t.N6 = n6;
    t.N7 = n7;
    return t;
}

} // namespace quorx::test
