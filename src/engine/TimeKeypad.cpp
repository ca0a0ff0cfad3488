#include "engine/TimeKeypad.h"

#include <algorithm>

namespace quorx {

QTime TimeKeypad::Apply(QTime time, Button button, int tag, bool rightPress)
{
    int hour = time.isValid() ? time.hour() : 0;
    int minute = time.isValid() ? time.minute() : 0;
    switch (button) {
    case Button::Midnight:
        hour = 0;
        minute = 0;
        break;
    case Button::Hour:
        if (rightPress)
            minute = 0;
        hour = std::clamp(tag, 0, 23);
        break;
    case Button::HourMinus:
        hour = (hour + 23) % 24;
        break;
    case Button::HourPlus:
        hour = (hour + 1) % 24;
        break;
    case Button::Minute:
        if (rightPress)
            hour = 0;
        minute = std::clamp(tag, 0, 59);
        break;
    // The minutes turn within the hour: the hour stays what the user chose.
    case Button::MinuteMinus:
        minute = (minute + 59) % 60;
        break;
    case Button::MinutePlus:
        minute = (minute + 1) % 60;
        break;
    }
    return QTime(hour, minute, 0);
}

} // namespace quorx
