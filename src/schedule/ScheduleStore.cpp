#include "schedule/ScheduleStore.h"

#include "common/IniFile.h"
#include "common/Paths.h"
#include "schedule/RecordTimes.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QHash>

#include <algorithm>
#include <array>
#include <variant>
#include <vector>

namespace quorx {

namespace {

const QString kSection = QStringLiteral("Programmes");
const QString kFoldedSection = QStringLiteral("programmes");
const QString kCountKey = QStringLiteral("NbProgrammes");
constexpr std::uint32_t kLargestFileNumber = 999999999u;

const std::array<QLatin1String, 7> kDayCodes = {
    QLatin1String("Lu"), QLatin1String("Ma"), QLatin1String("Me"), QLatin1String("Je"),
    QLatin1String("Ve"), QLatin1String("Sa"), QLatin1String("Di"),
};

enum class Encoding
{
    Text,
    Days,
    Date,
    Time,
    Bool,
    State
};

using Member = std::variant<QString TEmission::*, std::uint8_t TEmission::*, DateTime TEmission::*,
                            bool TEmission::*, std::int8_t TEmission::*>;

struct Field
{
    QLatin1String stem;
    Encoding encoding;
    Member member;
    bool defaultTrue = false; // booleans only
};

// The stored fields in the order the file lists them for each recording.
const std::array<Field, 24> kFields = {{
    {QLatin1String("Programme"), Encoding::Text, &TEmission::Programme},
    {QLatin1String("Chaine"), Encoding::Text, &TEmission::Chaine},
    {QLatin1String("Repetition"), Encoding::Days, &TEmission::Repetition},
    {QLatin1String("Commande"), Encoding::Text, &TEmission::Commande},
    {QLatin1String("RepetitionFin"), Encoding::Date, &TEmission::RepetitionFin},
    {QLatin1String("DateDebut"), Encoding::Date, &TEmission::DateDebut},
    {QLatin1String("DateFin"), Encoding::Date, &TEmission::DateFin},
    {QLatin1String("HeureDebut"), Encoding::Time, &TEmission::HeureDebut},
    {QLatin1String("HeureFin"), Encoding::Time, &TEmission::HeureFin},
    {QLatin1String("Fichier"), Encoding::Text, &TEmission::Fichier},
    {QLatin1String("Fermer"), Encoding::Bool, &TEmission::Fermer},
    {QLatin1String("Eteindre"), Encoding::Bool, &TEmission::Eteindre},
    {QLatin1String("Veille"), Encoding::Bool, &TEmission::Veille},
    {QLatin1String("VeillePro"), Encoding::Bool, &TEmission::VeillePro},
    {QLatin1String("Erreur"), Encoding::Bool, &TEmission::Erreur},
    {QLatin1String("Actif"), Encoding::Bool, &TEmission::Actif, true},
    {QLatin1String("InactifPro"), Encoding::Bool, &TEmission::InactifPro},
    {QLatin1String("Prioritaire"), Encoding::Bool, &TEmission::Prioritaire},
    {QLatin1String("AjouterDate"), Encoding::Bool, &TEmission::AjouterDate, true},
    {QLatin1String("AjouterHeure"), Encoding::Bool, &TEmission::AjouterHeure, true},
    {QLatin1String("AjouterChaine"), Encoding::Bool, &TEmission::AjouterChaine, true},
    {QLatin1String("DateStop"), Encoding::Date, &TEmission::DateStop},
    {QLatin1String("EPG"), Encoding::Bool, &TEmission::EPG},
    {QLatin1String("Etat"), Encoding::State, &TEmission::Etat},
}};

// A schedule has some six thousand keys, so the per-key work counts. Lookups fold names to lower
// case, and a name already folded is not copied again; the same few dates and times recur across
// the records, so each distinct text is converted once per load or save.
class RecordReader
{
public:
    explicit RecordReader(const IniFile& ini) : m_ini(ini)
    {
        for (std::size_t i = 0; i < kFields.size(); ++i)
            m_foldedStems[i] = QString(kFields[i].stem).toLower();
    }

