#include "ui/editor/TFSaisie.h"

#include "common/Colours.h"
#include "common/QtColours.h"
#include "common/ScreenGeometry.h"
#include "editor/EndActions.h"
#include "editor/RepetitionKinds.h"
#include "engine/NewRecording.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "power/Questions.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "startup/ProgramTitles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <type_traits>

namespace quorx {

namespace {

const QColor kKeypadColour(254, 218, 165);
constexpr int kHourTagBase = 100; // keypad buttons carry their hour or minute in a property
const char* const kKeypadKey = "keypadKey";
const char* const kKeypadValue = "keypadValue";

QDate ToQDate(DateTime d)
{
    return d.ToQDate();
}

QTime ToQTime(DateTime t)
{
    return QTime(t.Hour(), t.Minute());
}

DateTime FromQDate(const QDate& d)
{
    return DateTime::FromDate(d);
}

DateTime FromQTime(const QTime& t)
{
    return DateTime::FromTime(t.hour(), t.minute());
}

QTime DurationTime(qint64 seconds)
{
    seconds = std::clamp<qint64>(seconds, 0, RecordingDraft::kMaxDurationSeconds);
    return QTime(int(seconds / 3600), int(seconds / 60 % 60));
}

QPushButton* SmallButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
}

QComboBox* EditableCombo(const QString& objectName, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(objectName);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setDuplicatesEnabled(false);
    return c;
}

QCheckBox* CheckBox(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(objectName);
    return c;
}

void SetItems(QComboBox* combo, QStringList items)
{
    items.sort(Qt::CaseInsensitive);
    const QString text = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

void SetEditText(QComboBox* combo, const QString& text)
{
    if (combo->currentText() == text)
        return;
    const QSignalBlocker block(combo);
    combo->setEditText(text);
}

void SetChecked(QAbstractButton* b, bool on)
{
    const QSignalBlocker block(b);
    b->setChecked(on);
}

template <typename Edit, typename Value, typename Setter>
void SetValue(Edit* edit, const Value& value, Setter setter)
{
    const QSignalBlocker block(edit);
    (edit->*setter)(value);
}

QFrame* Band(const QString& objectName, QWidget* parent)
{
    auto* band = new QFrame(parent);
    band->setObjectName(objectName);
    band->setFixedHeight(40);
    band->setAutoFillBackground(true);
    return band;
}

} // namespace

TFSaisie::Outcome TFSaisie::Edit(QWidget* parent, const Services& services, int recordIndex, bool isNew)
{
    TFSaisie window(services, parent);
    if (!window.Open(recordIndex, isNew))
        return Outcome::Cancelled;
    window.exec();
    return window.Result();
}

TFSaisie::Outcome TFSaisie::AddNew(QWidget* parent, const Services& services)
{
    const int index =
        NewRecording::Prepare(*services.table, services.programFolder, services.platform.clock->Now());
    if (index < 0) {
        services.questions->Inform(ScheduleTable::FullListMessage(), false, 0, 30);
        return Outcome::Cancelled;
    }
    return Edit(parent, services, index, true);
}

TFSaisie::TFSaisie(const Services& services, QWidget* parent) : QDialog(parent), m_services(services)
{
    RecordingEditor::Context c;
    c.table = services.table;
    c.settings = services.settings;
    c.questions = services.questions;
    c.platform = services.platform;
    c.programFolder = services.programFolder;
    c.viewerRecordingFolder = services.viewerRecordingFolder;
    c.stopper = services.stopper;
    m_editor = std::make_unique<RecordingEditor>(c);

    setObjectName(QStringLiteral("FSaisie"));
    setWindowTitle(QStringLiteral("Vizezezoruvav Zomvara"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    BuildWindow();
    Connect();
    RefreshLists();
    Refresh();

    const EditorMemory& memory = m_editor->Memory();
    if (memory.x >= 0 && memory.y >= 0) {
        QRect place(QPoint(memory.x, memory.y), size());
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            place = KeepOnScreen(place, screen->availableGeometry(), false, false);
        move(place.topLeft());
    }
}

TFSaisie::~TFSaisie() = default;

bool TFSaisie::Open(int recordIndex, bool isNew)
{
    if (!m_editor->Open(recordIndex, isNew))
        return false;
    // An existing entry has no "then another": cancel takes that place.
    m_new->setVisible(isNew);
    RefreshLists();
    Refresh();
    m_pages->setCurrentIndex(0);
    return true;
}

TFSaisie::Outcome TFSaisie::Result() const
{
    if (!m_editor->Validated())
        return Outcome::Cancelled;
    return m_editor->LastCommitted() ? Outcome::Committed : Outcome::CommittedAndNew;
}

void TFSaisie::BuildWindow()
{
    setFixedSize(634, 497);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(BuildHeader());

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(BuildChannelTab(), QStringLiteral("&1 - Chaîne/horaire "));
    m_pages->addTab(BuildFileTab(), QStringLiteral("&2 - Fichier "));
    m_pages->addTab(BuildEndTab(), QStringLiteral("&3 - Fin de l'enregistrement "));
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(6, 0, 6, 0);
    middle->addWidget(m_pages);
    layout->addLayout(middle, 1);
    layout->addWidget(BuildFooter());

    m_favouritesMenu = new QMenu(this);
    m_favouritesMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto* add = m_favouritesMenu->addAction(QStringLiteral("&Ajouter aux favoris"));
    add->setObjectName(QStringLiteral("Maj"));
    auto* remove = m_favouritesMenu->addAction(QStringLiteral("&Retirer des favoris"));
    remove->setObjectName(QStringLiteral("MRet"));
    auto* removeAll = m_favouritesMenu->addAction(QStringLiteral("Retirer tous les &favoris"));
    removeAll->setObjectName(QStringLiteral("MRetT"));

    const quint32 colour = ResolveColour(static_cast<quint32>(m_services.settings->Couleur));
    for (const char* name : {"Panel1", "Panel2"}) {
        if (auto* band = findChild<QFrame*>(QLatin1String(name))) {
            QPalette p = band->palette();
            p.setColor(QPalette::Window, ToQColor(colour));
            band->setPalette(p);
        }
    }
    if (!m_services.settings->AideContextuelle) {
        for (QWidget* w : findChildren<QWidget*>())
            w->setToolTip(QString());
    }
}

QToolButton* TFSaisie::FavouritesButton(const QString& objectName, EditorFavourites::Box box)
{
    auto* b = new QToolButton(this);
    b->setObjectName(objectName);
    b->setText(QStringLiteral("★"));
    b->setToolTip(QStringLiteral("Favoris."));
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this, [this, box, b] { OnFavouritesMenu(box, b); });
    return b;
}

QWidget* TFSaisie::BuildHeader()
{
    auto* header = new QWidget(this);
    auto* v = new QVBoxLayout(header);
    v->setContentsMargins(0, 0, 0, 0);
    QFrame* band = Band(QStringLiteral("Panel1"), header);
    auto* bandLayout = new QHBoxLayout(band);
    auto* title = new QLabel(QStringLiteral("Définir un programme"), band);
    title->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("Arial"), 12, QFont::Bold);
    title->setFont(f);
    QPalette tp = title->palette();
    tp.setColor(QPalette::WindowText, QColor(0, 0, 128));
    title->setPalette(tp);
    bandLayout->addWidget(title);
    bandLayout->addStretch();
    v->addWidget(band);

    auto* row = new QGridLayout;
    row->setContentsMargins(8, 0, 8, 0);
    auto* nomLabel = new QLabel(QStringLiteral("Emission"), header);
    m_nom = EditableCombo(QStringLiteral("CNom"), header);
    m_nom->lineEdit()->setMaxLength(64);
    m_nom->setMinimumWidth(260);
    row->addWidget(nomLabel, 0, 0);
    row->addWidget(m_nom, 1, 0);
    row->addWidget(FavouritesButton(QStringLiteral("FavNom"), EditorFavourites::Box::Nom), 1, 1);

    m_preview = new QLabel(header);
    m_preview->setObjectName(QStringLiteral("CLabelNomAuto"));
    m_preview->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont pf = m_preview->font();
    pf.setBold(true);
    m_preview->setFont(pf);
    QPalette pp = m_preview->palette();
    pp.setColor(QPalette::WindowText, QColor(128, 128, 128));
    m_preview->setPalette(pp);
    m_preview->installEventFilter(this);
    auto* infos = new QFrame(header);
    infos->setObjectName(QStringLiteral("InfosFin"));
    infos->setFrameShape(QFrame::HLine);
    m_endSummary = new QLabel(header);
    m_endSummary->setObjectName(QStringLiteral("CFinLabel"));
    m_endSummary->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_endSummary->setToolTip(QStringLiteral(
        "Clic gauche : Fermer/Ne pas fermer -  clic droit : Veille/Veille prolongée/Extinction."));
    m_endSummary->installEventFilter(this);
    row->addWidget(m_preview, 0, 2);
    row->addWidget(infos, 1, 2, Qt::AlignTop);
    row->addWidget(m_endSummary, 1, 2, Qt::AlignBottom);
    row->setColumnStretch(2, 1);
    v->addLayout(row);
    return header;
}

QWidget* TFSaisie::BuildChannelTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet1"));
    tab->setMouseTracking(true);
    tab->installEventFilter(this);
    auto* grid = new QGridLayout(tab);

