#include "engine/ListRules.h"

#include "common/Colours.h"
#include "engine/RecordingWindow.h"
#include "i18n/LocalisedStrings.h"
#include "power/Questions.h"
#include "schedule/RecordDeletion.h"
#include "schedule/RecordingStopper.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorx::ListRules {

namespace {

int MarginMinutes(DateTime margin)
{
    return static_cast<int>(margin.TotalSeconds() / 60);
}

int LengthMinutes(const TEmission& e)
{
    const int start = e.HeureDebut.Hour() * 60 + e.HeureDebut.Minute();
    const int end = e.HeureFin.Hour() * 60 + e.HeureFin.Minute();
    return end < start ? end + 1440 - start : end - start;
}

QString UpperFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// The start of the occurrence the row shows, start margin included.
DateTime OccurrenceStart(const TEmission& e, const Settings& settings)
{
    if (!e.NextStart.IsNoTime())
        return e.NextStart;
    return DateTime(e.DateDebut.DatePart().Value() + e.HeureDebut.TimePart().Value() -
                    settings.DelaiDeb.Value());
}

void ClearState(TEmission& e)
{
    if (e.Etat != 1)
        e.Etat = 0;
    e.Erreur = false;
}

int RepeatedDays(const TEmission& e)
{
    int n = 0;
    for (int day = 1; day <= 7; ++day)
        n += e.RepeatsOn(day) ? 1 : 0;
    return n;
}

} // namespace

QString ColumnTitle(int column)
{
    return column >= 0 && column < ColumnCount ? Ls(3 + column) : QString();
}

int OrderForColumn(int column)
{
    switch (column) {
    case ColumnName:
        return ByName;
    case ColumnChannel:
        return ByChannel;
    case ColumnRepetition:
        return ByRepetition;
    default:
        return ByStart;
    }
}

int ModeOf(const Settings& settings)
{
    return std::max(0, settings.Afficher);
}
int OrderOf(const Settings& settings)
{
    return std::max(0, settings.Tri);
}

bool IsShown(const TEmission& e, const RowState& state, const Settings& settings, DateTime now)
{
    if (settings.HideDisabledPrograms && (!e.Actif || e.InactifPro))
        return false;
    if (e.Etat == 3 && now >= e.DateStop.DatePart().AddMinutes(OccurrenceMinutes(e, settings)))
        return true;
    const int mode = ModeOf(settings);
    if (settings.AlwaysShowNextProgram && mode >= ModeToday && state.isNext)
        return true;
    if (settings.AlwaysShowErrorProgram && e.Erreur)
        return true;
    if (settings.AlwaysShowRecordingProgram && state.isRecording)
        return true;
    const int today = now.DayNumber();
    const int startDay = e.NextStart.IsNoTime() ? -1 : e.NextStart.DayNumber();
    const int endDay = e.DateFin.DayNumber();
    switch (mode) {
    case ModeAll:
        return true;
    case ModeRecording:
        return state.isRecording;
    case ModeNext:
        return state.isNext;
    case ModeToday:
        return startDay == today || endDay == today;
    case ModeWeek: {
        if (startDay < 0)
            return false;
        int yearStart = 0;
        int yearNow = 0;
        const int weekStart = e.NextStart.ToQDate().weekNumber(&yearStart);
        const int weekNow = now.ToQDate().weekNumber(&yearNow);
        return weekStart == weekNow && yearStart == yearNow;
    }
    case ModeTomorrow: {
        const DateTime tomorrow = now.DatePart().AddDays(1);
        return e.RepeatsOn(tomorrow.DayOfWeek()) || startDay == today + 1 || endDay == today + 1;
    }
    default:
        return false;
    }
}

int OccurrenceMinutes(const TEmission& e, const Settings& settings)
{
    return LengthMinutes(e) + MarginMinutes(settings.DelaiDeb) + MarginMinutes(settings.DelaiFin);
}

bool CountsInTotal(const TEmission& e)
{
    return e.Actif && !e.InactifPro;
}

QString TotalDurationText(int minutes)
{
    if (minutes <= 0)
        return QString();
    QString text = Ls(72);
    if (minutes == 1)
        return text + Ls(17);
    if (minutes < 60)
        return text + QString::number(minutes) + Ls(18);
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    text += QString::number(hours) + (hours == 1 ? Ls(21) : Ls(20));
    if (rest > 0)
        text += Ls(22) + QString::number(rest) + (rest == 1 ? Ls(24) : Ls(23));
    return text;
}

