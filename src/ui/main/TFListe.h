#pragma once

#include "engine/ListRules.h"
#include "engine/ScheduleObserver.h"
#include "platform/Platform.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTableView;

namespace quorx {

class Questions;
class RecordingStopper;
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

    Services m_s;
    QTableView* m_list = nullptr;
    ScheduleListModel* m_model = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_total = nullptr;
    QMenu* m_listMenu = nullptr;
    QMenu* m_displayMenu = nullptr;
    QList<QAction*> m_modeActions;
    int m_rebuilds = 0;
    bool m_closeAllowed = false;
    bool m_toTray = false;
};

} // namespace quorx