    grid->addWidget(new QLabel(QStringLiteral("Chaîne *"), tab), 0, 0);
    auto* channelRow = new QHBoxLayout;
    m_chaine = EditableCombo(QStringLiteral("CChaine"), tab);
    m_chaine->setMaxVisibleItems(12);
    m_chaine->setMinimumWidth(220);
    channelRow->addWidget(m_chaine);
    channelRow->addWidget(FavouritesButton(QStringLiteral("FavChaine"), EditorFavourites::Box::Chaine));
    m_prefsButton = SmallButton(QStringLiteral("BitBtn2"), QStringLiteral("Préférences..."), tab);
    m_prefsButton->setToolTip(QStringLiteral("Préférences d'enregistrement de cette chaîne."));
    m_importButton = SmallButton(QStringLiteral("BitBtn4"), QStringLiteral("Importer..."), tab);
    m_importButton->setToolTip(QStringLiteral("Importer les chaînes de Zomvara."));
    auto* removeChannel = SmallButton(QStringLiteral("BitBtn5"), QStringLiteral("Retirer"), tab);
    removeChannel->setToolTip(QStringLiteral("Retirer cette chaîne de la liste."));
    connect(removeChannel, &QPushButton::clicked, this, [this] {
        m_editor->RemoveCurrentChannel();
        RefreshLists();
        Refresh();
    });
    channelRow->addWidget(m_prefsButton);
    channelRow->addWidget(m_importButton);
    channelRow->addWidget(removeChannel);
    channelRow->addStretch();
    grid->addLayout(channelRow, 0, 1, 1, 3);

