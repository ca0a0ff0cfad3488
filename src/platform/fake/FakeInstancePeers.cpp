#include "platform/fake/FakeInstancePeers.h"

namespace quorx {

bool FakeInstancePeers::AllAgree()
{
    ++m_queriesAsked;
    // As with real instances, the others are not asked once this one refuses.
    if (!AnswerForThisInstance())
        return false;
    bool agree = true;
    for (const Peer& peer : m_peers) {
        if (peer.permitted && !peer.permitted())
            agree = false;
    }
    return agree;
}

void FakeInstancePeers::AddPeer(const QString& name, std::function<bool()> permitted)
{
    RemovePeer(name);
    m_peers.append(Peer{name, std::move(permitted)});
}

void FakeInstancePeers::AddPeer(const QString& name, bool agrees)
{
    AddPeer(name, [agrees] { return agrees; });
}

void FakeInstancePeers::AddSilentPeer(const QString& name)
{
    RemovePeer(name);
    m_peers.append(Peer{name, {}});
}

void FakeInstancePeers::RemovePeer(const QString& name)
{
    m_peers.removeIf([&name](const Peer& peer) { return peer.name == name; });
}

} // namespace quorx
