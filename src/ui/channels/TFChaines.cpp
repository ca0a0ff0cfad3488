#include "ui/channels/TFChaines.h"

#include "channels/IniForUpdate.h"
#include "channels/RecordingFolder.h"
#include "channels/SchedulerChannelList.h"
#include "common/IniFile.h"
#include "common/QtColours.h"
#include "common/ScreenGeometry.h"
#include "i18n/LocalisedStrings.h"
#include "power/Questions.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "startup/ProgramTitles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorx {

namespace {

const QString kDragFormat = QStringLiteral("application/x-quorx-channel-entries");

// The colours the secondary windows share: a navy title on the panel colour.
const QColor kTitleColour(0, 0, 128);

QString ConfigPath(const QString& programFolder)
{
    return SettingsStore::FilePath(programFolder);
}

QString ViewerFolderOf(const TFChaines::Services& s)
{
    if (!s.viewerFolder.isEmpty())
        return s.viewerFolder;
    return s.settings ? s.settings->CheminZomvara : QString();
}

void Paint(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* Picture(QWidget* parent, const char* name, QStyle::StandardPixmap which, int size)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(parent->style()->standardIcon(which).pixmap(size, size));
    label->setFixedSize(size, size);
    return label;
}

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QStringList SelectedTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            texts.append(list->item(i)->text());
    }
    return texts;
}

void Fill(QListWidget* list, const QStringList& texts)
{
    list->clear();
    list->addItems(texts);
}

} // namespace

bool TFChaines::Edit(QWidget* parent, const Services& services, QStringList& channels, const Opening& opening)
{
    TFChaines window(services, channels, opening, parent);
    if (window.exec() != QDialog::Accepted)
        return false;
    channels = window.Channels();
    return true;
}

bool TFChaines::Edit(QWidget* parent, const Services& services, QStringList& channels)
{
    return Edit(parent, services, channels, Opening());
}

bool TFChaines::EditStoredList(QWidget* parent, const Services& services, const Opening& opening)
{
    QStringList channels = SchedulerChannelList::LoadFile(ConfigPath(services.programFolder)).Names();
    return Edit(parent, services, channels, opening);
}

