#include "editor/RecordingDraft.h"

#include "editor/RepetitionKinds.h"

#include <algorithm>

namespace quorx {

bool RecordingDraft::IsRepeatingKind() const
{
    return kind != RepetitionKinds::kSans;
}

DateTime RecordingDraft::Start() const
{
    return DateTime(startDate.DatePart().Value() + startTime.WithoutSeconds().TimePart().Value());
}

DateTime RecordingDraft::End() const
{
    return DateTime(endDate.DatePart().Value() + endTime.WithoutSeconds().TimePart().Value());
}

void RecordingDraft::FollowEndDate()
{
    startDate = startDate.DatePart();
    startTime = startTime.WithoutSeconds().TimePart();
    endTime = endTime.WithoutSeconds().TimePart();
    endDate = endTime < startTime ? startDate.AddDays(1) : startDate;
    RepetitionEndFollows();
}

void RecordingDraft::RefreshDuration()
{
    qint64 seconds = DateTime::SecondsBetweenRounded(Start(), End());
    // Day fractions lose a little; a second either side of a whole minute is that minute.
    const qint64 remainder = ((seconds % 60) + 60) % 60;
    if (remainder == 59)
        seconds += 1;
    else if (remainder == 1)
        seconds -= 1;
    if (seconds > kMaxDurationSeconds) {
        const DateTime end = Start().AddSeconds(double(kMaxDurationSeconds)).WithoutSeconds();
        endDate = end.DatePart();
        endTime = end.TimePart();
        seconds = kMaxDurationSeconds;
    }
    durationSeconds = seconds;
}

void RecordingDraft::ApplyDuration(qint64 seconds)
{
    seconds = std::clamp<qint64>(seconds, 0, kMaxDurationSeconds);
    durationSeconds = seconds;
    const DateTime end = Start().AddSeconds(double(seconds)).WithoutSeconds();
    endDate = end.DatePart();
    endTime = end.TimePart();
    FollowEndDate();
}

void RecordingDraft::RepetitionEndFollows()
{
    if (repEnd.DatePart() <= endDate.DatePart())
        repEnd = endDate.DatePart().AddDays(1);
}

void RecordingDraft::MoveToTomorrowWhenOver(DateTime now)
{
    if (End() <= now.AddMinutes(3)) {
        startDate = now.DatePart().AddDays(1);
        FollowEndDate();
    }
}

void RecordingDraft::SetPowerAction(AfterRecordingBox box, bool ticked)
{
    if (ticked) {
        veille = box == AfterRecordingBox::Veille;
        veillePro = box == AfterRecordingBox::VeillePro;
        eteindre = box == AfterRecordingBox::Eteindre;
        return;
    }
    if (box == AfterRecordingBox::Veille)
        veille = false;
    else if (box == AfterRecordingBox::VeillePro)
        veillePro = false;
    else if (box == AfterRecordingBox::Eteindre)
        eteindre = false;
}

AfterRecordingBox RecordingDraft::PowerAction() const
{
    if (veille)
        return AfterRecordingBox::Veille;
    if (veillePro)
        return AfterRecordingBox::VeillePro;
    if (eteindre)
        return AfterRecordingBox::Eteindre;
    return AfterRecordingBox::None;
}

void RecordingDraft::SetFermer(bool ticked)
{
    fermer = ticked;
    if (!ticked)
        veille = veillePro = eteindre = false;
}

ChannelPreferences RecordingDraft::AsPreferences() const
{
    ChannelPreferences p;
    p.Format = ExtensionOf(format);
    p.Date = addDate;
    p.Time = addHeure;
    p.Channel = addChaine;
    p.Folder = folder;
    p.Command = commande;
    p.CommandCheck = commandCheck;
    p.Fermer = fermer;
    p.Veille = veille;
    p.VeillePro = veillePro;
    p.Eteindre = eteindre;
    return p;
}

void RecordingDraft::TakePreferences(const ChannelPreferences& p)
{
    format = FormatOfExtension(p.Format);
    addDate = p.Date;
    addHeure = p.Time;
    addChaine = p.Channel;
    folder = p.Folder;
    commande = p.Command.trimmed();
    commandCheck = p.CommandCheck && !commande.isEmpty();
    fermer = p.Fermer;
    veille = veillePro = eteindre = false;
    SetPowerAction(p.Power(), p.Power() != AfterRecordingBox::None);
}

} // namespace quorx
