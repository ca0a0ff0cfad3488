#pragma once

#include "common/DateTime.h"

#include <QtGlobal>

namespace quorx {

struct TEmission;

// The margins are times of day used as durations: their hours, minutes and seconds, rounded to
// whole seconds.
qint64 MarginSeconds(DateTime margin);

// The broadcast ends on a later date than it starts (DateFin's date differs from DateDebut's).
bool CrossesMidnight(const TEmission& e);

// The first start with the start margin (DateDebut + HeureDebut - delaiDeb) and the end with the
// end margin (DateFin + HeureFin + delaiFin) fall on different dates.
bool CrossesMidnightWithMargins(const TEmission& e, DateTime delaiDeb, DateTime delaiFin);

// The end, end margin included, of the occurrence dated DateStop (the date of that occurrence's start
// with its margin). An occurrence whose start margin moves it to the day before belongs to the next
// day's broadcast, and an end margin that alone runs past midnight adds no extra day.
DateTime EndOfStopOccurrence(const TEmission& e, DateTime delaiDeb, DateTime delaiFin);

} // namespace quorx
