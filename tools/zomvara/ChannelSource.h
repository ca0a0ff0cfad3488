#pragma once

#include <QString>

namespace quorx::zomvara {

// Where a channel's data comes from, as written in channels/sources.ini.
struct ChannelSource
{
    enum class Kind
    {
        Synthetic,
        File,
        Http,
        None
    };
    static constexpr int kDefaultKibPerSecond = 256;

    Kind kind = Kind::Synthetic;
    int kibPerSecond = kDefaultKibPerSecond; // synthetic and file sources
    QString location;                        // the file path or the address

    // "synthetic[:KIB]" (also an empty text), "file:PATH" (relative paths from baseFolder),
    // "http://..." or "https://...", "none". False with a reason for anything else.
    static bool Parse(const QString& text, const QString& baseFolder, ChannelSource* out, QString* error);
};

} // namespace quorx::zomvara