TFChaines::TFChaines(const Services& services, const QStringList& channels, const Opening& opening,
                     QWidget* parent)
    : QDialog(parent), m_s(services), m_opening(opening),
      m_store(ChannelPreferenceStore::ForProgramFolder(services.programFolder)),
      m_folders(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"), QStringLiteral("Dossier")),
      m_commands(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"), QStringLiteral("Commande"))
{
    setObjectName(QStringLiteral("FChaines"));
    setWindowTitle(ProgramTitles::ApplicationTitle());
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);
    setAcceptDrops(true);

    ChannelNameList names;
    for (const QString& name : channels)
        names.Insert(name);
    m_import.SetChosen(names);

    const IniFile config(ConfigPath(m_s.programFolder));
    m_importSettings = ChannelImportPage::Settings::Load(config);
    m_folders.Load(config);
    m_commands.Load(config);

    Questions* questions = m_s.questions;
    m_prefs = std::make_unique<ChannelPreferencesPage>(m_store, [questions](const ChannelQuestion& q) {
        return questions ? questions->Ask(QuestionId::ResetChannelPreferences) : q.defaultAnswer;
    });
    m_prefs->SetFavourites(&m_folders, &m_commands, m_s.settings && m_s.settings->AutoFavorites);
    m_prefs->SetProfile(opening.profile);

    CreateControls();
    ApplyHints();
    ShowChosen();

    m_comboBox4->setCurrentIndex(opening.profile == PreferenceProfile::Repeating ? 1 : 0);
    const int page = opening.page == PreferencesPage ? PreferencesPage : ImportPage;
    if (m_pages->currentIndex() == page)
        PageChanged(page);
    else
        m_pages->setCurrentIndex(page);
    if (page == PreferencesPage && !opening.channel.trimmed().isEmpty()) {
        const QStringList& entries = m_prefs->Entries();
        for (int i = 0; i < m_prefs->DefaultEntryIndex(); ++i) {
            if (entries[i].compare(opening.channel.trimmed(), Qt::CaseInsensitive) == 0) {
                m_prefs->ChooseEntry(i);
                ShowPreferences();
                break;
            }
        }
    }
}

TFChaines::~TFChaines() = default;

void TFChaines::CreateControls()
{
    const QColor panel =
        ToQColor(static_cast<quint32>(m_s.settings ? m_s.settings->Couleur : Settings().Couleur));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = Named(new QFrame(this), "Panel1");
    top->setFixedHeight(40);
    Paint(top, panel);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(8, 4, 8, 4);
    topLayout->addWidget(Picture(top, "Image3", QStyle::SP_DirLinkIcon, 32));
    auto* title = Named(new QLabel(QStringLiteral("Chaînes de Vizezezoruvav Zomvara"), top), "Label1");
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, kTitleColour);
    title->setPalette(titlePalette);
    topLayout->addWidget(title, 1);
    layout->addWidget(top);

    m_pages = Named(new QTabWidget(this), "PageControl1");
    m_pages->addTab(CreateImportPage(), QStringLiteral("&Importation"));
    m_pages->addTab(CreatePreferencesPage(), QStringLiteral("&Préférences"));
    auto* middle = new QWidget(this);
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(6, 6, 6, 6);
    middleLayout->addWidget(m_pages);
    layout->addWidget(middle, 1);
    connect(m_pages, &QTabWidget::currentChanged, this, &TFChaines::PageChanged);

    auto* bottom = Named(new QFrame(this), "Panel2");
    bottom->setFixedHeight(40);
    Paint(bottom, panel);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(8, 4, 8, 4);
    bottomLayout->addWidget(Picture(bottom, "Image4", QStyle::SP_ComputerIcon, 32));
    auto* product = new QLabel(
        ProgramTitles::ApplicationTitle() + QLatin1Char('\n') + Ls(131) + ProgramTitles::Version(), bottom);
    product->setObjectName(QStringLiteral("Label2"));
    bottomLayout->addWidget(product, 1);
    m_ok = Named(new QPushButton(QStringLiteral("&OK"), bottom), "BitBtn1");
    m_ok->setDefault(true);
    m_cancel = Named(new QPushButton(QStringLiteral("&Annuler"), bottom), "BitBtn8");
    bottomLayout->addWidget(m_ok);
    bottomLayout->addWidget(m_cancel);
    layout->addWidget(bottom);
    connect(m_ok, &QPushButton::clicked, this, &TFChaines::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_busy = Named(new QLabel(QStringLiteral("Recherche des chaînes en cours. Veuillez patienter."), this),
                   "Panel3");
    m_busy->setAlignment(Qt::AlignCenter);
    m_busy->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_busy->setLineWidth(2);
    Paint(m_busy, panel);
    m_busy->hide();

    m_popupMenu1 = Named(new QMenu(this), "PopupMenu1");
    connect(Named(m_popupMenu1->addAction(QStringLiteral("&Ajouter aux favoris")), "Maj"),
            &QAction::triggered, this, &TFChaines::AddToFavourites);
    connect(Named(m_popupMenu1->addAction(QStringLiteral("&Retirer des favoris")), "MRet"),
            &QAction::triggered, this, &TFChaines::RemoveFromFavourites);
    connect(Named(m_popupMenu1->addAction(QStringLiteral("Retirer tous les &favoris")), "MRetT"),
            &QAction::triggered, this, &TFChaines::RemoveAllFavourites);

    resize(sizeHint().expandedTo(QSize(640, 520)));
}

QWidget* TFChaines::CreateImportPage()
{
    auto* page = Named(new QWidget, "TabSheet1");
    auto* layout = new QVBoxLayout(page);

    auto* fileRow = new QHBoxLayout;
    m_comboBox1 = Named(new QComboBox(page), "ComboBox1");
    m_comboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_bitBtn2 = Named(new QPushButton(page), "BitBtn2");
    m_bitBtn2->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    fileRow->addWidget(new QLabel(QStringLiteral("Liste de chaînes :"), page));
    fileRow->addWidget(m_comboBox1, 1);
    fileRow->addWidget(m_bitBtn2);
    layout->addLayout(fileRow);

    m_checkBox1 =
        Named(new QCheckBox(QStringLiteral("&N'afficher que les listes de canaux de type favoris"), page),
              "CheckBox1");
    m_cDossier = Named(new QCheckBox(QStringLiteral("&Afficher les noms de dossier"), page), "CDossier");
    m_checkBox1->setChecked(m_importSettings.favoritesOnly);
    m_cDossier->setChecked(m_importSettings.showFolders);
    layout->addWidget(m_checkBox1);
    layout->addWidget(m_cDossier);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(
        new QLabel(QStringLiteral("Chaînes de la liste de chaînes de Zomvara sélectionnée"), page));
    m_listBox1 = Named(new QListWidget(page), "ListBox1");
    left->addWidget(m_listBox1, 1);
    lists->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    m_bitBtn3 = Named(new QPushButton(QStringLiteral("&Tout ajouter >>"), page), "BitBtn3");
    m_bitBtn7 = Named(new QPushButton(QStringLiteral("<< Tout &retirer"), page), "BitBtn7");
    buttons->addWidget(m_bitBtn3);
    buttons->addWidget(m_bitBtn7);
    buttons->addStretch(1);
    lists->addLayout(buttons);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Chaînes de Vizezezoruvav Zomvara"), page));
    m_listBox2 = Named(new QListWidget(page), "ListBox2");
    right->addWidget(m_listBox2, 1);
    auto* typed = new QHBoxLayout;
    m_edit1 = Named(new QLineEdit(page), "Edit1");
    m_bitBtn5 = Named(new QPushButton(QStringLiteral("A&jouter"), page), "BitBtn5");
    typed->addWidget(m_edit1, 1);
    typed->addWidget(m_bitBtn5);
    right->addLayout(typed);
    lists->addLayout(right, 1);
    layout->addLayout(lists, 1);

    for (QListWidget* list : {m_listBox1, m_listBox2}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setDragDropMode(QAbstractItemView::NoDragDrop);
        list->viewport()->installEventFilter(this);
    }
    // Drops on the right list arrive at its viewport; the left list takes none, so a drop of the
    // right list's entries there, or anywhere else in the window, reaches the window and removes them.
    m_listBox2->setAcceptDrops(true);
    m_listBox2->viewport()->setAcceptDrops(true);

    connect(m_comboBox1, qOverload<int>(&QComboBox::activated), this, &TFChaines::ComboBox1Activated);
    connect(m_bitBtn2, &QPushButton::clicked, this, &TFChaines::BitBtn2Click);
    connect(m_checkBox1, &QCheckBox::toggled, this, &TFChaines::CheckBox1Toggled);
    connect(m_cDossier, &QCheckBox::toggled, this, &TFChaines::CDossierToggled);
    connect(m_listBox1, &QListWidget::itemDoubleClicked, this, &TFChaines::ListBox1DoubleClicked);
    connect(m_listBox2, &QListWidget::itemDoubleClicked, this, &TFChaines::ListBox2DoubleClicked);
    connect(m_bitBtn3, &QPushButton::clicked, this, &TFChaines::BitBtn3Click);
    connect(m_bitBtn5, &QPushButton::clicked, this, &TFChaines::BitBtn5Click);
    connect(m_edit1, &QLineEdit::returnPressed, this, &TFChaines::BitBtn5Click);
    connect(m_bitBtn7, &QPushButton::clicked, this, &TFChaines::BitBtn7Click);
    return page;
}

QWidget* TFChaines::CreatePreferencesPage()
{
    auto* page = Named(new QWidget, "TabSheet2");
    auto* layout = new QVBoxLayout(page);

    auto* entryRow = new QHBoxLayout;
    m_comboBox2 = Named(new QComboBox(page), "ComboBox2");
    m_bitBtn51 = Named(new QPushButton(ChannelPreferencesPage::DefaultEntryText(), page), "BitBtn51");
    m_comboBox4 = Named(new QComboBox(page), "ComboBox4");
    m_comboBox4->addItems({QStringLiteral("Enreg. non répet."), QStringLiteral("Enreg rép.")});
    entryRow->addWidget(new QLabel(QStringLiteral("Chaîne :"), page));
    entryRow->addWidget(m_comboBox2, 1);
    entryRow->addWidget(m_bitBtn51);
    entryRow->addWidget(m_comboBox4);
    layout->addLayout(entryRow);

    auto* fileBox = new QGroupBox(QStringLiteral("Fichier"), page);
    auto* fileLayout = new QVBoxLayout(fileBox);
    auto* formatRow = new QHBoxLayout;
    m_rMpg = Named(new QRadioButton(QStringLiteral("&Mpg"), fileBox), "RMPg");
    m_rPva = Named(new QRadioButton(QStringLiteral("P&va"), fileBox), "RPva");
    m_rMpa = Named(new QRadioButton(QStringLiteral("Mp&a"), fileBox), "RMpa");
    formatRow->addWidget(new QLabel(QStringLiteral("Format de fichier :"), fileBox));
    formatRow->addWidget(m_rMpg);
    formatRow->addWidget(m_rPva);
    formatRow->addWidget(m_rMpa);
    formatRow->addStretch(1);
    fileLayout->addLayout(formatRow);
    auto* partsRow = new QHBoxLayout;
    m_cAddDate = Named(new QCheckBox(QStringLiteral("la &date"), fileBox), "CAddDate");
    m_cAddHeure = Named(new QCheckBox(QStringLiteral("l'&heure"), fileBox), "CAddHeure");
    m_cAddChaine = Named(new QCheckBox(QStringLiteral("la &chaîne"), fileBox), "CAddChaine");
    partsRow->addWidget(new QLabel(QStringLiteral("Ajouter"), fileBox));
    partsRow->addWidget(m_cAddDate);
    partsRow->addWidget(m_cAddHeure);
    partsRow->addWidget(m_cAddChaine);
    partsRow->addWidget(new QLabel(QStringLiteral("au nom de fichier"), fileBox));
    partsRow->addStretch(1);
    fileLayout->addLayout(partsRow);
    fileLayout->addWidget(new QLabel(Ls(128), fileBox));
    auto* folderRow = new QHBoxLayout;
    m_comboBox3 = Named(new QComboBox(fileBox), "ComboBox3");
    m_comboBox3->setEditable(true);
    m_comboBox3->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox3->lineEdit()->installEventFilter(this);
    m_image1 = Picture(fileBox, "Image1", QStyle::SP_DialogYesButton, 18);
    m_image1->installEventFilter(this);
    m_bitBtn13 = Named(new QPushButton(fileBox), "BitBtn13");
    m_bitBtn13->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    folderRow->addWidget(m_comboBox3, 1);
    folderRow->addWidget(m_image1);
    folderRow->addWidget(m_bitBtn13);
    fileLayout->addLayout(folderRow);
    layout->addWidget(fileBox);

    auto* endBox = new QGroupBox(QStringLiteral("Une fois l'enregistrement terminé"), page);
    auto* endLayout = new QVBoxLayout(endBox);
    m_cFermer = Named(new QCheckBox(QStringLiteral("&fermer Zomvara"), endBox), "CFermer");
    m_commandCheck = Named(new QCheckBox(QStringLiteral("e&xécuter la ligne de commande suivante *"), endBox),
                           "CommandCheck");
    endLayout->addWidget(m_cFermer);
    endLayout->addWidget(m_commandCheck);
    auto* commandRow = new QHBoxLayout;
    m_commande = Named(new QComboBox(endBox), "Commande");
    m_commande->setEditable(true);
    m_commande->setInsertPolicy(QComboBox::NoInsert);
    m_image2 = Picture(endBox, "Image2", QStyle::SP_DialogYesButton, 18);
    m_image2->installEventFilter(this);
    m_bitBtn4 = Named(new QPushButton(endBox), "BitBtn4");
    m_bitBtn4->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    commandRow->addWidget(m_commande, 1);
    commandRow->addWidget(m_image2);
    commandRow->addWidget(m_bitBtn4);
    endLayout->addLayout(commandRow);
    m_cCVeille =
        Named(new QCheckBox(QStringLiteral("mettre le micro-ordinateur en &veille **"), endBox), "CCVeille");
    m_cCVeillePro =
        Named(new QCheckBox(QStringLiteral("mettre le micro-ordinateur en veille p&rolongée **"), endBox),
              "CCVeillePro");
    m_cCEteindre =
        Named(new QCheckBox(QStringLiteral("éteindre le &micro-ordinateur  ***"), endBox), "CCEteindre");
    endLayout->addWidget(m_cCVeille);
    endLayout->addWidget(m_cCVeillePro);
    endLayout->addWidget(m_cCEteindre);
    auto* notes = new QLabel(
        QStringLiteral(
            "* Utilisez le mot-clé [file] pour ajouter le nom du fichier venant d'être enregistré.\n"
            "** Utilisable uniquement si votre configuration (matérielle et logicielle) "
            "l'autorise.\n"
            "*** Le micro-ordinateur ne pourra être automatiquement réveillé par Vizezezoruvav "
            "Zomvara\npour effectuer les enregistrements suivants."),
        endBox);
    endLayout->addWidget(notes);
    layout->addWidget(endBox);
    layout->addStretch(1);

    FillFavourites(m_comboBox3, m_folders);
    FillFavourites(m_commande, m_commands);

    connect(m_comboBox2, qOverload<int>(&QComboBox::activated), this, &TFChaines::ComboBox2Activated);
    connect(m_comboBox4, qOverload<int>(&QComboBox::activated), this, &TFChaines::ComboBox4Activated);
    connect(m_bitBtn51, &QPushButton::clicked, this, &TFChaines::BitBtn51Click);
    connect(m_bitBtn13, &QPushButton::clicked, this, &TFChaines::BitBtn13Click);
    connect(m_bitBtn4, &QPushButton::clicked, this, &TFChaines::BitBtn4Click);
    for (QRadioButton* r : {m_rMpg, m_rPva, m_rMpa})
        connect(r, &QRadioButton::toggled, this, &TFChaines::ReadPreferenceControls);
    for (QCheckBox* c : {m_cAddDate, m_cAddHeure, m_cAddChaine, m_cFermer, m_commandCheck})
        connect(c, &QCheckBox::toggled, this, &TFChaines::ReadPreferenceControls);
    connect(m_comboBox3, &QComboBox::currentTextChanged, this, &TFChaines::ReadPreferenceControls);
    connect(m_commande, &QComboBox::currentTextChanged, this, &TFChaines::ReadPreferenceControls);
    connect(m_cCVeille, &QCheckBox::toggled, this,
            [this](bool on) { PowerBoxToggled(AfterRecordingBox::Veille, on); });
    connect(m_cCVeillePro, &QCheckBox::toggled, this,
            [this](bool on) { PowerBoxToggled(AfterRecordingBox::VeillePro, on); });
    connect(m_cCEteindre, &QCheckBox::toggled, this,
            [this](bool on) { PowerBoxToggled(AfterRecordingBox::Eteindre, on); });
    return page;
}

void TFChaines::ApplyHints()
{
    const bool hints = !m_s.settings || m_s.settings->AideContextuelle;
    const auto hint = [hints](QWidget* w, const QString& text) { w->setToolTip(hints ? text : QString()); };
    hint(m_bitBtn2, QStringLiteral("Rechercher des fichiers .Tree de Zomvara."));
    hint(m_listBox1, QStringLiteral("Chaînes de la liste de chaînes de Zomvara sélectionnée"));
    hint(m_listBox2, QStringLiteral("Chaînes de Vizezezoruvav Zomvara"));
    hint(m_bitBtn7, QStringLiteral("Retirer toutes les chaînes de Vizezezoruvav Zomvara."));
    hint(m_bitBtn13, QStringLiteral("Parcourir les disques à la recherche d'un dossier."));
    hint(m_bitBtn4, QStringLiteral("Parcourir les disques à la recherche d'un fichier."));
    hint(m_image1, QStringLiteral("Favoris."));
    hint(m_image2, QStringLiteral("Favoris."));
}

void TFChaines::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        PlaceWindow();
    }
}

