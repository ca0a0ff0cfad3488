#include "common/TextUtils.h"

#include <QStringView>

namespace quorx {

QString CleanFileName(const QString& name)
{
    static const QString forbidden = QStringLiteral("/\\:?*\"<>|");
    QString out = name;
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return out;
}

QString CapitaliseFirst(const QString& text)
{
    if (text.isEmpty())
        return text;
    // The first character may lie outside the basic plane and take two code units.
    char32_t first = text.front().unicode();
    qsizetype firstLength = 1;
    if (text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate()) {
        first = QChar::surrogateToUcs4(text.at(0), text.at(1));
        firstLength = 2;
    }
    const char32_t title = QChar::toTitleCase(first);
    return QString::fromUcs4(&title, 1) + text.mid(firstLength).toLower();
}

QString GroupDigits(qint64 value)
{
    const QString digits = QString::number(value);
    const qsizetype start = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    QString out = digits.left(start);
    const qsizetype count = digits.size() - start;
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            out += QLatin1Char(' ');
        out += digits.at(start + i);
    }
    return out;
}

bool IsWebAddress(const QString& text)
{
    return QStringView(text).trimmed().left(4).compare(QLatin1String("http"), Qt::CaseInsensitive) == 0;
}

} // namespace quorx
