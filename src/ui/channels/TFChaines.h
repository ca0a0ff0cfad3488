#pragma once

#include "channels/ChannelImportPage.h"
#include "channels/ChannelPreferenceStore.h"
#include "channels/ChannelPreferencesPage.h"
#include "common/FavouritesList.h"

#include <QDialog>
#include <QPoint>
#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMimeData;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace quorx {

class Questions;
struct Settings;

// The channel window: the import page builds the scheduler's channel list from the viewer's list
// files and typed names, the preferences page edits the recording preferences of each channel and
// of the two default entries. Every rule is the core pages'; the window shows and forwards.
class TFChaines final : public QDialog
{
    Q_OBJECT

public:
    enum Page
    {
        ImportPage = 0,
        PreferencesPage = 1
    };

    struct Services
    {
        // Holds Config.Ini and ChannelPref.Ini; its drive is the folder of last resort.
        QString programFolder;
        // Couleur, AideContextuelle, AutoFavorites; CheminZomvara when viewerFolder is empty.
        const Settings* settings = nullptr;
        // Question 240 and the notices; without it every question takes its default answer.
        Questions* questions = nullptr;
        // The viewer's program folder, whose channels folder holds its list files.
        QString viewerFolder;
    };

    // What the window opens on: a page, and on the preferences page the entry of a channel (empty:
    // the default entry) in a profile.
    struct Opening
    {
        int page = ImportPage;
        QString channel;
        PreferenceProfile profile = PreferenceProfile::OneOff;
    };

    // Shows the window modally over channels, the caller's channel list. On "&OK" the list is
    // written to [Chaines] of Config.Ini, channels receives it (sorted) and the result is true;
    // otherwise channels is left as it was.
    static bool Edit(QWidget* parent, const Services& services, QStringList& channels,
                     const Opening& opening);
    // On the import page.
    static bool Edit(QWidget* parent, const Services& services, QStringList& channels);
    // The same over the list stored in [Chaines], for callers that hold none of their own.
    static bool EditStoredList(QWidget* parent, const Services& services, const Opening& opening);

    TFChaines(const Services& services, const QStringList& channels, const Opening& opening,
              QWidget* parent = nullptr);
    ~TFChaines() override;

    // The list handed back after "&OK".
    QStringList Channels() const { return m_import.Chosen().Names(); }

    const ChannelImportPage& ImportLogic() const { return m_import; }
    const ChannelPreferencesPage& PreferencesLogic() const { return *m_prefs; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    QWidget* CreateImportPage();
    QWidget* CreatePreferencesPage();
    void ApplyHints();
    void PlaceWindow();

    void PageChanged(int index);
    void OpenImportPage();
    void ShowImport();
    void ShowAvailable();
    void ShowChosen();
    void SetBusy(bool busy);

    void ComboBox1Activated(int index);
    void BitBtn2Click();
    void CheckBox1Toggled(bool on);
    void CDossierToggled(bool on);
    void ListBox1DoubleClicked();
    void ListBox2DoubleClicked();
    void BitBtn3Click();
    void BitBtn5Click();
    void BitBtn7Click();
    void BitBtn1Click();

    void EnterPreferencesPage();
    void ShowPreferences();
    void ReadPreferenceControls();
    void ShowPowerBoxes();
    void PowerBoxToggled(AfterRecordingBox box, bool ticked);
    void ComboBox2Activated(int index);
    void ComboBox4Activated(int index);
    void BitBtn51Click();
    void BitBtn13Click();
    void BitBtn4Click();
    void ShowFavouritesMenu(QComboBox* box, const QPoint& globalPos);
    void AddToFavourites();
    void RemoveFromFavourites();
    void RemoveAllFavourites();
    void FillFavourites(QComboBox* box, const FavouritesList& list);

    // Starts a drag of the selected entries of a list box.
    void StartDrag(QListWidget* from);
    // The entries a drag from one of our list boxes carries, and which box it came from.
    static bool DraggedEntries(const QMimeData* data, QString* origin, QStringList* entries);
    bool OverChosenList(const QPointF& position) const;
    void Inform(const QString& text);
    FavouritesList* MenuList() const;

    Services m_s;
    Opening m_opening;
    ChannelImportPage m_import;
    ChannelImportPage::Settings m_importSettings;
    ChannelPreferenceStore m_store;
    std::unique_ptr<ChannelPreferencesPage> m_prefs;
    FavouritesList m_folders;
    FavouritesList m_commands;
    bool m_prefsEntered = false;
    bool m_placed = false;
    bool m_updating = false;

    QTabWidget* m_pages = nullptr;
    QLabel* m_busy = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    QComboBox* m_comboBox1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
    QCheckBox* m_checkBox1 = nullptr;
    QCheckBox* m_cDossier = nullptr;
    QListWidget* m_listBox1 = nullptr;
    QListWidget* m_listBox2 = nullptr;
    QPushButton* m_bitBtn3 = nullptr;
    QPushButton* m_bitBtn7 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QPushButton* m_bitBtn5 = nullptr;

    QComboBox* m_comboBox2 = nullptr;
    QComboBox* m_comboBox4 = nullptr;
    QPushButton* m_bitBtn51 = nullptr;
    QRadioButton* m_rMpg = nullptr;
    QRadioButton* m_rPva = nullptr;
    QRadioButton* m_rMpa = nullptr;
    QCheckBox* m_cAddDate = nullptr;
    QCheckBox* m_cAddHeure = nullptr;
    QCheckBox* m_cAddChaine = nullptr;
    QComboBox* m_comboBox3 = nullptr;
    QPushButton* m_bitBtn13 = nullptr;
    QLabel* m_image1 = nullptr;
    QCheckBox* m_cFermer = nullptr;
    QCheckBox* m_commandCheck = nullptr;
    QComboBox* m_commande = nullptr;
    QPushButton* m_bitBtn4 = nullptr;
    QLabel* m_image2 = nullptr;
    QCheckBox* m_cCVeille = nullptr;
    QCheckBox* m_cCVeillePro = nullptr;
    QCheckBox* m_cCEteindre = nullptr;

    QMenu* m_popupMenu1 = nullptr;
    QComboBox* m_menuBox = nullptr; // the box whose favourites the menu edits

    QListWidget* m_dragSource = nullptr;
    QPoint m_dragStart;
};

} // namespace quorx
