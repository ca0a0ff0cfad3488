#include "PlanCommand.h"

#include "common/DateTime.h"
#include "common/IniFile.h"
#include "common/Paths.h"

#include <QDateTime>

namespace quorx::zomvara {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
const QString kGlobal = QStringLiteral("Global");

void WriteEvent(IniFile& ini, int number, const QString& command, const QString& param, const QString& time)
{
    const QString section = QStringLiteral("Event_%1").arg(number);
    ini.EraseSection(section);
    ini.WriteString(section, QStringLiteral("Command"), command);
    ini.WriteString(section, QStringLiteral("Param"), param);
    ini.WriteString(section, QStringLiteral("Time"), time);
}

} // namespace

QString PlanCommand::EventTimeText(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyy.MM.dd-HH:mm:ss"));
}

int PlanCommand::Run(const QString& installFolder, const QStringList& arguments, QTextStream& err)
{
    if (arguments.size() != 4) {
        err << "usage: zomvara --plan CHANNEL START STOP NAME  (times as \"yyyy-mm-dd hh:nn[:ss]\")\n";
        return kExitUsage;
    }
    const QString channel = arguments[0].trimmed();
    DateTime start;
    DateTime stop;
    if (channel.isEmpty()) {
        err << "zomvara --plan: the channel is empty\n";
        return kExitUsage;
    }
    if (!DateTime::ParseIso(arguments[1].trimmed(), &start) ||
        !DateTime::ParseIso(arguments[2].trimmed(), &stop)) {
        err << "zomvara --plan: START and STOP must be \"yyyy-mm-dd hh:nn[:ss]\"\n";
        return kExitUsage;
    }
    if (!(start < stop)) {
        err << "zomvara --plan: STOP must be later than START\n";
        return kExitUsage;
    }

    const QString path = FindFileNoCase(installFolder, QStringLiteral("modules/scheduler.ini"));
    IniFile ini(path);
    ini.SetPath(path);
    const int count = std::max(0, ini.ReadInteger(kGlobal, QStringLiteral("Count"), 0));
    const QString startText = EventTimeText(start.ToQDateTime());
    WriteEvent(ini, count, QStringLiteral("CH"), QLatin1Char('"') + channel + QLatin1Char('"'), startText);
    WriteEvent(ini, count + 1, QStringLiteral("StartRecord"), arguments[3], startText);
    WriteEvent(ini, count + 2, QStringLiteral("StopRecord"), QString(), EventTimeText(stop.ToQDateTime()));
    ini.WriteInteger(kGlobal, QStringLiteral("Count"), count + 3);
    QString error;
    if (!ini.Save(&error)) {
        err << "zomvara --plan: cannot write " << path << ": " << error << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace quorx::zomvara
