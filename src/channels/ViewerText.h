#pragma once

#include <QByteArray>
#include <QString>

namespace quorx {

// Texts inside the viewer's binary files are single bytes in the viewer's code page, padded with
// zeros. Files written on Windows hold Windows-1252; files written by newer tools may hold UTF-8.
class ViewerText final
{
public:
    // A fixed-size text field: zero bytes dropped (and 0xFD bytes too when asked), then decoded.
    static QString FromPaddedBytes(const QByteArray& bytes, bool dropFD);
    // Decodes bytes already stripped of their padding.
    static QString Decode(const QByteArray& bytes);
};

} // namespace quorx
