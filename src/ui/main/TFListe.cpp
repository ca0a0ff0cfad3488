#include "ui/main/TFListe.h"

#include "common/Colours.h"
#include "common/QtColours.h"
#include "common/ScreenGeometry.h"
#include "common/WindowPlacement.h"
#include "engine/Alarm.h"
#include "engine/FreeSpaceWatch.h"
#include "engine/ListLayout.h"
#include "engine/NewRecording.h"
#include "engine/RecordingEngine.h"
#include "engine/RecordingStatus.h"
#include "engine/ScheduleEngine.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "power/OneSecondClock.h"
#include "power/PowerManager.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "ui/main/ListPictures.h"
#include "ui/main/QuickTimeKeypad.h"
#include "ui/main/ScheduleListModel.h"
#include "viewer/ManualStop.h"
#include "viewer/ViewerControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTableView>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorx {

namespace {

QFrame* Band(const char* name, QWidget* parent)
{
    auto* band = new QFrame(parent);
    band->setObjectName(QLatin1String(name));
    band->setAutoFillBackground(true);
    return band;
}

QToolButton* Button(const char* name, QWidget* parent, const QIcon& icon, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

QTimeEdit* Picker(const char* name, QWidget* parent)
{
    auto* t = new QTimeEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setDisplayFormat(QStringLiteral("HH:mm"));
    t->setButtonSymbols(QAbstractSpinBox::NoButtons);
    t->setFixedWidth(48);
    return t;
}

QTime ToQTime(DateTime timeOfDay)
{
    return timeOfDay.TimePart().ToQTime();
}

DateTime FromQTime(QTime time)
{
    return DateTime::FromTime(time.hour(), time.minute(), time.second());
}

QColor StatusColour(StatusTextColour colour)
{
    switch (colour) {
    case StatusTextColour::Grey:
        return QColor(128, 128, 128);
    case StatusTextColour::Black:
        return Qt::black;
    case StatusTextColour::Orange:
        return QColor(255, 128, 0);
    case StatusTextColour::Red:
        return Qt::red;
    case StatusTextColour::White:
        return Qt::white;
    }
    return Qt::black;
}

// A miniature of the screen with the part a placement choice stands for.
QIcon PlacementIcon(const QRect& part, const QSize& screen)
{
    QPixmap pixmap(40, 28);
    pixmap.fill(QColor(240, 240, 240));
    QPainter p(&pixmap);
    p.setPen(QColor(80, 80, 80));
    p.drawRect(0, 0, 39, 27);
    const double sx = 38.0 / std::max(1, screen.width());
    const double sy = 26.0 / std::max(1, screen.height());
    p.fillRect(QRectF(1 + part.x() * sx, 1 + part.y() * sy, part.width() * sx, part.height() * sy),
               QColor(0, 0, 128));
    return QIcon(pixmap);
}

} // namespace

TFListe::TFListe(const Services& services, QWidget* parent) : QMainWindow(parent), m_s(services)
{
    setObjectName(QStringLiteral("FListe"));
    setWindowTitle(QStringLiteral("Vizezezoruvav Zomvara"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QFrame* top = Band("Panel2", central);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(6, 4, 6, 4);
    m_title = new QLabel(QStringLiteral("Liste des programmes"), top);
    m_title->setObjectName(QStringLiteral("Label5"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_hint = new QLabel(top);
    m_hint->setObjectName(QStringLiteral("Panel6"));
    m_total = new QLabel(top);
    m_total->setObjectName(QStringLiteral("Label1"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topLayout->addWidget(m_title);
    topLayout->addWidget(m_hint, 1);
    topLayout->addWidget(m_total);
    layout->addWidget(top);

    m_model = new ScheduleListModel(*m_s.table, *m_s.settings, this);
    m_list = new QTableView(central);
    m_list->setObjectName(QStringLiteral("Liste"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->verticalHeader()->hide();
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->verticalHeader()->setDefaultSectionSize(std::max(19, 2 * m_s.settings->TailleFonte - 1));
    m_list->horizontalHeader()->setSectionsClickable(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setStyleSheet(QStringLiteral("QTableView { gridline-color: grey; selection-color: black; "
                                         "selection-background-color: rgb(157,201,255); }"));
    m_list->installEventFilter(this);
    layout->addWidget(m_list, 1);

    QFrame* bottom = Band("Panel1", central);
    BuildStatusBand(bottom);
    layout->addWidget(bottom);
    setCentralWidget(central);
    m_top = top;
    m_bottom = bottom;
    // The list keeps the height of its rows; the window's colour shows below it.
    layout->setStretch(1, 0);
    layout->insertStretch(2, 1);

    m_keypad = new QuickTimeKeypad(central);
    m_commands = Band("Commandes", central);
    m_commands->setFrameShape(QFrame::Box);
    auto* commandsLayout = new QHBoxLayout(m_commands);
    commandsLayout->setContentsMargins(1, 1, 1, 1);
    commandsLayout->setSpacing(1);
    const struct
    {
        const char* name;
        const char* picture;
        const char* hint;
        void (TFListe::*command)();
    } commands[] = {
        {"BtPri", "priority", "Modifier la priorité.", &TFListe::TogglePrioritySelection},
        {"BtDesPro", "skip", "Prochain enregistrement activé/désactivé.", &TFListe::ToggleSkipNextSelection},
        {"BtDes", "inactive", "Enregistrement activé/désactivé.", &TFListe::ToggleInactiveSelection},
    };
    for (const auto& c : commands) {
        QToolButton* b = Button(c.name, m_commands, ListPictures::Picture(QLatin1String(c.picture)),
                                QString::fromUtf8(c.hint));
        b->setFixedSize(17, 17);
        commandsLayout->addWidget(b);
        const auto command = c.command;
        connect(b, &QToolButton::clicked, this, [this, command] {
            HideCommands();
            (this->*command)();
        });
    }
    m_commands->hide();
    BuildPlacementPanels();

    for (QWidget* w :
         {static_cast<QWidget*>(top), static_cast<QWidget*>(bottom), static_cast<QWidget*>(m_title),
          static_cast<QWidget*>(m_hint), static_cast<QWidget*>(m_total), central}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& pos) {
            // The title carries the tray's menu; the other bands the display menu.
            if (w == m_title && m_titleMenu) {
                m_titleMenu->popup(w->mapToGlobal(pos));
                return;
            }
            UpdateDisplayMenu();
            m_displayMenu->popup(w->mapToGlobal(pos));
        });
        w->installEventFilter(this);
    }
    for (QWidget* w : bottom->findChildren<QLabel*>())
        w->installEventFilter(this);

    BuildListMenu();
    BuildDisplayMenu();
    ApplyColours();

    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowListMenu(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list->horizontalHeader(), &QHeaderView::sectionPressed, this, &TFListe::OnHeaderPressed);
    m_list->horizontalHeader()->viewport()->installEventFilter(this);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!m_scalingColumns)
            m_columnsDragged = true;
    });
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->setMouseTracking(true);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { ModifyRecording(); });
    resize(800, 400);
    RefreshStatus();
}

TFListe::~TFListe() = default;

QAction* TFListe::AddAction(QMenu* menu, const char* objectName, const QString& text, const QKeySequence& key,
                            void (TFListe::*slot)())
{
    auto* action = menu->addAction(text);
    action->setObjectName(QLatin1String(objectName));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // the shortcut works wherever the focus is in the window
    }
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    else
        action->setEnabled(false);
    return action;
}

void TFListe::BuildListMenu()
{
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupMenuListe"));
    QMenu* m = m_listMenu;
    m->addAction(QStringLiteral("Programmation"))->setObjectName(QStringLiteral("Programmeslectionn1"));
    m->actions().constLast()->setEnabled(false);
    // Without an editor adding and modifying show, disabled; so do the list exchange's items.
    const bool editor = static_cast<bool>(m_s.editRecording);
    AddAction(m, "MAjouter", QStringLiteral("&Ajouter"), QKeySequence(Qt::Key_F1),
              editor ? &TFListe::AddRecording : nullptr);
    AddAction(m, "MModifier", QStringLiteral("&Modifier"), QKeySequence(Qt::Key_F2),
              editor ? &TFListe::ModifyRecording : nullptr);
    AddAction(m, "MRetirer", QStringLiteral("&Supprimer"), QKeySequence(Qt::Key_Delete),
              &TFListe::DeleteSelectionNow);
    m->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* start = AddAction(m, "Mdemarrer", Ls(55), QKeySequence(Qt::Key_F5), nullptr);
    if (m_s.startStopNow) {
        start->setEnabled(true);
        connect(start, &QAction::triggered, this, [this] {
            m_s.startStopNow();
            Rebuild();
        });
    }
    // F8 is also the display menu's "tomorrow": the window holds one F8 and decides by the focus.
    QAction* reset =
        AddAction(m, "Mreinit", QStringLiteral("&Réinitialiser"), QKeySequence(Qt::Key_F8), nullptr);
    reset->setEnabled(true);
    connect(reset, &QAction::triggered, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        const bool onBand = !m_listMenu->isVisible() && focus &&
                            (m_top->isAncestorOf(focus) || m_bottom->isAncestorOf(focus));
        if (onBand)
            SetMode(ListRules::ModeTomorrow);
        else
            ResetSelection();
    });
    AddAction(m, "MDesact", QStringLiteral("Enregistrement &désactivé"), QKeySequence(Qt::Key_F11),
              &TFListe::ToggleInactiveSelection)
        ->setCheckable(true);
    AddAction(m, "Mdesac1", QStringLiteral("Prochain &enregistrement désactivé"), QKeySequence(Qt::Key_F10),
              &TFListe::ToggleSkipNextSelection)
        ->setCheckable(true);
    AddAction(m, "Mprioritaire", QStringLiteral("Enregistrement &prioritaire"), QKeySequence(Qt::Key_F9),
              &TFListe::TogglePrioritySelection)
        ->setCheckable(true);
    QMenu* whole = m->addMenu(QStringLiteral("Activité/pr&iorité"));
    whole->menuAction()->setObjectName(QStringLiteral("Activationpriorit1"));
    AddAction(whole, "MAutoDesac", QStringLiteral("&Désactiver tous les enregistrements fortement tronqués"),
              QKeySequence(), &TFListe::DeactivateTruncatedNow);
    AddAction(whole, "Prioritaire",
              QStringLiteral("&Rendre prioritaires tous les enregistrements non répétitifs"), QKeySequence(),
              &TFListe::PrioritiseOneOffsNow);
    m->addSeparator()->setObjectName(QStringLiteral("N2"));
    AddAction(m, "Ouvrirledossierdenregistrement1", QStringLiteral("Ou&vrir le dossier d'enregistrement"),
              QKeySequence(Qt::Key_F12), &TFListe::OpenRecordingFolder);
    m->addSeparator()->setObjectName(QStringLiteral("N3"));
    m->addAction(QStringLiteral("Edition/Fichier"))->setObjectName(QStringLiteral("Grille1"));
    m->actions().constLast()->setEnabled(false);
    // The list exchange has no code yet: its items and their shortcuts are there, disabled.
    AddAction(m, "MCopier", QStringLiteral("&Copier"), QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
    AddAction(m, "MCouper", QStringLiteral("C&ouper"), QKeySequence(Qt::CTRL | Qt::Key_X), nullptr);
    AddAction(m, "MColler", QStringLiteral("Co&ller"), QKeySequence(Qt::CTRL | Qt::Key_V), nullptr);
    AddAction(m, "MDupliquer", QStringLiteral("D&upliquer"), QKeySequence(Qt::CTRL | Qt::Key_D), nullptr);
    AddAction(m, "MImporter", QStringLiteral("&Importer"), QKeySequence(Qt::CTRL | Qt::Key_O), nullptr);
    const auto submenu = [m](const char* name, const QString& caption) {
        QMenu* sub = m->addMenu(caption);
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };
    const QString wholeList = QStringLiteral("&Toute la liste");
    const QString selection = QStringLiteral("&Le(s) programme(s) sélectionné(s)");
    QMenu* exportMenu = submenu("MExporter", QStringLiteral("&Exporter"));
    AddAction(exportMenu, "outelaliste1", wholeList, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), nullptr);
    AddAction(exportMenu, "Lesprogrammesslectionns1", selection, QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);
    QMenu* printMenu = submenu("MImprimer", QStringLiteral("Im&primer"));
    AddAction(printMenu, "Lesprogrammesslectionns3", wholeList, QKeySequence(Qt::CTRL | Qt::Key_I), nullptr);
    AddAction(printMenu, "Lesprogrammesslectionns4", selection, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I),
              nullptr);
    printMenu->menuAction()->setVisible(false);
    QMenu* mailMenu = submenu("Envoyertou1", QStringLiteral("En&voyer par courrier électronique"));
    AddAction(mailMenu, "outelaliste3", wholeList, QKeySequence(Qt::CTRL | Qt::Key_E), nullptr);
    AddAction(mailMenu, "Lesprogrammesslectionns5", selection, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E),
              nullptr);

