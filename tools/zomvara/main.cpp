#include "PlanCommand.h"
#include "ViewerCore.h"
#include "ViewerInstance.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <curl/curl.h>

#include <cstdio>

using namespace quorx::zomvara;

namespace {

// The folder of the executable is the installation: its files and its single instance.
QString InstallFolder()
{
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFileInfo(exe).absolutePath();
}

QStringList ArgumentsAfterProgram()
{
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return args;
}

} // namespace

static const char kUsage[] =
    "usage: zomvara [SWITCH...]\n"
    "       zomvara --plan CHANNEL START STOP NAME\n"
    "Switches, one argument each, in any letter case; a running viewer of the same folder acts on them:\n"
    "  /CH:NAME            tune the channel NAME of channels/sources.ini\n"
    "  /StartRecord:PATH   record the tuned channel into PATH\n"
    "  /StopRecord         stop the recording\n"
    "  /DisableMPEG2Decoder\n"
    "  /play:PATH          open PATH with the desktop's player\n"
    "  /Exit               end the viewer\n"
    "--plan writes a recording into modules/scheduler.ini; times are \"yyyy-mm-dd hh:nn[:ss]\".\n";

int main(int argc, char** argv)
{
    if (argc >= 2 && (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc >= 2 &&
        QString::fromLocal8Bit(argv[1]).compare(QLatin1String("--plan"), Qt::CaseInsensitive) == 0) {
        QCoreApplication app(argc, argv);
        QTextStream err(stderr);
        return PlanCommand::Run(InstallFolder(), ArgumentsAfterProgram().mid(1), err);
    }

    // Started without a display (a session without graphics), the viewer still records.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString folder = InstallFolder();
    const QStringList arguments = ArgumentsAfterProgram();

    ViewerInstance instance(folder);
    QString error;
    switch (instance.Settle(arguments, &error)) {
    case ViewerInstance::Role::HandedOver:
        return 0;
    case ViewerInstance::Role::Failed:
        QTextStream(stderr) << "zomvara: " << error << "\n";
        return 1;
    case ViewerInstance::Role::Primary:
        break;
    }

    curl_global_init(CURL_GLOBAL_DEFAULT);
    int status = 0;
    {
        ViewerCore core(folder);
        core.Initialise();
        ViewerWindow window(core);
        QObject::connect(&core, &ViewerCore::ExitRequested, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        QObject::connect(&window, &ViewerWindow::CloseRequested, &app, [&core, &app] {
            core.Shutdown();
            app.quit();
        });
        QObject::connect(&instance, &ViewerInstance::ArgumentsReceived, &core,
                         [&core](const QStringList& handed) { core.Act(handed, false); });
        window.ShowAsAsked(qEnvironmentVariable("QUORX_SHOW_STATE"));
        core.Act(arguments, true);
        status = app.exec();
    }
    curl_global_cleanup();
    return status;
}