QString StartText(const TEmission& e, const Settings& settings)
{
    if (e.NextStart.IsNoTime())
        return QString();
    const QString date = settings.DateLetters ? e.NextStart.LongDayText() : e.NextStart.DateText();
    QString text = UpperFirst(date) + QStringLiteral(" - ") + e.NextStart.TimeText();
    if (e.CutAtStart > 0)
        text += QStringLiteral(" | -") + QString::number(e.CutAtStart) + QStringLiteral(" mn");
    return text;
}

QString EndText(const TEmission& e, const Settings& settings)
{
    const DateTime endTime(e.HeureFin.TimePart().Value() + settings.DelaiFin.Value());
    QString text = endTime.TimePart().TimeText();
    const DateTime start = OccurrenceStart(e, settings);
    const DateTime end = start.AddMinutes(OccurrenceMinutes(e, settings));
    if (end.DayNumber() > start.DayNumber())
        text += QStringLiteral(", ") + Ls(12);
    if (e.CutAtEnd > 0)
        text += QStringLiteral(" | -") + QString::number(e.CutAtEnd) + QStringLiteral(" mn");
    return text;
}

QString RepetitionText(const TEmission& e, DateTime today)
{
    if (!e.IsRepeating())
        return QString();
    QStringList days;
    for (int day = 1; day <= 7; ++day) {
        if (e.RepeatsOn(day))
            days << Ls(30 + day);
    }
    QString text = days.join(QStringLiteral(" | "));
    if (!e.RepetitionFin.IsZero()) {
        text += QLatin1Char(',');
        if (today.DayNumber() >= e.DateDebut.DayNumber())
            text += Ls(11) + e.RepetitionFin.DateText();
        else
            text += Ls(9) + e.DateDebut.DateText() + Ls(10) + e.RepetitionFin.DateText();
    }
    return text;
}

QString CellText(const TEmission& e, int column, const Settings& settings, DateTime now)
{
    switch (column) {
    case ColumnName:
        return e.Programme;
    case ColumnChannel:
        return e.Chaine;
    case ColumnStart:
        return StartText(e, settings);
    case ColumnEnd:
        return EndText(e, settings);
    case ColumnRepetition:
        return RepetitionText(e, now);
    default:
        return QString();
    }
}

std::vector<int> SortedOrder(const ScheduleTable& table, int order, DateTime now)
{
    std::vector<int> indexes(static_cast<size_t>(table.Count()));
    std::iota(indexes.begin(), indexes.end(), 1);
    // Repetition texts are built once: the comparison runs many times per rebuild.
    std::vector<qsizetype> repetitionLength(indexes.size() + 1, 0);
    if (order == ByRepetition) {
        for (int i : indexes)
            repetitionLength[static_cast<size_t>(i)] = RepetitionText(table[i], now).size();
    }
    const auto less = [&](int a, int b) {
        const TEmission& x = table[a];
        const TEmission& y = table[b];
        switch (order) {
        case ByName:
            return x.Programme.compare(y.Programme, Qt::CaseInsensitive) < 0;
        case ByChannel:
            return x.Chaine.compare(y.Chaine, Qt::CaseInsensitive) < 0;
        case ByRepetition: {
            const qsizetype lx = repetitionLength[static_cast<size_t>(a)];
            const qsizetype ly = repetitionLength[static_cast<size_t>(b)];
            if (lx != ly)
                return lx > ly;
            return x.RepetitionFin < y.RepetitionFin;
        }
        default:
            return x.NextStart < y.NextStart;
        }
    };
    std::stable_sort(indexes.begin(), indexes.end(), less);
    return indexes;
}

bool Sort(ScheduleTable& table, RecordingWindowTable& windows, int order, DateTime now)
{
    const std::vector<int> sorted = SortedOrder(table, order, now);
    bool moved = false;
    for (size_t i = 0; i < sorted.size() && !moved; ++i)
        moved = sorted[i] != static_cast<int>(i) + 1;
    if (!moved)
        return false;
    table.Reorder(sorted);
    windows.Reorder(sorted);
    return true;
}

quint32 RepeatingBackground(int repeatedDays)
{
    const int lowered = static_cast<int>(std::nearbyint(2.5 * repeatedDays));
    return AdjustLuminance(MakeColour(255, 255, 245), -lowered);
}

