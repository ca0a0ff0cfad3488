#include "engine/AfterRecording.h"

#include "common/JournalSink.h"
#include "engine/CommandRunner.h"
#include "engine/JournalWriter.h"
#include "engine/ScheduleEngine.h"
#include "schedule/Settings.h"
#include "schedule/TEmission.h"

#include <QFileInfo>

namespace quorx {

AfterRecording::AfterRecording(const Settings& settings, PowerControl& power, ScheduleEngine& engine,
                               CommandRunner& commands, JournalSink& journal)
    : m_settings(settings), m_power(power), m_engine(engine), m_commands(commands), m_journal(journal)
{
    // A command that could not start leaves a failure in the journal beside its own event, so the
    // user sees in the journal viewer that it never ran and why.
    m_commands.SetFailureHandler([this](const CommandFailure& failure) {
        QString comment = failure.commandLine;
        if (!failure.reason.isEmpty())
            comment += QLatin1String(" (") + failure.reason + QLatin1Char(')');
        m_journal.WriteJournalEvent(JournalWriter::Text(JournalWriter::RecordingFailed), failure.title,
                                    comment, QString());
    });
}

int AfterRecording::RunningCommands() const
{
    return m_commands.Running();
}

PowerAction AfterRecording::DeferredAction(const TEmission& ended, bool lastRecording, bool offQuandDernier,
                                           bool hibernateAllowed)
{
    if (lastRecording && offQuandDernier)
        return hibernateAllowed && !ended.Eteindre ? PowerAction::Hibernate : PowerAction::ShutDown;
    if (ended.Eteindre)
        return PowerAction::ShutDown;
    if (ended.Veille)
        return PowerAction::Standby;
    if (ended.VeillePro)
        return PowerAction::Hibernate;
    return PowerAction::None;
}

PowerAction AfterRecording::ImmediateAction(const TEmission& ended, bool lastRecording, bool offQuandDernier,
                                            bool hibernateAllowed)
{
    if (lastRecording && offQuandDernier)
        return hibernateAllowed && !ended.Eteindre ? PowerAction::Hibernate : PowerAction::ShutDown;
    if (ended.Veille)
        return PowerAction::Standby;
    if (ended.VeillePro)
        return PowerAction::Hibernate;
    if (ended.Eteindre)
        return PowerAction::ShutDown;
    return PowerAction::None;
}

QString AfterRecording::ShellQuote(const QString& text)
{
    // Inside single quotes the shell takes every character as it is; a single quote itself is
    // closed, escaped and reopened.
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString AfterRecording::BuildCommandLine(const QString& command, const QString& recordedFile)
{
    static const QString marker = QStringLiteral("[file]");
    QString line = command;
    const qsizetype at = line.indexOf(marker, 0, Qt::CaseInsensitive);
    if (at >= 0)
        line.replace(at, marker.size(), ShellQuote(recordedFile));
    return line;
}

QString AfterRecording::WorkingFolderFor(const QString& recordedFile)
{
    if (recordedFile.isEmpty())
        return QString();
    const QFileInfo info(recordedFile);
    const QString folder = info.absolutePath();
    return QFileInfo(folder).isDir() ? folder : QString();
}

void AfterRecording::Run(const TEmission& ended, const QString& recordedFile, bool viewerClosed)
{
    Q_UNUSED(viewerClosed);
    if (!m_power.SuspendPermittedAfterRecording())
        return;

    const QString command = ended.Commande.trimmed();
    if (!command.isEmpty() || !m_power.IdleTest()) {
        const bool last = m_engine.SelectNextWake() < 0;
        const PowerAction action =
            DeferredAction(ended, last, m_settings.OffQuandDernier,
                           last && m_settings.OffQuandDernier ? m_power.HibernateAllowed() : false);
        if (!command.isEmpty()) {
            const QString line = BuildCommandLine(command, recordedFile);
            m_journal.WriteJournalEvent(JournalWriter::Text(JournalWriter::CommandRun), ended.Title(), line,
                                        QString());
            m_commands.Start(line, WorkingFolderFor(recordedFile), ended.Title());
        }
        if (action != PowerAction::None)
            m_power.SetPendingAction(action);
        return;
    }

    const bool last = m_engine.SelectNextWake() < 0;
    const PowerAction action =
        ImmediateAction(ended, last, m_settings.OffQuandDernier,
                        last && m_settings.OffQuandDernier ? m_power.HibernateAllowed() : false);
    if (action == PowerAction::None || !m_power.InstancesAgree())
        return;
    Act(action);
}

void AfterRecording::Act(PowerAction action)
{
    switch (action) {
    case PowerAction::ShutDown:
        m_power.ShutDown();
        break;
    case PowerAction::Standby:
        m_power.Standby();
        break;
    case PowerAction::Hibernate:
        m_power.Hibernate();
        break;
    case PowerAction::None:
        break;
    }
}

} // namespace quorx
