#include "platform/linux/SystemClock.h"

#include <QDateTime>

namespace quorx {

DateTime SystemClock::Now() const
{
    return DateTime::FromQDateTime(QDateTime::currentDateTime());
}

} // namespace quorx