    // Items are hidden only while the menu shows, so that their shortcuts keep working.
    connect(m_listMenu, &QMenu::aboutToHide, this, [this] {
        for (QAction* a : m_listMenu->actions())
            a->setVisible(a->objectName() != QLatin1String("MImprimer"));
    });
}

void TFListe::BuildDisplayMenu()
{
    m_displayMenu = new QMenu(this);
    m_displayMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const struct
    {
        const char* name;
        const char* caption;
        int mode;
        Qt::Key key;
    } modes[] = {
        {"MAff0", "&Tous les programmes", ListRules::ModeAll, Qt::Key_F7},
        {"MAff1", "&Le programme en cours d'enregistrement", ListRules::ModeRecording, Qt::Key_unknown},
        {"MAff2", "Le &prochain programme à enregistrer", ListRules::ModeNext, Qt::Key_unknown},
        {"MAff3", "Les programmes d'aujourd'&hui", ListRules::ModeToday, Qt::Key_F6},
        {"Maff4", "Les programmes de la &semaine", ListRules::ModeWeek, Qt::Key_unknown},
        {"Maff5", "Les pro&grammes de demain", ListRules::ModeTomorrow, Qt::Key_F8},
    };
    for (const auto& mode : modes) {
        QAction* a = m_displayMenu->addAction(QString::fromUtf8(mode.caption));
        a->setObjectName(QLatin1String(mode.name));
        a->setCheckable(true);
        a->setData(mode.mode);
        if (mode.key != Qt::Key_unknown)
            a->setShortcut(QKeySequence(mode.key));
        if (mode.key != Qt::Key_unknown && mode.key != Qt::Key_F8) {
            // Only on the bands, which carry this menu.
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            for (const char* band : {"Panel2", "Panel1"}) {
                if (QWidget* w = findChild<QWidget*>(QLatin1String(band)))
                    w->addAction(a);
            }
        }
        const int value = mode.mode;
        connect(a, &QAction::triggered, this, [this, value] { SetMode(value); });
        m_modeActions << a;
    }
    m_displayMenu->addSeparator();
    const struct
    {
        const char* name;
        const char* caption;
        bool Settings::*member;
    } checks[] = {
        {"MAffEnCours", "Tou&jours afficher le programme en cours d'enregistrement",
         &Settings::AlwaysShowRecordingProgram},
        {"MAffPro", "Touj&ours afficher le prochain programme à enregistrer",
         &Settings::AlwaysShowNextProgram},
        {"MAffErr", "Toujo&urs afficher les programmes en erreur", &Settings::AlwaysShowErrorProgram},
        {"MMasquer", "&Masquer les programmes désactivés", &Settings::HideDisabledPrograms},
    };
    for (const auto& check : checks) {
        QAction* a = m_displayMenu->addAction(QString::fromUtf8(check.caption));
        a->setObjectName(QLatin1String(check.name));
        a->setCheckable(true);
        bool Settings::*member = check.member;
        connect(a, &QAction::triggered, this, [this, member](bool on) {
            m_s.settings->*member = on;
            Rebuild();
        });
    }
    UpdateDisplayMenu();
}

