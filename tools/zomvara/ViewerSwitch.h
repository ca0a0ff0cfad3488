#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace quorx::zomvara {

// One switch of a start of the viewer. Each switch is one argument; its name is read without
// regard to case and its value may come inside one pair of double quotes.
struct ViewerSwitch
{
    enum class Kind
    {
        Channel,
        StartRecord,
        StopRecord,
        Exit,
        DisableMpeg2Decoder,
        Play
    };
    Kind kind;
    QString value;

    // The switches of a command line in their order; arguments that are no switch of ours go to
    // ignored (when given).
    static QVector<ViewerSwitch> Parse(const QStringList& arguments, QStringList* ignored = nullptr);
};

} // namespace quorx::zomvara
