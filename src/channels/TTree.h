#pragma once

#include <QString>

namespace quorx {

// One channel reference of a viewer list file, or one channel of the viewer's channel database:
// a name (the group name for a reference, the channel name for a channel) and seven identity
// numbers. The numbers a file version does not hold stay 0, which the matching takes as "any".
struct TTree
{
    QString Name;
    qint32 N1 = 0;
    qint32 N2 = 0;
    qint32 N3 = 0;
    qint32 N4 = 0;
    qint32 N5 = 0;
    qint32 N6 = 0;
    qint32 N7 = 0;

    friend bool operator==(const TTree&, const TTree&) = default;
};

} // namespace quorx
