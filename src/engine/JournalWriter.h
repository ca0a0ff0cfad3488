#pragma once

#include "common/DateTime.h"
#include "common/IniFile.h"
#include "common/JournalSink.h"

#include <QDateTime>

#include <QString>

namespace quorx {

class Clock;
struct Settings;

// Appends the scheduler's events to Journal.Log in the program folder: a ring of 512 numbered
// sections, [Configuration] EventsNb naming the one written last. The journal viewer reads it.
class JournalWriter final : public JournalSink
{
public:
    static constexpr int kRingSize = 512;

    // The slots of the localised string table that name the kinds of event.
    enum EventText : int
    {
        RecordingStarted = 50,    // "Début d'enregistrement"
        RecordingEnded = 51,      // "Fin d'enregistrement"
        RecordingFailed = 29,     // "Echec"
        ErrorDetected = 121,      // "Erreur détectée"
        ViewerClosedOutside = 52, // "Fermeture extérieure de Zomvara"
        ViewerClosed = 70,        // "Fermeture de Zomvara"
        CommandRun = 144,         // "Exécution d'une ligne de commande"
        ManualRecordingStopped = 71,
        SuspendStarted = 148, // "Début de veille ou de veille prolongée"
        Resumed = 147,        // "Retour de veille ou de veille prolongée"
        ComputerShutDown = 67,
        ComputerHibernated = 68,
        ComputerSuspended = 69,
    };
    static QString Text(EventText kind);

    JournalWriter(const QString& programFolder, const Clock& clock, const Settings& settings);

    static QString FileName();
    QString FilePath() const;

    // Appends one event with one atomic save of the file, on disk when this returns. A resume
    // following a resume is written once. False when the file could not be written; what it held
    // is then unchanged.
    bool WriteJournalEvent(const QString& event, const QString& program, const QString& dateText,
                           const QString& file, const QString& comment);
    // The sink's form, dated now.
    void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                           const QString& file) override;

    // The present moment as the Debut key holds it.
    QString JournalDateText() const;
    static QString JournalDateText(DateTime moment, bool dateLetters);
    // The Comment of an end event: the file's size in whole MiB, truncated; a missing file is 0.
    static QString SizeInMiB(qint64 bytes);

    const QString& LastError() const { return m_lastError; }

private:
    static bool IsResumeText(const QString& text);
    // The ring as this writer last saved it, or as the file holds it when someone else has written
    // it since (told by its size and time), or when it is read for the first time.
    IniFile& Ring(const QString& path);

    QString m_programFolder;
    const Clock& m_clock;
    const Settings& m_settings;
    QString m_lastError;
    IniFile m_ring;
    QString m_ringPath; // empty while m_ring is not known to be the file
    qint64 m_ringSize = -1;
    QDateTime m_ringModified;
};

} // namespace quorx