void TFListe::UpdateDisplayMenu()
{
    const int mode = ListRules::ModeOf(*m_s.settings);
    bool recording = false;
    for (int i = 1; i <= m_s.table->Count(); ++i)
        recording = recording || (*m_s.table)[i].Etat == 1;
    for (QAction* a : m_modeActions) {
        a->setChecked(a->data().toInt() == mode);
        if (a->data().toInt() == ListRules::ModeRecording)
            a->setVisible(recording);
    }
    m_displayMenu->setDefaultAction(m_modeActions.value(mode == ListRules::ModeAll ? 3 : 0));
    const Settings& s = *m_s.settings;
    for (QAction* a : m_displayMenu->actions()) {
        const QString n = a->objectName();
        if (n == QLatin1String("MAffEnCours"))
            a->setChecked(s.AlwaysShowRecordingProgram);
        else if (n == QLatin1String("MAffPro"))
            a->setChecked(s.AlwaysShowNextProgram);
        else if (n == QLatin1String("MAffErr"))
            a->setChecked(s.AlwaysShowErrorProgram);
        else if (n == QLatin1String("MMasquer"))
            a->setChecked(s.HideDisabledPrograms);
    }
}

void TFListe::UpdateListMenu()
{
    const std::vector<int> selected = SelectedRecords();
    const int current = CurrentRecord();
    const QClipboard* clipboard = QApplication::clipboard();
    const ListRules::MenuState st =
        ListRules::MenuFor(*m_s.table, selected, current, m_model->NextIndex(),
                           clipboard ? clipboard->text() : QString(), m_s.platform.clock->Now());
    const auto set = [this](const char* name, bool visible, int checked = -1) {
        for (QAction* a : m_listMenu->findChildren<QAction*>(QLatin1String(name))) {
            a->setVisible(visible);
            if (checked >= 0)
                a->setChecked(checked == 1);
        }
    };
    set("MModifier", st.modify);
    set("MAjouter", st.add);
    set("MImporter", st.import);
    set("Mdemarrer", st.startStop);
    set("Mreinit", st.reset);
    set("MDesact", st.inactive, st.inactiveChecked ? 1 : 0);
    set("Mdesac1", st.skipNext, st.skipNextChecked ? 1 : 0);
    set("MRetirer", st.remove);
    set("MCopier", st.copy);
    set("MCouper", st.cut);
    set("Mprioritaire", st.priority, st.priorityChecked ? 1 : 0);
    set("MDupliquer", st.duplicate);
    set("MColler", st.paste);
    set("MExporter", st.wholeList);
    for (QAction* a : m_listMenu->actions()) {
        if (a->objectName() == QLatin1String("Activationpriorit1"))
            a->setVisible(st.wholeList);
        if (a->objectName() == QLatin1String("Mdemarrer")) {
            a->setText(st.startStopStops ? Ls(56) : Ls(55));
            a->setIcon(
                ListPictures::Picture(st.startStopStops ? QStringLiteral("stop") : QStringLiteral("start")));
        }
    }
    QAction* modify = m_listMenu->findChild<QAction*>(QStringLiteral("MModifier"));
    QAction* add = m_listMenu->findChild<QAction*>(QStringLiteral("MAjouter"));
    m_listMenu->setDefaultAction(st.modify ? modify : add);
}

void TFListe::ShowListMenu(const QPoint& globalPos)
{
    UpdateListMenu();
    m_listMenu->popup(globalPos);
}

