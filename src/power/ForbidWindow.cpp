#include "power/ForbidWindow.h"

namespace quorx {

namespace {

// Milliseconds since midnight; the pickers carry hours and minutes, now carries seconds too.
qint64 MsOfDay(DateTime value)
{
    return DateTime::MsBetween(value.DatePart(), value) % 86400000;
}

} // namespace

bool ForbidWindow::Contains(DateTime start, DateTime end, DateTime now)
{
    const qint64 s = MsOfDay(start.WithoutSeconds());
    const qint64 e = MsOfDay(end.WithoutSeconds());
    const qint64 n = MsOfDay(now);
    if (s == e)
        return false;
    if (e > s)
        return n >= s && n <= e;
    return n >= s || n <= e;
}

bool ForbidWindow::JustEnded(DateTime end, DateTime now)
{
    const qint64 e = MsOfDay(end.WithoutSeconds());
    const qint64 n = MsOfDay(now);
    const qint64 sinceEnd = (n - e + 86400000) % 86400000;
    return sinceEnd < 60000;
}

} // namespace quorx
