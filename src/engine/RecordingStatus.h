#pragma once

#include "common/DateTime.h"

#include <QString>

namespace quorx {

struct TEmission;

// The colour of the status label's text.
enum class StatusTextColour
{
    Grey,   // nothing armed
    Black,
    Orange, // red 255, green 128, blue 0
    Red,
    White,  // on the red status bar of a recording's even seconds
};

// What the main window shows of the engine: the countdown text, its colour and the blinking of
// a recording. Published whenever one of them changes; the window only paints it.
struct RecordingStatus
{
    QString text;
    StatusTextColour colour = StatusTextColour::Grey;
    bool redBar = false;        // status bar red, status and free-space labels white
    bool recordingIcon = false; // the notification-area icon of a recording

    friend bool operator==(const RecordingStatus&, const RecordingStatus&) = default;
};

// The countdown texts of the status label.
class RecordingCountdown final
{
public:
    // "1 heure et 5 minutes ", "2 heures ", "moins d'une minute "...
    static QString DurationText(int hours, int minutes);
    // "(" Programme, or "(Sans nom", " sur " Chaine ")".
    static QString RecordSuffix(const TEmission& record);
    // While a recording starts or runs: the time left to the planned end, rounded up to the minute.
    static QString EndText(DateTime now, DateTime plannedEnd);
    // Before a recording; empty when it is a day or more away. colour receives the label's colour.
    static QString StartText(DateTime now, DateTime plannedStart, StatusTextColour* colour);
};

} // namespace quorx
