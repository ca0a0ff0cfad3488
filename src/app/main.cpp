#include "common/Paths.h"
#include "platform/Shell.h"
#include "platform/hotkeys/DesktopHotKeys.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LocalSocketPeers.h"
#include "platform/linux/LogindPowerBackend.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/TimerfdClockWatch.h"
#include "power/QuestionPresenter.h"
#include "schedule/Settings.h"
#include "startup/CommandLineArguments.h"
#include "startup/FileTypeRegistration.h"
#include "startup/HotKeyCommands.h"
#include "startup/OldVersionFiles.h"
#include "startup/ProgramTitles.h"
#include "startup/SchedulerCore.h"
#include "startup/SingleInstance.h"
#include "startup/UnattendedRun.h"
#include "viewer/ViewerIni.h"
#include "ui/channels/TFChaines.h"
#include "ui/dialog/DialogQuestionPresenter.h"
#include "ui/editor/TFSaisie.h"
#include "ui/main/ListPictures.h"
#include "ui/main/MainProgram.h"
#include "ui/main/TFListe.h"
#include "ui/main/TrayMenu.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileDialog>
#include <QMessageBox>
#include <QProxyStyle>

using namespace quorx;

namespace {

// Hints show after one second; Qt already hides a short hint after ten.
class HintDelays final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 1000;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramTitles::ApplicationTitle());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new HintDelays);

    QCommandLineParser parser;
    parser.addOption(
        QCommandLineOption(QStringLiteral("home"), QStringLiteral("Program folder."), QStringLiteral("DIR")));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A list file to import."));
    parser.process(app);

    const QString folder = ProgramFolder::Resolve(parser.value(QStringLiteral("home")));
    const QString programPath = QApplication::applicationFilePath();

    LinuxPlatform linuxPlatform;
    Platform platform = linuxPlatform.View();

    const OldVersionFilesFinding old = OldVersionFiles::Check(folder);
    if (old.found) {
        QMessageBox::critical(nullptr, QString(), old.message);
        if (platform.shell)
            platform.shell->Open(old.folderToOpen);
        return 1;
    }

    const QString argument = CommandLineArguments::FirstStartListFile(parser.positionalArguments());
    SingleInstance instance(folder, programPath);
    switch (instance.Acquire()) {
    case SingleInstance::Role::AlreadyRunning: {
        const SingleInstance::HandOverResult result = instance.HandOver(argument, platform.timers);
        return result.delivered ? 0 : 1;
    }
    case SingleInstance::Role::Unavailable:
        QMessageBox::critical(nullptr, ProgramTitles::ApplicationTitle(), instance.Error());
        return 1;
    case SingleInstance::Role::First:
        break;
    }

    // The core needs the whole platform: power, the other instances and the clock watch too.
    const std::unique_ptr<LogindPowerBackend> power = LogindPowerBackend::ForThisMachine(*platform.clock);
    LocalSocketPeers peers(folder);
    TimerfdClockWatch clockWatch;
    platform.power = power.get();
    platform.peers = &peers;
    platform.clockWatch = &clockWatch;

    QApplication::setWindowIcon(ListPictures::Picture(QStringLiteral("program")));
    if (platform.processes)
        FileTypeRegistration(*platform.processes)
            .Register(programPath,
                      parser.isSet(QStringLiteral("home")) ? QStringList{QStringLiteral("--home"), folder}
                                                           : QStringList{},
                      QStringLiteral("quorx"));

    DialogQuestionPresenter dialogPresenter;
    // QUORX_UNATTENDED: nobody at the screen; the questions answer themselves and are reported.
    const std::unique_ptr<QuestionPresenter> unattended =
        UnattendedRun::PresenterIfRequested(*platform.timers);
    QuestionPresenter& presenter = unattended ? *unattended : dialogPresenter;
    SchedulerCore::Options coreOptions;
    // Until the preferences window exists, a folder chooser lets the user point at the viewer;
    // nobody answers it in an unattended run.
    if (!unattended)
        coreOptions.askViewerFolder = [](const QString& lastTried) {
            return QFileDialog::getExistingDirectory(nullptr, ProgramTitles::ApplicationTitle(), lastTried);
        };
    SchedulerCore core(folder, platform, presenter, std::move(coreOptions));
    if (!core.Start()) {
        QMessageBox::warning(nullptr, ProgramTitles::ApplicationTitle(), core.StartError());
        return 2;
    }

    MainProgram::Options options;
    options.programPath = programPath;
    options.quit = [] { QApplication::quit(); };
    // The editor is built for each opening, so that it sees the viewer folder and the channel
    // list as they are now; the program object exists by the time the user can open it.
    MainProgram* programForEditor = nullptr;
    options.editRecording = [&](int recordIndex, bool isNew) {
        QWidget* parent = &programForEditor->Window();
        const QString viewerFolder = core.CoreSettings().CheminZomvara;
        const TFChaines::Services channelServices{folder, &core.CoreSettings(), &core.Ask(), viewerFolder};
        TFSaisie::Services editor;
        editor.table = &core.Table();
        editor.settings = &core.CoreSettings();
        editor.questions = &core.Ask();
        editor.platform = platform;
        editor.programFolder = folder;
        editor.viewerRecordingFolder = ViewerIni::RecordDir(viewerFolder, QString());
        editor.stopper = &programForEditor->Stopper();
        editor.openChannels = [parent, channelServices](QStringList& channels, int page) {
            if (page == TFSaisie::ChannelImportPage)
                return TFChaines::Edit(parent, channelServices, channels);
            TFChaines::Opening opening;
            opening.page = TFChaines::PreferencesPage;
            opening.channel = channels.value(0);
            opening.profile = page == TFSaisie::RepeatingPreferences ? PreferenceProfile::Repeating
                                                                      : PreferenceProfile::OneOff;
            return TFChaines::EditStoredList(parent, channelServices, opening);
        };
        return TFSaisie::Edit(parent, editor, recordIndex, isNew) != TFSaisie::Outcome::Cancelled;
    };
    MainProgram program(core, platform, std::move(options));
    programForEditor = &program;
    QObject::connect(&instance, &SingleInstance::HandOverReceived, &program,
                     [&program](const QString& arg) { program.HandOver(arg, true); });
    const auto toggleWindow = [&program] { program.Tray().Item("Afficherleprogrammateur1")->trigger(); };
    const auto openGuide = [&program] {
        QAction* guide = program.Tray().Item("XMLTV1");
        if (guide && guide->isEnabled())
            guide->trigger();
    };
    DesktopHotKeys desktopKeys(&program.Window());
    HotKeyCommands hotKeys(desktopKeys, core.Viewer(), core.CoreSettings(), {toggleWindow, openGuide});
    hotKeys.Install();

    // A session's end or a shutdown asks nobody: the program ends as after "Quitter", saving its
    // schedule and settings on the way out.
    TerminationSignals termination;
    // exit(), not quit(): quit() would first ask the windows to close, and the main window only
    // minimises on a close.
    QObject::connect(&termination, &TerminationSignals::Requested, &app, [] { QApplication::exit(0); });

    program.Show();
    if (!argument.isEmpty())
        program.HandOver(argument, false);

    const int code = QApplication::exec();
    // The keys go before the schedule and the settings are written.
    hotKeys.Uninstall();
    if (!program.Finish())
        QMessageBox::warning(nullptr, ProgramTitles::ApplicationTitle(), program.Error());
    return code;
}
