#include "channels/ViewerText.h"

#include "common/IniFile.h"

#include <QByteArrayView>

namespace quorx {

QString ViewerText::FromPaddedBytes(const QByteArray& bytes, bool dropFD)
{
    QByteArray kept;
    kept.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0 || (dropFD && b == 0xFD))
            continue;
        kept.append(c);
    }
    return Decode(kept);
}

QString ViewerText::Decode(const QByteArray& bytes)
{
    // Checked as a whole: a Windows-1252 name ending in a letter such as "é" (0xE9) must not be
    // taken for UTF-8 cut short.
    if (QByteArrayView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return IniFile::DecodeWindows1252(bytes);
}

} // namespace quorx
