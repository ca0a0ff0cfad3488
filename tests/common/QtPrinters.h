#pragma once

// Readable failure messages for the Qt types the tests compare; GoogleTest finds these by
// argument-dependent lookup, so they live in the global namespace beside the Qt types.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"';
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r')
            *os << "\\r";
        else if (b == '\n')
            *os << "\\n";
        else if (b < 0x20 || b >= 0x7F) {
            const char* hex = "0123456789ABCDEF";
            *os << "\\x" << hex[b >> 4] << hex[b & 15];
        } else
            *os << c;
    }
    *os << '"';
}

inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << '(' << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}
