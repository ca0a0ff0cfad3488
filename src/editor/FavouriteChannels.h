#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QVector>

#include <array>

namespace quorx {

class IniFile;

// The twelve channels offered on the quick channel buttons: the most used ones, the oldest of
// the least used giving way to a new channel. Kept in section [Saisie] of Config.Ini.
class FavouriteChannels final
{
public:
    static constexpr int kSlots = 12;

    struct Slot
    {
        QString name;
        int usage = 0;
        DateTime lastUsed;
    };

    void Load(const IniFile& config);
    void Save(IniFile& config) const;

    // One more use of the channel: its slot counts it, or it takes the slot of the lowest usage
    // (the oldest use among equals) with a usage of 1.
    void CountUse(const QString& channel, DateTime now);

    // The slots as the buttons show them: by name (ordinal, letter case counts), empty ones last.
    QVector<Slot> Ordered() const;
    const std::array<Slot, kSlots>& Slots() const { return m_slots; }

private:
    std::array<Slot, kSlots> m_slots;
};

} // namespace quorx
