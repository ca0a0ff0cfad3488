#pragma once

#include "channels/ChannelPreferences.h"
#include "common/DateTime.h"

#include <QString>

#include <cstdint>

namespace quorx {

// The values the recording editor shows, one member per control. The date, time and duration
// members are kept consistent by the rules below, which the window runs after every change.
struct RecordingDraft
{
    static constexpr qint64 kMaxDurationSeconds = 86399;

    QString name;
    QString channel;
    DateTime startDate; // date only
    DateTime startTime; // time of day, to the minute
    DateTime endDate;   // date only, always computed
    DateTime endTime;   // time of day, to the minute
    qint64 durationSeconds = 0;
    std::uint8_t days = 0; // WeekdayBit set
    int kind = 0;          // RepetitionKinds index
    bool repEndChecked = false;
    DateTime repEnd; // date only

    QString folder;   // with a trailing "/" once checked
    QString fileName; // without folder and extension
    bool nomAuto = true;
    bool addDate = true;
    bool addHeure = true;
    bool addChaine = true;
    RecordingFormat format = RecordingFormat::Mpg;
    bool applyToAll = true; // "Appliquer ces paramètres à tous les enregistrements sur la même chaîne"

    bool fermer = true;
    bool commandCheck = false;
    QString commande;
    bool veille = false;
    bool veillePro = false;
    bool eteindre = false;

    bool IsRepeatingKind() const;
    DateTime Start() const;
    DateTime End() const;

    // The end date is the start date, or the next day when the end time is earlier than the
    // start time; then the repetition end moves past it when needed.
    void FollowEndDate();
    // The duration from start to end, snapped to the minute; a span above one day less a second
    // brings the end back to the start plus that much.
    void RefreshDuration();
    // end = start + duration, then the end-date rule.
    void ApplyDuration(qint64 seconds);
    // A repetition end that is not later than the end date becomes the day after it.
    void RepetitionEndFollows();
    // For a new entry after its start time changed: an end that is not more than three minutes
    // ahead of now means tomorrow's broadcast.
    void MoveToTomorrowWhenOver(DateTime now);

    // The three power actions exclude one another; ticking one unticks the others.
    void SetPowerAction(AfterRecordingBox box, bool ticked);
    AfterRecordingBox PowerAction() const;
    // Unticking "close the viewer" unticks the power actions, which need the viewer closed.
    void SetFermer(bool ticked);

    // The file-tab and end-tab values as channel preferences, for writing the defaults back.
    ChannelPreferences AsPreferences() const;
    // The channel defaults put into the file-tab and end-tab values.
    void TakePreferences(const ChannelPreferences& prefs);
};

} // namespace quorx
