#pragma once

#include <QString>

#include <functional>

namespace quorx {

// A yes/no question the channel rules need answered, handed to whoever asks the user (the
// countdown dialog in the program, a script in tests).
struct ChannelQuestion
{
    int number = 0;
    QString text;
    bool defaultAnswer = false;
    bool offerBox = false;
};

using ChannelAsker = std::function<bool(const ChannelQuestion&)>;

} // namespace quorx
