#include "common/Paths.h"
#include "engine/RecordingEngine.h"
#include "engine/ScheduleEngine.h"
#include "platform/Shell.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LocalSocketPeers.h"
#include "platform/linux/LogindPowerBackend.h"
#include "platform/linux/TimerfdClockWatch.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "schedule/RecordingStopper.h"
#include "startup/CommandLineArguments.h"
#include "startup/FileTypeRegistration.h"
#include "startup/ListFileHandOver.h"
#include "startup/OldVersionFiles.h"
#include "startup/SchedulerCore.h"
#include "startup/SingleInstance.h"
#include "ui/dialog/DialogQuestionPresenter.h"
#include "ui/main/TFListe.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

using namespace quorx;

namespace {

// Deleting the recording under way asks question 1, then stops it through the engine.
class EngineStopper final : public RecordingStopper
{
public:
    EngineStopper(Questions& questions, RecordingEngine& engine) : m_questions(questions), m_engine(engine) {}
    bool AskStopRunningRecording() override { return m_questions.Ask(QuestionId::StopRecordingToDelete); }
    void StopRunningRecording() override
    {
        if (m_engine.RecordingUnderWay())
            m_engine.CStopClick();
    }

private:
    Questions& m_questions;
    RecordingEngine& m_engine;
};

QIcon ProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(2, 5, 28, 20, 4, 4);
    p.setBrush(QColor(220, 0, 0));
    p.drawEllipse(QPoint(16, 15), 6, 6);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(10, 26, 12, 3);
    return QIcon(pixmap);
}

QAction* TrayItem(QMenu* menu, const char* name, const QString& text, bool enabled = false)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setEnabled(enabled);
    return a;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vizezezoruvav Zomvara"));
    QApplication::setQuitOnLastWindowClosed(false);

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
        QMessageBox::critical(nullptr, QStringLiteral("Vizezezoruvav Zomvara"), instance.Error());
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

    const QIcon icon = ProgramIcon();
    QApplication::setWindowIcon(icon);
    if (platform.processes)
        FileTypeRegistration(*platform.processes).Register(programPath, {}, QStringLiteral("quorx"));

    DialogQuestionPresenter presenter;
    SchedulerCore core(folder, platform, presenter);
    if (!core.Start()) {
        QMessageBox::warning(nullptr, QStringLiteral("Vizezezoruvav Zomvara"), core.StartError());
        return 2;
    }

    EngineStopper stopper(core.Ask(), core.Engine());
    TFListe::Services services;
    services.table = &core.Table();
    services.settings = &core.CoreSettings();
    services.schedule = &core.Schedule();
    services.questions = &core.Ask();
    services.stopper = &stopper;
    services.platform = platform;
    services.startStopNow = [&core] { core.Engine().CStopClick(); };
    TFListe window(services);
    window.setWindowIcon(icon);
    core.Engine().Hooks().refreshList = [&window] { window.Rebuild(); };

    // The tray menu; windows that do not exist yet keep their items disabled.
    QMenu trayMenu;
    trayMenu.setObjectName(QStringLiteral("PopupMenuG"));
    QAction* pause = TrayItem(&trayMenu, "Pause1", QStringLiteral("Pa&use"), true);
    pause->setCheckable(true);
    QAction* showHide =
        TrayItem(&trayMenu, "Afficherleprogrammateur1", QStringLiteral("&Masquer le programmateur"), true);
    showHide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12));
    TrayItem(&trayMenu, "LancerZomvara", QStringLiteral("&Zomvara"));
    TrayItem(&trayMenu, "XMLTV1", QStringLiteral("Programme T&V"));
    TrayItem(&trayMenu, "MCalendrier", QStringLiteral("Cal&endrier des enregistrements"));
    TrayItem(&trayMenu, "MJournal", QStringLiteral("&Journal des événements"));
    TrayItem(&trayMenu, "Outils1", QStringLiteral("&Outils"));
    TrayItem(&trayMenu, "CPref", QStringLiteral("P&références"));
    TrayItem(&trayMenu, "CTips", QStringLiteral("&Astuces"));
    TrayItem(&trayMenu, "CInfosLog", QStringLiteral("&Licence d'utilisation"));
    TrayItem(&trayMenu, "nosuspend", QStringLiteral("Empêcher le passage en mode é&conomie d'énergie"));
    TrayItem(&trayMenu, "Modeconomiednergie1", QStringLiteral("&Mode économie d'énergie"));
    trayMenu.addSeparator();
    QAction* quit = TrayItem(&trayMenu, "Quitter1", QStringLiteral("&Quitter"), true);

    const auto showWindow = [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    };
    QObject::connect(&trayMenu, &QMenu::aboutToShow, &trayMenu, [&] {
        showHide->setText(window.isVisible() ? QStringLiteral("&Masquer le programmateur")
                                             : QStringLiteral("&Afficher le programmateur"));
        pause->setChecked(!core.Engine().RecordingSwitchedOn());
    });
    QObject::connect(showHide, &QAction::triggered, &window, [&] {
        if (window.isVisible())
            window.hide();
        else
            showWindow();
    });
    QObject::connect(pause, &QAction::triggered, &window,
                     [&core](bool paused) { core.Engine().SetRecordingSwitchedOn(!paused); });
    QObject::connect(quit, &QAction::triggered, &window, [&] {
        if (core.Engine().RecordingUnderWay()) {
            if (!core.Ask().Ask(QuestionId::StopRecordingToQuit))
                return;
            core.Engine().CStopClick();
        }
        core.Engine().StopTimers();
        window.SetCloseAllowed(true);
        window.close();
        QApplication::quit();
    });

    QSystemTrayIcon tray(icon);
    tray.setToolTip(QStringLiteral("Vizezezoruvav Zomvara"));
    tray.setContextMenu(&trayMenu);
    const bool hasTray = QSystemTrayIcon::isSystemTrayAvailable();
    window.SetMinimiseToTray(hasTray);
    if (hasTray)
        tray.show();
    QObject::connect(&tray, &QSystemTrayIcon::activated, &window,
                     [&](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger)
                             showHide->trigger();
                     });
    // Without a tray the quit item lives on the window's bands.
    window.addAction(quit);

    const ListFileHandOver handOver([&core](const QString& text, bool defaultYes, bool offerBox, int number) {
        return core.Ask().Ask(text, defaultYes, offerBox, number);
    });
    const auto handle = [&](const QString& arg) {
        const HandOverOutcome outcome = handOver.Handle(arg);
        if (outcome.action == HandOverOutcome::Action::NotImportable ||
            outcome.action == HandOverOutcome::Action::ImportFailed)
            core.Ask().Inform(outcome.message, false, 0, 30);
    };
    QObject::connect(&instance, &SingleInstance::HandOverReceived, &window, [&](const QString& arg) {
        showWindow();
        handle(arg);
    });

    window.Rebuild();
    window.show();
    if (!argument.isEmpty())
        handle(argument);

    const int code = QApplication::exec();
    core.Engine().Hooks().refreshList = nullptr;
    if (!core.Shutdown(window.isMinimized() || !window.isVisible()))
        QMessageBox::warning(nullptr, QStringLiteral("Vizezezoruvav Zomvara"), core.LastError());
    return code;
}
