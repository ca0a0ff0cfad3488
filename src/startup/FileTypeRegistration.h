#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorx {

class Processes;

// Makes the desktop open list files (*.quorx, any case) with this program: a shared-mime-info
// package declaring application/x-quorx and a desktop entry that opens it, both under the user's
// data folder and rewritten at every start, so that they follow the program when it moves. The
// desktop's caches are then refreshed by its own tools, started detached when installed. Every
// failure is silent: the program runs the same without the registration.
class FileTypeRegistration final
{
public:
    static constexpr const char* kMimeType = "application/x-quorx";

    // An empty dataHome is DefaultDataHome().
    explicit FileTypeRegistration(Processes& processes, const QString& dataHome = QString());

    // $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    static QString DefaultDataHome();

    const QString& DataHome() const { return m_dataHome; }
    QString MimePackagePath() const;
    QString DesktopFilePath() const;

    // Where the cache tools are looked for; empty (the default) is the PATH.
    void SetToolFolders(const QStringList& folders) { m_toolFolders = folders; }

    // Writes both files (each on its own, atomically) and starts the tools of those written.
    // arguments go between the executable and the file (a --home the program was started with);
    // icon is a path or an icon name, left out when empty. True when both files were written.
    bool Register(const QString& executablePath, const QStringList& arguments, const QString& icon);

    static QByteArray MimePackage();
    static QByteArray DesktopEntry(const QString& executablePath, const QStringList& arguments,
                                   const QString& icon);
    // One argument of an Exec line, quoted by the desktop entry rules where it needs it.
    static QString ExecArgument(const QString& argument);

private:
    void StartTool(const QString& name, const QString& folder);

    Processes& m_processes;
    QString m_dataHome;
    QStringList m_toolFolders;
};

} // namespace quorx