void TFListe::Rebuild()
{
    ++m_rebuilds;
    ScheduleTable& table = *m_s.table;
    QItemSelectionModel* selection = m_list->selectionModel();
    const int rows = m_model->rowCount();
    const int current = CurrentRecord();
    const std::int32_t currentId = table.IsValidIndex(current) ? table[current].RecordId : -1;
    for (int i = 1; i <= table.Count(); ++i) {
        TEmission& e = table[i];
        if (e.GridRow >= 1 && e.GridRow <= rows)
            e.Selected = selection->isRowSelected(e.GridRow - 1, QModelIndex());
        else
            e.Selected = e.GridRow == 0;
    }

    const DateTime now = m_s.platform.clock->Now();
    m_s.schedule->PurgeExpired();
    ListRules::Sort(table, m_s.schedule->Windows(), ListRules::OrderOf(*m_s.settings), now);
    m_model->Rebuild(now, m_s.schedule->SelectNextRecording());

    std::vector<int> reselect;
    int currentRow = -1;
    for (int i = 1; i <= table.Count(); ++i) {
        if (table[i].GridRow >= 1 && table[i].Selected) {
            reselect.push_back(i);
            if (table[i].RecordId == currentId)
                currentRow = table[i].GridRow - 1;
        }
    }
    SelectRecords(reselect);
    if (currentRow >= 0)
        selection->setCurrentIndex(m_model->index(currentRow, 0), QItemSelectionModel::NoUpdate);
    if (selection->currentIndex().isValid())
        m_list->scrollTo(selection->currentIndex());

    const QString total = ListRules::TotalDurationText(m_model->TotalMinutes());
    m_total->setText(total);
    m_total->setVisible(!total.isEmpty());
    UpdateDisplayMenu();
    LayoutList();
    RefreshStatus();
}

int TFListe::CurrentRecord() const
{
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return -1;
    return m_model->RecordAt(current.row());
}

std::vector<int> TFListe::SelectedRecords() const
{
    std::vector<int> out;
    const int current = CurrentRecord();
    for (const QModelIndex& row : m_list->selectionModel()->selectedRows()) {
        const int record = m_model->RecordAt(row.row());
        if (record > 0 && record != current)
            out.push_back(record);
    }
    std::sort(out.begin(), out.end(), [this](int a, int b) { return m_model->RowOf(a) < m_model->RowOf(b); });
    if (current > 0)
        out.push_back(current);
    return out;
}

void TFListe::ClearSelection()
{
    m_list->selectionModel()->clear();
}

void TFListe::SelectRecords(const std::vector<int>& indexes)
{
    QItemSelection wanted;
    int last = -1;
    for (int index : indexes) {
        const int row = m_model->RowOf(index);
        if (row < 0)
            continue;
        wanted.select(m_model->index(row, 0), m_model->index(row, ListRules::ColumnCount - 1));
        last = row;
    }
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    if (last >= 0)
        selection->setCurrentIndex(m_model->index(last, 0), QItemSelectionModel::NoUpdate);
}

void TFListe::SetMode(int mode)
{
    m_s.settings->Afficher = mode;
    Rebuild();
}

void TFListe::SetOrder(int order)
{
    m_s.settings->Tri = order;
    Recompute();
}

void TFListe::OnHeaderPressed(int column)
{
    SetOrder(ListRules::OrderForColumn(column));
}

void TFListe::ToggleTodayMode()
{
    SetMode(ListRules::ModeOf(*m_s.settings) == ListRules::ModeToday ? ListRules::ModeAll
                                                                     : ListRules::ModeToday);
}

void TFListe::Recompute()
{
    const int before = m_rebuilds;
    m_s.schedule->RecomputeSchedule();
    // Nothing relayed the engine's list refresh (no observer is wired): rebuild here.
    if (m_rebuilds == before)
        Rebuild();
}

void TFListe::ApplyToSelection(void (*command)(TEmission&))
{
    const std::vector<int> selected = SelectedRecords();
    if (selected.empty())
        return;
    for (int index : selected)
        command((*m_s.table)[index]);
    Recompute();
}

void TFListe::DeleteSelection(bool fromCut)
{
    const std::vector<int> selected = SelectedRecords();
    if (selected.empty())
        return;
    if (ListRules::DeleteRecords(*m_s.table, selected, *m_s.questions, *m_s.stopper, fromCut) > 0)
        Recompute();
}

void TFListe::DeleteSelectionNow()
{
    DeleteSelection(false);
}
void TFListe::ToggleInactiveSelection()
{
    ApplyToSelection(&ListRules::ToggleInactive);
}
void TFListe::ToggleSkipNextSelection()
{
    ApplyToSelection(&ListRules::ToggleSkipNext);
}
void TFListe::TogglePrioritySelection()
{
    ApplyToSelection(&ListRules::TogglePriority);
}
void TFListe::ResetSelection()
{
    ApplyToSelection(&ListRules::Reset);
}

void TFListe::DeactivateTruncatedNow()
{
    const int before = m_rebuilds;
    m_s.schedule->DeactivateHeavilyTruncated();
    if (m_rebuilds == before)
        Rebuild();
}

void TFListe::PrioritiseOneOffsNow()
{
    ListRules::PrioritiseOneOffs(*m_s.table);
    Recompute();
}

void TFListe::OpenRecordingFolder()
{
    if (!m_s.platform.shell)
        return;
    for (int index : SelectedRecords()) {
        const QString folder = QFileInfo((*m_s.table)[index].Fichier).absolutePath();
        if (QDir(folder).exists())
            m_s.platform.shell->Open(folder);
    }
}