    void Read(int n, TEmission& e)
    {
        const QString number = QString::number(n);
        for (std::size_t i = 0; i < kFields.size(); ++i)
            ReadField(kFields[i], m_foldedStems[i] + number, e);
    }
    bool Has(QLatin1String stem, int n) const
    {
        return m_ini.HasKey(kFoldedSection, QString(stem).toLower() + QString::number(n));
    }

private:
    void ReadField(const Field& f, const QString& key, TEmission& e)
    {
        switch (f.encoding) {
        case Encoding::Text:
            e.*std::get<QString TEmission::*>(f.member) = m_ini.ReadString(kFoldedSection, key);
            break;
        case Encoding::Days:
            e.*std::get<std::uint8_t TEmission::*>(f.member) =
                ScheduleStore::ParseRepetition(m_ini.ReadString(kFoldedSection, key));
            break;
        case Encoding::Date:
        case Encoding::Time:
            e.*std::get<DateTime TEmission::*>(f.member) =
                Converted(m_ini.ReadString(kFoldedSection, key), f.encoding == Encoding::Date);
            break;
        case Encoding::Bool:
            e.*std::get<bool TEmission::*>(f.member) = m_ini.ReadBool(kFoldedSection, key, f.defaultTrue);
            break;
        case Encoding::State: {
            // Only the four states exist; anything else cannot be a state and takes the default.
            const int state = m_ini.ReadInteger(kFoldedSection, key, 0);
            e.*std::get<std::int8_t TEmission::*>(f.member) =
                static_cast<std::int8_t>(state >= 0 && state <= 3 ? state : 0);
            break;
        }
        }
    }

    // Text that cannot be read as a date or a time gives 0; times lose their seconds.
    DateTime Converted(const QString& text, bool isDate)
    {
        QHash<QString, DateTime>& memo = isDate ? m_dates : m_times;
        const auto it = memo.constFind(text);
        if (it != memo.cend())
            return it.value();
        DateTime value;
        if (isDate ? !DateTime::ParseDate(text, &value) : !DateTime::ParseTime(text, &value))
            value = DateTime();
        else if (!isDate)
            value = value.WithoutSeconds();
        memo.insert(text, value);
        return value;
    }

    const IniFile& m_ini;
    std::array<QString, kFields.size()> m_foldedStems;
    QHash<QString, DateTime> m_dates;
    QHash<QString, DateTime> m_times;
};

// Whether a field of two records gives the same text in the file.
bool SameStoredValue(const Field& f, const TEmission& a, const TEmission& b)
{
    switch (f.encoding) {
    case Encoding::Text:
        return a.*std::get<QString TEmission::*>(f.member) == b.*std::get<QString TEmission::*>(f.member);
    case Encoding::Days:
        return a.*std::get<std::uint8_t TEmission::*>(f.member) ==
               b.*std::get<std::uint8_t TEmission::*>(f.member);
    case Encoding::Date:
        return (a.*std::get<DateTime TEmission::*>(f.member)).DayNumber() ==
               (b.*std::get<DateTime TEmission::*>(f.member)).DayNumber();
    case Encoding::Time: {
        const DateTime ta = a.*std::get<DateTime TEmission::*>(f.member);
        const DateTime tb = b.*std::get<DateTime TEmission::*>(f.member);
        return ta.Hour() == tb.Hour() && ta.Minute() == tb.Minute();
    }
    case Encoding::Bool:
        return a.*std::get<bool TEmission::*>(f.member) == b.*std::get<bool TEmission::*>(f.member);
    case Encoding::State:
        return a.*std::get<std::int8_t TEmission::*>(f.member) ==
               b.*std::get<std::int8_t TEmission::*>(f.member);
    }
    return false;
}

class RecordWriter
{
public:
    explicit RecordWriter(IniFile& ini) : m_ini(ini) {}

    // The section exists (with its stored spelling) once the count is written, so the records'
    // keys can look it up by its folded name. With the record the file already holds under this
    // number, only the keys whose text changes are written: the rest would be written unchanged.
    // Returns whether any key was written.
    bool Write(int n, const TEmission& e, const TEmission* stored = nullptr)
    {
        QString number;
        bool wrote = false;
        for (const Field& f : kFields) {
            if (stored && SameStoredValue(f, e, *stored))
                continue;
            if (number.isEmpty())
                number = QString::number(n);
            WriteField(f, f.stem + number, e);
            wrote = true;
        }
        return wrote;
    }

private:
    void WriteField(const Field& f, const QString& key, const TEmission& e)
    {
        switch (f.encoding) {
        case Encoding::Text:
            m_ini.WriteString(kFoldedSection, key, e.*std::get<QString TEmission::*>(f.member));
            break;
        case Encoding::Days:
            m_ini.WriteString(
                kFoldedSection, key,
                ScheduleStore::RepetitionText(e.*std::get<std::uint8_t TEmission::*>(f.member)));
            break;
        case Encoding::Date:
            m_ini.WriteString(kFoldedSection, key, DateText(e.*std::get<DateTime TEmission::*>(f.member)));
            break;
        case Encoding::Time:
            m_ini.WriteString(kFoldedSection, key, (e.*std::get<DateTime TEmission::*>(f.member)).TimeText());
            break;
        case Encoding::Bool:
            m_ini.WriteBool(kFoldedSection, key, e.*std::get<bool TEmission::*>(f.member));
            break;
        case Encoding::State:
            m_ini.WriteInteger(kFoldedSection, key, e.*std::get<std::int8_t TEmission::*>(f.member));
            break;
        }
    }