void TFChaines::PlaceWindow()
{
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    if (m_importSettings.x && m_importSettings.y)
        frame.moveTopLeft(QPoint(*m_importSettings.x, *m_importSettings.y));
    else
        frame.moveCenter(available.center());
    const QRect placed = KeepOnScreen(frame, available, true, false);
    if (placed.size() != frame.size())
        resize(size() - (frame.size() - placed.size()));
    move(placed.topLeft());
}

void TFChaines::done(int result)
{
    // The window's settings and the favourites are kept however it closes: one load, one save.
    IniFile config;
    QString error;
    if (LoadIniForUpdate(ConfigPath(m_s.programFolder), &config, &error)) {
        ChannelImportPage::Settings settings =
            m_import.IsOpen() ? m_import.CurrentSettings() : m_importSettings;
        settings.x = pos().x();
        settings.y = pos().y();
        settings.Save(config);
        m_folders.Save(config);
        m_commands.Save(config);
        config.Save(&error);
    }
    QDialog::done(result);
}

// ---- import page

void TFChaines::PageChanged(int index)
{
    if (index == ImportPage)
        OpenImportPage();
    else if (index == PreferencesPage)
        EnterPreferencesPage();
}

void TFChaines::SetBusy(bool busy)
{
    if (busy) {
        m_busy->setGeometry(rect().center().x() - 190, rect().center().y() - 30, 380, 60);
        m_busy->raise();
        m_busy->show();
        m_busy->repaint();
    } else {
        m_busy->hide();
    }
}

