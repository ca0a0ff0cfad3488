#include "engine/NewRecording.h"

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "schedule/ScheduleTable.h"
#include "schedule/SettingsStore.h"
#include "schedule/TEmission.h"

namespace quorx {

QString NewRecording::LastChannel(const IniFile& config)
{
    QString channel = config.ReadString(QStringLiteral("Saisie"), QStringLiteral("Chaine"));
    // Older versions wrote the name inside quotes of their own.
    if (channel.startsWith(QLatin1Char('"')))
        channel.remove(0, 1);
    if (channel.endsWith(QLatin1Char('"')))
        channel.chop(1);
    return channel;
}

int NewRecording::Prepare(ScheduleTable& table, const QString& programFolder, DateTime now)
{
    if (table.IsFull())
        return -1;
    IniFile config;
    config.Load(SettingsStore::FilePath(programFolder));

    TEmission e;
    const DateTime start = now.WithoutSeconds();
    const DateTime end = start.AddMinutes(120);
    e.DateDebut = start.DatePart();
    e.HeureDebut = start.TimePart();
    e.DateFin = end.DatePart();
    e.HeureFin = end.TimePart();
    e.Actif = true;
    e.InactifPro = false;
    e.GridRow = 0;
    e.Chaine = LastChannel(config);
    ApplyChannelPreferences(e, programFolder);
    return table.Append(e);
}

} // namespace quorx
