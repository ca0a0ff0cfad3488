#include "ViewerSwitch.h"

namespace quorx::zomvara {

namespace {

QString Unquoted(const QString& text)
{
    QString v = text.trimmed();
    if (v.size() >= 2 && v.front() == QLatin1Char('"') && v.back() == QLatin1Char('"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

} // namespace

QVector<ViewerSwitch> ViewerSwitch::Parse(const QStringList& arguments, QStringList* ignored)
{
    struct WithValue
    {
        QLatin1String prefix;
        Kind kind;
    };
    static const WithValue valued[] = {
        {QLatin1String("/ch:"), Kind::Channel},
        {QLatin1String("/startrecord:"), Kind::StartRecord},
        {QLatin1String("/play:"), Kind::Play},
    };
    struct Bare
    {
        QLatin1String name;
        Kind kind;
    };
    static const Bare bare[] = {
        {QLatin1String("/stoprecord"), Kind::StopRecord},
        {QLatin1String("/exit"), Kind::Exit},
        {QLatin1String("/disablempeg2decoder"), Kind::DisableMpeg2Decoder},
    };

    QVector<ViewerSwitch> out;
    for (const QString& raw : arguments) {
        const QString arg = raw.trimmed();
        bool known = false;
        for (const WithValue& w : valued) {
            if (arg.startsWith(w.prefix, Qt::CaseInsensitive)) {
                out.push_back({w.kind, Unquoted(arg.mid(w.prefix.size()))});
                known = true;
                break;
            }
        }
        if (!known) {
            for (const Bare& b : bare) {
                if (arg.compare(b.name, Qt::CaseInsensitive) == 0) {
                    out.push_back({b.kind, QString()});
                    known = true;
                    break;
                }
            }
        }
        if (!known && ignored)
            ignored->push_back(raw);
    }
    return out;
}

} // namespace quorx::zomvara
