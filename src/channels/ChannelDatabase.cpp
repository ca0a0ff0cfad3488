#include "channels/ChannelDatabase.h"

#include "channels/ByteReader.h"
#include "channels/ViewerText.h"

#include <algorithm>

namespace quorx {

namespace {

using Status = ViewerFileContent::Status;

// Version 112, from the start of a record: the length, 132 skipped bytes, N6 (a word), 21
// skipped bytes, N3, N2, 26 skipped bytes, then the name.
constexpr qint64 k112N6 = 4 + 132;
constexpr qint64 k112N3 = k112N6 + 2 + 21;
constexpr qint64 k112N2 = k112N3 + 4;
constexpr qint64 k112Name = k112N2 + 4 + 26;

// Versions 113 and 114: the length (a word), six words, one integer, then 128 bytes of name.
constexpr qint64 k113Name = 2 + 6 * 2 + 4;
constexpr qint64 k113NameSize = 128;

} // namespace

ViewerFileContent ChannelDatabase::Read(const QByteArray& bytes)
{
    ViewerFileContent content;
    const auto version = ByteReader(bytes).Int32At(4);
    if (!version)
        return content;
    content.version = *version;
    content.status = Status::Ok;
    switch (content.version) {
    case 112:
        ReadVersion112(bytes, &content);
        break;
    case 113:
    case 114:
        ReadVersion113(bytes, &content);
        break;
    default:
        content.status = Status::UnsupportedVersion;
        break;
    }
    return content;
}

ViewerFileContent ChannelDatabase::ReadFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadViewerFile(path, kViewerFileReadLimit, &bytes))
        return {};
    return Read(bytes);
}

void ChannelDatabase::ReadVersion112(const QByteArray& bytes, ViewerFileContent* content)
{
    const ByteReader in(bytes);
    qint64 pos = 20;
    while (pos < in.Size()) {
        const auto length = in.Int32At(pos);
        if (!length || *length < 0) {
            content->status = Status::Incomplete;
            return;
        }
        const qint64 recordEnd = pos + 4 + qint64(*length);
        const qint64 limit = std::min(recordEnd, in.Size());
        if (pos + k112Name > limit) {
            // A record too short for its fields holds no channel we could trust.
            content->status = Status::Incomplete;
            if (recordEnd > in.Size())
                return;
            pos = recordEnd;
            continue;
        }
        TTree channel;
        channel.N6 = *in.WordAt(pos + k112N6);
        channel.N3 = *in.Int32At(pos + k112N3);
        channel.N2 = *in.Int32At(pos + k112N2);
        // The name ends at two zero bytes in a row; single zeros are the high bytes of a 16-bit
        // text, whose low bytes are kept.
        QByteArray name;
        for (qint64 q = pos + k112Name; q < limit; ++q) {
            const char c = bytes.at(q);
            if (c == 0) {
                if (q + 1 < limit && bytes.at(q + 1) == 0)
                    break;
                continue;
            }
            name.append(c);
        }
        channel.Name = ViewerText::Decode(name);
        content->entries.append(channel);
        if (recordEnd > in.Size()) {
            content->status = Status::Incomplete;
            return;
        }
        pos = recordEnd;
    }
}

void ChannelDatabase::ReadVersion113(const QByteArray& bytes, ViewerFileContent* content)
{
    const ByteReader in(bytes);
    const auto first = in.Int32At(8);
    if (!first || *first < 0) {
        content->status = Status::Incomplete;
        return;
    }
    qint64 pos = *first;
    while (pos < in.Size()) {
        const auto length = in.WordAt(pos);
        if (!length || *length == 0) {
            content->status = Status::Incomplete;
            return;
        }
        const qint64 recordEnd = pos + *length;
        const qint64 limit = std::min(recordEnd, in.Size());
        if (pos + k113Name > limit) {
            content->status = Status::Incomplete;
            if (recordEnd > in.Size())
                return;
            pos = recordEnd;
            continue;
        }
        TTree channel;
        channel.N1 = *in.WordAt(pos + 2);
        channel.N3 = *in.WordAt(pos + 4);
        channel.N2 = *in.WordAt(pos + 6);
        channel.N4 = *in.WordAt(pos + 8);
        channel.N5 = *in.WordAt(pos + 10);
        channel.N6 = *in.WordAt(pos + 12);
        channel.N7 = *in.Int32At(pos + 14);
        const qint64 nameSize = std::min(k113NameSize, limit - (pos + k113Name));
        channel.Name = ViewerText::FromPaddedBytes(in.BytesAt(pos + k113Name, nameSize), true);
        content->entries.append(channel);
        if (recordEnd > in.Size()) {
            content->status = Status::Incomplete;
            return;
        }
        pos = recordEnd;
    }
}

} // namespace quorx