bool TFListe::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && m_commands->isVisible() && watched != m_list->viewport() &&
        !m_commands->isAncestorOf(qobject_cast<QWidget*>(watched)))
        HideCommands();

    if (watched == m_dd && type == QEvent::MouseButtonPress) {
        FreeSpaceButtonPressed(static_cast<QMouseEvent*>(event)->button());
        return true;
    }

    QTimeEdit* picker = qobject_cast<QTimeEdit*>(watched);
    if (!picker && watched->parent())
        picker = qobject_cast<QTimeEdit*>(watched->parent());
    if (picker && (watched == picker || watched == picker->findChild<QWidget*>())) {
        const bool keypad = picker->property("keypadAlways").toBool() || m_s.settings->QuickEnterTime;
        if (keypad && (type == QEvent::FocusIn || type == QEvent::MouseButtonPress))
            m_keypad->OpenUnder(picker);
        if (type == QEvent::Enter && m_s.settings->QuickEnterTime && isActiveWindow()) {
            picker->setFocus();
            m_keypad->OpenUnder(picker);
        }
        return false;
    }

    if (watched == m_list) {
        if (type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier) {
                ResetSelection();
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                m_enterDown = true;
                return true;
            }
        }
        // An Enter that closed a dialog over the list arrives here without its press.
        if (type == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
                const bool pressedHere = m_enterDown;
                m_enterDown = false;
                if (pressedHere)
                    ModifyRecording();
                return true;
            }
        }
        if (type == QEvent::FocusOut && !m_commands->underMouse())
            HideCommands();
        return QMainWindow::eventFilter(watched, event);
    }

    if (watched == m_list->viewport()) {
        if (type == QEvent::MouseMove)
            ListMouseMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (type == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint pos = mouse->position().toPoint();
            if (mouse->button() == Qt::RightButton || mouse->button() == Qt::MiddleButton) {
                // The row under the mouse is selected first, as a left press would.
                const QModelIndex at = m_list->indexAt(pos);
                if (at.isValid() && !m_list->selectionModel()->isRowSelected(at.row(), QModelIndex())) {
                    const int record = m_model->RecordAt(at.row());
                    if (record > 0)
                        SelectRecords({record});
                }
            }
            if (mouse->button() == Qt::MiddleButton) {
                if (m_commands->isVisible())
                    HideCommands();
                else
                    ShowCommandsAt(pos);
                return true;
            }
            HideCommands();
        }
        return QMainWindow::eventFilter(watched, event);
    }

    if (watched == m_list->horizontalHeader()->viewport()) {
        if (type == QEvent::MouseButtonRelease && m_columnsDragged) {
            m_columnsDragged = false;
            ColumnsResizedByUser();
        }
        return QMainWindow::eventFilter(watched, event);
    }

    if (type == QEvent::MouseButtonDblClick && qobject_cast<QWidget*>(watched) &&
        (watched == m_top || watched == m_bottom || watched == centralWidget() ||
         qobject_cast<QLabel*>(watched))) {
        AddRecording();
        return true;
    }
    if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        qobject_cast<QWidget*>(watched) && !qobject_cast<QAbstractButton*>(watched)) {
        // A click on the bands around the list clears the selection; the title and the total
        // switch between today's recordings and all of them; the free space is measured again.
        ClearSelection();
        if (watched == m_title || watched == m_total)
            ToggleTodayMode();
        if ((watched == m_cespace || watched == m_label2) && m_s.freeSpace) {
            m_s.freeSpace->Refresh();
            RefreshStatus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFListe::ListMouseMoved(const QPoint& globalPos)
{
    if (isActiveWindow() && !m_list->hasFocus())
        m_list->setFocus();
    if (m_keypad->isVisible())
        m_keypad->Close();
    HidePlacement();
    if (m_commands->isVisible()) {
        const QRect around = m_commands->geometry().adjusted(-15, -15, 15, 15);
        if (!around.contains(centralWidget()->mapFromGlobal(globalPos)))
            HideCommands();
    }
    // Only a real move silences the alarm: a window closing over the list sends one too.
    if (globalPos != m_lastMouse && m_s.alarm && m_s.alarm->Sounding())
        m_s.alarm->Silence();
    m_lastMouse = globalPos;
}

void TFListe::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_hint->setText(ListLayout::HintText(width()));
    ScaleColumns();
    LayoutList();
}

void TFListe::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ScaleColumns();
    LayoutList();
}

void TFListe::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (m_toTray)
        hide();
    else
        showMinimized();
}

void TFListe::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Minimised, the window and its taskbar button go; the tray icon stays.
    if (event->type() == QEvent::WindowStateChange && m_toTray && isMinimized())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
}

void TFListe::ScaleColumns()
{
    Settings& s = *m_s.settings;
    // Before the window is laid out the list has no real width, and scaling to it would lose the
    // stored widths.
    const int width = m_list->viewport()->width();
    if (!isVisible() || width <= 0)
        return;
    const ListLayout::Widths widths = ListLayout::Scaled(s.Colonne, s.ColonnesTotal, width);
    m_scalingColumns = true;
    for (int c = 0; c < ListRules::ColumnCount; ++c)
        m_list->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    m_scalingColumns = false;
    s.Colonne = widths;
    s.ColonnesTotal = width;
}

void TFListe::ColumnsResizedByUser()
{
    Settings& s = *m_s.settings;
    ListLayout::Widths now{};
    for (int c = 0; c < ListRules::ColumnCount; ++c)
        now[static_cast<size_t>(c)] = m_list->columnWidth(c);
    s.Colonne = ListLayout::AfterUserResize(now, m_list->viewport()->width());
    s.ColonnesTotal = m_list->viewport()->width();
    ScaleColumns();
}

void TFListe::LayoutList()
{
    QWidget* central = centralWidget();
    if (!central)
        return;
    const int rowHeight = ListLayout::RowHeight(m_s.settings->TailleFonte);
    const int bands = m_top->sizeHint().height() + m_bottom->sizeHint().height();
    const int space = central->height() - bands;
    const ListLayout::Height h = ListLayout::GridHeight(m_model->rowCount(), rowHeight, space);
    m_list->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_list->horizontalHeader()->setFixedHeight(rowHeight);
    m_list->setVerticalScrollBarPolicy(h.scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_list->setFixedHeight(std::max(2 * rowHeight, h.height));
    setMinimumHeight(ListLayout::MinimumWindowHeight(bands, rowHeight) + 8);
}

void TFListe::ApplyColours()
{
    const quint32 colour = static_cast<quint32>(m_s.settings->Couleur);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    for (const char* band : {"Panel2", "Panel1"}) {
        if (auto* w = findChild<QWidget*>(QLatin1String(band)))
            w->setPalette(palette);
    }
    const int luminance = ColorToHls(ResolveColour(colour)).luminance;
    const quint32 fixed =
        luminance <= 200 ? MakeColour(192, 220, 192) : AdjustLuminance(MakeColour(192, 220, 192), 10);
    const int d = luminance <= 200 ? 30 : 5;
    const QColor back = ToQColor(AdjustLuminance(ResolveColour(colour), d));
    const QColor selected = ToQColor(AdjustLuminance(ResolveColour(colour), -100));
    const QColor selectedText = ToQColor(AdjustLuminance(ResolveColour(colour), 50));
    m_list->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: black; font-weight: bold; "
                       "border: 1px solid grey; }")
            .arg(ToQColor(fixed).name()));
    const QString menuSheet =
        QStringLiteral("QMenu { background: %1; } QMenu::item:selected { background: %2; "
                       "color: %3; }")
            .arg(back.name(), selected.name(), selectedText.name());
    m_listMenu->setStyleSheet(menuSheet);
    m_displayMenu->setStyleSheet(menuSheet);
}