CellStyle StyleOf(const TEmission& e, int column, const RowState& state, int mode, DateTime now)
{
    CellStyle style;
    style.bold = column == ColumnName;
    style.background = e.IsRepeating() ? RepeatingBackground(RepeatedDays(e)) : MakeColour(255, 255, 255);
    if (e.InactifPro) {
        style.text = MakeColour(129, 129, 129);
        style.background = MakeColour(225, 225, 225);
    }
    if (!e.Actif) {
        style.text = MakeColour(174, 174, 174);
        style.background = MakeColour(225, 225, 225);
    }
    if (e.Prioritaire)
        style.underline = true;
    if (state.isNext) {
        const bool later =
            mode == ModeToday && !e.NextStart.IsNoTime() && e.NextStart.DayNumber() > now.DayNumber();
        style.text = later ? MakeColour(255, 117, 117) : MakeColour(255, 0, 0);
    }
    if (state.isRecording) {
        style.text = MakeColour(255, 255, 255);
        style.background = MakeColour(255, 0, 0);
        style.bold = true;
    }
    if (e.Etat == 3)
        style.strikeOut = true;
    if (e.Erreur)
        style.background = MakeColour(255, 128, 0);
    if ((column == ColumnStart || column == ColumnEnd) && (e.CutAtStart == -1 || e.CutAtEnd == -1))
        style.strikeOut = true;
    return style;
}

RowPictures PicturesOf(const TEmission& e)
{
    RowPictures pictures;
    pictures.skip = e.InactifPro;
    pictures.inactive = !e.Actif;
    pictures.priority = e.Prioritaire;
    pictures.guide = e.EPG;
    return pictures;
}

MenuState MenuFor(const ScheduleTable& table, const std::vector<int>& selected, int current, int next,
                  const QString& clipboardText, DateTime now)
{
    MenuState m;
    const bool hasCurrent = table.IsValidIndex(current);
    m.modify = hasCurrent;
    m.add = table.Count() < ScheduleTable::kMaxRecordings;
    m.import = m.add;
    m.startStop = hasCurrent && current == next;
    m.startStopStops = m.startStop && table[current].Etat == 1;
    for (int index : selected) {
        if (!table.IsValidIndex(index))
            continue;
        const TEmission& e = table[index];
        if (e.Etat > 2 || e.Erreur || (!e.InactifPro && e.DateStop.DayNumber() > now.DayNumber()))
            m.reset = true;
        if (e.IsRepeating())
            m.inactive = true;
        if (e.Etat == 1)
            m.inactive = false;
    }
    m.skipNext = m.inactive;
    m.remove = m.copy = m.cut = m.priority = m.modify;
    m.duplicate = m.modify && m.add;
    const QString firstLine = clipboardText.section(QLatin1Char('\n'), 0, 0).trimmed();
    m.paste = firstLine.compare(QStringLiteral("Vizezezoruvav ZOMVARA"), Qt::CaseInsensitive) == 0;
    m.wholeList = table.Count() > 1;
    if (hasCurrent) {
        m.inactiveChecked = !table[current].Actif;
        m.skipNextChecked = table[current].InactifPro;
        m.priorityChecked = table[current].Prioritaire;
    }
    return m;
}

void ToggleInactive(TEmission& e)
{
    if (!e.IsRepeating())
        return;
    e.Actif = !e.Actif;
    e.EPG = false;
    e.InactifPro = false;
    ClearState(e);
}

void ToggleSkipNext(TEmission& e)
{
    if (!e.IsRepeating())
        return;
    e.InactifPro = !e.InactifPro;
    e.EPG = false;
    if (e.InactifPro) {
        e.Actif = true;
        if (!e.NextStart.IsNoTime())
            e.DateStop = e.NextStart.DatePart();
    }
    ClearState(e);
}

void TogglePriority(TEmission& e)
{
    e.EPG = false;
    e.Prioritaire = !e.Prioritaire;
    e.Erreur = false;
}

void Reset(TEmission& e)
{
    ClearState(e);
    e.DateStop = DateTime();
}

void PrioritiseOneOffs(ScheduleTable& table)
{
    for (int i = 1; i <= table.Count(); ++i) {
        if (!table[i].IsRepeating())
            table[i].Prioritaire = true;
    }
}

int DeleteRecords(ScheduleTable& table, std::vector<int> indexes, Questions& questions,
                  RecordingStopper& stopper, bool fromCut)
{
    indexes.erase(
        std::remove_if(indexes.begin(), indexes.end(), [&](int i) { return !table.IsValidIndex(i); }),
        indexes.end());
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.empty())
        return 0;
    QuestionArgs args;
    args.count = static_cast<int>(indexes.size());
    if (!questions.Ask(fromCut ? QuestionId::CutProgrammes : QuestionId::DeleteProgrammes, args))
        return 0;
    // Identifiers, not indexes: stopping a recording may re-sort or shorten the table.
    std::vector<std::int32_t> ids;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        ids.push_back(table[*it].RecordId);
    int deleted = 0;
    for (std::int32_t id : ids) {
        if (RecordDeletion::DeleteById(table, id, stopper, false).deleted)
            ++deleted;
    }
    return deleted;
}

} // namespace quorx::ListRules