    // Dates are stored without their time of day.
    QString DateText(DateTime date)
    {
        const int day = date.DayNumber();
        const auto it = m_dates.constFind(day);
        if (it != m_dates.cend())
            return it.value();
        const QString text = date.DatePart().DateText();
        m_dates.insert(day, text);
        return text;
    }

    IniFile& m_ini;
    QHash<int, QString> m_dates;
};

// A repeating recording stored without its first day counts from yesterday, so that an occurrence
// that began yesterday and is still running is found. Past its last day it is left for the purge.
void FixFirstDay(TEmission& e, DateTime now)
{
    if (!e.IsRepeating() || !e.DateDebut.IsZero())
        return;
    if (!e.RepetitionFin.IsZero() && now.DayNumber() > e.RepetitionFin.DayNumber())
        return;
    const DateTime today = now.DatePart();
    e.DateDebut = today.AddDays(-1);
    e.DateFin = e.HeureDebut < e.HeureFin ? e.DateDebut : today;
}

// A recording under way when the file was written is over now; a recorded or missed occurrence
// keeps its state only while it is still running.
void FixState(TEmission& e, const Settings& settings, DateTime now)
{
    if (e.Etat == 1)
        e.Etat = 0;
    else if (e.Etat != 0 && now >= EndOfStopOccurrence(e, settings.DelaiDeb, settings.DelaiFin))
        e.Etat = 0;
}

} // namespace

QString ScheduleStore::FileName()
{
    return QStringLiteral("Programmes.Ini");
}

QString ScheduleStore::FilePath(const QString& programFolder)
{
    const QString exact = programFolder + QLatin1Char('/') + FileName();
    if (QFileInfo::exists(exact))
        return exact;
    return FindFileNoCase(programFolder, FileName());
}

QString ScheduleStore::RepetitionText(std::uint8_t days)
{
    QString text;
    for (int i = 0; i < 7; ++i)
        if (days & (1u << i))
            text += kDayCodes[static_cast<std::size_t>(i)];
    return text;
}

std::uint8_t ScheduleStore::ParseRepetition(const QString& text)
{
    std::uint8_t days = 0;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const QStringView pair = QStringView(text).mid(i, 2);
        for (int d = 0; d < 7; ++d)
            if (pair.compare(kDayCodes[static_cast<std::size_t>(d)], Qt::CaseInsensitive) == 0)
                days |= static_cast<std::uint8_t>(1u << d);
    }
    return days;
}

void ScheduleStore::ReadSchedule(const IniFile& ini, ScheduleTable& table, const Settings& settings,
                                 DateTime now, const std::function<QString()>& defaultFileFolder,
                                 LoadReport* report)
{
    table.Clear();
    const int stored = ini.ReadInteger(kSection, kCountKey, 0);
    const int count = std::min(stored, ScheduleTable::kMaxRecordings);
    RecordReader reader(ini);
    QString fileFolder;
    bool fileFolderKnown = false;
    for (int n = 1; n <= count; ++n) {
        TEmission e;
        reader.Read(n, e);
        if (!reader.Has(QLatin1String("Fichier"), n)) {
            if (!fileFolderKnown) {
                fileFolder = defaultFileFolder ? defaultFileFolder() : QString();
                fileFolderKnown = true;
            }
            e.Fichier = fileFolder + QStringLiteral("Enreg_") +
                        QString::number(table.RandomNumber(kLargestFileNumber));
        }
        FixFirstDay(e, now);
        e.GridRow = -1;
        FixState(e, settings, now);
        table.Append(e);
    }
    if (report) {
        report->storedCount = std::max(stored, 0);
        report->loadedCount = table.Count();
        report->clamped = stored > ScheduleTable::kMaxRecordings;
    }
}

