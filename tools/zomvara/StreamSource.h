#pragma once

#include "ChannelSource.h"

#include <QByteArray>
#include <QObject>

#include <memory>

namespace quorx::zomvara {

// The data of a tuned channel, delivered as it arrives on the main thread.
class StreamSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~StreamSource() override = default;

    virtual void Start() = 0;
    virtual void Stop() = 0;

    // The source a channel's entry names; the channel index gives a distinct stream.
    static std::unique_ptr<StreamSource> Create(const ChannelSource& origin, int channelIndex);

Q_SIGNALS:
    void DataArrived(const QByteArray& data);
    // A problem the window shows; the source keeps trying where it can.
    void Trouble(const QString& reason);
};

} // namespace quorx::zomvara