    auto* quick = new QWidget(tab);
    quick->setFixedHeight(24);
    auto* quickRow = new QHBoxLayout(quick);
    quickRow->setContentsMargins(0, 0, 0, 0);
    quickRow->setSpacing(2);
    for (int i = 0; i < FavouriteChannels::kSlots; ++i) {
        QPushButton* b =
            SmallButton(i == 0 ? QStringLiteral("D0") : QStringLiteral("d%1").arg(i), QString(), quick);
        b->setVisible(false);
        b->setMaximumWidth(80);
        quickRow->addWidget(b);
        m_quickChannels.append(b);
        connect(b, &QPushButton::clicked, this, [this, b] {
            m_editor->ChooseQuickChannel(b->text().replace(QLatin1String("&&"), QLatin1String("&")));
            Refresh();
            m_chaine->setFocus();
        });
    }
    quickRow->addStretch();
    grid->addWidget(quick, 1, 1, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("Début *"), tab), 2, 0);
    m_dateDebut = new QDateEdit(tab);
    m_dateDebut->setObjectName(QStringLiteral("CDateDebut"));
    m_heureDebut = new QTimeEdit(tab);
    m_heureDebut->setObjectName(QStringLiteral("CHeureDebut"));
    grid->addWidget(m_dateDebut, 2, 1);
    grid->addWidget(m_heureDebut, 2, 2);
    m_now = SmallButton(QStringLiteral("Button1"), QStringLiteral("Immédia&."), tab);
    m_now->setVisible(false);
    m_now->setMaximumWidth(80);
    grid->addWidget(m_now, 2, 3, Qt::AlignLeft);

    auto* quickDates = new QWidget(tab);
    quickDates->setFixedHeight(24);
    auto* quickDateRow = new QHBoxLayout(quickDates);
    quickDateRow->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, QString>> dateButtons{
        {QStringLiteral("Button8"), QStringLiteral("&Aujourd'hui")},
        {QStringLiteral("Button9"), QStringLiteral("Dema&in")},
        {QStringLiteral("Button10"), QStringLiteral("J&-1")},
        {QStringLiteral("Button13"), QStringLiteral("J&+1")}};
    for (const auto& [name, text] : dateButtons) {
        QPushButton* b = SmallButton(name, text, quickDates);
        b->setVisible(false);
        quickDateRow->addWidget(b);
        m_quickDates.append(b);
    }
    quickDateRow->addStretch();
    grid->addWidget(quickDates, 3, 1, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("Fin *"), tab), 4, 0);
    m_dateFin = new QDateEdit(tab);
    m_dateFin->setObjectName(QStringLiteral("CDateFin"));
    m_dateFin->setEnabled(false);
    m_dateFin->setToolTip(QStringLiteral("Le lendemain."));
    m_heureFin = new QTimeEdit(tab);
    m_heureFin->setObjectName(QStringLiteral("CHeureFin"));
    grid->addWidget(m_dateFin, 4, 1);
    grid->addWidget(m_heureFin, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Durée"), tab), 5, 0);
    m_duree = new QTimeEdit(tab);
    m_duree->setObjectName(QStringLiteral("CDuree"));
    grid->addWidget(m_duree, 5, 2);

    const QString longDate = QStringLiteral("dddd d MMMM yyyy");
    for (QDateEdit* d : {m_dateDebut, m_dateFin}) {
        d->setLocale(QLocale(QLocale::French, QLocale::France));
        d->setDisplayFormat(longDate);
        d->setCalendarPopup(m_services.settings->Calendrier);
    }
    for (QTimeEdit* t : {m_heureDebut, m_heureFin, m_duree})
        t->setDisplayFormat(QStringLiteral("HH:mm"));

    grid->addWidget(new QLabel(QStringLiteral("Répétition"), tab), 6, 0);
    m_typeRep = new QComboBox(tab);
    m_typeRep->setObjectName(QStringLiteral("CTypeRep"));
    m_typeRep->addItems(RepetitionKinds::Texts());
    grid->addWidget(m_typeRep, 6, 1, 1, 2);

    auto* daysRow = new QHBoxLayout;
    const QStringList names{QStringLiteral("CLundi"),    QStringLiteral("CMardi"),
                            QStringLiteral("CMercredi"), QStringLiteral("CJeudi"),
                            QStringLiteral("CVendredi"), QStringLiteral("CSamedi"),
                            QStringLiteral("CDimanche")};
    const QStringList texts{QStringLiteral("&Lundi"),    QStringLiteral("&Mardi"),
                            QStringLiteral("M&ercredi"), QStringLiteral("&Jeudi"),
                            QStringLiteral("&Vendredi"), QStringLiteral("&Samedi"),
                            QStringLiteral("&Dimanche")};
    for (int i = 0; i < 7; ++i) {
        QCheckBox* c = CheckBox(names[i], texts[i], tab);
        daysRow->addWidget(c);
        m_days.append(c);
    }
    grid->addLayout(daysRow, 7, 0, 1, 4);

    m_repEndCover = new QStackedWidget(tab);
    auto* repEndBox = new QWidget(m_repEndCover);
    auto* repEndRow = new QHBoxLayout(repEndBox);
    repEndRow->setContentsMargins(0, 0, 0, 0);
    m_repEndCheck = CheckBox(QStringLiteral("CRepDateFinCheck"), QStringLiteral("J&usqu'au"), repEndBox);
    m_repEnd = new QDateEdit(repEndBox);
    m_repEnd->setObjectName(QStringLiteral("CRepDateFin"));
    m_repEnd->setLocale(QLocale(QLocale::French, QLocale::France));
    m_repEnd->setDisplayFormat(longDate);
    m_repEnd->setCalendarPopup(m_services.settings->Calendrier);
    repEndRow->addWidget(m_repEndCheck);
    repEndRow->addWidget(m_repEnd);
    for (const auto& [name, text] :
         {QPair<QString, QString>{QStringLiteral("Button17"), QStringLiteral("J-1")},
          QPair<QString, QString>{QStringLiteral("Button18"), QStringLiteral("J+1")}}) {
        QPushButton* b = SmallButton(name, text, repEndBox);
        b->setVisible(false);
        repEndRow->addWidget(b);
        m_repEndButtons.append(b);
    }
    repEndRow->addWidget(new QLabel(QStringLiteral("inclus"), repEndBox));
    repEndRow->addStretch();
    auto* cover = new QFrame(m_repEndCover);
    cover->setObjectName(QStringLiteral("Panel6"));
    m_repEndCover->addWidget(repEndBox);
    m_repEndCover->addWidget(cover);
    m_repEndCover->setFixedHeight(30);
    grid->addWidget(m_repEndCover, 8, 0, 1, 4);
    grid->setRowStretch(9, 1);

    m_keypad = BuildKeypad(tab);
    return tab;
}

QFrame* TFSaisie::BuildKeypad(QWidget* parent)
{
    auto* pad = new QFrame(parent);
    pad->setObjectName(QStringLiteral("Panel3"));
    pad->setFrameShape(QFrame::Box);
    pad->setAutoFillBackground(true);
    QPalette p = pad->palette();
    p.setColor(QPalette::Window, kKeypadColour);
    pad->setPalette(p);
    auto* grid = new QGridLayout(pad);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);
    auto make = [&](const QString& name, const QString& text, TimeKeypad::Button key, int value, int row,
                    int col, int rowSpan = 1) {
        QPushButton* b = SmallButton(name, text, pad);
        b->setFixedWidth(rowSpan > 1 ? 30 : 26);
        b->setProperty(kKeypadKey, int(key));
        b->setProperty(kKeypadValue, value);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, key, value] {
            m_editor->KeypadPress(m_keypadField, key, value, false);
            Refresh();
        });
        grid->addWidget(b, row, col, rowSpan, 1);
    };
    using K = TimeKeypad::Button;
    make(QStringLiteral("B0"), QStringLiteral("0"), K::Midnight, 0, 0, 0, 3);
    // Hours: B1 (0) and 1 to 23 on two rows, then -1 and +1.
    for (int h = 0; h < 24; ++h) {
        const QString name = h == 0 ? QStringLiteral("B1") : QStringLiteral("BH%1").arg(h);
        make(name, QString::number(h), K::Hour, h, h / 12, 1 + h % 12);
    }
    make(QStringLiteral("B25"), QStringLiteral("-1"), K::HourMinus, 0, 0, 13);
    make(QStringLiteral("B26"), QStringLiteral("+1"), K::HourPlus, 0, 1, 13);
    for (int m = 0; m < 60; m += 5) {
        const QString name = m == 0 ? QStringLiteral("B27") : QStringLiteral("BM%1").arg(m);
        make(name, QString::number(m), K::Minute, m, 2, 1 + m / 5);
    }
    make(QStringLiteral("B39"), QStringLiteral("-1"), K::MinuteMinus, 0, 2, 13);
    make(QStringLiteral("B40"), QStringLiteral("+1"), K::MinutePlus, 0, 2, 14);
    if (auto* b1 = pad->findChild<QPushButton*>(QStringLiteral("B1")))
        b1->setToolTip(QStringLiteral("Heures"));
    if (auto* b27 = pad->findChild<QPushButton*>(QStringLiteral("B27")))
        b27->setToolTip(QStringLiteral("Minutes"));
    pad->adjustSize();
    pad->setVisible(false);
    Q_UNUSED(kHourTagBase);
    return pad;
}

