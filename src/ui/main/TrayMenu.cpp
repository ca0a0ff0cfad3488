#include "ui/main/TrayMenu.h"

#include "engine/FreeSpaceWatch.h"
#include "engine/RecordingDrive.h"
#include "engine/RecordingEngine.h"
#include "power/PowerManager.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "startup/ProgramTitles.h"
#include "ui/main/ListPictures.h"
#include "ui/main/TFListe.h"
#include "viewer/ViewerControl.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>

namespace quorx {

TrayMenu::TrayMenu(TFListe& window, std::function<QString(const QString& title)> chooseFolder)
    : QObject(&window), m_window(window), m_chooseFolder(std::move(chooseFolder))
{
    const TFListe::Services& s = window.Parts();
    m_menu = new QMenu(&window);
    m_menu->setObjectName(QStringLiteral("PopupMenuG"));

    QAction* pause = Add(m_menu, "Pause1", QStringLiteral("Pa&use"));
    pause->setCheckable(true);
    pause->setEnabled(s.engine != nullptr);
    connect(pause, &QAction::triggered, this, [this](bool paused) {
        if (RecordingEngine* engine = m_window.Parts().engine)
            engine->SetRecordingSwitchedOn(!paused);
        m_window.RefreshStatus();
    });

    QAction* showHide = Add(m_menu, "Afficherleprogrammateur1", QStringLiteral("&Masquer le programmateur"));
    showHide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12));
    connect(showHide, &QAction::triggered, this, &TrayMenu::ToggleWindow);

    QAction* viewer = Add(m_menu, "LancerZomvara", QStringLiteral("&Zomvara"));
    viewer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F10));
    viewer->setEnabled(s.viewer != nullptr);
    connect(viewer, &QAction::triggered, this, [this] {
        const TFListe::Services& parts = m_window.Parts();
        if (parts.viewer)
            parts.viewer->BringToFront(parts.settings->EtatZomvara);
    });

    // The guide, the calendar, the journal viewer, the preferences and the tips have no window yet.
    Add(m_menu, "XMLTV1", QStringLiteral("Programme T&V"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F11));
    Add(m_menu, "MCalendrier", QStringLiteral("Cal&endrier des enregistrements"));
    Add(m_menu, "MJournal", QStringLiteral("&Journal des événements"));
    for (const char* later : {"XMLTV1", "MCalendrier", "MJournal"})
        Item(later)->setEnabled(false);

    QMenu* tools = m_menu->addMenu(QStringLiteral("&Outils"));
    tools->menuAction()->setObjectName(QStringLiteral("Outils1"));
    QAction* drive = Add(tools, "Changerlelecteurdenregistrementdelensembledesprogrammes1",
                         QStringLiteral("C&hanger le disque où sont stockés les fichiers contenant les "
                                        "enregistrements"));
    connect(drive, &QAction::triggered, this, &TrayMenu::ChangeRecordingDrive);

    Add(m_menu, "CPref", QStringLiteral("P&références"))->setEnabled(false);
    Add(m_menu, "CTips", QStringLiteral("&Astuces"))->setEnabled(false);
    connect(Add(m_menu, "CInfosLog", QStringLiteral("&Licence d'utilisation")), &QAction::triggered, this,
            &TrayMenu::ShowAbout);
    m_menu->addSeparator();

    QAction* nosuspend =
        Add(m_menu, "nosuspend", QStringLiteral("Empêcher le passage en mode é&conomie d'énergie"));
    nosuspend->setCheckable(true);
    nosuspend->setEnabled(s.power != nullptr);
    connect(nosuspend, &QAction::triggered, this, [this](bool checked) {
        if (PowerManager* power = m_window.Parts().power)
            power->TrayNosuspendClick(checked);
        m_window.RefreshStatus();
    });
    QAction* saving = Add(m_menu, "Modeconomiednergie1", QStringLiteral("&Mode économie d'énergie"));
    saving->setEnabled(s.power != nullptr);
    connect(saving, &QAction::triggered, this, [this] {
        if (PowerManager* power = m_window.Parts().power)
            power->PowerSavingModeNow();
    });
    m_menu->addSeparator();
    connect(Add(m_menu, "Quitter1", QStringLiteral("&Quitter")), &QAction::triggered, this,
            [this] { m_window.Quit(); });

    connect(m_menu, &QMenu::aboutToShow, this, &TrayMenu::Update);

    m_icon = new QSystemTrayIcon(ListPictures::Picture(QStringLiteral("program")), this);
    m_icon->setToolTip(ProgramTitles::ApplicationTitle());
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { IconActivated(static_cast<int>(reason)); });
    window.SetTitleMenu(m_menu);
    Update();
}