void ScheduleStore::LoadSchedule(const QString& programFolder, ScheduleTable& table, const Settings& settings,
                                 DateTime now, LoadReport* report)
{
    table.Clear();
    if (report)
        *report = LoadReport();
    const QString path = FilePath(programFolder);
    const QFileInfo info(path);
    if (!info.exists())
        return;
    IniFile ini;
    if (!info.isFile() || !ini.Load(path)) {
        if (report)
            report->unreadable = true;
        return;
    }
    ReadSchedule(
        ini, table, settings, now, [&programFolder] { return ProgramDriveRoot(programFolder); }, report);
}

void ScheduleStore::WriteSchedule(IniFile& ini, const ScheduleTable& table)
{
    ini.WriteInteger(kSection, kCountKey, table.Count());
    RecordWriter writer(ini);
    for (int n = 1; n <= table.Count(); ++n)
        writer.Write(n, table[n]);
}

namespace {

// The file as the last save of this process wrote it. Every change of the schedule saves it, and
// reading it back each time only to keep the keys that are not ours costs more than the rest of
// the save: while the file on disk is still exactly the one written, the copy in memory is used.
// Beside it, the records as the copy holds them under each number, so that a save writes only the
// keys that change (most saves change one or two records of a full list).
struct LastWritten
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    IniFile ini;
    std::vector<TEmission> records; // [n - 1]: the stored fields under number n
};

LastWritten& LastWrittenFile()
{
    static LastWritten last;
    return last;
}

QMutex& LastWrittenLock()
{
    static QMutex lock;
    return lock;
}

// Keys numbered past the count are left alone, so records[n - 1] stays true of the file for every
// number ever written.
void WriteChangedRecords(IniFile& ini, const ScheduleTable& table, std::vector<TEmission>& records)
{
    ini.WriteInteger(kSection, kCountKey, table.Count());
    RecordWriter writer(ini);
    for (int n = 1; n <= table.Count(); ++n) {
        const std::size_t at = std::size_t(n - 1);
        if (at < records.size()) {
            if (writer.Write(n, table[n], &records[at]))
                records[at] = table[n];
        } else {
            writer.Write(n, table[n]);
            records.push_back(table[n]);
        }
    }
}

} // namespace

bool ScheduleStore::SaveSchedule(const QString& programFolder, const ScheduleTable& table, QString* error)
{
    const QString path = FilePath(programFolder);
    const QFileInfo info(path);
    const QMutexLocker locker(&LastWrittenLock());
    LastWritten& last = LastWrittenFile();
    IniFile ini;
    std::vector<TEmission> records;
    if (info.exists()) {
        if (last.path == path && info.isFile() && info.size() == last.size && info.lastModified() == last.modified) {
            ini = std::move(last.ini);
            records = std::move(last.records);
        } else if (!info.isFile() || !ini.Load(path)) {
            // Rewriting a file we could not read would throw away the calendar's keys and any list
            // kept past the count: better to refuse.
            last = LastWritten{};
            if (error)
                *error = QStringLiteral("%1 cannot be read, so it was left as it was").arg(path);
            return false;
        }
    } else {
        ini.SetPath(path);
    }
    // Until the save succeeds the copy in memory is ahead of the file: a failed save must leave
    // nothing behind that the next one would take for the file's contents.
    last = LastWritten{};
    WriteChangedRecords(ini, table, records);
    QString reason;
    if (!ini.Save(&reason)) {
        if (error)
            *error =
                QStringLiteral("%1 could not be written (%2); the previous file was kept").arg(path, reason);
        return false;
    }
    const QFileInfo written(path);
    last.path = path;
    last.size = written.size();
    last.modified = written.lastModified();
    last.ini = std::move(ini);
    last.records = std::move(records);
    return true;
}

bool ScheduleStore::SameStoredFields(const TEmission& a, const TEmission& b)
{
    return a.Programme == b.Programme && a.Chaine == b.Chaine && a.Repetition == b.Repetition &&
           a.Commande == b.Commande && a.RepetitionFin == b.RepetitionFin && a.DateDebut == b.DateDebut &&
           a.DateFin == b.DateFin && a.HeureDebut == b.HeureDebut && a.HeureFin == b.HeureFin &&
           a.Fichier == b.Fichier && a.Fermer == b.Fermer && a.Eteindre == b.Eteindre && a.Veille == b.Veille &&
           a.VeillePro == b.VeillePro && a.Erreur == b.Erreur && a.Actif == b.Actif &&
           a.InactifPro == b.InactifPro && a.Prioritaire == b.Prioritaire && a.AjouterDate == b.AjouterDate &&
           a.AjouterHeure == b.AjouterHeure && a.AjouterChaine == b.AjouterChaine && a.DateStop == b.DateStop &&
           a.EPG == b.EPG && a.Etat == b.Etat;
}

} // namespace quorx
