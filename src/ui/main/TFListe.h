#pragma once

#include "engine/ListRules.h"
#include "engine/ScheduleObserver.h"
#include "platform/Platform.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QTableView;
class QTimeEdit;
class QToolButton;

namespace quorx {

class Alarm;
class FreeSpaceWatch;
class ManualStop;
class OneSecondClock;
class PowerManager;
class QuickTimeKeypad;
class Questions;
class RecordingEngine;
class RecordingStopper;
class ViewerControl;
class ScheduleEngine;
class ScheduleListModel;
class ScheduleTable;
struct Settings;

// The main window: the list of recordings with its display and context menus. Every decision is
// taken by ListRules and the schedule engine; the window shows and forwards.
class TFListe final : public QMainWindow, public ScheduleObserver
{
    Q_OBJECT

public:
    struct Services
    {
        ScheduleTable* table = nullptr;
        Settings* settings = nullptr;
        ScheduleEngine* schedule = nullptr;
        Questions* questions = nullptr;
        RecordingStopper* stopper = nullptr;
        Platform platform;
        // Starts the next recording now or stops the one under way; empty: the item stays disabled.
        std::function<void()> startStopNow;

        // The rest of the core; each control whose object is missing stays hidden or disabled.
        RecordingEngine* engine = nullptr;
        PowerManager* power = nullptr;
        ManualStop* manualStop = nullptr;
        OneSecondClock* clock3 = nullptr;
        FreeSpaceWatch* freeSpace = nullptr;
        ViewerControl* viewer = nullptr;
        Alarm* alarm = nullptr;
        // The program folder (the new entry's channel preferences, the journal file).
        QString programFolder;
        // This program's executable, whose running copies share the screen.
        QString programPath;
        // Opens the editor modally on a record; true when the user committed it. Empty: adding and
        // modifying stay disabled.
        std::function<bool(int recordIndex, bool isNew)> editRecording;
        // Called once quitting was agreed and the window closed.
        std::function<void()> quit;
    };

    explicit TFListe(const Services& services, QWidget* parent = nullptr);
    ~TFListe() override;

    // Refreshes the rows from the schedule, keeping the selection through Selected and GridRow.
    void Rebuild();
    void RefreshList() override { Rebuild(); }

    // The table index of the current row's record, or -1.
    int CurrentRecord() const;
    // The selected records' indexes in row order, the current one last.
    std::vector<int> SelectedRecords() const;
    void ClearSelection();
    void SelectRecords(const std::vector<int>& indexes);

    void SetMode(int mode);
    void SetOrder(int order);
    // Updates the context menu's items for the present selection, as opening it does.
    void UpdateListMenu();

    // Until allowed, the close box only minimises (to the tray when there is one).
    void SetCloseAllowed(bool allowed) { m_closeAllowed = allowed; }
    void SetMinimiseToTray(bool toTray) { m_toTray = toTray; }

    QTableView* List() const { return m_list; }
    ScheduleListModel* Model() const { return m_model; }
    QMenu* ListMenu() const { return m_listMenu; }
    QMenu* DisplayMenu() const { return m_displayMenu; }
    QLabel* TotalLabel() const { return m_total; }
    QuickTimeKeypad* Keypad() const { return m_keypad; }
    const Services& Parts() const { return m_s; }