TrayMenu::~TrayMenu() = default;

QAction* TrayMenu::Add(QMenu* menu, const char* name, const QString& text)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* TrayMenu::Item(const char* name) const
{
    return m_menu->findChild<QAction*>(QLatin1String(name));
}

void TrayMenu::Update()
{
    const TFListe::Services& s = m_window.Parts();
    Item("Afficherleprogrammateur1")
        ->setText(m_window.isVisible() && !m_window.isMinimized()
                      ? QStringLiteral("&Masquer le programmateur")
                      : QStringLiteral("&Afficher le programmateur"));
    if (s.engine)
        Item("Pause1")->setChecked(!s.engine->RecordingSwitchedOn());
    if (s.power)
        Item("nosuspend")->setChecked(s.power->TrayNosuspendChecked());
    Item("MCalendrier")->setVisible(s.table->Count() > 0);
    Item("MJournal")
        ->setVisible(!s.programFolder.isEmpty() &&
                     QFileInfo::exists(QDir(s.programFolder).filePath(QStringLiteral("Journal.Log"))));
}

bool TrayMenu::ShowIcon()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon->show();
    return true;
}

void TrayMenu::IconActivated(int reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        ToggleWindow();
    else if (reason == QSystemTrayIcon::DoubleClick)
        Item("LancerZomvara")->trigger();
}

void TrayMenu::SetRecordingIcon(bool recording)
{
    if (recording == m_recordingIcon)
        return;
    m_recordingIcon = recording;
    m_icon->setIcon(
        ListPictures::Picture(recording ? QStringLiteral("recording") : QStringLiteral("program")));
}

void TrayMenu::ToggleWindow()
{
    if (m_window.isVisible() && !m_window.isMinimized()) {
        m_window.hide();
        return;
    }
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
    if (FreeSpaceWatch* space = m_window.Parts().freeSpace)
        space->Refresh();
    m_window.RefreshStatus();
}

void TrayMenu::ChangeRecordingDrive()
{
    const TFListe::Services& s = m_window.Parts();
    const QString title = QStringLiteral("Indiquez le nouveau lecteur où effectuer les enregistrements");
    const QString folder = m_chooseFolder ? m_chooseFolder(title)
                                          : QFileDialog::getExistingDirectory(&m_window, title, QString(),
                                                                              QFileDialog::ShowDirsOnly);
    if (folder.isEmpty() || !s.platform.disks)
        return;
    RecordingDrive::ChangeAll(*s.table, folder, *s.platform.disks);
    if (s.freeSpace)
        s.freeSpace->Refresh();
    m_window.RefreshStatus();
}

void TrayMenu::ShowAbout()
{
    QMessageBox about(
        QMessageBox::Information, ProgramTitles::ApplicationTitle(),
        ProgramTitles::ApplicationTitle() + QStringLiteral("\n") + QStringLiteral("Version ") +
            ProgramTitles::Version() +
            QStringLiteral("\n\nProgrammateur d'enregistrements pour Zomvara.\nSi ce programme vous "
                           "est utile, un don volontaire est le bienvenu."),
        QMessageBox::Ok, &m_window);
    about.setObjectName(QStringLiteral("FInfosLog"));
    about.exec();
}

} // namespace quorx
