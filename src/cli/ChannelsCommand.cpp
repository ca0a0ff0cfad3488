// quorx-cli channels read: the channels the import page lists for one of the viewer's list files.
#include "channels/ViewerChannelList.h"
#include "cli/CliCommand.h"
#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>

using namespace quorx;
using namespace quorx::cli;

namespace {

QString StatusText(ViewerFileContent::Status status, qint32 version)
{
    switch (status) {
    case ViewerFileContent::Status::Ok:
        return QString();
    case ViewerFileContent::Status::Incomplete:
        return QStringLiteral("is cut short or damaged; the channels before the damage are listed");
    case ViewerFileContent::Status::UnsupportedVersion:
        return QStringLiteral("has version %1, which is not supported; it gives no channel").arg(version);
    case ViewerFileContent::Status::Unreadable:
        return QStringLiteral("cannot be read");
    }
    return QString();
}

int RunRead(CliContext& ctx, QStringList args)
{
    QString folder;
    QString file;
    bool showFolders = false;
    while (!args.isEmpty()) {
        const QString opt = args.takeFirst();
        if (opt == QStringLiteral("--show-folders")) {
            showFolders = true;
        } else if (opt == QStringLiteral("--folder") || opt == QStringLiteral("--file")) {
            if (args.isEmpty()) {
                ctx.err << "quorx-cli channels read: " << opt << " needs a value\n";
                return kExitUsage;
            }
            (opt == QStringLiteral("--folder") ? folder : file) = args.takeFirst();
        } else {
            ctx.err << "quorx-cli channels read: unknown argument " << opt << '\n';
            return kExitUsage;
        }
    }
    if (folder.isEmpty()) {
        ctx.err << "quorx-cli channels read: --folder DIR is required\n";
        return kExitUsage;
    }
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "quorx-cli channels read: the folder " << folder << " does not exist\n";
        return kExitFailure;
    }

    QString listPath;
    if (file.isEmpty()) {
        listPath = ViewerChannelList::DefaultListFile(folder);
        if (listPath.isEmpty()) {
            ctx.err << "quorx-cli channels read: " << folder
                    << " holds no ChannelList0.tree to ChannelList5.tree\n";
            return kExitFailure;
        }
    } else {
        listPath = QDir::isAbsolutePath(file) ? file : FindFileNoCase(folder, file);
        if (!QFileInfo(listPath).isFile()) {
            ctx.err << "quorx-cli channels read: the list file " << file << " is not in " << folder << '\n';
            return kExitFailure;
        }
    }

    const ViewerChannelList::Result result = ViewerChannelList::Read(listPath, showFolders);
    if (result.listStatus == ViewerFileContent::Status::Unreadable) {
        ctx.err << "quorx-cli channels read: " << listPath << ' '
                << StatusText(result.listStatus, result.listVersion) << '\n';
        return kExitFailure;
    }
    if (result.databasePath.isEmpty()) {
        ctx.err << "quorx-cli channels read: no channels.dat beside " << listPath << '\n';
        return kExitFailure;
    }
    if (result.databaseStatus == ViewerFileContent::Status::Unreadable) {
        ctx.err << "quorx-cli channels read: " << result.databasePath << " cannot be read\n";
        return kExitFailure;
    }
    if (result.listStatus != ViewerFileContent::Status::Ok)
        ctx.err << "quorx-cli channels read: warning: " << listPath << ' '
                << StatusText(result.listStatus, result.listVersion) << '\n';
    if (result.databaseStatus != ViewerFileContent::Status::Ok)
        ctx.err << "quorx-cli channels read: warning: " << result.databasePath << ' '
                << StatusText(result.databaseStatus, result.databaseVersion) << '\n';

    for (const QString& name : result.names.Names())
        ctx.out << name << '\n';
    return kExitOk;
}

int RunChannels(CliContext& ctx, const QStringList& args)
{
    if (args.isEmpty() || args.front() != QStringLiteral("read")) {
        ctx.err << "usage: quorx-cli channels read --folder DIR [--file NAME.Tree] [--show-folders]\n";
        return kExitUsage;
    }
    return RunRead(ctx, args.mid(1));
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("channels", "channels read --folder DIR [--file NAME.Tree] [--show-folders]",
                           "list the channels a viewer list file offers for import", &RunChannels);
