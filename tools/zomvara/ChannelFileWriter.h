#pragma once

#include "ChannelList.h"

#include <QByteArray>

#include <cstdint>

namespace quorx::zomvara {

// The viewer's channel files built from its channel list, so that a scheduler can import them:
// the favourites list channels/Favourites.tree (version 105) and the channel database
// channels/channels.dat (version 113). Integers are little-endian.
class ChannelFileWriter final
{
public:
    static constexpr std::int32_t kTreeVersion = 105;
    static constexpr std::int32_t kDatVersion = 113;

    // The identity numbers N1 to N7 of a channel; the tree's references and the database's
    // records carry the same ones, which is how the two are matched.
    struct Identity
    {
        std::uint16_t n1, n2, n3, n4, n5, n6;
        std::int32_t n7;
    };
    static Identity IdentityOf(int index, const QString& name);

    static QByteArray FavouritesTree(const QVector<ChannelEntry>& channels, const QString& listName);
    static QByteArray ChannelsDat(const QVector<ChannelEntry>& channels);

    // Writes both files into the channels folder (atomically, and only when they changed).
    static bool WriteAll(const QString& channelsFolder, const QVector<ChannelEntry>& channels,
                         QString* error);
};

} // namespace quorx::zomvara