QWidget* TFSaisie::BuildFileTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet4"));
    tab->installEventFilter(this);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(new QLabel(QStringLiteral("Dossier où enregistrer le fichier *"), tab), 0, 0, 1, 3);
    m_dossier = EditableCombo(QStringLiteral("CDossier"), tab);
    grid->addWidget(m_dossier, 1, 0);
    grid->addWidget(FavouritesButton(QStringLiteral("FavDossier"), EditorFavourites::Box::Dossier), 1, 1);
    auto* browse = SmallButton(QStringLiteral("BitBtn13"), QStringLiteral("Parcourir..."), tab);
    browse->setToolTip(QStringLiteral("Parcourir les disques à la recherche d'un dossier."));
    connect(browse, &QPushButton::clicked, this, &TFSaisie::BrowseFolder);
    grid->addWidget(browse, 1, 2);
    m_espace = new QLabel(tab);
    m_espace->setObjectName(QStringLiteral("CEspace"));
    grid->addWidget(m_espace, 2, 0, 1, 3);

    m_nomAuto =
        CheckBox(QStringLiteral("CNomAuto"), QStringLiteral("Choix a&utomatique du nom du fichier"), tab);
    grid->addWidget(m_nomAuto, 3, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Nom de fichier *"), tab), 4, 0, 1, 3);
    m_fichier = EditableCombo(QStringLiteral("CFichier"), tab);
    grid->addWidget(m_fichier, 5, 0);
    grid->addWidget(FavouritesButton(QStringLiteral("FavFichier"), EditorFavourites::Box::Fichier), 5, 1);

    auto* parts = new QHBoxLayout;
    parts->addWidget(new QLabel(QStringLiteral("Ajouter"), tab));
    m_addDate = CheckBox(QStringLiteral("CAddDate"), QStringLiteral("la &date"), tab);
    m_addHeure = CheckBox(QStringLiteral("CAddHeure"), QStringLiteral("l'&heure"), tab);
    m_addChaine = CheckBox(QStringLiteral("CAddChaine"), QStringLiteral("la &chaîne"), tab);
    parts->addWidget(m_addDate);
    parts->addWidget(m_addHeure);
    parts->addWidget(m_addChaine);
    parts->addWidget(new QLabel(QStringLiteral("au nom de fichier"), tab));
    parts->addStretch();
    grid->addLayout(parts, 6, 0, 1, 3);

    auto* formats = new QHBoxLayout;
    formats->addWidget(new QLabel(QStringLiteral("Format de fichier *"), tab));
    m_mpg = new QRadioButton(QStringLiteral("&Mpg"), tab);
    m_mpg->setObjectName(QStringLiteral("RMPg"));
    m_pva = new QRadioButton(QStringLiteral("P&va"), tab);
    m_pva->setObjectName(QStringLiteral("RPva"));
    m_mpa = new QRadioButton(QStringLiteral("Mp&a"), tab);
    m_mpa->setObjectName(QStringLiteral("RMpa"));
    formats->addWidget(m_mpg);
    formats->addWidget(m_pva);
    formats->addWidget(m_mpa);
    formats->addStretch();
    grid->addLayout(formats, 7, 0, 1, 3);
    m_applyToAll = CheckBox(
        QStringLiteral("CheckBox1"),
        QStringLiteral("Appliquer ces paramètres à tous les enregistrements sur la même chaîne"), tab);
    grid->addWidget(m_applyToAll, 8, 0, 1, 3);
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(0, 1);
    return tab;
}

