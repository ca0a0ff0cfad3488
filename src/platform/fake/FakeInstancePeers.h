#pragma once

#include "platform/InstancePeers.h"

#include <QString>
#include <QVector>

namespace quorx {

// This instance alone unless a test adds others. A peer answers with its function; a silent one
// does not answer and so, as a real instance that times out, counts as agreeing.
class FakeInstancePeers final : public InstancePeers
{
public:
    FakeInstancePeers() = default;
    Q_DISABLE_COPY_MOVE(FakeInstancePeers)

    void SetQueryHandler(std::function<bool()> permitted) override { m_permitted = std::move(permitted); }
    bool AllAgree() override;

    void AddPeer(const QString& name, std::function<bool()> permitted);
    void AddPeer(const QString& name, bool agrees);
    void AddSilentPeer(const QString& name);
    void RemovePeer(const QString& name);

    // What this instance answers when another one asks.
    bool AnswerForThisInstance() const { return !m_permitted || m_permitted(); }
    int QueriesAsked() const { return m_queriesAsked; }

private:
    struct Peer
    {
        QString name;
        std::function<bool()> permitted; // empty: silent
    };

    std::function<bool()> m_permitted;
    QVector<Peer> m_peers;
    int m_queriesAsked = 0;
};

} // namespace quorx