void TFChaines::OpenImportPage()
{
    if (m_import.IsOpen())
        return;
    SetBusy(true);
    m_import.Open(m_importSettings, ViewerFolderOf(m_s));
    SetBusy(false);
    ShowImport();
}

void TFChaines::ShowImport()
{
    const QSignalBlocker block(m_comboBox1);
    m_comboBox1->clear();
    m_comboBox1->addItems(m_import.Choices().items);
    m_comboBox1->setCurrentIndex(m_import.Choices().selected);
    ShowAvailable();
}

void TFChaines::ShowAvailable()
{
    Fill(m_listBox1, m_import.Available().Names());
}

void TFChaines::ShowChosen()
{
    Fill(m_listBox2, m_import.Chosen().Names());
}

void TFChaines::ComboBox1Activated(int index)
{
    SetBusy(true);
    m_import.ChooseItem(index);
    SetBusy(false);
    ShowAvailable();
}

void TFChaines::BitBtn2Click()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), m_import.Folder(),
                                                      QStringLiteral("Favoris Zomvara (*.Tree)"));
    if (path.isEmpty())
        return;
    SetBusy(true);
    m_import.ChooseFile(path);
    SetBusy(false);
    ShowImport();
}

void TFChaines::CheckBox1Toggled(bool on)
{
    if (!m_import.IsOpen())
        return;
    SetBusy(true);
    m_import.SetFavoritesOnly(on);
    SetBusy(false);
    ShowImport();
}

