#pragma once

#include <functional>

namespace quorx {

// The other running instances of the program (one per program folder), asked together whether the
// computer may be stopped, as one instance must not suspend the machine under another's recording.
class InstancePeers
{
public:
    virtual ~InstancePeers() = default;

    // How this instance answers the question, its own asking included; without a handler it agrees.
    virtual void SetQueryHandler(std::function<bool()> permitted) = 0;
    // Asks every running instance, this one included; true when none refused. An instance that does
    // not answer in time, or is gone, counts as agreeing.
    virtual bool AllAgree() = 0;
};

} // namespace quorx
