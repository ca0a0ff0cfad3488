#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>

namespace quorx::zomvara {

// "zomvara --plan CHANNEL START STOP NAME": plans a recording in the viewer's own scheduler
// file, modules/scheduler.ini, as three events: "CH", "StartRecord" and "StopRecord".
class PlanCommand final
{
public:
    // arguments are the four values after --plan; START and STOP are "yyyy-mm-dd hh:nn[:ss]".
    static int Run(const QString& installFolder, const QStringList& arguments, QTextStream& err);

    // "yyyy.mm.dd-hh:nn:ss", the form of the viewer's scheduler file.
    static QString EventTimeText(const QDateTime& moment);
};

} // namespace quorx::zomvara