    // Add (the selection cleared first) and modify: the editor on the current record, or on a new
    // entry prepared in the next free place.
    void AddRecording();
    void ModifyRecording();
    // "&Quitter": asks before ending a recording under way, stops the timers and closes. False
    // when the user chose to keep the program running.
    bool Quit();
    // The status labels and controls, from the one-second clock, the engine and the power state.
    void RefreshStatus();
    // The menu the window's title carries (the tray's); it takes the window's menu colours.
    void SetTitleMenu(QMenu* menu);
    // Shows the quick commands panel for the row at a point of the list's viewport.
    void ShowCommandsAt(const QPoint& viewportPos);
    void HideCommands();
    QFrame* CommandsPanel() const { return m_commands; }
    // ShowP: maximise, or offer the places shared with the other running copies.
    void OfferPlacement();
    void Place(int copies, int choice);
    void HidePlacement();
    // A click on the free-space button DD: left refreshes, any other button opens the folder.
    void FreeSpaceButtonPressed(Qt::MouseButton button);
    // The stored position, size and state (kept on the screen), and back into the settings at the end.
    void ShowAtStoredPlace();
    void StorePlace();
    // Whether the window was minimised or in the tray when the program ended (or is now).
    bool LeftMinimised() const;
    // The folder of the current record's file, else of the first record's; empty when none exists.
    QString RecordingFolderToOpen() const;

    void DeleteSelection(bool fromCut = false);
    void ToggleInactiveSelection();
    void ToggleSkipNextSelection();
    void TogglePrioritySelection();
    void ResetSelection();
    void OpenRecordingFolder();
    void DeleteSelectionNow();
    void DeactivateTruncatedNow();
    void PrioritiseOneOffsNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QAction* AddAction(QMenu* menu, const char* objectName, const QString& text, const QKeySequence& key,
                       void (TFListe::*slot)());
    void BuildListMenu();
    void BuildDisplayMenu();
    void UpdateDisplayMenu();
    void ApplyToSelection(void (*command)(TEmission&));
    void Recompute();
    void ShowListMenu(const QPoint& globalPos);
    void OnHeaderPressed(int column);
    void ToggleTodayMode();
    void ApplyColours();
    void ScaleColumns();
    void ColumnsResizedByUser();
    void LayoutList();
    void EditCurrentOrNew();
    void BuildStatusBand(QFrame* band);
    void BuildPlacementPanels();
    void WatchPicker(QTimeEdit* picker, bool always);
    void ForbidTimesEdited();
    void ListMouseMoved(const QPoint& globalPos);

    Services m_s;
    QTableView* m_list = nullptr;
    ScheduleListModel* m_model = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_total = nullptr;
    QMenu* m_listMenu = nullptr;
    QMenu* m_displayMenu = nullptr;
    QList<QAction*> m_modeActions;
    QMenu* m_titleMenu = nullptr;
    QuickTimeKeypad* m_keypad = nullptr;
    QFrame* m_commands = nullptr;
    QFrame* m_top = nullptr;
    QFrame* m_bottom = nullptr;
    QList<QFrame*> m_placement;

    // The status band.
    QLabel* m_cheure = nullptr;
    QLabel* m_cinfos = nullptr;
    QLabel* m_cespace = nullptr;
    QLabel* m_label2 = nullptr;
    QToolButton* m_dd = nullptr;
    QCheckBox* m_cactif = nullptr;
    QToolButton* m_nosuspend = nullptr;
    QCheckBox* m_cauto = nullptr;
    QToolButton* m_image1 = nullptr;
    QFrame* m_panel12 = nullptr;
    QCheckBox* m_cinterdire = nullptr;
    QTimeEdit* m_cinterdire1 = nullptr;
    QTimeEdit* m_cinterdire2 = nullptr;
    QCheckBox* m_cinterdire3 = nullptr;
    QToolButton* m_bitbtn3 = nullptr;
    QTimeEdit* m_cdelai = nullptr;
    QToolButton* m_bitbtn4 = nullptr;
    QToolButton* m_bitbtn1 = nullptr;
    QToolButton* m_showp = nullptr;

    int m_rebuilds = 0;
    bool m_closeAllowed = false;
    bool m_toTray = false;
    bool m_refreshing = false;
    bool m_enterDown = false;
    bool m_quit = false;
    bool m_leftMinimised = false;
    bool m_scalingColumns = false;
    bool m_columnsDragged = false;
    QPoint m_lastMouse;
    QPoint m_commandsAnchor;
};

} // namespace quorx
