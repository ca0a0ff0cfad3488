#include "editor/RepetitionKinds.h"

#include "schedule/TEmission.h"

namespace quorx {

namespace {

constexpr std::uint8_t kAllDays = Lundi | Mardi | Mercredi | Jeudi | Vendredi | Samedi | Dimanche;
constexpr std::uint8_t kMondayToSaturday = kAllDays & ~Dimanche;
constexpr std::uint8_t kMondayToFriday = kMondayToSaturday & ~Samedi;
constexpr std::uint8_t kWednesdayAndWeekend = Mercredi | Samedi | Dimanche;
constexpr std::uint8_t kWeekend = Samedi | Dimanche;

} // namespace

QStringList RepetitionKinds::Texts()
{
    return {QStringLiteral("Sans"),
            QStringLiteral("Personnalisé"),
            QStringLiteral("Tous les jours de la semaine"),
            QStringLiteral("Du lundi au samedi"),
            QStringLiteral("Du lundi au vendredi"),
            QStringLiteral("Chaque mercredi, samedi et dimanche"),
            QStringLiteral("Chaque samedi et dimanche"),
            QStringLiteral("Chaque lundi"),
            QStringLiteral("Chaque mardi"),
            QStringLiteral("Chaque mercredi"),
            QStringLiteral("Chaque jeudi"),
            QStringLiteral("Chaque vendredi"),
            QStringLiteral("Chaque samedi"),
            QStringLiteral("Chaque dimanche")};
}

std::uint8_t RepetitionKinds::DaysOf(int kind)
{
    switch (kind) {
    case kEveryDay:
        return kAllDays;
    case 3:
        return kMondayToSaturday;
    case 4:
        return kMondayToFriday;
    case 5:
        return kWednesdayAndWeekend;
    case 6:
        return kWeekend;
    default:
        break;
    }
    if (kind >= kFirstSingleDay && kind < kCount)
        return WeekdayBitOf(kind - kFirstSingleDay + 1);
    return 0;
}

int RepetitionKinds::KindOf(std::uint8_t days)
{
    days &= kAllDays;
    switch (days) {
    case 0:
        return kSans;
    case kAllDays:
        return kEveryDay;
    case kMondayToSaturday:
        return 3;
    case kMondayToFriday:
        return 4;
    case kWednesdayAndWeekend:
        return 5;
    case kWeekend:
        return 6;
    default:
        break;
    }
    for (int day = 1; day <= 7; ++day) {
        if (days == WeekdayBitOf(day))
            return kFirstSingleDay + day - 1;
    }
    return kPersonnalise;
}

} // namespace quorx
