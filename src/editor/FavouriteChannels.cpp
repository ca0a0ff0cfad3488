#include "editor/FavouriteChannels.h"

#include "common/IniFile.h"

#include <algorithm>

namespace quorx {

namespace {

const QString kSection = QStringLiteral("Saisie");

QString Unquoted(QString text)
{
    if (text.startsWith(QLatin1Char('"')))
        text.remove(0, 1);
    if (text.endsWith(QLatin1Char('"')))
        text.chop(1);
    return text;
}

} // namespace

void FavouriteChannels::Load(const IniFile& config)
{
    for (int i = 0; i < kSlots; ++i) {
        const QString n = QString::number(i);
        Slot& slot = m_slots[i];
        slot.name = Unquoted(config.ReadString(kSection, QStringLiteral("FavoriteChannelName") + n));
        slot.usage = config.ReadInteger(kSection, QStringLiteral("FavoriteChannelUsage") + n, 0);
        slot.lastUsed =
            DateTime(config.ReadFloat(kSection, QStringLiteral("FavoriteChannelLastUsed") + n, 0.0));
    }
}

void FavouriteChannels::Save(IniFile& config) const
{
    for (int i = 0; i < kSlots; ++i) {
        const QString n = QString::number(i);
        const Slot& slot = m_slots[i];
        config.WriteString(kSection, QStringLiteral("FavoriteChannelName") + n,
                           QLatin1Char('"') + slot.name + QLatin1Char('"'));
        config.WriteInteger(kSection, QStringLiteral("FavoriteChannelUsage") + n, slot.usage);
        config.WriteFloat(kSection, QStringLiteral("FavoriteChannelLastUsed") + n, slot.lastUsed.Value());
    }
}

void FavouriteChannels::CountUse(const QString& channel, DateTime now)
{
    const QString name = channel.trimmed();
    if (name.isEmpty())
        return;
    for (Slot& slot : m_slots) {
        if (slot.name.compare(name, Qt::CaseInsensitive) == 0) {
            ++slot.usage;
            return;
        }
    }
    auto victim = std::min_element(m_slots.begin(), m_slots.end(), [](const Slot& a, const Slot& b) {
        if (a.usage != b.usage)
            return a.usage < b.usage;
        return a.lastUsed < b.lastUsed;
    });
    *victim = Slot{name, 1, now};
}

QVector<FavouriteChannels::Slot> FavouriteChannels::Ordered() const
{
    QVector<Slot> slots(m_slots.begin(), m_slots.end());
    std::stable_sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) {
        if (a.name.isEmpty() != b.name.isEmpty())
            return b.name.isEmpty();
        return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    return slots;
}

} // namespace quorx
