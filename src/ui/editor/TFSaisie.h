#pragma once

#include "editor/RecordingEditor.h"

#include <QDialog>
#include <QHash>
#include <QPalette>
#include <QStringList>

#include <functional>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTimeEdit;
class QToolButton;

namespace quorx {

// The recording editor: creates or changes one recording of the schedule. Every rule lives in
// RecordingEditor; this window shows its values and forwards what the user does.
class TFSaisie final : public QDialog
{
    Q_OBJECT

public:
    // Pages of the channel window the editor asks for.
    enum ChannelPage
    {
        ChannelImportPage = 0,    // import the viewer's channels
        ChannelPreferences = 1,   // one-off preferences, channels.value(0) selected ("" = defaults)
        RepeatingPreferences = 2, // the same for repeating recordings
    };

    struct Services
    {
        ScheduleTable* table = nullptr;
        Settings* settings = nullptr;
        Questions* questions = nullptr;
        Platform platform;
        QString programFolder;
        QString viewerRecordingFolder;
        RecordingStopper* stopper = nullptr;
        // Opens the channel window on a page; true when it may have changed the channel list
        // (section [Chaines] of Config.Ini), which the editor then reads again. Empty: the
        // channel buttons are disabled.
        std::function<bool(QStringList& channels, int page)> openChannels;
        // For tests: the file choosers' answers instead of the dialogs.
        std::function<QString()> chooseFolder;
        std::function<QString()> chooseProgram;
    };

    enum class Outcome
    {
        Cancelled,      // nothing committed; an entry appended for the editor has been withdrawn
        Committed,      // the entry holds the new values
        CommittedAndNew // one or more entries were committed with "then another"; the last, blank one
                        // withdrawn
    };

    // Opens the editor modally on the entry at recordIndex (1-based). For a new entry the caller
    // has appended it to the table and prepared it; the editor withdraws it again unless it is
    // committed. The caller recomputes and saves the schedule afterwards when the outcome is not
    // Cancelled.
    static Outcome Edit(QWidget* parent, const Services& services, int recordIndex, bool isNew);
    // Adds a recording: appends a new entry prepared with the last channel used and its defaults,
    // then edits it as above. A full list is refused with its message (and Cancelled).
    static Outcome AddNew(QWidget* parent, const Services& services);

    TFSaisie(const Services& services, QWidget* parent = nullptr);
    ~TFSaisie() override;

    bool Open(int recordIndex, bool isNew);
    Outcome Result() const;
    RecordingEditor& Editor() { return *m_editor; }
    // The questions put when the window is shown, then what they asked to open.
    void RunShowQuestions();

public Q_SLOTS:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    QWidget* BuildHeader();
    QWidget* BuildChannelTab();
    QWidget* BuildFileTab();
    QWidget* BuildEndTab();
    QWidget* BuildFooter();
    QFrame* BuildKeypad(QWidget* parent);
    QToolButton* FavouritesButton(const QString& objectName, EditorFavourites::Box box);
    void Connect();
    void Refresh();
    void RefreshLists();
    void ShowQuickChannels(bool show);
    void ShowQuickDates(bool show);
    void ShowKeypad(RecordingEditor::TimeField field, QWidget* picker);
    void HideQuickEntry();
    void Highlight(QWidget* w, bool on);
    void OnValidate(bool thenNew);
    void OnFavouritesMenu(EditorFavourites::Box box, QWidget* anchor);
    void OpenChannels(int page);
    void BrowseFolder();
    void ChooseProgram();
    void LeaveTab();

    Services m_services;
    std::unique_ptr<RecordingEditor> m_editor;
    bool m_shownOnce = false;
    bool m_mouseOverEntry = true;
    RecordingEditor::TimeField m_keypadField = RecordingEditor::TimeField::Start;
    QHash<QWidget*, QPalette> m_palettes;

    QComboBox* m_nom = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_endSummary = nullptr;
    QTabWidget* m_pages = nullptr;
    QPushButton* m_validate = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_cancel = nullptr;

    QComboBox* m_chaine = nullptr;
    QList<QPushButton*> m_quickChannels;
    QPushButton* m_prefsButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QDateEdit* m_dateDebut = nullptr;
    QTimeEdit* m_heureDebut = nullptr;
    QDateEdit* m_dateFin = nullptr;
    QTimeEdit* m_heureFin = nullptr;
    QTimeEdit* m_duree = nullptr;
    QList<QPushButton*> m_quickDates; // Aujourd'hui, Demain, J-1, J+1
    QPushButton* m_now = nullptr;
    QFrame* m_keypad = nullptr;
    QComboBox* m_typeRep = nullptr;
    QList<QCheckBox*> m_days;
    QCheckBox* m_repEndCheck = nullptr;
    QDateEdit* m_repEnd = nullptr;
    QList<QPushButton*> m_repEndButtons;
    QStackedWidget* m_repEndCover = nullptr;

    QComboBox* m_dossier = nullptr;
    QLabel* m_espace = nullptr;
    QCheckBox* m_nomAuto = nullptr;
    QComboBox* m_fichier = nullptr;
    QCheckBox* m_addDate = nullptr;
    QCheckBox* m_addHeure = nullptr;
    QCheckBox* m_addChaine = nullptr;
    QRadioButton* m_mpg = nullptr;
    QRadioButton* m_pva = nullptr;
    QRadioButton* m_mpa = nullptr;
    QCheckBox* m_applyToAll = nullptr;

    QCheckBox* m_fermer = nullptr;
    QCheckBox* m_commandCheck = nullptr;
    QComboBox* m_commande = nullptr;
    QCheckBox* m_veille = nullptr;
    QCheckBox* m_veillePro = nullptr;
    QCheckBox* m_eteindre = nullptr;

    QMenu* m_favouritesMenu = nullptr;
};

} // namespace quorx