QWidget* TFSaisie::BuildEndTab()
{
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet3"));
    tab->installEventFilter(this);
    auto* grid = new QGridLayout(tab);
    auto* title = new QLabel(QStringLiteral("Une fois l'enregistrement terminé"), tab);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    grid->addWidget(title, 0, 0, 1, 3);
    m_fermer = CheckBox(QStringLiteral("CFermer"), QStringLiteral("&fermer Zomvara"), tab);
    grid->addWidget(m_fermer, 1, 0, 1, 3);
    m_commandCheck = CheckBox(QStringLiteral("CommandCheck"),
                              QStringLiteral("e&xécuter la ligne de commande suivante *"), tab);
    grid->addWidget(m_commandCheck, 2, 0, 1, 3);
    m_commande = EditableCombo(QStringLiteral("Commande"), tab);
    grid->addWidget(m_commande, 3, 0);
    grid->addWidget(FavouritesButton(QStringLiteral("FavCommande"), EditorFavourites::Box::Commande), 3, 1);
    auto* program = SmallButton(QStringLiteral("BitBtn3"), QStringLiteral("Parcourir..."), tab);
    program->setToolTip(QStringLiteral("Parcourir les disques à la recherche d'un fichier."));
    connect(program, &QPushButton::clicked, this, &TFSaisie::ChooseProgram);
    grid->addWidget(program, 3, 2);
    m_veille =
        CheckBox(QStringLiteral("CCVeille"), QStringLiteral("mettre le micro-ordinateur en &veille **"), tab);
    m_veillePro = CheckBox(QStringLiteral("CCVeillePro"),
                           QStringLiteral("mettre le micro-ordinateur en veille p&rolongée **"), tab);
    m_eteindre =
        CheckBox(QStringLiteral("CCEteindre"), QStringLiteral("éteindre le &micro-ordinateur  ***"), tab);
    grid->addWidget(m_veille, 4, 0, 1, 3);
    grid->addWidget(m_veillePro, 5, 0, 1, 3);
    grid->addWidget(m_eteindre, 6, 0, 1, 3);
    int row = 7;
    for (const QString& note :
         {QStringLiteral(
              "* Utilisez le mot-clé [file] pour ajouter le nom du fichier venant d'être enregistré."),
          QStringLiteral(
              "** Utilisable uniquement si votre configuration (matérielle et logicielle) l'autorise."),
          QStringLiteral(
              "*** Le micro-ordinateur ne pourra être automatiquement réveillé par Vizezezoruvav Zomvara "
              "pour effectuer les enregistrements suivants.")}) {
        auto* label = new QLabel(note, tab);
        label->setWordWrap(true);
        grid->addWidget(label, row++, 0, 1, 3);
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(0, 1);
    return tab;
}

QWidget* TFSaisie::BuildFooter()
{
    QFrame* band = Band(QStringLiteral("Panel2"), this);
    auto* row = new QHBoxLayout(band);
    auto* product =
        new QLabel(QStringLiteral("Vizezezoruvav Zomvara\n") + Ls(131) + ProgramTitles::Version(), band);
    QFont small = product->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    product->setFont(small);
    row->addWidget(product);
    row->addStretch();
    m_validate = new QPushButton(QStringLiteral("Valider &ce prog."), band);
    m_validate->setObjectName(QStringLiteral("BitBtn1"));
    m_validate->setDefault(true);
    m_new = new QPushButton(QStringLiteral("Valider ce &prog. puis en définir un autre"), band);
    m_new->setObjectName(QStringLiteral("Nouv"));
    m_cancel = new QPushButton(QStringLiteral("A&nnuler"), band);
    m_cancel->setObjectName(QStringLiteral("Ann"));
    row->addWidget(m_validate);
    row->addWidget(m_new);
    row->addWidget(m_cancel);
    return band;
}

void TFSaisie::Connect()
{
    RecordingEditor& ed = *m_editor;
    auto then = [this](auto f) {
        // clicked(bool) and friends pass arguments the handler may not want.
        return [this, f](auto&&... args) {
            if constexpr (std::is_invocable_v<decltype(f), decltype(args)...>)
                f(args...);
            else
                f();
            Refresh();
        };
    };

    connect(m_nom->lineEdit(), &QLineEdit::textEdited, this,
            then([&ed](const QString& t) { ed.SetName(t); }));
    connect(m_nom, &QComboBox::textActivated, this, then([&ed](const QString& t) { ed.SetName(t); }));
    connect(m_chaine->lineEdit(), &QLineEdit::textEdited, this,
            then([&ed](const QString& t) { ed.SetChannel(t); }));
    connect(m_chaine, &QComboBox::textActivated, this, then([&ed](const QString& t) { ed.SetChannel(t); }));
    connect(m_dateDebut, &QDateEdit::dateChanged, this,
            then([&ed](const QDate& d) { ed.SetStartDate(FromQDate(d)); }));
    connect(m_heureDebut, &QTimeEdit::timeChanged, this,
            then([&ed](const QTime& t) { ed.SetStartTime(FromQTime(t)); }));
    connect(m_heureFin, &QTimeEdit::timeChanged, this,
            then([&ed](const QTime& t) { ed.SetEndTime(FromQTime(t)); }));
    connect(m_duree, &QTimeEdit::timeChanged, this,
            then([&ed](const QTime& t) { ed.SetDuration(t.hour() * 3600 + t.minute() * 60); }));
    connect(m_now, &QPushButton::clicked, this, then([&ed] { ed.StartNow(); }));
    connect(m_quickDates[0], &QPushButton::clicked, this, then([&ed] { ed.StartToday(); }));
    connect(m_quickDates[1], &QPushButton::clicked, this, then([&ed] { ed.StartTomorrow(); }));
    connect(m_quickDates[2], &QPushButton::clicked, this, then([&ed] { ed.MoveStartDays(-1); }));
    connect(m_quickDates[3], &QPushButton::clicked, this, then([&ed] { ed.MoveStartDays(1); }));
    connect(m_typeRep, &QComboBox::activated, this, then([&ed](int kind) { ed.ChooseKind(kind); }));
    for (int i = 0; i < 7; ++i) {
        connect(m_days[i], &QCheckBox::toggled, this, then([&ed, i](bool on) { ed.SetDay(i + 1, on); }));
    }
    connect(m_repEndCheck, &QCheckBox::toggled, this,
            then([&ed](bool on) { ed.SetRepetitionEndChecked(on); }));
    connect(m_repEnd, &QDateEdit::dateChanged, this,
            then([&ed](const QDate& d) { ed.SetRepetitionEnd(FromQDate(d)); }));
    connect(m_repEndButtons[0], &QPushButton::clicked, this, then([&ed] { ed.MoveRepetitionEnd(-1); }));
    connect(m_repEndButtons[1], &QPushButton::clicked, this, then([&ed] { ed.MoveRepetitionEnd(1); }));

    connect(m_dossier->lineEdit(), &QLineEdit::textEdited, this,
            then([&ed](const QString& t) { ed.SetFolder(t); }));
    connect(m_dossier, &QComboBox::textActivated, this, then([&ed](const QString& t) {
                ed.SetFolder(t);
                ed.CheckFolder();
            }));
    connect(m_dossier->lineEdit(), &QLineEdit::editingFinished, this, then([&ed] { ed.CheckFolder(); }));
    connect(m_fichier->lineEdit(), &QLineEdit::textEdited, this,
            then([&ed](const QString& t) { ed.SetFileName(t); }));
    connect(m_fichier, &QComboBox::textActivated, this, then([&ed](const QString& t) {
                ed.SetFileName(t);
                ed.CheckFolder();
            }));
    connect(m_fichier->lineEdit(), &QLineEdit::editingFinished, this, then([&ed] { ed.CheckFolder(); }));
    connect(m_nomAuto, &QCheckBox::toggled, this, then([&ed](bool on) { ed.SetNomAuto(on); }));
    auto parts = [this, &ed] {
        ed.SetNameParts(m_addDate->isChecked(), m_addHeure->isChecked(), m_addChaine->isChecked());
        Refresh();
    };
    for (QCheckBox* c : {m_addDate, m_addHeure, m_addChaine})
        connect(c, &QCheckBox::toggled, this, parts);
    connect(m_mpg, &QRadioButton::clicked, this, then([&ed] { ed.SetFormat(RecordingFormat::Mpg); }));
    connect(m_pva, &QRadioButton::clicked, this, then([&ed] { ed.SetFormat(RecordingFormat::Pva); }));
    connect(m_mpa, &QRadioButton::clicked, this, then([&ed] { ed.SetFormat(RecordingFormat::Mpa); }));
    connect(m_applyToAll, &QCheckBox::toggled, this, then([&ed](bool on) { ed.SetApplyToAll(on); }));

    connect(m_fermer, &QCheckBox::toggled, this, then([&ed](bool on) { ed.SetFermer(on); }));
    connect(m_commandCheck, &QCheckBox::toggled, this, then([&ed](bool on) { ed.SetCommandCheck(on); }));
    connect(m_commande->lineEdit(), &QLineEdit::textEdited, this,
            then([&ed](const QString& t) { ed.SetCommand(t); }));
    connect(m_commande, &QComboBox::textActivated, this, then([&ed](const QString& t) { ed.SetCommand(t); }));
    connect(m_veille, &QCheckBox::toggled, this,
            then([&ed](bool on) { ed.SetPowerAction(AfterRecordingBox::Veille, on); }));
    connect(m_veillePro, &QCheckBox::toggled, this,
            then([&ed](bool on) { ed.SetPowerAction(AfterRecordingBox::VeillePro, on); }));
    connect(m_eteindre, &QCheckBox::toggled, this,
            then([&ed](bool on) { ed.SetPowerAction(AfterRecordingBox::Eteindre, on); }));

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        LeaveTab();
        m_editor->TabShown(index);
        HideQuickEntry();
        Refresh();
    });
    connect(m_validate, &QPushButton::clicked, this, [this] { OnValidate(false); });
    connect(m_new, &QPushButton::clicked, this, [this] {
        m_new->setDefault(true);
        OnValidate(true);
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_editor->Cancel();
        reject();
    });

    const bool channels = static_cast<bool>(m_services.openChannels);
    m_prefsButton->setEnabled(channels);
    m_importButton->setEnabled(channels);
    connect(m_prefsButton, &QPushButton::clicked, this, [this] {
        OpenChannels(m_editor->Draft().IsRepeatingKind() ? RepeatingPreferences : ChannelPreferences);
    });
    connect(m_importButton, &QPushButton::clicked, this, [this] { OpenChannels(ChannelImportPage); });

    for (QWidget* w :
         std::initializer_list<QWidget*>{m_chaine, m_nom, m_typeRep, m_dossier, m_fichier, m_commande,
                                         m_dateDebut, m_heureDebut, m_heureFin, m_duree, m_repEnd}) {
        w->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    for (QAbstractSpinBox* s :
         std::initializer_list<QAbstractSpinBox*>{m_dateDebut, m_heureDebut, m_heureFin, m_duree, m_repEnd})
        s->findChild<QLineEdit*>()->installEventFilter(this);
}

