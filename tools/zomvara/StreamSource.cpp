#include "StreamSource.h"

#include "FileSource.h"
#include "HttpSource.h"
#include "SilentSource.h"
#include "SyntheticSource.h"

namespace quorx::zomvara {

std::unique_ptr<StreamSource> StreamSource::Create(const ChannelSource& origin, int channelIndex)
{
    switch (origin.kind) {
    case ChannelSource::Kind::Synthetic:
        return std::make_unique<SyntheticSource>(origin.kibPerSecond,
                                                 static_cast<std::uint16_t>(0x100 + (channelIndex % 0xE00)));
    case ChannelSource::Kind::File:
        return std::make_unique<FileSource>(origin.location, origin.kibPerSecond);
    case ChannelSource::Kind::Http:
        return std::make_unique<HttpSource>(origin.location);
    case ChannelSource::Kind::None:
        break;
    }
    return std::make_unique<SilentSource>();
}

} // namespace quorx::zomvara
