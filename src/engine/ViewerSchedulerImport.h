#pragma once

#include "common/DateTime.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace quorx {

class ChannelPreferenceStore;
class MergeAdjacent;
class ScheduleEngine;
class ScheduleTable;
struct Settings;

// Takes over the recordings planned in the viewer's own scheduler (modules/scheduler.ini of the
// viewer folder), then empties that file so that each is taken once.
class ViewerSchedulerImport final
{
public:
    // Opens the recording editor on a new record (when EPGVerify is on); false when the user
    // cancelled it, which withdraws the record.
    using VerifyHook = std::function<bool(std::int32_t recordId)>;

    struct Result
    {
        int taken = 0;         // records kept
        bool fileRead = false; // the file existed and was read
        bool listFull = false; // the list reached 256 records; the rest stays in the file
        QString error;         // the file could not be written back
    };

    ViewerSchedulerImport(ScheduleTable& table, const Settings& settings, ScheduleEngine& engine,
                          const ChannelPreferenceStore* preferences, MergeAdjacent* merge);
    Q_DISABLE_COPY_MOVE(ViewerSchedulerImport)

    void SetVerifyHook(VerifyHook hook) { m_verify = std::move(hook); }

    // Does nothing unless EPGStandard is on and no import is running.
    Result Run(const QString& viewerFolder);
    bool Running() const { return m_running; }

    static QString FileRelativePath() { return QStringLiteral("modules/scheduler.ini"); }
    // The Time of an event: "yyyy?m.d-h:n:s" or "yyyy?m.d-h.n.s". False when it holds no valid moment.
    static bool ParseEventTime(const QString& text, DateTime* date, DateTime* time);

private:
    ScheduleTable& m_table;
    const Settings& m_settings;
    ScheduleEngine& m_engine;
    const ChannelPreferenceStore* m_preferences;
    MergeAdjacent* m_merge;
    VerifyHook m_verify;
    bool m_running = false;
};

} // namespace quorx
