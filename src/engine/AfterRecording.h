#pragma once

#include "power/PowerControl.h"

#include <QString>

namespace quorx {

class CommandRunner;
class JournalSink;
class ScheduleEngine;
struct Settings;
struct TEmission;

// What follows a recording: its command line on the new file, then standby, hibernation or a shut
// down, at once when nothing else is going on, else through the pending action that the power code
// retries until every instance agrees. Main thread only.
class AfterRecording final
{
public:
    AfterRecording(const Settings& settings, PowerControl& power, ScheduleEngine& engine,
                   CommandRunner& commands, JournalSink& journal);
    Q_DISABLE_COPY_MOVE(AfterRecording)

    // Called by the end of a recording with a copy of the record that ended, the file it was recorded
    // into and whether the viewer counts as closed.
    void Run(const TEmission& ended, const QString& recordedFile, bool viewerClosed);

    // After-recording command lines still running.
    int RunningCommands() const;

    // The action when it has to wait (a command line runs, or something keeps the computer busy):
    // shut down is tested first. lastRecording: nothing is left to wake the computer for.
    static PowerAction DeferredAction(const TEmission& ended, bool lastRecording, bool offQuandDernier,
                                      bool hibernateAllowed);
    // The action carried out at once: standby is tested first.
    static PowerAction ImmediateAction(const TEmission& ended, bool lastRecording, bool offQuandDernier,
                                       bool hibernateAllowed);

    // The command line with its first "[file]" marker (any letter case) replaced by the quoted path.
    static QString BuildCommandLine(const QString& command, const QString& recordedFile);
    // One word for /bin/sh whatever the text holds.
    static QString ShellQuote(const QString& text);
    // Where a command runs: the recorded file's folder, or no particular folder when it is gone.
    static QString WorkingFolderFor(const QString& recordedFile);

private:
    void Act(PowerAction action);

    const Settings& m_settings;
    PowerControl& m_power;
    ScheduleEngine& m_engine;
    CommandRunner& m_commands;
    JournalSink& m_journal;
};

} // namespace quorx