void TFListe::BuildStatusBand(QFrame* band)
{
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    // First line: the clock, the countdown and the free space.
    m_cheure = new QLabel(band);
    m_cheure->setObjectName(QStringLiteral("CHeure"));
    m_cinfos = new QLabel(band);
    m_cinfos->setObjectName(QStringLiteral("CInfos"));
    m_cinfos->setAutoFillBackground(false);
    m_label2 = new QLabel(QStringLiteral("Espace libre :"), band);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_cespace = new QLabel(band);
    m_cespace->setObjectName(QStringLiteral("CEspace"));
    m_dd = Button("DD", band, ListPictures::Picture(QStringLiteral("disk")),
                  QStringLiteral("Clic gauche : actualiser l'espace libre rapporté - clic droit : ouvrir le "
                                 "dossier d'enregistrement du programme sélectionné/par défaut."));
    m_dd->installEventFilter(this);
    auto* line1 = new QHBoxLayout;
    line1->addWidget(m_cheure);
    line1->addSpacing(12);
    line1->addWidget(m_cinfos, 1);
    line1->addSpacing(12);
    line1->addWidget(m_label2);
    line1->addWidget(m_cespace);
    line1->addWidget(m_dd);
    grid->addLayout(line1, 0, 0);

    // Second line: recording on, the suspend controls, the manual stop and the placements.
    auto* line2 = new QHBoxLayout;
    m_cactif = new QCheckBox(QStringLiteral("Enregistrements"), band);
    m_cactif->setObjectName(QStringLiteral("CACtif"));
    m_nosuspend = Button("Nosuspend1", band, ListPictures::Picture(QStringLiteral("awake-up")),
                         QStringLiteral("Empêcher le passage en mode économie d'énergie"));
    m_nosuspend->setCheckable(true);
    m_cauto = new QCheckBox(QStringLiteral("auto"), band);
    m_cauto->setObjectName(QStringLiteral("Cauto"));
    m_image1 = Button("Image1", band, ListPictures::Picture(QStringLiteral("window")),
                      QStringLiteral("interdire la mise en veille de"));
    m_panel12 = new QFrame(band);
    m_panel12->setObjectName(QStringLiteral("Panel12"));
    auto* forbid = new QHBoxLayout(m_panel12);
    forbid->setContentsMargins(0, 0, 0, 0);
    m_cinterdire = new QCheckBox(QStringLiteral("interdire la mise en veille de"), m_panel12);
    m_cinterdire->setObjectName(QStringLiteral("CInterdire"));
    m_cinterdire1 = Picker("CInterdire1", m_panel12);
    m_cinterdire2 = Picker("CInterdire2", m_panel12);
    m_cinterdire3 = new QCheckBox(QStringLiteral("tous les jours"), m_panel12);
    m_cinterdire3->setObjectName(QStringLiteral("CInterdire3"));
    forbid->addWidget(m_cinterdire);
    forbid->addWidget(m_cinterdire1);
    forbid->addWidget(new QLabel(QStringLiteral("à"), m_panel12));
    forbid->addWidget(m_cinterdire2);
    forbid->addWidget(m_cinterdire3);
    m_panel12->hide();
    m_bitbtn3 = Button("BitBtn3", band, ListPictures::Picture(QStringLiteral("stop")),
                       QStringLiteral("Arrêter l'enregistrement lancé dans Zomvara à l'heure indiquée."));
    m_cdelai = Picker("CDelai", band);
    m_bitbtn4 = Button("BitBtn4", band, ListPictures::Picture(QStringLiteral("place-viewer")),
                       QStringLiteral("Optimiser la position de Zomvara."));
    m_bitbtn1 = Button("BitBtn1", band, ListPictures::Picture(QStringLiteral("sleep")),
                       QStringLiteral("Passer en mode économie d'énergie (veille prolongée si disponible, "
                                      "sinon veille)."));
    m_showp = Button("ShowP", band, ListPictures::Picture(QStringLiteral("place-window")),
                     QStringLiteral("Optimiser la position de cette fenêtre."));
    auto* version =
        new QLabel(QStringLiteral("Vizezezoruvav Zomvara    ") + Ls(131) + QStringLiteral("5.01.000"), band);
    version->setObjectName(QStringLiteral("Label3"));
    for (QWidget* w : std::initializer_list<QWidget*>{m_cactif, m_nosuspend, m_cauto, m_image1, m_panel12})
        line2->addWidget(w);
    line2->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*>{m_bitbtn3, m_cdelai, m_bitbtn4, m_bitbtn1, m_showp})
        line2->addWidget(w);
    line2->addSpacing(12);
    line2->addWidget(version);
    grid->addLayout(line2, 1, 0);

    WatchPicker(m_cinterdire1, true);
    WatchPicker(m_cinterdire2, true);
    WatchPicker(m_cdelai, false);

    connect(m_cactif, &QCheckBox::clicked, this, [this](bool on) {
        if (m_s.engine)
            m_s.engine->SetRecordingSwitchedOn(on);
        RefreshStatus();
    });
    connect(m_nosuspend, &QToolButton::clicked, this, [this](bool down) {
        if (m_s.power)
            m_s.power->ClickPrevent(down);
        RefreshStatus();
    });
    connect(m_cauto, &QCheckBox::clicked, this, [this](bool ticked) {
        if (m_s.power)
            m_s.power->SetCauto(ticked);
        if (!ticked)
            m_panel12->hide();
        RefreshStatus();
    });
    connect(m_image1, &QToolButton::clicked, this, [this] {
        m_panel12->setVisible(!m_panel12->isVisible());
        RefreshStatus();
    });
    connect(m_cinterdire, &QCheckBox::clicked, this, [this](bool ticked) {
        if (m_s.power)
            m_s.power->CInterdireClick(ticked);
        RefreshStatus();
    });
    connect(m_cinterdire3, &QCheckBox::clicked, this, [this](bool ticked) {
        if (m_s.power)
            m_s.power->SetInterdireToujours(ticked);
        RefreshStatus();
    });
    connect(m_cinterdire1, &QTimeEdit::timeChanged, this, &TFListe::ForbidTimesEdited);
    connect(m_cinterdire2, &QTimeEdit::timeChanged, this, &TFListe::ForbidTimesEdited);
    connect(m_bitbtn3, &QToolButton::clicked, this, [this] {
        // Leaving the time box comes first, as a click that takes the focus would have it.
        if (m_cdelai->hasFocus())
            m_cdelai->clearFocus();
        if (m_s.manualStop)
            m_s.manualStop->BitBtn3Click();
        RefreshStatus();
    });
    connect(m_cdelai, &QTimeEdit::timeChanged, this, [this](QTime time) {
        if (m_s.manualStop && !m_refreshing)
            m_s.manualStop->SetShownTime(FromQTime(time));
    });
    connect(m_cdelai, &QTimeEdit::editingFinished, this, [this] {
        if (m_s.manualStop)
            m_s.manualStop->CDelaiExit();
        RefreshStatus();
    });
    connect(m_bitbtn4, &QToolButton::clicked, this, [this] {
        if (m_s.viewer)
            m_s.viewer->PlaceViewer(frameGeometry(), m_bottom->mapToGlobal(QPoint(0, 0)).y());
    });
    connect(m_bitbtn1, &QToolButton::clicked, this, [this] {
        if (m_s.power)
            m_s.power->PowerSavingModeNow();
        RefreshStatus();
    });
    connect(m_showp, &QToolButton::clicked, this, &TFListe::OfferPlacement);
}

