#pragma once

#include <QStringList>

#include <cstdint>

namespace quorx {

// The repetition kinds of the editor's drop-down list, and how they map to the ticked days.
class RepetitionKinds final
{
public:
    static constexpr int kSans = 0;
    static constexpr int kPersonnalise = 1;
    static constexpr int kEveryDay = 2;
    static constexpr int kFirstSingleDay = 7; // 7 = Monday ... 13 = Sunday
    static constexpr int kCount = 14;

    static QStringList Texts();
    // The days ticked when the kind is chosen from the list. "Personnalisé" unticks every day,
    // so that the user picks them one by one.
    static std::uint8_t DaysOf(int kind);
    // The kind that describes a set of days: a named set when there is one, else "Personnalisé";
    // no day at all is a one-off recording.
    static int KindOf(std::uint8_t days);
};

} // namespace quorx
