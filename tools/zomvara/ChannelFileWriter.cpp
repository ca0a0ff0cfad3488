#include "ChannelFileWriter.h"

#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace quorx::zomvara {

namespace {

constexpr int kTreeHeaderSize = 128;
constexpr int kListNameOffset = 40;
constexpr int kListNameSize = 64;
constexpr int kGroupNameSize = 128;
constexpr int kDatHeaderSize = 16;
constexpr int kChannelNameSize = 128;
const char kGroupName[] = "Favourites";

void PutInt32(QByteArray& out, int offset, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

void AppendInt32(QByteArray& out, std::int32_t v)
{
    out.append(4, '\0');
    PutInt32(out, static_cast<int>(out.size()) - 4, v);
}

void AppendWord(QByteArray& out, std::uint16_t v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

// A text in a fixed field, zero-padded, cut on a character boundary so that it stays valid UTF-8.
QByteArray FixedText(const QString& text, int size)
{
    QByteArray bytes;
    for (const QChar* c = text.constBegin(); c != text.constEnd(); ++c) {
        int units = 1;
        if (c->isHighSurrogate() && c + 1 != text.constEnd())
            units = 2;
        const QByteArray one = QString(c, units).toUtf8();
        if (bytes.size() + one.size() > size)
            break;
        bytes += one;
        c += units - 1;
    }
    bytes.append(size - bytes.size(), '\0');
    return bytes;
}

void AppendIdentity(QByteArray& out, const ChannelFileWriter::Identity& id)
{
    // The order the files keep: N1, N3, N2, N4, N5, N6, then N7.
    AppendWord(out, id.n1);
    AppendWord(out, id.n3);
    AppendWord(out, id.n2);
    AppendWord(out, id.n4);
    AppendWord(out, id.n5);
    AppendWord(out, id.n6);
    AppendInt32(out, id.n7);
}

bool WriteIfChanged(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
        return true;
    current.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

ChannelFileWriter::Identity ChannelFileWriter::IdentityOf(int index, const QString& name)
{
    // FNV-1a of the name: stable from run to run, and never 0, which would match any channel.
    std::uint32_t h = 2166136261u;
    for (const char c : name.toUtf8()) {
        h ^= static_cast<std::uint8_t>(c);
        h *= 16777619u;
    }
    if (h == 0)
        h = 1;
    Identity id{};
    id.n1 = 1;                                         // terrestrial tuner
    id.n2 = static_cast<std::uint16_t>(0x100 + index); // service
    id.n3 = 1;                                         // transport stream
    id.n4 = 0;
    id.n5 = 0;
    id.n6 = static_cast<std::uint16_t>(index + 1);
    id.n7 = static_cast<std::int32_t>(h & 0x7FFFFFFF) | 1;
    return id;
}

QByteArray ChannelFileWriter::FavouritesTree(const QVector<ChannelEntry>& channels, const QString& listName)
{
    QByteArray out(kTreeHeaderSize, '\0');
    out.replace(0, 4, "ZVFT");
    PutInt32(out, 4, kTreeVersion);
    PutInt32(out, 8, kTreeHeaderSize); // where the first group record starts
    PutInt32(out, 16, 1);              // groups
    PutInt32(out, 24, 0);              // 0: a favourites list
    out.replace(kListNameOffset, kListNameSize, FixedText(listName, kListNameSize));

    const int recordStart = static_cast<int>(out.size());
    AppendInt32(out, 0); // record length, filled in below
    out += FixedText(QString::fromLatin1(kGroupName), kGroupNameSize);
    AppendInt32(out, static_cast<std::int32_t>(channels.size()));
    for (int i = 0; i < channels.size(); ++i)
        AppendIdentity(out, IdentityOf(i, channels[i].name));
    PutInt32(out, recordStart, static_cast<std::int32_t>(out.size() - recordStart - 4));
    return out;
}

QByteArray ChannelFileWriter::ChannelsDat(const QVector<ChannelEntry>& channels)
{
    constexpr int kRecordSize = 2 + 6 * 2 + 4 + kChannelNameSize;
    QByteArray out(kDatHeaderSize, '\0');
    out.replace(0, 4, "ZVCD");
    PutInt32(out, 4, kDatVersion);
    PutInt32(out, 8, kDatHeaderSize); // where the first record starts
    PutInt32(out, 12, static_cast<std::int32_t>(channels.size()));
    for (int i = 0; i < channels.size(); ++i) {
        AppendWord(out, kRecordSize);
        AppendIdentity(out, IdentityOf(i, channels[i].name));
        out += FixedText(channels[i].name, kChannelNameSize);
    }
    return out;
}

bool ChannelFileWriter::WriteAll(const QString& channelsFolder, const QVector<ChannelEntry>& channels,
                                 QString* error)
{
    if (!QDir().mkpath(channelsFolder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(channelsFolder);
        return false;
    }
    const QString tree = FindFileNoCase(channelsFolder, QStringLiteral("Favourites.tree"));
    const QString dat = FindFileNoCase(channelsFolder, QStringLiteral("channels.dat"));
    return WriteIfChanged(tree, FavouritesTree(channels, QStringLiteral("Favourites")), error) &&
           WriteIfChanged(dat, ChannelsDat(channels), error);
}

} // namespace quorx::zomvara