void TFSaisie::RefreshLists()
{
    const EditorFavourites& fav = m_editor->Favourites();
    SetItems(m_nom, fav.List(EditorFavourites::Box::Nom).Entries());
    SetItems(m_chaine, fav.List(EditorFavourites::Box::Chaine).Entries());
    SetItems(m_dossier, fav.List(EditorFavourites::Box::Dossier).Entries());
    SetItems(m_fichier, fav.List(EditorFavourites::Box::Fichier).Entries());
    SetItems(m_commande, fav.List(EditorFavourites::Box::Commande).Entries());
}

void TFSaisie::Refresh()
{
    const RecordingDraft& d = m_editor->Draft();
    SetEditText(m_nom, d.name);
    SetEditText(m_chaine, d.channel);
    SetValue(m_dateDebut, ToQDate(d.startDate), &QDateEdit::setDate);
    SetValue(m_heureDebut, ToQTime(d.startTime), &QTimeEdit::setTime);
    SetValue(m_dateFin, ToQDate(d.endDate), &QDateEdit::setDate);
    SetValue(m_heureFin, ToQTime(d.endTime), &QTimeEdit::setTime);
    if (!m_duree->hasFocus() || m_keypad->isVisible())
        SetValue(m_duree, DurationTime(d.durationSeconds), &QTimeEdit::setTime);
    {
        const QSignalBlocker block(m_typeRep);
        m_typeRep->setCurrentIndex(d.kind);
    }
    for (int i = 0; i < 7; ++i)
        SetChecked(m_days[i], (d.days & WeekdayBitOf(i + 1)) != 0);
    SetChecked(m_repEndCheck, d.repEndChecked);
    SetValue(m_repEnd, ToQDate(d.repEnd), &QDateEdit::setDate);
    m_repEndCover->setCurrentIndex(d.IsRepeatingKind() ? 0 : 1);

    SetEditText(m_dossier, d.folder);
    SetEditText(m_fichier, d.fileName);
    SetChecked(m_nomAuto, d.nomAuto);
    SetChecked(m_addDate, d.addDate);
    SetChecked(m_addHeure, d.addHeure);
    SetChecked(m_addChaine, d.addChaine);
    SetChecked(m_mpg, d.format == RecordingFormat::Mpg);
    SetChecked(m_pva, d.format == RecordingFormat::Pva);
    SetChecked(m_mpa, d.format == RecordingFormat::Mpa);
    SetChecked(m_applyToAll, d.applyToAll);
    const EditorFolder::FreeSpace space = m_editor->FreeSpace();
    m_espace->setText(space.text);
    QPalette sp = m_espace->palette();
    sp.setColor(QPalette::WindowText, ToQColor(space.colour));
    m_espace->setPalette(sp);

    SetChecked(m_fermer, d.fermer);
    SetChecked(m_commandCheck, d.commandCheck);
    SetEditText(m_commande, d.commande);
    SetChecked(m_veille, d.veille);
    SetChecked(m_veillePro, d.veillePro);
    SetChecked(m_eteindre, d.eteindre);
    m_eteindre->setEnabled(EndActions::EteindreEnabled(d));
    m_veille->setEnabled(EndActions::VeilleEnabled(d, m_editor->CanSuspend()));
    m_veillePro->setEnabled(EndActions::VeilleProEnabled(d, m_editor->CanHibernate()));

    m_preview->setText(m_editor->PreviewText());
    // A long folder does not fit the header; the whole path stays readable in the hint.
    if (m_services.settings->AideContextuelle)
        m_preview->setToolTip(m_preview->text());
    m_endSummary->setText(m_editor->EndSummary());
    m_new->setEnabled(m_editor->CanValidateAndNew());
}

