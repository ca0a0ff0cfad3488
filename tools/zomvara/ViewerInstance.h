#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>

namespace quorx::zomvara {

// One running viewer per installation folder. The first start takes a lock and listens on a
// local socket; a later start hands its arguments through the socket and ends. A lock left by a
// crashed viewer is taken over.
class ViewerInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ViewerInstance)

public:
    enum class Role
    {
        Primary,
        HandedOver,
        Failed
    };

    explicit ViewerInstance(const QString& installFolder, QObject* parent = nullptr);
    ~ViewerInstance() override;

    // Becomes the running viewer, or hands arguments over to the one already running.
    Role Settle(const QStringList& arguments, QString* error);

    QString SocketPath() const { return m_socketPath; }
    QString LockPath() const { return m_lockPath; }

    // $XDG_RUNTIME_DIR, or /tmp when it is unset or missing.
    static QString RuntimeFolder();
    // Short, stable and distinct per folder, so socket paths stay within the system's limit.
    static QString NameFor(const QString& installFolder);

Q_SIGNALS:
    void ArgumentsReceived(const QStringList& arguments);

private:
    enum class HandOverResult
    {
        Acknowledged,
        Unanswered,
        NotConnected
    };
    HandOverResult HandOver(const QStringList& arguments, int timeoutMs, QString* reason);
    bool BecomePrimary(QString* error);
    void OnNewConnection();

    QString m_socketPath;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace quorx::zomvara