void TFChaines::CDossierToggled(bool on)
{
    if (!m_import.IsOpen())
        return;
    SetBusy(true);
    m_import.SetShowFolders(on);
    SetBusy(false);
    ShowAvailable();
}

void TFChaines::ListBox1DoubleClicked()
{
    if (m_import.AddEntries(SelectedTexts(m_listBox1)) > 0)
        ShowChosen();
}

void TFChaines::ListBox2DoubleClicked()
{
    if (m_import.Remove(SelectedTexts(m_listBox2)) > 0)
        ShowChosen();
}

void TFChaines::BitBtn3Click()
{
    if (m_import.AddAll() > 0)
        ShowChosen();
}

void TFChaines::BitBtn5Click()
{
    if (m_import.AddTyped(m_edit1->text())) {
        m_edit1->clear();
        ShowChosen();
    }
}

void TFChaines::BitBtn7Click()
{
    m_import.RemoveAll();
    ShowChosen();
}

void TFChaines::BitBtn1Click()
{
    if (m_prefsEntered) {
        ReadPreferenceControls();
        if (!m_prefs->Commit()) {
            Inform(m_prefs->LastError());
            return;
        }
    }
    QString error;
    if (!SchedulerChannelList::SaveFile(m_import.Chosen(), ConfigPath(m_s.programFolder), &error)) {
        Inform(error);
        return;
    }
    accept();
}

