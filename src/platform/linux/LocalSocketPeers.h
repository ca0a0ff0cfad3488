#pragma once

#include "platform/InstancePeers.h"

#include <QString>
#include <QtGlobal>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace quorx {

// Every running instance listens on a local socket in one folder private to the user, named after
// its program folder and its process; asking the others is connecting to each socket in turn.
// Answers come from the event loop, and the asking side runs a nested one meanwhile, so that two
// instances asking each other at once both get their answer.
class LocalSocketPeers final : public InstancePeers
{
public:
    static constexpr int kAnswerTimeoutMs = 2000;

    // An empty peersFolder is DefaultFolder().
    explicit LocalSocketPeers(const QString& programFolder, const QString& peersFolder = QString(),
                              int answerTimeoutMs = kAnswerTimeoutMs);
    ~LocalSocketPeers() override;
    Q_DISABLE_COPY_MOVE(LocalSocketPeers)

    // $XDG_RUNTIME_DIR/quorx-peers, or /tmp/quorx-peers-<uid> when that is unset or so long that a
    // socket path in it would pass the system's limit.
    static QString DefaultFolder();
    // A hash of the program folder and the process number.
    static QString SocketName(const QString& programFolder, qint64 pid);

    // Empty when this instance could not listen (an unsafe folder, a socket path too long).
    QString SocketPath() const;

    void SetQueryHandler(std::function<bool()> permitted) override;
    bool AllAgree() override;

private:
    void Listen(const QString& folder, const QString& name);
    void AnswerQuery(QLocalSocket* socket);
    bool ThisInstanceAgrees() const;

    const int m_answerTimeoutMs;
    QString m_folder; // empty when the folder cannot be trusted
    std::unique_ptr<QLocalServer> m_server;
    std::function<bool()> m_permitted;
};

} // namespace quorx