void TFListe::WatchPicker(QTimeEdit* picker, bool always)
{
    picker->setProperty("keypadAlways", always);
    picker->installEventFilter(this);
    for (QWidget* child : picker->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TFListe::ForbidTimesEdited()
{
    if (m_refreshing || !m_s.power)
        return;
    m_s.power->SetForbidTimes(FromQTime(m_cinterdire1->time()), FromQTime(m_cinterdire2->time()));
    RefreshStatus();
}

void TFListe::RefreshStatus()
{
    if (m_refreshing || !m_cheure)
        return;
    m_refreshing = true;
    const Settings& s = *m_s.settings;
    if (m_s.clock3)
        m_cheure->setText(m_s.clock3->CHeure());
    else
        m_cheure->setText(OneSecondClock::ClockText(m_s.platform.clock->Now()));

    RecordingStatus status;
    if (m_s.engine)
        status = m_s.engine->Status();
    m_cinfos->setText(status.text);
    QPalette band = m_top->palette();
    if (status.redBar)
        band.setColor(QPalette::Window, Qt::red);
    m_bottom->setPalette(band);
    QPalette infos = m_cinfos->palette();
    infos.setColor(QPalette::WindowText, status.redBar ? QColor(Qt::white) : StatusColour(status.colour));
    m_cinfos->setPalette(infos);

    FreeSpaceStatus space;
    if (m_s.freeSpace)
        space = m_s.freeSpace->Status();
    m_cespace->setText(space.text);
    QPalette sp = m_cespace->palette();
    sp.setColor(QPalette::WindowText, status.redBar
                                          ? QColor(Qt::white)
                                          : ToQColor(static_cast<quint32>(WindowsColourOf(space.colour))));
    m_cespace->setPalette(sp);
    QFont bold = m_cespace->font();
    bold.setBold(m_s.clock3 && m_s.clock3->CEspaceBold());
    m_cespace->setFont(bold);
    m_cespace->setVisible(!space.text.isEmpty());
    m_label2->setVisible(!space.text.isEmpty());
    m_dd->setVisible(space.ButtonVisible());

    m_cactif->setVisible(m_s.engine != nullptr);
    if (m_s.engine) {
        const bool on = m_s.engine->RecordingSwitchedOn();
        m_cactif->setChecked(on);
        m_cactif->setIcon(ListPictures::Picture(on ? QStringLiteral("on") : QStringLiteral("off")));
    }

    const bool power = m_s.power != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{m_nosuspend, m_cauto, m_bitbtn1})
        w->setVisible(power);
    if (power) {
        const bool down = m_s.power->PreventDown();
        m_nosuspend->setChecked(down);
        m_nosuspend->setIcon(
            ListPictures::Picture(down ? QStringLiteral("awake-down") : QStringLiteral("awake-up")));
        m_cauto->setChecked(s.AutoForbidSuspend);
        m_image1->setVisible(m_s.power->ForbidPanelIconVisible());
        if (!s.AutoForbidSuspend)
            m_panel12->hide();
        m_cinterdire->setChecked(s.Interdire);
        m_cinterdire3->setChecked(s.InterdireToujours);
        // A picker being typed into keeps what the user has typed so far.
        if (!m_cinterdire1->hasFocus())
            m_cinterdire1->setTime(ToQTime(s.InterdireDebut));
        if (!m_cinterdire2->hasFocus())
            m_cinterdire2->setTime(ToQTime(s.InterdireFin));
    } else {
        m_image1->hide();
        m_panel12->hide();
    }

    const bool manual = m_s.manualStop && m_s.manualStop->IsVisible();
    m_bitbtn3->setVisible(manual);
    m_cdelai->setVisible(manual);
    if (m_s.manualStop) {
        if (!m_cdelai->hasFocus())
            m_cdelai->setTime(ToQTime(m_s.manualStop->ShownTime()));
        if (m_keypad->Picker() != m_cdelai) {
            QPalette p = m_cdelai->palette();
            p.setColor(QPalette::Base,
                       m_s.manualStop->IsArmed() ? QColor(Qt::red) : palette().color(QPalette::Base));
            m_cdelai->setPalette(p);
        }
    }
    if (!manual && m_keypad->Picker() == m_cdelai)
        m_keypad->Close();
    m_bitbtn4->setVisible(m_s.clock3 && m_s.viewer && m_s.clock3->BitBtn4Visible());
    m_showp->setVisible(m_s.platform.processes != nullptr);
    m_refreshing = false;
}

void TFListe::SetTitleMenu(QMenu* menu)
{
    m_titleMenu = menu;
    if (menu)
        menu->setStyleSheet(m_listMenu->styleSheet());
}

void TFListe::AddRecording()
{
    ClearSelection();
    EditCurrentOrNew();
}

void TFListe::ModifyRecording()
{
    EditCurrentOrNew();
}

void TFListe::EditCurrentOrNew()
{
    if (!m_s.editRecording)
        return;
    HideCommands();
    const int current = CurrentRecord();
    if (current > 0) {
        m_s.editRecording(current, false);
        Recompute();
        return;
    }
    ScheduleTable& table = *m_s.table;
    if (table.IsFull()) {
        m_s.questions->Inform(ScheduleTable::FullListMessage(), false, 0, 30);
        return;
    }
    const int index = NewRecording::Prepare(table, m_s.programFolder, m_s.platform.clock->Now());
    if (index < 0)
        return;
    const std::int32_t id = table[index].RecordId;
    if (!m_s.editRecording(index, true)) {
        // Cancelled: the prepared entry must not stay behind as an empty recording.
        const int left = table.FindById(id);
        if (left > 0)
            table.RemoveAt(left);
    }
    Recompute();
}

bool TFListe::Quit()
{
    // Asked before anything stops, so that "no" leaves the program and its timers running.
    if (m_s.engine && m_s.engine->RecordingUnderWay()) {
        if (!m_s.questions->Ask(QuestionId::StopRecordingToQuit))
            return false;
        m_s.engine->CStopClick();
    }
    if (m_s.clock3)
        m_s.clock3->Stop();
    if (m_s.engine)
        m_s.engine->StopTimers();
    if (m_s.power)
        m_s.power->DropPendingAction();
    m_keypad->Close();
    StorePlace();
    m_leftMinimised = isMinimized() || !isVisible();
    m_quit = true;
    m_closeAllowed = true;
    close();
    if (m_s.quit)
        m_s.quit();
    return true;
}

void TFListe::ShowCommandsAt(const QPoint& viewportPos)
{
    const QModelIndex at = m_list->indexAt(viewportPos);
    const int record = at.isValid() ? m_model->RecordAt(at.row()) : -1;
    if (record <= 0) {
        HideCommands();
        return;
    }
    const bool repeating = (*m_s.table)[record].Repetition != 0;
    m_commands->findChild<QWidget*>(QStringLiteral("BtDesPro"))->setVisible(repeating);
    m_commands->findChild<QWidget*>(QStringLiteral("BtDes"))->setVisible(repeating);
    m_commands->setFixedSize(repeating ? 55 : 21, 21);
    const QPoint at2 = m_list->viewport()->mapTo(centralWidget(), viewportPos);
    m_commands->move(at2);
    m_commands->raise();
    m_commands->show();
}

void TFListe::HideCommands()
{
    if (m_commands)
        m_commands->hide();
}

void TFListe::BuildPlacementPanels()
{
    const QSize screen(1280, 800);
    for (int copies = 2; copies <= 4; ++copies) {
        QFrame* panel = Band(copies == 2 ? "p2" : copies == 3 ? "p3" : "p4", centralWidget());
        panel->setFrameShape(QFrame::Box);
        auto* row = new QHBoxLayout(panel);
        row->setContentsMargins(2, 2, 2, 2);
        const QVector<QRect> choices = WindowPlacement::Choices(copies, screen.width(), screen.height());
        for (int i = 0; i < choices.size(); ++i) {
            auto* b = new QToolButton(panel);
            b->setObjectName(QStringLiteral("p%1_%2").arg(copies).arg(i + 1));
            b->setIcon(PlacementIcon(choices[i], screen));
            b->setIconSize(QSize(40, 28));
            b->setAutoRaise(true);
            row->addWidget(b);
            connect(b, &QToolButton::clicked, this, [this, copies, i] { Place(copies, i); });
        }
        panel->hide();
        m_placement << panel;
    }
}

void TFListe::OfferPlacement()
{
    HidePlacement();
    const QString program =
        m_s.programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_s.programPath;
    const int copies = m_s.platform.processes
                           ? static_cast<int>(m_s.platform.processes->FindByExecutable(program).size())
                           : 1;
    switch (WindowPlacement::ForCopies(copies)) {
    case WindowPlacement::Action::Maximise:
        showMaximized();
        return;
    case WindowPlacement::Action::Nothing:
        return;
    case WindowPlacement::Action::Choose:
        break;
    }
    QFrame* panel = m_placement.value(copies - 2);
    panel->adjustSize();
    QPoint at = m_showp->mapTo(centralWidget(), QPoint(m_showp->width() - panel->width(), 0));
    at.setY(at.y() - panel->height());
    at.setX(std::max(0, at.x()));
    panel->move(at);
    panel->raise();
    panel->show();
}

void TFListe::Place(int copies, int choice)
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1280, 800);
    const QVector<QRect> choices = WindowPlacement::Choices(copies, area.width(), area.height());
    HidePlacement();
    if (choice < 0 || choice >= choices.size())
        return;
    showNormal();
    setGeometry(choices[choice].translated(area.topLeft()));
    ScaleColumns();
    LayoutList();
}

