#pragma once

#include "StreamSource.h"

namespace quorx::zomvara {

// A channel that tunes but never delivers a byte: its recordings stay empty.
class SilentSource final : public StreamSource
{
    Q_OBJECT

public:
    using StreamSource::StreamSource;
    void Start() override {}
    void Stop() override {}
};

} // namespace quorx::zomvara