// ---- dragging between the lists

void TFChaines::StartDrag(QListWidget* from)
{
    const QStringList entries = SelectedTexts(from);
    if (entries.isEmpty())
        return;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << from->objectName() << entries;
    auto* data = new QMimeData;
    data->setData(kDragFormat, payload);
    auto* drag = new QDrag(from);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool TFChaines::DraggedEntries(const QMimeData* data, QString* origin, QStringList* entries)
{
    if (!data || !data->hasFormat(kDragFormat))
        return false;
    QDataStream in(data->data(kDragFormat));
    in >> *origin >> *entries;
    return in.status() == QDataStream::Ok;
}

bool TFChaines::eventFilter(QObject* watched, QEvent* event)
{
    const bool onList1 = watched == m_listBox1->viewport();
    const bool onList2 = watched == m_listBox2->viewport();
    if (onList1 || onList2) {
        QListWidget* list = onList1 ? m_listBox1 : m_listBox2;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_dragSource = list;
                m_dragStart = mouse->position().toPoint();
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (m_dragSource == list && (mouse->buttons() & Qt::LeftButton) &&
                (mouse->position().toPoint() - m_dragStart).manhattanLength() >=
                    QApplication::startDragDistance()) {
                m_dragSource = nullptr;
                StartDrag(list);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            m_dragSource = nullptr;
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            if (!onList2)
                break;
            auto* drop = static_cast<QDropEvent*>(event);
            QString origin;
            QStringList entries;
            const bool fromList1 =
                DraggedEntries(drop->mimeData(), &origin, &entries) && origin == m_listBox1->objectName();
            if (!fromList1) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            if (event->type() == QEvent::Drop && m_import.AddEntries(entries) > 0)
                ShowChosen();
            return true;
        }
        default:
            break;
        }
        return false;
    }
    if (watched == m_comboBox3->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.isEmpty() || !typed.at(0).isPrint())
            return false;
        const QLineEdit* edit = m_comboBox3->lineEdit();
        QString text = edit->text();
        int position = edit->cursorPosition();
        if (edit->hasSelectedText()) {
            position = edit->selectionStart();
            text.remove(position, edit->selectedText().size());
        }
        for (const QChar c : typed) {
            if (!RecordingFolder::AcceptsKey(text, position, c))
                return true;
            text.insert(position++, c);
        }
        return false;
    }
    if ((watched == m_image1 || watched == m_image2) && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        ShowFavouritesMenu(watched == m_image1 ? m_comboBox3 : m_commande, mouse->globalPosition().toPoint());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TFChaines::OverChosenList(const QPointF& position) const
{
    // A drag the right list itself ignores travels up to the window: dropping entries back onto
    // their own list must not remove them.
    const QWidget* under = childAt(position.toPoint());
    return under && (under == m_listBox2 || m_listBox2->isAncestorOf(under));
}

void TFChaines::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TFChaines::dragMoveEvent(QDragMoveEvent* event)
{
    QString origin;
    QStringList entries;
    if (DraggedEntries(event->mimeData(), &origin, &entries) && origin == m_listBox2->objectName() &&
        !OverChosenList(event->position()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFChaines::dropEvent(QDropEvent* event)
{
    QString origin;
    QStringList entries;
    if (!DraggedEntries(event->mimeData(), &origin, &entries) || origin != m_listBox2->objectName() ||
        OverChosenList(event->position())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (m_import.Remove(entries) > 0)
        ShowChosen();
}

// ---- preferences page

void TFChaines::EnterPreferencesPage()
{
    if (m_prefsEntered)
        ReadPreferenceControls();
    m_prefsEntered = true;
    if (!m_prefs->Enter(m_import.Chosen().Names()))
        Inform(m_prefs->LastError());
    ShowPreferences();
}

void TFChaines::ShowPreferences()
{
    m_updating = true;
    {
        const QSignalBlocker block(m_comboBox2);
        m_comboBox2->clear();
        m_comboBox2->addItems(m_prefs->Entries());
        m_comboBox2->setCurrentIndex(m_prefs->CurrentIndex());
    }
    const ChannelPreferences& v = m_prefs->Shown();
    switch (FormatOfExtension(v.Format)) {
    case RecordingFormat::Mpg:
        m_rMpg->setChecked(true);
        break;
    case RecordingFormat::Pva:
        m_rPva->setChecked(true);
        break;
    case RecordingFormat::Mpa:
        m_rMpa->setChecked(true);
        break;
    }
    m_cAddDate->setChecked(v.Date);
    m_cAddHeure->setChecked(v.Time);
    m_cAddChaine->setChecked(v.Channel);
    m_comboBox3->setEditText(v.Folder);
    m_commande->setEditText(v.Command);
    m_commandCheck->setChecked(v.CommandCheck);
    m_cFermer->setChecked(v.Fermer);
    m_updating = false;
    ShowPowerBoxes();
}

void TFChaines::ShowPowerBoxes()
{
    const bool updating = m_updating;
    m_updating = true;
    const ChannelPreferences& v = m_prefs->Shown();
    m_cCVeille->setChecked(v.Veille);
    m_cCVeillePro->setChecked(v.VeillePro);
    m_cCEteindre->setChecked(v.Eteindre);
    m_updating = updating;
}

void TFChaines::ReadPreferenceControls()
{
    if (m_updating || !m_prefsEntered)
        return;
    ChannelPreferences& v = m_prefs->Shown();
    v.Format = ExtensionOf(m_rPva->isChecked()   ? RecordingFormat::Pva
                           : m_rMpa->isChecked() ? RecordingFormat::Mpa
                                                 : RecordingFormat::Mpg);
    v.Date = m_cAddDate->isChecked();
    v.Time = m_cAddHeure->isChecked();
    v.Channel = m_cAddChaine->isChecked();
    v.Folder = m_comboBox3->currentText();
    v.Command = m_commande->currentText();
    v.CommandCheck = m_commandCheck->isChecked();
    v.Fermer = m_cFermer->isChecked();
}

void TFChaines::PowerBoxToggled(AfterRecordingBox box, bool ticked)
{
    if (m_updating || !m_prefsEntered)
        return;
    m_prefs->Shown().SetPowerBox(box, ticked);
    ShowPowerBoxes();
}

void TFChaines::ComboBox2Activated(int index)
{
    ReadPreferenceControls();
    if (!m_prefs->ChooseEntry(index))
        Inform(m_prefs->LastError());
    ShowPreferences();
}

void TFChaines::ComboBox4Activated(int index)
{
    m_prefs->SetProfile(index == 1 ? PreferenceProfile::Repeating : PreferenceProfile::OneOff);
}

void TFChaines::BitBtn51Click()
{
    ReadPreferenceControls();
    if (!m_prefs->ChooseDefaultEntry())
        Inform(m_prefs->LastError());
    ShowPreferences();
}

void TFChaines::BitBtn13Click()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, Ls(128), m_comboBox3->currentText());
    if (chosen.isEmpty())
        return;
    m_comboBox3->setEditText(RecordingFolder::FromBrowse(chosen, m_s.programFolder));
}

void TFChaines::BitBtn4Click()
{
    const QString start = QFileInfo(m_commande->currentText().trimmed()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), start,
        QStringLiteral("Programmes (*.Exe *.Com *.Bat *.Cmd);;Tous les fichiers (*)"));
    if (!path.isEmpty())
        m_commande->setEditText(path);
}

// ---- favourites of the folder and the command line

FavouritesList* TFChaines::MenuList() const
{
    if (m_menuBox == m_comboBox3)
        return const_cast<FavouritesList*>(&m_folders);
    if (m_menuBox == m_commande)
        return const_cast<FavouritesList*>(&m_commands);
    return nullptr;
}

void TFChaines::ShowFavouritesMenu(QComboBox* box, const QPoint& globalPos)
{
    m_menuBox = box;
    m_popupMenu1->popup(globalPos);
}

void TFChaines::FillFavourites(QComboBox* box, const FavouritesList& list)
{
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(list.Entries());
    box->setEditText(text);
}

void TFChaines::AddToFavourites()
{
    if (!m_prefsEntered || !MenuList())
        return;
    ReadPreferenceControls();
    const bool folder = m_menuBox == m_comboBox3;
    const ChannelPreferencesPage::FavouriteResult result =
        folder ? m_prefs->AddShownFolderToFavourites() : m_prefs->AddShownCommandToFavourites();
    if (result == ChannelPreferencesPage::FavouriteResult::Full)
        Inform(ChannelPreferencesPage::FullListMessage());
    if (folder) {
        // The folder may have gained its trailing separator.
        const QSignalBlocker block(m_comboBox3);
        m_comboBox3->setEditText(m_prefs->Shown().Folder);
    }
    FillFavourites(m_menuBox, *MenuList());
}

void TFChaines::RemoveFromFavourites()
{
    if (FavouritesList* list = MenuList()) {
        list->Remove(m_menuBox->currentText());
        FillFavourites(m_menuBox, *list);
    }
}

void TFChaines::RemoveAllFavourites()
{
    if (FavouritesList* list = MenuList()) {
        list->Clear();
        FillFavourites(m_menuBox, *list);
    }
}

void TFChaines::Inform(const QString& text)
{
    if (m_s.questions && !text.isEmpty())
        m_s.questions->Inform(text, false, 0, 30);
}

} // namespace quorx