void TFSaisie::Highlight(QWidget* w, bool on)
{
    if (on) {
        if (!m_palettes.contains(w))
            m_palettes.insert(w, w->palette());
        QPalette p = w->palette();
        p.setColor(QPalette::Base, kKeypadColour);
        w->setPalette(p);
    } else if (m_palettes.contains(w)) {
        w->setPalette(m_palettes.take(w));
    }
}

void TFSaisie::ShowQuickChannels(bool show)
{
    const auto slots = m_editor->QuickChannels();
    for (int i = 0; i < m_quickChannels.size(); ++i) {
        const QString name = i < slots.size() ? slots[i].name : QString();
        m_quickChannels[i]->setText(QString(name).replace(QLatin1String("&"), QLatin1String("&&")));
        m_quickChannels[i]->setVisible(show && !name.isEmpty());
    }
}

void TFSaisie::ShowQuickDates(bool show)
{
    for (QPushButton* b : std::as_const(m_quickDates))
        b->setVisible(show);
}

void TFSaisie::ShowKeypad(RecordingEditor::TimeField field, QWidget* picker)
{
    m_keypadField = field;
    m_now->setVisible(field == RecordingEditor::TimeField::Start);
    m_keypad->adjustSize();
    QWidget* tab = m_keypad->parentWidget();
    const QPoint at = picker->mapTo(tab, QPoint(0, 0));
    // Under the start time, left-aligned; over the end time and duration, right-aligned.
    int x =
        field == RecordingEditor::TimeField::Start ? at.x() : at.x() + picker->width() - m_keypad->width();
    int y =
        field == RecordingEditor::TimeField::Start ? at.y() + picker->height() : at.y() - m_keypad->height();
    x = std::clamp(x, 0, std::max(0, tab->width() - m_keypad->width()));
    y = std::clamp(y, 0, std::max(0, tab->height() - m_keypad->height()));
    m_keypad->move(x, y);
    m_keypad->raise();
    m_keypad->show();
    Highlight(picker, true);
}

void TFSaisie::HideQuickEntry()
{
    m_keypad->hide();
    m_now->hide();
    ShowQuickDates(false);
    for (QPushButton* b : std::as_const(m_repEndButtons))
        b->hide();
    for (QWidget* w : {static_cast<QWidget*>(m_heureDebut), static_cast<QWidget*>(m_heureFin),
                       static_cast<QWidget*>(m_duree), static_cast<QWidget*>(m_dateDebut)})
        Highlight(w, false);
}