void TFListe::HidePlacement()
{
    for (QFrame* panel : m_placement)
        panel->hide();
}

QString TFListe::RecordingFolderToOpen() const
{
    const ScheduleTable& table = *m_s.table;
    if (table.Count() == 0)
        return QString();
    const int current = CurrentRecord();
    const int index = current > 0 ? current : 1;
    const QString folder = QFileInfo(table[index].Fichier).absolutePath();
    return QDir(folder).exists() ? folder : QString();
}

void TFListe::FreeSpaceButtonPressed(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        if (m_s.freeSpace)
            m_s.freeSpace->Refresh();
        RefreshStatus();
        return;
    }
    const QString folder = RecordingFolderToOpen();
    if (!folder.isEmpty() && m_s.platform.shell)
        m_s.platform.shell->Open(folder);
}

void TFListe::ShowAtStoredPlace()
{
    const Settings& s = *m_s.settings;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    QRect place(QPoint(0, 0), size());
    if (s.XXListe > 0 && s.YYListe > 0)
        place.setSize(QSize(s.XXListe, s.YYListe));
    if (s.XListe >= 0 && s.YListe >= 0)
        place.moveTopLeft(QPoint(s.XListe, s.YListe));
    else
        place.moveCenter(area.center());
    const SettingsStore::WindowStartState state = SettingsStore::EffectiveStartState(s);
    setGeometry(KeepOnScreen(place, area, true, state == SettingsStore::WindowStartState::Maximised));
    switch (state) {
    case SettingsStore::WindowStartState::Minimised:
        showMinimized();
        break;
    case SettingsStore::WindowStartState::Maximised:
        showMaximized();
        break;
    case SettingsStore::WindowStartState::Normal:
        show();
        break;
    }
}

bool TFListe::LeftMinimised() const
{
    return m_quit ? m_leftMinimised : isMinimized() || !isVisible();
}

void TFListe::StorePlace()
{
    // Once closed the window has no place of its own left to store.
    if (m_quit)
        return;
    Settings& s = *m_s.settings;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (normal.isValid()) {
        s.XListe = normal.x();
        s.YListe = normal.y();
        s.XXListe = normal.width();
        s.YYListe = normal.height();
    }
    s.EtatListe = isMaximized() ? 2 : 0;
}

} // namespace quorx
