#include "channels/TreeFile.h"

#include "channels/ByteReader.h"
#include "channels/ViewerText.h"

#include <algorithm>

namespace quorx {

namespace {

using Status = ViewerFileContent::Status;

// Size of one channel reference in a version 104 group: 4 skipped bytes, N3, N2, 8 skipped
// bytes, N6, 4 skipped bytes.
constexpr qint64 kReference104Size = 28;
// Versions 105 to 107: six words and one integer, then bytes the reader skips.
constexpr qint64 kReferenceNumbersSize = 16;
// Versions 105 to 107: 4 skipped bytes, the group name, the reference count.
constexpr qint64 kGroupHeaderSize = 4 + 128 + 4;

} // namespace

TreeFile::Header TreeFile::ReadHeader(const QByteArray& bytes)
{
    const ByteReader in(bytes);
    Header header;
    const auto version = in.Int32At(4);
    if (!version)
        return header;
    header.version = *version;
    switch (header.version) {
    case 104: {
        header.favourites = in.Int32At(24) == std::optional<qint32>(0);
        const qint32 length = in.Int32At(56).value_or(0);
        header.name = ViewerText::FromPaddedBytes(in.BytesAt(60, length), false).trimmed();
        break;
    }
    case 105:
    case 106:
    case 107:
        header.favourites = in.Int32At(24) == std::optional<qint32>(0);
        header.name = ViewerText::FromPaddedBytes(in.BytesAt(40, 64), header.version == 107).trimmed();
        break;
    default:
        break;
    }
    return header;
}

TreeFile::Header TreeFile::ReadHeaderOfFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadViewerFile(path, kHeaderReadLimit, &bytes))
        return {};
    return ReadHeader(bytes);
}

ViewerFileContent TreeFile::ReadReferences(const QByteArray& bytes)
{
    ViewerFileContent content;
    const auto version = ByteReader(bytes).Int32At(4);
    if (!version)
        return content;
    content.version = *version;
    content.status = Status::Ok;
    switch (content.version) {
    case 104:
        ReadVersion104(bytes, &content);
        break;
    case 105:
        ReadVersion105To107(bytes, 0, false, &content);
        break;
    case 106:
        ReadVersion105To107(bytes, 13, false, &content);
        break;
    case 107:
        ReadVersion105To107(bytes, 17, true, &content);
        break;
    default:
        content.status = Status::UnsupportedVersion;
        break;
    }
    return content;
}

ViewerFileContent TreeFile::ReadReferencesOfFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadViewerFile(path, kViewerFileReadLimit, &bytes))
        return {};
    return ReadReferences(bytes);
}

void TreeFile::ReadVersion104(const QByteArray& bytes, ViewerFileContent* content)
{
    const ByteReader in(bytes);
    const auto groups = in.Int32At(16);
    const auto nameLength = in.Int32At(56);
    if (!groups || !nameLength || *nameLength < 0) {
        content->status = Status::Incomplete;
        return;
    }
    const qint64 tableOffset = 60 + qint64(*nameLength);
    const auto tableCount = in.Int32At(tableOffset);
    if (!tableCount || *tableCount < 0) {
        content->status = Status::Incomplete;
        return;
    }
    qint64 pos = 60 + qint64(*nameLength) + 4 * qint64(*tableCount) + 19;

    for (qint32 g = 0; g < *groups; ++g) {
        const auto length = in.Int32At(pos);
        if (!length || *length < 0) {
            content->status = Status::Incomplete;
            return;
        }
        const qint64 recordEnd = pos + 4 + qint64(*length);
        if (recordEnd > in.Size())
            content->status = Status::Incomplete;
        const qint64 limit = std::min(recordEnd, in.Size());

        // The group name: 16-bit characters up to a zero one, of which the low byte is kept.
        QByteArray name;
        qint64 q = pos + 4;
        bool terminated = false;
        while (q + 2 <= limit) {
            const quint16 ch = *in.WordAt(q);
            q += 2;
            if (ch == 0) {
                terminated = true;
                break;
            }
            if ((ch & 0xFF) != 0)
                name.append(static_cast<char>(ch & 0xFF));
        }
        q += 1;
        const auto count = q + 4 <= limit ? in.Int32At(q) : std::nullopt;
        if (!terminated || !count) {
            content->status = Status::Incomplete;
        } else {
            const QString group = ViewerText::Decode(name);
            q += 4;
            for (qint32 i = 0; i < *count; ++i) {
                if (q + kReference104Size > limit) {
                    content->status = Status::Incomplete;
                    break;
                }
                TTree ref;
                ref.Name = group;
                ref.N3 = *in.Int32At(q + 4);
                ref.N2 = *in.Int32At(q + 8);
                ref.N6 = *in.Int32At(q + 20);
                content->entries.append(ref);
                q += kReference104Size;
            }
        }
        if (recordEnd >= in.Size()) {
            if (g + 1 < *groups)
                content->status = Status::Incomplete;
            return;
        }
        pos = recordEnd;
    }
}

void TreeFile::ReadVersion105To107(const QByteArray& bytes, int trailingBytes, bool dropFD,
                                   ViewerFileContent* content)
{
    const ByteReader in(bytes);
    const auto first = in.Int32At(8);
    if (!first || *first < 0) {
        content->status = Status::Incomplete;
        return;
    }
    qint64 pos = *first;
    while (pos < in.Size()) {
        if (!in.Has(pos, kGroupHeaderSize)) {
            content->status = Status::Incomplete;
            return;
        }
        const QString group = ViewerText::FromPaddedBytes(in.BytesAt(pos + 4, 128), dropFD);
        const qint32 count = *in.Int32At(pos + 132);
        qint64 q = pos + kGroupHeaderSize;
        for (qint32 i = 0; i < count; ++i) {
            if (!in.Has(q, kReferenceNumbersSize)) {
                content->status = Status::Incomplete;
                return;
            }
            TTree ref;
            ref.Name = group;
            ref.N1 = *in.WordAt(q);
            ref.N3 = *in.WordAt(q + 2);
            ref.N2 = *in.WordAt(q + 4);
            ref.N4 = *in.WordAt(q + 6);
            ref.N5 = *in.WordAt(q + 8);
            ref.N6 = *in.WordAt(q + 10);
            ref.N7 = *in.Int32At(q + 12);
            content->entries.append(ref);
            q += kReferenceNumbersSize + trailingBytes;
        }
        pos = q;
    }
    if (pos > in.Size())
        content->status = Status::Incomplete;
}

} // namespace quorx
