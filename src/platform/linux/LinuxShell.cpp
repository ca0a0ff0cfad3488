#include "platform/linux/LinuxShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace quorx {

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

bool StartOpener(const QString& target)
{
    QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    QStringList arguments{target};
    if (opener.isEmpty()) {
        opener = QStandardPaths::findExecutable(QStringLiteral("gio"));
        if (opener.isEmpty())
            return false;
        arguments.prepend(QStringLiteral("open"));
    }
    QProcess process;
    process.setProgram(opener);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

bool IsAddress(const QString& text)
{
    // A scheme of two letters or more, so that a Windows-style "C:/..." is not taken for one.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch() && !QFileInfo::exists(text);
}

bool FileManagerAvailable(const QDBusConnection& bus)
{
    const QDBusConnectionInterface* daemon = bus.interface();
    if (!daemon)
        return false;
    if (daemon->isServiceRegistered(kFileManagerService).value())
        return true;
    return daemon->activatableServiceNames().value().contains(kFileManagerService);
}

} // namespace

bool LinuxShell::OpenLocal(const QString& path)
{
    // Always absolute, so that a name beginning with "-" cannot pass for an option of the opener.
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return StartOpener(info.absoluteFilePath());
}

bool LinuxShell::Open(const QString& fileFolderOrAddress)
{
    const QString target = fileFolderOrAddress.trimmed();
    if (target.isEmpty())
        return false;
    if (IsAddress(target)) {
        const QUrl url(target);
        return url.isValid() && StartOpener(url.toString(QUrl::FullyEncoded));
    }
    return OpenLocal(target);
}

bool LinuxShell::ShowInFolder(const QString& file)
{
    const QString path = file.trimmed();
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!info.exists())
        return OpenLocal(folder);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !FileManagerAvailable(bus))
        return OpenLocal(folder);
    QDBusMessage call =
        QDBusMessage::createMethodCall(kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                       kFileManagerService, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded)}
         << QString();
    // The answer is not waited for; a file manager that turns the request down gets the folder
    // opened instead, later.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher* w) {
                         if (w->isError())
                             OpenLocal(folder);
                         w->deleteLater();
                     });
    return true;
}

} // namespace quorx