bool TFSaisie::eventFilter(QObject* watched, QEvent* event)
{
    const Settings& s = *m_services.settings;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Line edits inside combo boxes and pickers report for their owner.
    QWidget* owner = widget;
    if (widget && qobject_cast<QLineEdit*>(widget) && widget->parentWidget() &&
        (qobject_cast<QComboBox*>(widget->parentWidget()) ||
         qobject_cast<QAbstractSpinBox*>(widget->parentWidget())))
        owner = widget->parentWidget();

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || !text.at(0).isPrint())
            break;
        if (owner == m_nom || owner == m_fichier) {
            if (!EditorFolder::NameAcceptsKey(text.at(0)))
                return true;
        } else if (owner == m_dossier && widget == m_dossier->lineEdit()) {
            const QLineEdit* edit = m_dossier->lineEdit();
            QString rest = edit->text();
            if (edit->hasSelectedText())
                rest.remove(edit->selectionStart(), edit->selectedText().size());
            const int position = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
            if (!EditorFolder::FolderAcceptsKey(rest, position, text.at(0)))
                return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (owner == m_chaine && s.QuickEnterChannels) {
            ShowQuickChannels(true);
            Highlight(m_chaine, true);
        } else if (owner == m_dateDebut && s.QuickEnterDate) {
            ShowQuickDates(true);
            Highlight(m_dateDebut, true);
        } else if (owner == m_repEnd) {
            if (s.QuickEnterDate) {
                for (QPushButton* b : std::as_const(m_repEndButtons))
                    b->show();
            } else {
                m_editor->SetRepetitionEndChecked(true);
                Refresh();
            }
        } else if (s.QuickEnterTime && (owner == m_heureDebut || owner == m_heureFin || owner == m_duree)) {
            HideQuickEntry();
            ShowKeypad(owner == m_heureDebut ? RecordingEditor::TimeField::Start
                       : owner == m_heureFin ? RecordingEditor::TimeField::End
                                             : RecordingEditor::TimeField::Duration,
                       owner);
        }
        break;
    case QEvent::FocusOut:
        // The quick buttons and the keypad take no focus, so losing it means going elsewhere.
        if (owner == m_dateDebut && widget == m_dateDebut) {
            ShowQuickDates(false);
            Highlight(m_dateDebut, false);
        } else if (owner == m_repEnd && widget == m_repEnd) {
            for (QPushButton* b : std::as_const(m_repEndButtons))
                b->hide();
        } else if ((owner == m_heureDebut || owner == m_heureFin || owner == m_duree) && widget == owner) {
            m_keypad->hide();
            m_now->hide();
            Highlight(owner, false);
        }
        if (owner == m_chaine && widget == m_chaine) {
            QWidget* next = QApplication::focusWidget();
            if (!m_quickChannels.contains(qobject_cast<QPushButton*>(next))) {
                ShowQuickChannels(false);
                Highlight(m_chaine, false);
                m_editor->LeaveChannel();
                Refresh();
            }
        }
        break;
    case QEvent::Enter:
        if (m_mouseOverEntry && s.QuickEnterChannels && isActiveWindow() &&
            (owner == m_chaine || owner == m_nom || owner == m_typeRep || owner == m_dossier ||
             owner == m_fichier || owner == m_commande))
            owner->setFocus();
        else if (m_mouseOverEntry && isActiveWindow() &&
                 ((owner == m_dateDebut && s.QuickEnterDate) ||
                  (s.QuickEnterTime && (owner == m_heureDebut || owner == m_heureFin || owner == m_duree))))
            owner->setFocus();
        break;
    case QEvent::MouseMove:
        if (watched == m_pages->widget(0) && (m_keypad->isVisible() || m_quickDates[0]->isVisible())) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (!m_keypad->geometry().contains(pos))
                HideQuickEntry();
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (owner == m_heureDebut || owner == m_heureFin) {
            owner == m_heureDebut ? m_editor->SetStartTime(DateTime()) : m_editor->SetEndTime(DateTime());
            Refresh();
            return true;
        }
        if (owner == m_duree) {
            m_editor->SetDuration(0);
            Refresh();
            return true;
        }
        if (owner == m_dateDebut) {
            m_editor->StartToday();
            Refresh();
            return true;
        }
        if (owner == m_repEnd) {
            m_editor->SetRepetitionEnd(m_services.platform.clock->Now());
            Refresh();
            return true;
        }
        if (owner == m_dossier) {
            BrowseFolder();
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool right = mouse->button() == Qt::RightButton;
        if (watched == m_preview) {
            m_editor->PreviewPress(right);
            Refresh();
            return true;
        }
        if (watched == m_endSummary) {
            m_editor->SummaryPress(right);
            Refresh();
            return true;
        }
        if (right && widget && widget->property(kKeypadKey).isValid()) {
            m_editor->KeypadPress(m_keypadField, TimeKeypad::Button(widget->property(kKeypadKey).toInt()),
                                  widget->property(kKeypadValue).toInt(), true);
            Refresh();
            return true;
        }
        const int tab = m_pages->indexOf(widget);
        if (tab >= 0) {
            if (tab == 0 && right)
                m_pages->setCurrentIndex(1);
            else if (tab == 1)
                m_pages->setCurrentIndex(right ? 2 : 0);
            else if (tab == 2 && !right)
                m_pages->setCurrentIndex(1);
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFSaisie::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_editor->Memory().x < 0 || m_editor->Memory().y < 0) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QTimer::singleShot(0, this, &TFSaisie::RunShowQuestions);
}

void TFSaisie::RunShowQuestions()
{
    const RecordingEditor::ShowRequests requests = m_editor->AskAtShow();
    Refresh();
    if (requests.openChannelImport)
        OpenChannels(ChannelImportPage);
    if (requests.openPreferences) {
        // The general defaults: no channel selected.
        QStringList channels{QString()};
        if (m_services.openChannels &&
            m_services.openChannels(channels, requests.repeatingPreferences ? RepeatingPreferences
                                                                            : ChannelPreferences)) {
            m_editor->ReloadChannels();
            RefreshLists();
        }
    }
    m_nom->setFocus();
}

void TFSaisie::OpenChannels(int page)
{
    if (!m_services.openChannels)
        return;
    QStringList channels{m_editor->Draft().channel.trimmed()};
    if (m_services.openChannels(channels, page)) {
        m_editor->ReloadChannels();
        RefreshLists();
        Refresh();
    }
}

void TFSaisie::LeaveTab()
{
    const QString folder = m_editor->Draft().folder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        m_editor->SetFolder(folder + QLatin1Char('/'));
}

void TFSaisie::BrowseFolder()
{
    m_mouseOverEntry = false;
    const QString chosen =
        m_services.chooseFolder
            ? m_services.chooseFolder()
            : QFileDialog::getExistingDirectory(
                  this, QStringLiteral("Dossier où enregistrer les émissions :"), m_editor->Draft().folder);
    m_mouseOverEntry = true;
    m_editor->BrowsedFolder(chosen);
    m_editor->CheckFolder();
    Refresh();
}

void TFSaisie::ChooseProgram()
{
    const QString chosen =
        m_services.chooseProgram
            ? m_services.chooseProgram()
            : QFileDialog::getOpenFileName(
                  this, QString(), QString(),
                  QStringLiteral("Programmes (*.Exe *.Com *.Bat *.Cmd *.exe *.com *.bat *.cmd "
                                 "*.sh);;Tous les fichiers (*)"));
    m_editor->ChosenProgram(chosen);
    Refresh();
}

void TFSaisie::OnFavouritesMenu(EditorFavourites::Box box, QWidget* anchor)
{
    QComboBox* combo = box == EditorFavourites::Box::Nom       ? m_nom
                       : box == EditorFavourites::Box::Chaine  ? m_chaine
                       : box == EditorFavourites::Box::Dossier ? m_dossier
                       : box == EditorFavourites::Box::Fichier ? m_fichier
                                                               : m_commande;
    const QString text = combo->currentText();
    const EditorFavourites::MenuItems items = m_editor->Favourites().MenuFor(box, text);
    QAction* add = m_favouritesMenu->findChild<QAction*>(QStringLiteral("Maj"));
    QAction* remove = m_favouritesMenu->findChild<QAction*>(QStringLiteral("MRet"));
    QAction* removeAll = m_favouritesMenu->findChild<QAction*>(QStringLiteral("MRetT"));
    add->setVisible(items.add);
    remove->setVisible(items.remove);
    removeAll->setVisible(items.removeAll);
    QAction* chosen = m_favouritesMenu->exec(anchor->mapToGlobal(QPoint(0, anchor->height())));
    if (chosen == add)
        m_editor->AddFavourite(box, text);
    else if (chosen == remove)
        m_editor->Favourites().Remove(box, text);
    else if (chosen == removeAll)
        m_editor->Favourites().RemoveAll(box);
    RefreshLists();
    Refresh();
}

void TFSaisie::OnValidate(bool thenNew)
{
    const RecordingEditor::Result result = m_editor->Validate(thenNew);
    Refresh();
    switch (result.status) {
    case RecordingEditor::Status::Refused:
        if (result.failure) {
            m_pages->setCurrentIndex(int(result.failure->tab));
            if (auto* w = findChild<QWidget*>(result.failure->control))
                w->setFocus();
        }
        break;
    case RecordingEditor::Status::MergeProposed:
    case RecordingEditor::Status::ListFull:
        break;
    case RecordingEditor::Status::Committed:
        accept();
        break;
    case RecordingEditor::Status::CommittedNew:
        RefreshLists();
        Refresh();
        m_pages->setCurrentIndex(0);
        m_nom->setFocus();
        break;
    }
}

void TFSaisie::done(int result)
{
    if (result != QDialog::Accepted)
        m_editor->Cancel();
    m_editor->Close(pos().x(), pos().y());
    QDialog::done(result);
}

} // namespace quorx
