#pragma once

#include <QTime>

namespace quorx {

// The quick time keypad under the main window's time pickers: every button gives the picker a new
// time of day, with the seconds always 0.
class TimeKeypad final
{
public:
    enum class Button
    {
        Midnight,    // B0: 00:00
        Hour,        // B1 and the hour buttons: the hour set to the tag
        HourMinus,   // B25
        HourPlus,    // B26
        Minute,      // B27 and the minute buttons: the minutes set to the tag
        MinuteMinus, // B39
        MinutePlus,  // B40
    };

    // tag: the hour (0 to 23) or the minutes (0 to 59) of an Hour or Minute button. A right press
    // on an hour button first sets the minutes to 0; on a minute button it first sets the hour to 0.
    static QTime Apply(QTime time, Button button, int tag = 0, bool rightPress = false);
};

} // namespace quorx
