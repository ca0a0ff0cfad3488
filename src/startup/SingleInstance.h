#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace quorx {

class TimerService;

// One running scheduler per program folder. The first start holds a lock file and listens on a
// local socket, both named after a hash of the instance key in a folder private to the user; a
// later start finds the lock held, writes its command line into [CommandLine] Commands of
// Config.Ini and wakes the first one through the socket. The wake-up carries nothing: the first
// instance reads the slot when it arrives. A lock or socket left by a process that died is taken
// over by the next start.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Role
    {
        First,          // the lock is ours; hand-overs arrive when Listening()
        AlreadyRunning, // another live process holds the lock for this folder
        Unavailable     // the lock could not be taken or checked (see Error())
    };

    struct HandOverResult
    {
        bool delivered = false;
        QString error;
    };

    // How many times a second start tries to reach a first instance that holds the lock but is not
    // listening yet (it is between the two), and how long it waits between tries.
    static constexpr int kConnectAttempts = 20;
    static constexpr int kConnectRetryMs = 100;

    // programPath is this executable, as written into and read from the slot. An empty
    // runtimeFolder is DefaultFolder().
    SingleInstance(const QString& programFolder, const QString& programPath,
                   const QString& runtimeFolder = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;
    Q_DISABLE_COPY_MOVE(SingleInstance)

    // $XDG_RUNTIME_DIR, or /tmp/quorx-<uid> when that is unset, relative, or so long that the
    // socket path would pass the 108 bytes a local socket address holds.
    static QString DefaultFolder();
    // The part of the lock and socket names that stands for the program folder.
    static QString KeyHash(const QString& programFolder);

    QString LockPath() const;
    QString ServerPath() const;

    Role Acquire();
    bool Listening() const;
    const QString& Error() const { return m_error; }

    // For a start that found the folder taken: keeps the command line (one load and one atomic
    // save of Config.Ini), then wakes the first instance. Without a saved slot nothing is sent,
    // since the first instance would read the command line of an earlier start. timers, when given,
    // spaces out the tries of a first instance not yet listening; without it one try is made.
    HandOverResult HandOver(const QString& argument, TimerService* timers);

    // The argument the last second start left in the slot.
    QString ReadHandedOverArgument() const;

Q_SIGNALS:
    // A second start handed its command line over; argument is empty when it had none, which
    // asks only that this instance shows itself.
    void HandOverReceived(const QString& argument);

private:
    bool PrepareFolder();
    bool Listen();
    void AcceptConnections();
    QString ConfigIniPath() const;

    QString m_programFolder;
    QString m_programPath;
    QString m_folder;
    QString m_hash;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace quorx
