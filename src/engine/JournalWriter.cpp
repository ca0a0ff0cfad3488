#include "engine/JournalWriter.h"

#include "common/IniFile.h"
#include "common/Paths.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "schedule/Settings.h"

#include <QFileInfo>

namespace quorx {

namespace {

const QString& ConfigurationSection()
{
    static const QString name = QStringLiteral("Configuration");
    return name;
}

const QString& EventsNbKey()
{
    static const QString name = QStringLiteral("EventsNb");
    return name;
}

const QString& EventKey()
{
    static const QString name = QStringLiteral("Event");
    return name;
}

} // namespace

QString JournalWriter::Text(EventText kind)
{
    return Ls(kind);
}

JournalWriter::JournalWriter(const QString& programFolder, const Clock& clock, const Settings& settings)
    : m_programFolder(programFolder), m_clock(clock), m_settings(settings)
{
}

QString JournalWriter::FileName()
{
    return QStringLiteral("Journal.Log");
}

QString JournalWriter::FilePath() const
{
    return FindFileNoCase(m_programFolder, FileName());
}

bool JournalWriter::IsResumeText(const QString& text)
{
    // A journal written under another interface language still carries the French text.
    return !text.isEmpty() && (text == Ls(Resumed) || text == LocalisedStrings::FrenchDefault(Resumed));
}

bool JournalWriter::WriteJournalEvent(const QString& event, const QString& program, const QString& dateText,
                                      const QString& file, const QString& comment)
{
    m_lastError.clear();
    const QString path = FilePath();
    IniFile& journal = Ring(path);
    int last = journal.ReadInteger(ConfigurationSection(), EventsNbKey(), 0);
    // A number outside the ring counts as nothing written yet, like one that is not a number.
    if (last < 0 || last > kRingSize)
        last = 0;
    const int next = last + 1 > kRingSize ? 1 : last + 1;

    if (IsResumeText(event) && last > 0 &&
        IsResumeText(journal.ReadString(QString::number(last), EventKey())))
        return true;

    journal.WriteInteger(ConfigurationSection(), EventsNbKey(), next);
    const QString section = QString::number(next);
    // An overwritten section keeps its place in the file but holds exactly the five keys, in order.
    for (const QString& key : journal.Keys(section))
        journal.DeleteKey(section, key);
    journal.WriteString(section, EventKey(), event);
    journal.WriteString(section, QStringLiteral("Program"), program);
    journal.WriteString(section, QStringLiteral("Debut"), dateText);
    journal.WriteString(section, QStringLiteral("Comment"), comment);
    journal.WriteString(section, QStringLiteral("File"), file);
    if (!journal.Save(&m_lastError)) {
        // The copy now holds an event the file does not: it is read again next time.
        m_ringPath.clear();
        return false;
    }
    const QFileInfo written(path);
    m_ringPath = path;
    m_ringSize = written.size();
    m_ringModified = written.lastModified();
    return true;
}

IniFile& JournalWriter::Ring(const QString& path)
{
    if (!m_ringPath.isEmpty() && m_ringPath == path) {
        const QFileInfo info(path);
        if (info.isFile() && info.size() == m_ringSize && info.lastModified() == m_ringModified)
            return m_ring;
    }
    m_ringPath.clear();
    m_ring.Load(path);
    return m_ring;
}

void JournalWriter::WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                                      const QString& file)
{
    WriteJournalEvent(event, program, JournalDateText(), file, comment);
}

QString JournalWriter::JournalDateText() const
{
    return JournalDateText(m_clock.Now(), m_settings.DateLetters);
}

QString JournalWriter::JournalDateText(DateTime moment, bool dateLetters)
{
    QString text = dateLetters ? QString(moment.LongDayText() + QStringLiteral(" - ") + moment.TimeText())
                               : QString(moment.DateText() + QLatin1Char(' ') + moment.TimeText());
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString JournalWriter::SizeInMiB(qint64 bytes)
{
    return QString::number(bytes > 0 ? bytes / 1048576 : 0);
}

} // namespace quorx
