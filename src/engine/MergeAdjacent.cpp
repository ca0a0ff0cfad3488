#include "engine/MergeAdjacent.h"

#include "common/TextUtils.h"
#include "power/Questions.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

namespace quorx {

namespace {

DateTime StartOf(const TEmission& e, DateTime delaiDeb)
{
    return DateTime(e.DateDebut.DatePart().Value() + e.HeureDebut.TimePart().Value() - delaiDeb.Value());
}

DateTime EndOf(const TEmission& e, DateTime delaiFin)
{
    return DateTime(e.DateFin.DatePart().Value() + e.HeureFin.TimePart().Value() + delaiFin.Value());
}

// a starts first (or together) and reaches b, or ends less than five minutes before b starts.
bool Reaches(DateTime startFirst, DateTime endFirst, DateTime startSecond)
{
    if (startFirst > startSecond)
        return false;
    if (endFirst >= startSecond)
        return true;
    return DateTime::MsBetween(endFirst, startSecond) < qint64(MergeAdjacent::kTouchSeconds) * 1000;
}

} // namespace

MergeAdjacent::MergeAdjacent(ScheduleTable& table, const Settings& settings, Questions& questions)
    : m_table(table), m_settings(settings), m_questions(questions)
{
}

QString MergeAdjacent::JoinNames(const QString& first, const QString& second)
{
    if (first.trimmed().isEmpty())
        return second;
    if (second.trimmed().isEmpty() || first == second)
        return first;
    return first + QLatin1String(" - ") + second;
}

int MergeAdjacent::FindAdjacent(const ScheduleTable& table, int indexA, DateTime delaiDeb, DateTime delaiFin)
{
    if (!table.IsValidIndex(indexA))
        return -1;
    const TEmission& a = table[indexA];
    const DateTime sa = StartOf(a, delaiDeb);
    const DateTime ea = EndOf(a, delaiFin);
    for (int i = 1; i <= table.Count(); ++i) {
        if (i == indexA)
            continue;
        const TEmission& b = table[i];
        if (b.Chaine.compare(a.Chaine, Qt::CaseInsensitive) != 0 || b.IsRepeating() ||
            !b.RepetitionFin.IsZero() || !b.Actif || b.InactifPro)
            continue;
        const DateTime sb = StartOf(b, delaiDeb);
        const DateTime eb = EndOf(b, delaiFin);
        if (Reaches(sa, ea, sb) || Reaches(sb, eb, sa))
            return i;
    }
    return -1;
}

void MergeAdjacent::MergeInto(TEmission& a, const TEmission& b, DateTime delaiDeb, DateTime delaiFin)
{
    const bool bFirst = StartOf(b, delaiDeb) < StartOf(a, delaiDeb);
    a.Programme = bFirst ? JoinNames(b.Programme, a.Programme) : JoinNames(a.Programme, b.Programme);
    if (bFirst) {
        a.DateDebut = b.DateDebut;
        a.HeureDebut = b.HeureDebut;
    }
    // The merged recording covers both: a recording lying inside the other never shortens it.
    if (EndOf(b, delaiFin) > EndOf(a, delaiFin)) {
        a.HeureFin = b.HeureFin;
        a.DateFin = b.DateFin;
    }
    // The end date follows from the times, unless the merged span runs on past the next day.
    DateTime dateFin = a.DateDebut.DatePart();
    if (a.HeureFin.TimePart() < a.HeureDebut.TimePart())
        dateFin = dateFin.AddDays(1);
    if (!(a.DateFin.DatePart() > dateFin))
        a.DateFin = dateFin;

    const qsizetype slash = a.Fichier.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash >= 0 ? a.Fichier.left(slash + 1) : QString();
    const QString base = a.Fichier.mid(slash + 1);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? base.mid(dot) : QString();
    a.Fichier = folder + CleanFileName(a.Programme) + extension;
}

bool MergeAdjacent::Run(std::int32_t recordIdA)
{
    const int indexA = m_table.FindById(recordIdA);
    if (indexA < 0)
        return false;
    m_table[indexA].EPG = true;
    const int indexB = FindAdjacent(m_table, indexA, m_settings.DelaiDeb, m_settings.DelaiFin);
    if (indexB < 0)
        return false;
    QuestionArgs args;
    args.name = m_table[indexB].Programme;
    if (!m_questions.Ask(QuestionId::MergeProgrammes, args))
        return false;
    const TEmission b = m_table[indexB];
    MergeInto(m_table[indexA], b, m_settings.DelaiDeb, m_settings.DelaiFin);
    m_table.RemoveById(b.RecordId);
    return true;
}

} // namespace quorx
