#include "ui/main/TFListe.h"

#include "common/Colours.h"
#include "common/QtColours.h"
#include "engine/ScheduleEngine.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "ui/main/ScheduleListModel.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
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
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(6, 2, 6, 2);
    auto* version = new QLabel(QStringLiteral("Vizezezoruvav Zomvara    Version 5.01.000"), bottom);
    version->setObjectName(QStringLiteral("Label3"));
    bottomLayout->addWidget(version);
    bottomLayout->addStretch(1);
    layout->addWidget(bottom);
    setCentralWidget(central);

    for (QWidget* w :
         {static_cast<QWidget*>(top), static_cast<QWidget*>(bottom), static_cast<QWidget*>(m_title),
          static_cast<QWidget*>(m_hint), static_cast<QWidget*>(m_total)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& pos) {
            UpdateDisplayMenu();
            m_displayMenu->popup(w->mapToGlobal(pos));
        });
        w->installEventFilter(this);
    }

    BuildListMenu();
    BuildDisplayMenu();
    ApplyColours();

    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowListMenu(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list->horizontalHeader(), &QHeaderView::sectionPressed, this, &TFListe::OnHeaderPressed);
    resize(800, 400);
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
    // The editor and the list exchange have no window yet: their items show, disabled.
    AddAction(m, "MAjouter", QStringLiteral("&Ajouter"), QKeySequence(Qt::Key_F1), nullptr);
    AddAction(m, "MModifier", QStringLiteral("&Modifier"), QKeySequence(Qt::Key_F2), nullptr);
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
    AddAction(m, "Mreinit", QStringLiteral("&Réinitialiser"), QKeySequence(Qt::Key_F8),
              &TFListe::ResetSelection);
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
    AddAction(m, "MCopier", QStringLiteral("&Copier"), QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
    AddAction(m, "MCouper", QStringLiteral("Co&uper"), QKeySequence(Qt::CTRL | Qt::Key_X), nullptr);
    AddAction(m, "MColler", QStringLiteral("C&oller"), QKeySequence(Qt::CTRL | Qt::Key_V), nullptr);
    AddAction(m, "MDupliquer", QStringLiteral("Du&pliquer"), QKeySequence(Qt::CTRL | Qt::Key_D), nullptr);
    AddAction(m, "MImporter", QStringLiteral("&Importer"), QKeySequence(Qt::CTRL | Qt::Key_O), nullptr);
    AddAction(m, "MExporter", QStringLiteral("E&xporter"), QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);

    // Items are hidden only while the menu shows, so that their shortcuts keep working.
    connect(m_listMenu, &QMenu::aboutToHide, this, [this] {
        for (QAction* a : m_listMenu->actions())
            a->setVisible(true);
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
        {"Maff5", "Les pro&grammes de demain", ListRules::ModeTomorrow, Qt::Key_unknown},
    };
    for (const auto& mode : modes) {
        QAction* a = m_displayMenu->addAction(QString::fromUtf8(mode.caption));
        a->setObjectName(QLatin1String(mode.name));
        a->setCheckable(true);
        a->setData(mode.mode);
        if (mode.key != Qt::Key_unknown) {
            // Only on the bands, which carry this menu.
            a->setShortcut(QKeySequence(mode.key));
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
        if (a->objectName() == QLatin1String("Mdemarrer"))
            a->setText(st.startStopStops ? Ls(56) : Ls(55));
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
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier) {
            ResetSelection();
            return true;
        }
    }
    if (watched != m_list && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click on the bands around the list clears the selection; the title and the total
        // switch between today's recordings and all of them.
        ClearSelection();
        if (watched == m_title || watched == m_total)
            ToggleTodayMode();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFListe::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_hint->setText(width() >= 550 ? QStringLiteral(" ") + Ls(48) : QString());
    ScaleColumns();
}

void TFListe::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ScaleColumns();
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
    const int total = s.ColonnesTotal > 0 ? s.ColonnesTotal : width;
    int used = 0;
    for (int c = 0; c < ListRules::ColumnCount - 1; ++c) {
        const int stored =
            s.Colonne[static_cast<size_t>(c)] > 0 ? s.Colonne[static_cast<size_t>(c)] : total / 5;
        const int scaled = static_cast<int>(std::lround(double(stored) * width / total));
        m_list->setColumnWidth(c, scaled);
        s.Colonne[static_cast<size_t>(c)] = scaled;
        used += scaled;
    }
    const int last = std::max(20, width - used - 8);
    m_list->setColumnWidth(ListRules::ColumnCount - 1, last);
    s.Colonne[ListRules::ColumnCount - 1] = last;
    s.ColonnesTotal = width;
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

} // namespace quorx
